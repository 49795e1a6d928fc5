// The host's bindings for the routines that no item table names: the nine
// classic routines (by slot of the dtclockf table) and the duration and
// interval routines (by exported name). The layouts the host reads from a
// plug-in are those of host/image.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "abi/anchor.h"
#include "abi/image.h"
#include "isofmt/host.h"

namespace isofmt::detail {

using ModuleEntry = const ImageInformation*(ServiceAnchor* anchor, void* second_anchor);

inline constexpr std::int32_t kItemRequest = 1;
inline constexpr std::int32_t kRoutineRequest = 2;

// A name and limits the host gives a routine.
struct Binding {
    const char* name;
    std::int16_t min_width, max_width, default_width, max_decimals;
};

// The dtclockf table, words 1 to 9: zfmdtmm, zfmdttm, zfmhhmm, zfmhour,
// zfmdyam, zfmmmss, zfmtime, zfmtimm, zfmtod.
inline constexpr Binding kClockBindings[] = {
    {"CLKDTAMPM", 7, 40, 22, 39}, {"CLKDT", 7, 40, 16, 39},    {"CLKHHMM", 2, 20, 5, 19},
    {"CLKHOUR", 2, 20, 5, 19},    {"CLKDYAMPM", 8, 40, 19, 39}, {"CLKMMSS", 2, 20, 5, 19},
    {"CLKTIME", 2, 20, 8, 19},    {"CLKTAMPM", 2, 20, 11, 19},  {"CLKTOD", 2, 20, 8, 19},
};
inline constexpr int kClockRoutines = 9;
static_assert(std::size(kClockBindings) == kClockRoutines);

// The duration and interval routines, bound by exported name.
struct ExportBinding {
    const char* symbol;
    Binding binding;
    Kind kind;
    Shape shape;
};
inline constexpr ExportBinding kDurationBindings[] = {
    {"is8601vli", {"IS860VL", 1, 32767, 80, 0}, Kind::informat, Shape::informat},
    {"is8601dui", {"IS860DU", 1, 32767, 80, 0}, Kind::informat, Shape::informat},
    {"is8601pdi", {"IS860PD", 1, 32767, 80, 0}, Kind::informat, Shape::informat},
    {"is8601vlf", {"IS860VL", 1, 200, 40, 0}, Kind::format, Shape::interval_format},
    {"is8601duf", {"IS860DU", 1, 200, 24, 0}, Kind::format, Shape::duration_format},
    {"is8601pdf", {"IS860PD", 1, 200, 23, 0}, Kind::format, Shape::duration_format},
};

}  // namespace isofmt::detail
