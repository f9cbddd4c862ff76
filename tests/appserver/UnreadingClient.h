#pragma once

#include <google/protobuf/message_lite.h>

#include <chrono>
#include <string>

namespace fai::appserver::test {

// A client that sends calls and never reads a byte of what the server answers, as a
// program that hangs or a hostile one would: it speaks HTTP/2 by hand over a plain socket
// and grants the server no room to send any answer (a flow-control window of 0), so every
// answer stays with the server.
class UnreadingClient {
  public:
    // Connects to 127.0.0.1:port; throws std::runtime_error when it cannot.
    explicit UnreadingClient(int port);
    ~UnreadingClient();
    UnreadingClient(const UnreadingClient&) = delete;
    UnreadingClient& operator=(const UnreadingClient&) = delete;

    // Sends one call of `method` ("GetParams") of "Fai00400.rdmEfetFatur" with its request.
    void Call(const char* method, const google::protobuf::MessageLite& request);

    // Waits for the server to close the connection, reading and throwing away whatever
    // came meanwhile; false when it is still open after `wait`.
    bool ClosedByServer(std::chrono::milliseconds wait);

  private:
    void Frame(unsigned char type, unsigned char flags, unsigned stream,
               const std::string& payload);

    int port_;
    int socket_ = -1;
    unsigned nextStream_ = 1;
};

}  // namespace fai::appserver::test
