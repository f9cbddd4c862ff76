#pragma once

#include "CallServing.h"
#include "fai00400.grpc.pb.h"

namespace fai::appserver {

class Authorization;

// The gRPC face of signing in ("Fai00400.Session"): whether the server asks for a session,
// signing in for one and signing out. Its calls go through the same gate, workers and log as
// the methods'. Nothing of a password reaches the log or an answer.
class SessionService final : public Fai00400::Session::CallbackService {
  public:
    SessionService(const Serving& serving, Authorization& authorization)
        : serving_(serving), authorization_(authorization) {}

    grpc::ServerUnaryReactor* GetAccessMode(grpc::CallbackServerContext* call,
                                            const Fai00400::AccessModeRequest* request,
                                            Fai00400::AccessMode* mode) override;
    grpc::ServerUnaryReactor* SignIn(grpc::CallbackServerContext* call,
                                     const Fai00400::SignInRequest* request,
                                     Fai00400::SignInResult* result) override;
    grpc::ServerUnaryReactor* SignOut(grpc::CallbackServerContext* call,
                                      const Fai00400::SignOutRequest* request,
                                      Fai00400::SignOutResult* result) override;

  private:
    Serving serving_;
    Authorization& authorization_;
};

}  // namespace fai::appserver
