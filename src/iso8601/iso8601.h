// ISO 8601 date, time and datetime formats: extended, zone-qualified, basic.
#pragma once

#include <cstdint>

#include "abi/call_block.h"

extern "C" {
std::int32_t f8601da(FormatBlock* block);
std::int32_t f8601tm(FormatBlock* block);
std::int32_t f8601dt(FormatBlock* block);
std::int32_t f8601dn(FormatBlock* block);
std::int32_t f8601dz(FormatBlock* block);
std::int32_t f8601tz(FormatBlock* block);
std::int32_t f8601lz(FormatBlock* block);
std::int32_t f8601dx(FormatBlock* block);
std::int32_t f8601lx(FormatBlock* block);
std::int32_t f8601tx(FormatBlock* block);
std::int32_t b8601da(FormatBlock* block);
std::int32_t b8601tm(FormatBlock* block);
std::int32_t b8601tz(FormatBlock* block);
std::int32_t b8601dt(FormatBlock* block);
std::int32_t b8601dz(FormatBlock* block);
std::int32_t b8601dn(FormatBlock* block);
std::int32_t b8601lz(FormatBlock* block);
std::int32_t b8601dx(FormatBlock* block);
std::int32_t b8601lx(FormatBlock* block);
std::int32_t b8601tx(FormatBlock* block);
}

// The general paths of f8601da and f8601dt, without their common-case
// shortcuts: the tests compare the two.
std::int32_t f8601da_general(FormatBlock* block);
std::int32_t f8601dt_general(FormatBlock* block);
// The general paths of the zone-qualified datetimes.
std::int32_t f8601dz_general(FormatBlock* block);
std::int32_t f8601dx_general(FormatBlock* block);
std::int32_t f8601lx_general(FormatBlock* block);
// The general paths of the basic datetimes.
std::int32_t b8601dt_general(FormatBlock* block);
std::int32_t b8601dz_general(FormatBlock* block);
std::int32_t b8601dx_general(FormatBlock* block);
std::int32_t b8601lx_general(FormatBlock* block);
