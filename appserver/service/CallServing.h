#pragma once

#include "CallGate.h"
#include "CallLog.h"
#include "SessionMetadata.h"
#include "SqlSession.h"
#include "WorkerPool.h"
#include "fai00400.pb.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace fai::appserver {

// What every call goes through: the gate that admits it and watches its deadline, the
// database workers and the log.
struct Serving {
    CallGate& calls;
    WorkerPool& workers;
    CallLog& log;
};

// What a method answers once its work is done.
struct Answer {
    std::vector<Fai00400::DataPacket> packets;  // the payload of the result array
    QString text;                               // the answer of the two text methods
    QString note;                               // said on the call's log line
    // The whole answer of a method whose reply is a message of its own.
    std::shared_ptr<const google::protobuf::Message> message = nullptr;
};

// A method's work on the database, with its arguments already judged for form.
using Work = std::function<Answer(SqlSession&)>;
// The transaction the work runs in; Own: the work begins and commits its own.
enum class Access { Read, Write, Own };

// How a call that did not succeed is answered.
struct Failure {
    CallLog::Outcome outcome;
    grpc::StatusCode code;  // for the answers that carry failures as a call status
    QString message;        // for the client
    QString detail;         // for the log only
    // Answered as a call status even where a result array could carry it: the client must
    // tell it from a refusal of the request (a session to renew).
    bool asStatus = false;
};

// Raised on the worker when the call ended before its work did: its client went away, or
// it was answered for its deadline. Nothing of the work is committed.
struct CallAbandoned {};

Failure Judged(const std::exception_ptr& raised);
Failure Busy(int maxCalls);
Failure GivenUp(ServerCall::Ending ending, std::chrono::seconds timeout);

void Deliver(const Answer& answer, Fai00400::ServerResult* result);
void Deliver(const Answer& answer, Fai00400::TextResult* result);
template <class Reply>
void Deliver(const Answer& answer, Reply* reply) {
    if (answer.message) reply->CopyFrom(*answer.message);
}

grpc::Status Refusal(const Failure& failure, Fai00400::ServerResult* result);
template <class Reply>
grpc::Status Refusal(const Failure& failure, Reply*) {
    return grpc::Status(failure.code, failure.message.toStdString());
}

// The work in one transaction on the worker's connection (Own: in the work's own), committed
// only when all of it succeeded and `beforeCommit` lets it. A connection the database dropped
// since earlier work is found out by the work's first statement, which carries the
// transaction's beginning (see Transaction), or by its first read when it begins nothing (see
// SqlDialect::BeginQuery): the work then runs again on a new connection. So does any work
// whose connection is lost before its commit is sent, since the database then keeps none of
// it; a loss during the commit is told, as nobody can say whether it was written.
Answer Transacted(WorkerPool::Context& worker, Access access, const Work& work,
                  const std::function<void()>& beforeCommit);

// One call's answer, whoever gives it: its work, its deadline or its client's going away.
template <class Reply>
class Answering {
  public:
    using Clock = std::chrono::steady_clock;

    Answering(CallLog& log, const char* method, Reply* reply)
        : log_(log), method_(method), reply_(reply), started_(Clock::now()) {}

    // Only by the one whose claim on the answer succeeded.
    void Refuse(ServerCall& call, const Failure& failure) const {
        Log(failure.outcome, failure.detail.isEmpty()
                                 ? failure.message
                                 : failure.message + QStringLiteral(" (") + failure.detail + u')');
        call.Answer(Refusal(failure, reply_));
    }

    // Refuses the call when no one has answered it yet, and lets go of it.
    void RefuseNow(ServerCall& call, const Failure& failure) const {
        if (call.Claim()) Refuse(call, failure);
        call.Release();
    }

    // On a database worker. The work claims the answer just before it commits: a client
    // that went away, or whose call was answered for its deadline, was told the call failed,
    // and what it sent must then not be found written.
    void Run(ServerCall& call, WorkerPool::Context& worker, Access access, const Work& work) const {
        bool mine = false;
        try {
            if (call.Abandoned()) throw CallAbandoned();
            const Answer answer = Transacted(worker, access, work, [&call, &mine] {
                mine = call.Claim();
                if (!mine || call.Abandoned()) throw CallAbandoned();
            });
            Deliver(answer, reply_);
            Log(CallLog::Outcome::Ok, answer.note);
            call.Answer(grpc::Status::OK);
        } catch (...) {
            if (mine || call.Claim()) Refuse(call, Judged(std::current_exception()));
        }
    }

  private:
    void Log(CallLog::Outcome outcome, const QString& message) const {
        log_.Record(method_, Clock::now() - started_, outcome, message);
    }

    CallLog& log_;
    const char* method_;
    Reply* reply_;
    Clock::time_point started_;
};

// Admits a call, or refuses it at once when the server is full. `decode` judges the
// request's form on the calling thread (a malformed one never takes a database worker) and
// returns the work, which runs on a database worker unless the call is answered before its
// turn comes; the answer is sent from there: no thread waits for a call, nor for a client
// to read its answer.
template <class Reply>
grpc::ServerUnaryReactor* Serve(const Serving& serving, grpc::CallbackServerContext* context,
                                const char* method, Reply* reply, Access access,
                                const std::function<Work()>& decode) {
    const Answering<Reply> answering(serving.log, method, reply);
    ServerCall* call =
        serving.calls.Open(context, [answering, timeout = serving.calls.Timeout()](
                                        ServerCall& call, ServerCall::Ending ending) {
            answering.Refuse(call, GivenUp(ending, timeout));
        });
    if (!call->Admitted()) {
        answering.RefuseNow(*call, Busy(serving.calls.MaxCalls()));
        return call;
    }
    try {
        serving.workers.Post(
            [answering, call, access, work = decode()](WorkerPool::Context& worker) {
                if (call->Pending()) answering.Run(*call, worker, access, work);
                call->Release();
            });
    } catch (...) {
        answering.RefuseNow(*call, Judged(std::current_exception()));
    }
    return call;
}

// The session token a call carries in its metadata; empty when it carries none.
QString SessionTokenOf(const grpc::CallbackServerContext& context);
// The local user and machine a call's host reports, as readable text (control characters
// and bytes that are not UTF-8 replaced); empty where it reports none.
Workstation WorkstationOf(const grpc::CallbackServerContext& context);

}  // namespace fai::appserver
