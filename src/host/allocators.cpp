// Allocation through the host's allocator objects: slot 0 allocates, slot 1
// releases.
#include "host/module_state.h"

void* vmalcp_handler(Allocator* allocator, std::size_t size, std::uint32_t flags) {
    return allocator->vector->allocate(allocator, size, flags);
}

void vmfree_handler(Allocator* allocator, void* block, std::int32_t zero, std::int32_t four) {
    allocator->vector->release(allocator, block, zero, four);
}
