#pragma once

#include <google/protobuf/arena.h>

namespace fai {

// Options for a message arena whose blocks are kept between calls. An arena left to itself
// gets its memory from the heap at every call, in small blocks and, for each thread that adds
// to the message, blocks of its own: for a packet of thousands of cells that is fresh pages
// to fault in every time. Kept blocks were faulted in by an earlier call.
google::protobuf::ArenaOptions KeptArenaBlocks();

}  // namespace fai
