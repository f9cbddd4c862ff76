#pragma once

#include "CallGate.h"
#include "fai00400.pb.h"

#include <grpcpp/support/server_callback.h>

#include <condition_variable>
#include <mutex>

namespace fai::appserver {

// A call whose answer goes in parts (a host's query), from its arrival to its end. The worker
// that makes the parts sends them one at a time and waits for each to be taken before it
// makes the next, so that a long answer never sits whole in the server; a client that stops
// reading holds the worker until its call's time is up, when the call is cancelled. It ends
// with its status, once, even when it was cancelled.
class PartedCall final : public grpc::ServerWriteReactor<Fai00400::ConsultaHostParte>,
                         public GatedCall {
  public:
    // Admitted by the gate, or to be refused at once (see CallGate::Open).
    static PartedCall* Open(CallGate& gate, grpc::CallbackServerContext* context);

    // Sends the part and waits until it is taken; false when the call ended before (the
    // client cancelled or went away, its time is up).
    bool Send(const Fai00400::ConsultaHostParte& part);
    // The client cancelled the call, its deadline passed or its connection was lost.
    bool Abandoned();
    // Once: the call's status.
    void End(const grpc::Status& status);

    void OnWriteDone(bool ok) override;
    void OnCancel() override;
    void OnDone() override;

  private:
    PartedCall(CallGate& gate, grpc::CallbackServerContext* context)
        : GatedCall(gate), context_(context) {}
    ~PartedCall() override = default;

    // Cancelled while it runs; an ended call whose status the client has not taken is dropped.
    std::optional<Clock::time_point> Expire() override;

    grpc::CallbackServerContext* const context_;  // gRPC's, valid until Done
    std::mutex mutex_;
    std::condition_variable taken_;
    bool writing_ = false;
    bool written_ = false;
    bool cancelled_ = false;
    bool ended_ = false;
    bool done_ = false;
};

}  // namespace fai::appserver
