// The registration calls of the ISO modules.
#include "host/module.h"
#include "host/module_state.h"

void* iso_module_routine(std::int32_t type, const FormatItem* items, FormatRoutine* const* routines,
                         int count) {
    if (type == 1) return xfmfent(1, count, items, nullptr);
    if (type != 2) return nullptr;
    uwxn8601_init();
    return xfmfent(2, count, nullptr, routines);
}
