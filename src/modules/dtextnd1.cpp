// dtextnd1: the ten ISO 8601 extended formats.
#include <iterator>

#include "host/module.h"
#include "host/module_state.h"
#include "iso8601/iso8601.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTEXTND1";
void* dtextnd1(std::int32_t type);
}

namespace {

constexpr FormatItem kItems[] = {
#define ISO_EXTENDED(sfx, routine, min_w, max_w, def_w, max_d, alt) format_item("E8601" #sfx, min_w, max_w, def_w, max_d),
#define ISO_BASIC(...)
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};

FormatRoutine* const kRoutines[] = {
#define ISO_EXTENDED(sfx, routine, ...) routine,
#define ISO_BASIC(...)
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtextnd1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTEXTND1, dtextnd1, 0x2D826)
