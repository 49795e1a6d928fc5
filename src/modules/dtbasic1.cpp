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
    format_item("B8601DA", 8, 10, 10, 0),  format_item("B8601TM", 6, 15, 8, 6),
    format_item("B8601TZ", 9, 20, 14, 6),  format_item("B8601DT", 15, 26, 19, 6),
    format_item("B8601DZ", 20, 35, 26, 6), format_item("B8601DN", 8, 10, 10, 0),
    format_item("B8601LZ", 9, 20, 14, 6),  format_item("B8601DX", 20, 35, 26, 6),
    format_item("B8601LX", 20, 35, 26, 6), format_item("B8601TX", 9, 20, 14, 6),
};

FormatRoutine* const kRoutines[] = {
    b8601da, b8601tm, b8601tz, b8601dt, b8601dz, b8601dn, b8601lz, b8601dx, b8601lx, b8601tx,
};
static_assert(std::size(kItems) == std::size(kRoutines));

}  // namespace

void* dtbasic1(std::int32_t type) {
    return iso_module_routine(type, kItems, kRoutines, static_cast<int>(std::size(kItems)));
}

ISOFMT_MODULE_IMAGE(pcn_DTBASIC1, dtbasic1, 0x2050F015)
