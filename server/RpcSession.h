#pragma once

#include "ArenaBlocks.h"
#include "ServerAccess.h"
#include "ServerChannel.h"
#include "ServerList.h"
#include "SessionMetadata.h"
#include "fai00400.grpc.pb.h"

#include <google/protobuf/arena.h>
#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>
#include <optional>
#include <type_traits>

namespace fai {

// One connection's transport to the application server: a channel that answered, its stub,
// and the deadline every call gets. Every call carries the access's session token; a call
// the server refuses for want of a (new) session is made again once the access has renewed
// the session, so that the user, asked for the password, loses nothing of what the call was
// for. It turns the ways a call can fail into our exceptions: no answer in time and a server
// gone away into EConnectionError, anything else the server said no to into EServerError
// with its message. Over several servers, a read whose server went away before answering is
// made once more, on one that serves; a write is not. One thread at a time: a call may
// replace the channel.
class RpcSession {
  public:
    using Stub = Fai00400::rdmEfetFatur::Stub;
    template <class Request, class Response>
    using Rpc = grpc::Status (Stub::*)(grpc::ClientContext*, const Request&, Response*);
    template <class Request, class Response>
    using StreamRpc = std::unique_ptr<grpc::ClientReader<Response>> (Stub::*)(grpc::ClientContext*,
                                                                              const Request&);

    // Opens a channel over the access's TLS and waits, at most `deadline`, until the server
    // (one of the servers) answers (ServerChannel::Open).
    static std::unique_ptr<RpcSession> Open(const ServerList& servers,
                                            std::chrono::milliseconds deadline,
                                            std::shared_ptr<ServerAccess> access);

    void SetDeadline(std::chrono::milliseconds deadline) { deadline_ = deadline; }

    // A channel that has been failing tries the server again on a fresh channel first; a
    // session found expired is renewed once and the call made again. The answer is handed to
    // `read`, whose result the call returns; it lives on an arena of its own, so that a packet
    // of thousands of cells is parsed into kept blocks and freed at once.
    template <class Request, class Response, class Read>
    auto Call(const char* method, Rpc<Request, Response> rpc, const Request& request,
              const Read& read) {
        std::optional<std::invoke_result_t<Read, const Response&>> answer;
        Attempts(method, [&](grpc::ClientContext& context) {
            google::protobuf::Arena arena(KeptArenaBlocks());
            Response* response = google::protobuf::Arena::CreateMessage<Response>(&arena);
            const grpc::Status status = (stub_.get()->*rpc)(&context, request, response);
            if (status.ok()) answer.emplace(read(*response));
            return Attempt{status, true};
        });
        return std::move(*answer);
    }

    // A call answered in parts, each handed to `read` as it comes. Before its first part it is
    // made again as Call makes it (a session renewed, a read taken to another server); after
    // it, a failure is raised as it comes, and what was read stays read.
    template <class Request, class Response, class Read>
    void Stream(const char* method, StreamRpc<Request, Response> rpc, const Request& request,
                const Read& read) {
        Attempts(method, [&](grpc::ClientContext& context) {
            const std::unique_ptr<grpc::ClientReader<Response>> reader =
                (stub_.get()->*rpc)(&context, request);
            Response part;
            bool any = false;
            try {
                while (reader->Read(&part)) {
                    any = true;
                    read(part);
                }
            } catch (...) {
                // The rest is not wanted: the server stops sending it.
                context.TryCancel();
                reader->Finish();
                throw;
            }
            return Attempt{reader->Finish(), !any};
        });
    }

  private:
    RpcSession(const ServerList& servers, std::chrono::milliseconds deadline,
               std::shared_ptr<ServerAccess> access, std::shared_ptr<grpc::Channel> channel);

    // A failing channel waits out a backoff that grows with every failed attempt before it
    // tries the server again, so for seconds after a restart every call would still fail at
    // once. The user's next action is the moment to try: a fresh channel connects now, or
    // says now that the server cannot be reached.
    void ReopenIfFailing();

    // How one attempt of a call ended, and whether it may be made again.
    struct Attempt {
        grpc::Status status;
        bool repeatable;
    };
    // Makes the attempts of a call, on a fresh context each, until one ends otherwise than by a
    // session to renew or, for a read over several servers, by its server going away (taken
    // once to another, with the deadline it had); raises what the last one ended with.
    template <class Make>
    void Attempts(const char* method, const Make& attempt) {
        bool renewed = false;
        std::optional<std::chrono::system_clock::time_point> retriedUntil;
        for (;;) {
            ReopenIfFailing();
            const auto until = retriedUntil.value_or(std::chrono::system_clock::now() + deadline_);
            grpc::ClientContext context;
            Prepare(context, until);
            const Attempt made = attempt(context);
            if (made.repeatable && made.status.error_code() == grpc::StatusCode::UNAUTHENTICATED &&
                !renewed && access_->Renew(QString::fromStdString(made.status.error_message()))) {
                renewed = true;
                continue;
            }
            if (made.repeatable && !retriedUntil &&
                ServerChannel::TakenElsewhere(made.status, servers_, method)) {
                retriedUntil = until;
                continue;
            }
            Check(method, made.status);
            return;
        }
    }

    // The call's deadline, and the session and workstation it goes with.
    void Prepare(grpc::ClientContext& context, std::chrono::system_clock::time_point until) const;
    void Check(const char* method, const grpc::Status& status) const;

    ServerList servers_;
    std::chrono::milliseconds deadline_;
    std::shared_ptr<ServerAccess> access_;
    std::shared_ptr<grpc::Channel> channel_;
    std::unique_ptr<Stub> stub_;
};

}  // namespace fai
