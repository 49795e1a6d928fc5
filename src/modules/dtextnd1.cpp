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
    format_item("E8601DA", 10, 10, 10, 0), format_item("E8601TM", 8, 15, 8, 6),
    format_item("E8601TZ", 9, 20, 14, 6),  format_item("E8601DT", 19, 26, 19, 6),
    format_item("E8601DZ", 20, 35, 26, 6), format_item("E8601DN", 10, 10, 10, 0),
    format_item("E8601LZ", 9, 20, 14, 6),  format_item("E8601DX", 20, 35, 26, 6),
    format_item("E8601LX", 20, 35, 26, 6), format_item("E8601TX", 9, 20, 14, 6),
};

FormatRoutine* const kRoutines[] = {
    f8601da, f8601tm, f8601tz, f8601dt, f8601dz, f8601dn, f8601lz, f8601dx, f8601lx, f8601tx,
};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtextnd1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTEXTND1, dtextnd1, 0x2D826)
