// dtbasic1: the ten ISO 8601 basic formats.
#include <iterator>

#include "host/module.h"
#include "host/module_state.h"
#include "iso8601/iso8601.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTBASIC1";
void* dtbasic1(std::int32_t type);
}

namespace {

constexpr FormatItem kItems[] = {
#define ISO_EXTENDED(...)
#define ISO_BASIC(sfx, routine, min_w, max_w, def_w, max_d) format_item("B8601" #sfx, min_w, max_w, def_w, max_d),
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};

FormatRoutine* const kRoutines[] = {
#define ISO_EXTENDED(...)
#define ISO_BASIC(sfx, routine, ...) routine,
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtbasic1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTBASIC1, dtbasic1, 0x2050F015)
