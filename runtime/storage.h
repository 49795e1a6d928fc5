// Host memory handed to the modules (allocator objects over one tracked
// heap) and named storage: records found by name through a page table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "abi/anchor.h"

namespace isofmt::detail {

// Every block the modules get from the host. The host owns them: what is
// not released by the time the heap goes is freed then.
class BlockHeap {
public:
    static constexpr std::uint32_t kZeroed = 0x1000;  // allocation flag: zero-filled

    BlockHeap() = default;
    BlockHeap(const BlockHeap&) = delete;
    BlockHeap& operator=(const BlockHeap&) = delete;
    ~BlockHeap();

    void* allocate(std::size_t size, std::uint32_t flags);
    // Asked before each allocation; true refuses it. Set before any use.
    std::function<bool(std::size_t, std::uint32_t)> refuse;
    // False (and nothing freed) for a block this heap did not hand out.
    bool release(void* block);
    std::size_t live_blocks() const;

private:
    mutable std::mutex mutex_;
    std::unordered_set<void*> live_;
};

// An allocator object as the modules see it, over a BlockHeap.
struct HeapAllocator {
    Allocator base;
    BlockHeap* heap;
};
HeapAllocator make_allocator(BlockHeap* heap);

class NamedStorage;

// The area a module is handed: its allocator, then the storage behind it.
struct HostArea {
    NamedArea base;
    NamedStorage* storage;
};

using EndRoutine = std::int32_t (*)();

class NamedStorage {
public:
    static constexpr std::int32_t kNotFound = static_cast<std::int32_t>(0x80008026u);
    static constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80008027u);
    static constexpr int kPages = 16;  // room for 16 * 65536 records

    explicit NamedStorage(Allocator* allocator);
    NamedStorage(const NamedStorage&) = delete;
    NamedStorage& operator=(const NamedStorage&) = delete;
    ~NamedStorage();

    NamedArea* area() { return &area_.base; }

    void* add_end_routine(EndRoutine routine);
    std::int32_t create_slot(std::int32_t* token);
    std::int32_t set_slot(std::int32_t token, void* record);
    std::int32_t bind(std::string_view name, std::int32_t token);
    // 0 with the token and the page table, or kNotFound. Allocates nothing.
    std::int32_t lookup(std::string_view name, std::int32_t* token, NamedPageTable* pages) const;

    // Calls every end routine registered so far, once, then forgets every
    // name and record: a lookup after the end finds nothing, so no module
    // reaches a record its end routine has freed.
    void end();

private:
    mutable std::shared_mutex mutex_;
    HostArea area_;
    std::map<std::string, std::int32_t, std::less<>> names_;
    NamedPage pages_[kFirstPage + kPages] = {};
    std::int32_t next_token_ = 0;
    std::vector<EndRoutine> end_routines_;
};

}  // namespace isofmt::detail
