// A copy of a host's service anchor in which a test can replace single
// services or the allocators, to observe what the modules ask of the host.
#pragma once

#include <array>
#include <cstring>
#include <vector>

#include "abi/anchor.h"

namespace testing_support {

class AnchorOverride {
public:
    explicit AnchorOverride(const ServiceAnchor& base) : anchor_(base) {
        for (int c = 0; c < service_component::kCount; ++c) directory_[c] = base.directory[c];
        anchor_.directory = directory_.data();
    }

    // Replaces one service; slots up to kMaxSlot.
    void replace(int comp, int slot, const void* routine) {
        auto& v = vectors_[comp];
        if (v.empty()) {
            v.assign(kMaxSlot + 1, nullptr);
            for (int s = 0; s <= kMaxSlot; ++s) v[s] = directory_[comp] ? directory_[comp][s] : nullptr;
            directory_[comp] = v.data();
        }
        v[slot] = routine;
    }

    ServiceAnchor* anchor() { return &anchor_; }

private:
    static constexpr int kMaxSlot = 320;  // the highest slot the modules call
    ServiceAnchor anchor_;
    std::array<const void* const*, service_component::kCount> directory_{};
    std::array<std::vector<const void*>, service_component::kCount> vectors_{};
};

// An allocator that records what it was asked for and fills its blocks with
// a pattern (or refuses every request).
struct RecordingAllocator : Allocator {
    static void* allocate(Allocator* self, std::size_t size, std::uint32_t flags) {
        auto* me = static_cast<RecordingAllocator*>(self);
        me->sizes.push_back(size);
        me->flags.push_back(flags);
        if (me->refuse) return nullptr;
        auto* block = new unsigned char[size];
        std::memset(block, kPattern, size);
        me->blocks.push_back(block);
        return block;
    }
    static void release(Allocator*, void*, std::int32_t, std::int32_t) {}

    RecordingAllocator() { vector = &kVector; }
    ~RecordingAllocator() {
        for (auto* b : blocks) delete[] b;
    }

    static constexpr unsigned char kPattern = 0xAB;
    static constexpr AllocatorVector kVector{&RecordingAllocator::allocate, &RecordingAllocator::release};
    bool refuse = false;
    std::vector<std::size_t> sizes;
    std::vector<std::uint32_t> flags;
    std::vector<unsigned char*> blocks;
};

}  // namespace testing_support
