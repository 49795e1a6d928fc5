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

constexpr FormatItem kItems[] = {
    format_item("IS8601DA", 10, 10, 10, 0), format_item("IS8601TM", 8, 15, 8, 6),
    format_item("IS8601TZ", 9, 20, 14, 6),  format_item("IS8601DT", 19, 26, 19, 6),
    format_item("IS8601DZ", 20, 35, 26, 6), format_item("IS8601DN", 10, 10, 10, 0),
    format_item("IS8601LZ", 9, 20, 14, 6),
};

FormatRoutine* const kRoutines[] = {f8601da, f8601tm, f8601tz, f8601dt, f8601dz, f8601dn, f8601lz};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtaltfm1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTALTFM1, dtaltfm1, 0x53EBC7)
