#pragma once

#include "ServerEndpoint.h"
#include "fai00400.grpc.pb.h"

#include <google/protobuf/arena.h>
#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>

namespace fai {

// One connection's transport to the application server: a channel that answered, its stub,
// and the deadline every call gets. It turns the ways a call can fail into our exceptions:
// no answer in time and a server gone away into EConnectionError, anything else the server
// said no to into EServerError with its message. One thread at a time: a call may replace
// the channel.
class RpcSession {
  public:
    using Stub = Fai00400::rdmEfetFatur::Stub;
    template <class Request, class Response>
    using Rpc = grpc::Status (Stub::*)(grpc::ClientContext*, const Request&, Response*);

    // Opens a channel and waits, at most `deadline`, until the server answers. A refused
    // connection fails at once rather than after the deadline: the user is told the server
    // is not running while it still matters.
    static std::unique_ptr<RpcSession> Open(const ServerEndpoint& endpoint,
                                            std::chrono::milliseconds deadline);

    void SetDeadline(std::chrono::milliseconds deadline) { deadline_ = deadline; }

    // A channel that has been failing tries the server again on a fresh channel first. The
    // answer is handed to `read`, whose result the call returns; it lives on an arena of its
    // own, so that a packet of thousands of cells is parsed into a few blocks and freed at once.
    template <class Request, class Response, class Read>
    auto Call(const char* method, Rpc<Request, Response> rpc, const Request& request,
              const Read& read) {
        ReopenIfFailing();
        grpc::ClientContext context;
        context.set_deadline(std::chrono::system_clock::now() + deadline_);
        google::protobuf::Arena arena;
        Response* response = google::protobuf::Arena::CreateMessage<Response>(&arena);
        Check(method, (stub_.get()->*rpc)(&context, request, response));
        return read(*response);
    }

  private:
    RpcSession(const ServerEndpoint& endpoint, std::chrono::milliseconds deadline,
               std::shared_ptr<grpc::Channel> channel);

    // A failing channel waits out a backoff that grows with every failed attempt before it
    // tries the server again, so for seconds after a restart every call would still fail at
    // once. The user's next action is the moment to try: a fresh channel connects now, or
    // says now that the server cannot be reached.
    void ReopenIfFailing();
    void Check(const char* method, const grpc::Status& status) const;

    ServerEndpoint endpoint_;
    std::chrono::milliseconds deadline_;
    std::shared_ptr<grpc::Channel> channel_;
    std::unique_ptr<Stub> stub_;
};

}  // namespace fai
