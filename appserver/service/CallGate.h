#pragma once

#include <grpcpp/server_context.h>
#include <grpcpp/support/server_callback.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

namespace fai::appserver {

class CallGate;

// What the gate keeps of a call, whatever its answer: whether it was let in, when it is due,
// and what its time being up does to it. It lives until gRPC is done with it and its work has
// let go of it.
class GatedCall {
  public:
    using Clock = std::chrono::steady_clock;

    GatedCall(const GatedCall&) = delete;
    GatedCall& operator=(const GatedCall&) = delete;

    // Refused at once: the server held as many calls as it may when this one came.
    bool Admitted() const { return admitted_; }
    // The work is done with the call.
    void Release() { Unref(); }

  protected:
    explicit GatedCall(CallGate& gate) : gate_(gate) {}
    virtual ~GatedCall() = default;

    // Its time is up: what ending it takes. When to look again, if ever.
    virtual std::optional<Clock::time_point> Expire() = 0;
    // gRPC is done with it.
    void Closed();

  private:
    friend class CallGate;

    void Ref() { refs_.fetch_add(1); }
    void Unref() {
        if (refs_.fetch_sub(1) == 1) delete this;
    }

    CallGate& gate_;
    bool admitted_ = false;
    std::atomic<int> refs_{2};  // gRPC's until OnDone, and the work's
    // Kept by the gate, under its lock.
    Clock::time_point due_;
    bool closed_ = false;
};

// One call of a client, from its arrival to the end of its answer. It is answered once: by
// its work, or, when the work has not answered first, for its deadline or for its client's
// going away. It lives until gRPC is done with it and its work has let go of it.
class ServerCall final : public grpc::ServerUnaryReactor, public GatedCall {
  public:
    enum class Ending { TimedOut, Abandoned };
    // Answers the call that its work did not answer first; it has claimed the answer.
    using GiveUp = std::function<void(ServerCall& call, Ending ending)>;

    // No one has answered yet.
    bool Pending();
    // The right to answer, taken once: true for the first to ask only.
    bool Claim();
    // Sends the answer; only by the one whose Claim succeeded.
    void Answer(const grpc::Status& status);
    // The client cancelled the call, its deadline passed or its connection was lost.
    bool Abandoned();

    void OnCancel() override;
    void OnDone() override;

  private:
    friend class CallGate;
    enum class Stage { Waiting, Answering, Answered, Done };

    ServerCall(CallGate& gate, grpc::CallbackServerContext* context, GiveUp giveUp);
    ~ServerCall() override = default;

    // Answered for the deadline when no one answered yet, the answer dropped when the client
    // has not taken it yet.
    std::optional<Clock::time_point> Expire() override;

    grpc::CallbackServerContext* const context_;  // gRPC's, valid until Done
    const GiveUp giveUp_;
    std::mutex mutex_;
    Stage stage_ = Stage::Waiting;
};

// The calls the server holds: at most `maxCalls` at once, and none past its deadline. A
// call past it is refused when its work has not answered, and cancelled when its answer is
// still unread, so that a client that hangs or never reads holds nothing for long.
class CallGate {
  public:
    using Clock = ServerCall::Clock;

    CallGate(int maxCalls, std::chrono::seconds timeout);
    // Only once the gRPC server is shut down, when every call is done.
    ~CallGate();
    CallGate(const CallGate&) = delete;
    CallGate& operator=(const CallGate&) = delete;

    // The reactor of a call that has just arrived. Not admitted when the server holds
    // `maxCalls` calls already: it is then to be refused at once.
    ServerCall* Open(grpc::CallbackServerContext* context, ServerCall::GiveUp giveUp);
    // Keeps a call of another kind that has just arrived; admits it as Open does.
    void Enter(GatedCall& call);

    int MaxCalls() const { return maxCalls_; }
    std::chrono::seconds Timeout() const { return timeout_; }

  private:
    friend class GatedCall;

    void Close(GatedCall& call);
    void Watch();

    const int maxCalls_;
    const std::chrono::seconds timeout_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::set<std::pair<Clock::time_point, GatedCall*>> due_;
    int admitted_ = 0;
    bool stopping_ = false;
    std::thread watcher_;
};

}  // namespace fai::appserver
