// dtaltfm1: the first seven extended formats under their IS8601 names. It
// shares its module state with dtextnd1.
#include <iterator>

#include "host/module.h"
#include "host/module_state.h"
#include "iso8601/iso8601.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTEXTND1";
void* dtaltfm1(std::int32_t type);
}

namespace {

// The extended rows marked for this module, under the IS8601 names.
#define ISO_ONLY_IF_1(...) __VA_ARGS__,
#define ISO_ONLY_IF_0(...)

constexpr FormatItem kItems[] = {
#define ISO_EXTENDED(sfx, routine, min_w, max_w, def_w, max_d, alt) \
    ISO_ONLY_IF_##alt(format_item("IS8601" #sfx, min_w, max_w, def_w, max_d))
#define ISO_BASIC(...)
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};

FormatRoutine* const kRoutines[] = {
#define ISO_EXTENDED(sfx, routine, min_w, max_w, def_w, max_d, alt) ISO_ONLY_IF_##alt(routine)
#define ISO_BASIC(...)
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtaltfm1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTALTFM1, dtaltfm1, 0x53EBC7)
