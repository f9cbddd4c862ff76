#include "CallGate.h"

namespace fai::appserver {
namespace {

// A call whose answer is being made when its time is up is looked at again this much later:
// by then it is answered, and the answer may be as unread as any other.
constexpr std::chrono::seconds kLookAgain{1};

}  // namespace

void GatedCall::Closed() {
    gate_.Close(*this);
    Unref();
}

ServerCall::ServerCall(CallGate& gate, grpc::CallbackServerContext* context, GiveUp giveUp)
    : GatedCall(gate), context_(context), giveUp_(std::move(giveUp)) {}

bool ServerCall::Pending() {
    std::lock_guard lock(mutex_);
    return stage_ == Stage::Waiting;
}

bool ServerCall::Claim() {
    std::lock_guard lock(mutex_);
    if (stage_ != Stage::Waiting) return false;
    stage_ = Stage::Answering;
    return true;
}

void ServerCall::Answer(const grpc::Status& status) {
    // gRPC runs OnDone on a thread of its own, never inside Finish: holding the lock here
    // keeps Expire from cancelling a call between its answer and the sending of it.
    std::lock_guard lock(mutex_);
    stage_ = Stage::Answered;
    Finish(status);
}

bool ServerCall::Abandoned() {
    std::lock_guard lock(mutex_);
    // The deadline is read as well: gRPC's own timer marks the call cancelled a little after
    // it, and a save must not slip into that moment.
    return stage_ == Stage::Done || context_->IsCancelled() ||
           context_->deadline() <= std::chrono::system_clock::now();
}

void ServerCall::OnCancel() {
    if (Claim()) giveUp_(*this, Ending::Abandoned);
}

void ServerCall::OnDone() {
    {
        // Waits for an Expire under way: the context is gRPC's and goes with this call.
        std::lock_guard lock(mutex_);
        stage_ = Stage::Done;
    }
    Closed();
}

std::optional<ServerCall::Clock::time_point> ServerCall::Expire() {
    std::unique_lock lock(mutex_);
    switch (stage_) {
        case Stage::Waiting:
            stage_ = Stage::Answering;
            lock.unlock();
            giveUp_(*this, Ending::TimedOut);
            return Clock::now() + kLookAgain;
        case Stage::Answering:
            return Clock::now() + kLookAgain;
        case Stage::Answered:
            context_->TryCancel();
            return std::nullopt;
        case Stage::Done:
            return std::nullopt;
    }
    return std::nullopt;
}

CallGate::CallGate(int maxCalls, std::chrono::seconds timeout)
    : maxCalls_(maxCalls), timeout_(timeout), watcher_([this] { Watch(); }) {}

CallGate::~CallGate() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    watcher_.join();
}

ServerCall* CallGate::Open(grpc::CallbackServerContext* context, ServerCall::GiveUp giveUp) {
    auto* call = new ServerCall(*this, context, std::move(giveUp));
    Enter(*call);
    return call;
}

void CallGate::Enter(GatedCall& call) {
    std::lock_guard lock(mutex_);
    call.admitted_ = admitted_ < maxCalls_;
    if (call.admitted_) ++admitted_;
    call.due_ = Clock::now() + timeout_;
    const bool soonest = due_.empty() || call.due_ < due_.begin()->first;
    due_.insert({call.due_, &call});
    if (soonest) wake_.notify_one();
}

void CallGate::Close(GatedCall& call) {
    std::lock_guard lock(mutex_);
    call.closed_ = true;
    due_.erase({call.due_, &call});
    if (call.admitted_) --admitted_;
}

void CallGate::Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (due_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto [when, call] = *due_.begin();
        if (Clock::now() < when) {
            wake_.wait_until(lock, when);
            continue;
        }
        due_.erase(due_.begin());
        // Held while it is looked at without the lock, which its answer may need.
        call->Ref();
        lock.unlock();
        const std::optional<Clock::time_point> again = call->Expire();
        lock.lock();
        if (again && !call->closed_) {
            call->due_ = *again;
            due_.insert({*again, call});
        }
        call->Unref();
    }
}

}  // namespace fai::appserver
