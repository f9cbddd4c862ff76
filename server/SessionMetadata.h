#pragma once

namespace fai {

// The call metadata that carries a session's token to the application server.
inline constexpr char kSessionMetadataKey[] = "fai-session";

}  // namespace fai
