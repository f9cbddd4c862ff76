#pragma once

#include <QString>

namespace fai {

// The call metadata that carries a session's token to the application server.
inline constexpr char kSessionMetadataKey[] = "fai-session";
// The local user and the machine the host runs on, UTF-8 (binary metadata: names need not be
// ASCII), which a server running open records as the author of a call's changes.
inline constexpr char kLocalUserMetadataKey[] = "fai-local-user-bin";
inline constexpr char kMachineMetadataKey[] = "fai-machine-bin";

// Who works at this machine, as the operating system names them.
struct Workstation {
    QString user;
    QString machine;

    static const Workstation& Here();
};

}  // namespace fai
