#include "PartedCall.h"

namespace fai::appserver {
namespace {

// A call ending when its time is up is looked at again this much later.
constexpr std::chrono::seconds kLookAgain{1};

}  // namespace

PartedCall* PartedCall::Open(CallGate& gate, grpc::CallbackServerContext* context) {
    auto* call = new PartedCall(gate, context);
    gate.Enter(*call);
    return call;
}

bool PartedCall::Send(const Fai00400::ConsultaHostParte& part) {
    {
        std::lock_guard lock(mutex_);
        if (cancelled_ || ended_) return false;
        writing_ = true;
    }
    // Outside the lock: gRPC may tell the write done on this very thread.
    StartWrite(&part);
    std::unique_lock lock(mutex_);
    // The part is gRPC's until the write is done, which gRPC tells even when it was cancelled.
    taken_.wait(lock, [this] { return !writing_; });
    return written_;
}

bool PartedCall::Abandoned() {
    std::lock_guard lock(mutex_);
    return cancelled_ || done_ || context_->IsCancelled() ||
           context_->deadline() <= std::chrono::system_clock::now();
}

void PartedCall::End(const grpc::Status& status) {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        ended_ = true;
    }
    Finish(status);
}

void PartedCall::OnWriteDone(bool ok) {
    std::lock_guard lock(mutex_);
    writing_ = false;
    written_ = ok;
    taken_.notify_all();
}

void PartedCall::OnCancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
}

void PartedCall::OnDone() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    Closed();
}

std::optional<GatedCall::Clock::time_point> PartedCall::Expire() {
    std::lock_guard lock(mutex_);
    if (done_) return std::nullopt;
    context_->TryCancel();
    if (ended_) return std::nullopt;
    return Clock::now() + kLookAgain;
}

}  // namespace fai::appserver
