// Allocators and named storage.
#include "storage.h"

#include <cstdlib>
#include <cstring>

#include "context.h"
#include "services.h"

namespace isofmt::detail {
namespace {

constexpr unsigned char kFreshByte = 0xA5;  // fill of blocks not asked to be zeroed

void* heap_allocate(Allocator* self, std::size_t size, std::uint32_t flags) {
    return reinterpret_cast<HeapAllocator*>(self)->heap->allocate(size, flags);
}

void heap_release(Allocator* self, void* block, std::int32_t, std::int32_t) {
    if (!block) return;
    if (!reinterpret_cast<HeapAllocator*>(self)->heap->release(block)) {
        if (Context* c = current_context()) c->write_log("release of a block the host did not allocate; ignored");
    }
}

constexpr AllocatorVector kHeapVector{heap_allocate, heap_release};

NamedStorage* storage_of(NamedArea* area) {
    return area ? reinterpret_cast<HostArea*>(area)->storage : nullptr;
}

bool name_view(const char* name, std::int32_t length, std::string_view& out) {
    if (!name || length < 0) return false;
    out = std::string_view(name, static_cast<std::size_t>(length));
    return true;
}

}  // namespace

BlockHeap::~BlockHeap() {
    for (void* p : live_) std::free(p);
}

void* BlockHeap::allocate(std::size_t size, std::uint32_t flags) {
    if (refuse && refuse(size, flags)) return nullptr;
    void* p = std::malloc(size ? size : 1);
    if (!p) return nullptr;
    std::memset(p, (flags & kZeroed) ? 0 : kFreshByte, size);
    std::lock_guard lock(mutex_);
    live_.insert(p);
    return p;
}

bool BlockHeap::release(void* block) {
    {
        std::lock_guard lock(mutex_);
        if (live_.erase(block) == 0) return false;
    }
    std::free(block);
    return true;
}

std::size_t BlockHeap::live_blocks() const {
    std::lock_guard lock(mutex_);
    return live_.size();
}

HeapAllocator make_allocator(BlockHeap* heap) { return HeapAllocator{{&kHeapVector}, heap}; }

NamedStorage::NamedStorage(Allocator* allocator) : area_{{allocator}, this} {}

NamedStorage::~NamedStorage() {
    for (NamedPage page : pages_) delete[] page;
}

void* NamedStorage::add_end_routine(EndRoutine routine) {
    std::unique_lock lock(mutex_);
    end_routines_.push_back(routine);
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(end_routines_.size()));
}

std::int32_t NamedStorage::create_slot(std::int32_t* token) {
    std::unique_lock lock(mutex_);
    if (next_token_ >= kPages * kPageEntries) return kFailed;
    NamedPage& page = pages_[kFirstPage + next_token_ / kPageEntries];
    if (!page) page = new void*[kPageEntries]();
    *token = next_token_++;
    return 0;
}

std::int32_t NamedStorage::set_slot(std::int32_t token, void* record) {
    std::unique_lock lock(mutex_);
    if (token < 0 || token >= next_token_) return kFailed;
    pages_[kFirstPage + token / kPageEntries][token % kPageEntries] = record;
    return 0;
}

std::int32_t NamedStorage::bind(std::string_view name, std::int32_t token) {
    std::unique_lock lock(mutex_);
    if (token < 0 || token >= next_token_) return kFailed;
    auto it = names_.find(name);
    if (it != names_.end()) {
        it->second = token;
    } else {
        names_.emplace(std::string(name), token);
    }
    return 0;
}

std::int32_t NamedStorage::lookup(std::string_view name, std::int32_t* token, NamedPageTable* pages) const {
    std::shared_lock lock(mutex_);
    auto it = names_.find(name);
    if (it == names_.end()) return kNotFound;
    if (token) *token = it->second;
    // The table is a member: its address stays valid for the storage's life.
    if (pages) *pages = const_cast<NamedPageTable>(pages_);
    return 0;
}

void NamedStorage::end() {
    std::vector<EndRoutine> routines;
    {
        std::unique_lock lock(mutex_);
        routines.swap(end_routines_);
    }
    // The end routines look their records up: no lock is held while they run.
    for (EndRoutine r : routines) {
        if (r) r();
    }
    std::unique_lock lock(mutex_);
    names_.clear();
    for (NamedPage page : pages_) {
        if (page) std::memset(page, 0, sizeof(void*) * kPageEntries);
    }
}

}  // namespace isofmt::detail

namespace isofmt::service {

using detail::NamedStorage;
using detail::storage_of;

std::int32_t vir2g(std::int32_t (*end_routine)(), void** handle, NamedArea* area, void* second_anchor) {
    NamedStorage* s = storage_of(area);
    if (!s) return NamedStorage::kFailed;
    void* h = s->add_end_routine(end_routine);
    if (handle) *handle = h;
    return 0;
}

std::int32_t wtrscrt(NamedArea* area, std::int32_t* token, std::int32_t, void*) {
    NamedStorage* s = storage_of(area);
    if (!s || !token) return NamedStorage::kFailed;
    return s->create_slot(token);
}

std::int32_t wtrsset(NamedArea* area, std::int32_t token, void* record) {
    NamedStorage* s = storage_of(area);
    return s ? s->set_slot(token, record) : NamedStorage::kFailed;
}

std::int32_t xytnsl(NamedArea* area, std::int32_t, const char* name, std::int32_t length, std::int32_t token) {
    NamedStorage* s = storage_of(area);
    std::string_view n;
    if (!s || !detail::name_view(name, length, n)) return NamedStorage::kFailed;
    return s->bind(n, token);
}

std::int32_t xytngl(NamedArea* area, std::int32_t, const char* name, std::int32_t length, std::int32_t* token,
                    NamedPageTable* pages) {
    NamedStorage* s = storage_of(area);
    std::string_view n;
    if (!s || !detail::name_view(name, length, n)) return NamedStorage::kNotFound;
    return s->lookup(n, token, pages);
}

}  // namespace isofmt::service
