#include "UnreadingClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fai::appserver::test {
namespace {

constexpr unsigned char kData = 0x0, kHeaders = 0x1, kSettings = 0x4;
constexpr unsigned char kEndStream = 0x1, kEndHeaders = 0x4, kAck = 0x1;
constexpr unsigned char kInitialWindowSize = 0x4;

std::string BigEndian(unsigned value, int bytes) {
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
    return out;
}

// A header field "literal without indexing, new name", no Huffman coding: the plainest
// HPACK there is (every name and value here is shorter than 127 bytes).
std::string Header(const std::string& name, const std::string& value) {
    return std::string(1, '\0') + static_cast<char>(name.size()) + name +
           static_cast<char>(value.size()) + value;
}

}  // namespace

UnreadingClient::UnreadingClient(int port) : port_(port) {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (socket_ < 0 ||
        ::connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error(std::string("connect: ") + std::strerror(errno));
    const std::string preface = "PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n";
    ::send(socket_, preface.data(), preface.size(), MSG_NOSIGNAL);
    Frame(kSettings, 0, 0, BigEndian(kInitialWindowSize, 2) + BigEndian(0, 4));
    // The server's settings are never read; acknowledged blindly so that it does not give
    // up on the connection for want of an answer to them.
    Frame(kSettings, kAck, 0, {});
}

UnreadingClient::~UnreadingClient() {
    if (socket_ >= 0) ::close(socket_);
}

void UnreadingClient::Call(const char* method, const google::protobuf::MessageLite& request) {
    const unsigned stream = nextStream_;
    nextStream_ += 2;
    Frame(kHeaders, kEndHeaders, stream,
          Header(":method", "POST") + Header(":scheme", "http") +
              Header(":path", std::string("/Fai00400.rdmEfetFatur/") + method) +
              Header(":authority", "127.0.0.1:" + std::to_string(port_)) +
              Header("content-type", "application/grpc") + Header("te", "trailers"));
    const std::string message = request.SerializeAsString();
    Frame(kData, kEndStream, stream,
          std::string(1, '\0') + BigEndian(static_cast<unsigned>(message.size()), 4) + message);
}

bool UnreadingClient::ClosedByServer(std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    char buffer[16384];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd readable{socket_, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) return false;
        if (::recv(socket_, buffer, sizeof buffer, 0) <= 0) return true;
    }
}

void UnreadingClient::Frame(unsigned char type, unsigned char flags, unsigned stream,
                            const std::string& payload) {
    const std::string frame = BigEndian(static_cast<unsigned>(payload.size()), 3) +
                              static_cast<char>(type) + static_cast<char>(flags) +
                              BigEndian(stream, 4) + payload;
    if (::send(socket_, frame.data(), frame.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(frame.size()))
        throw std::runtime_error(std::string("send: ") + std::strerror(errno));
}

}  // namespace fai::appserver::test
