#include "ArenaBlocks.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

namespace fai {
namespace {

// Every block of such an arena has this size, but one a single message needs more for: a
// service's days (about 10,000 cells) fill two or three.
constexpr std::size_t kBlockSize = std::size_t(256) << 10;

// Enough for the calls a server serves at once on a busy site (a call takes a block for each
// thread that fills it); past it a block goes back to the heap.
constexpr std::size_t kKept = 64;

class KeptBlocks {
  public:
    void* Take() {
        {
            const std::lock_guard lock(mutex_);
            if (!blocks_.empty()) {
                void* block = blocks_.back();
                blocks_.pop_back();
                return block;
            }
        }
        return Allocate(kBlockSize);
    }

    void Give(void* block) {
        {
            const std::lock_guard lock(mutex_);
            if (blocks_.size() < kKept) {
                blocks_.push_back(block);
                return;
            }
        }
        std::free(block);
    }

    static void* Allocate(std::size_t size) {
        void* block = std::malloc(size);
        if (block == nullptr) throw std::bad_alloc();
        return block;
    }

  private:
    std::mutex mutex_;
    std::vector<void*> blocks_;
};

KeptBlocks& Kept() {
    static KeptBlocks* kept = new KeptBlocks;  // outlives every arena, even at exit
    return *kept;
}

void* AllocateBlock(std::size_t size) {
    return size == kBlockSize ? Kept().Take() : KeptBlocks::Allocate(size);
}

void DeallocateBlock(void* block, std::size_t size) {
    if (size == kBlockSize)
        Kept().Give(block);
    else
        std::free(block);
}

}  // namespace

google::protobuf::ArenaOptions KeptArenaBlocks() {
    google::protobuf::ArenaOptions options;
    options.start_block_size = kBlockSize;
    options.max_block_size = kBlockSize;
    options.block_alloc = AllocateBlock;
    options.block_dealloc = DeallocateBlock;
    return options;
}

}  // namespace fai
