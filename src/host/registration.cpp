// Registration results: the item table and the routine addresses, built
// fresh on every call from the host's registration allocator.
#include <cstring>

#include "binding/hostcall.h"
#include "host/module.h"
#include "host/module_state.h"  // vmalcp_handler

void* xfmfent(std::int32_t type, std::int32_t count, const FormatItem* items,
              FormatRoutine* const* routines) {
    if (type != 1 && type != 2) return nullptr;
    Allocator* allocator = v_global_gcb_anchor->registration_allocator;
    if (type == 1) {
        auto* result = static_cast<ItemResult*>(vmalcp_handler(allocator, sizeof(ItemResult), kRegistrationFlags));
        if (result == nullptr) hostcall::xexit(kExitNoMemory, 0);
        result->count = count;
        result->items = items;
        return result;
    }
    const std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
    void* result = vmalcp_handler(allocator, routine_result_size(n), kRegistrationFlags);
    if (result == nullptr) hostcall::xexit(kExitNoMemory, 0);
    if (n > 0) std::memcpy(routine_words(result), routines, sizeof(FormatRoutine*) * n);
    return result;
}
