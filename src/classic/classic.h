// Classic clock formats: day-month-year datetimes, time of day, 12-hour
// clock, elapsed time, date with AM/PM.
#pragma once

#include <cstdint>

#include "abi/call_block.h"

extern "C" {
std::int32_t zfmtod(FormatBlock* block);
std::int32_t zfmtimm(FormatBlock* block);
std::int32_t zfmhour(FormatBlock* block);
std::int32_t zfmmmss(FormatBlock* block);
std::int32_t zfmhhmm(FormatBlock* block);
std::int32_t zfmmony(FormatBlock* block);
std::int32_t zfmdate(FormatBlock* block);
std::int32_t zfmdttm(FormatBlock* block);
std::int32_t zfmdtmm(FormatBlock* block);
std::int32_t zfmdyam(FormatBlock* block);
}

// The general paths of the routines that have a common-case shortcut,
// without it: the tests compare the two.
std::int32_t zfmdttm_general(FormatBlock* block);
std::int32_t zfmdtmm_general(FormatBlock* block);
std::int32_t zfmtod_general(FormatBlock* block);
std::int32_t zfmtimm_general(FormatBlock* block);
std::int32_t zfmdyam_general(FormatBlock* block);
std::int32_t zfmhour_general(FormatBlock* block);
std::int32_t zfmmmss_general(FormatBlock* block);
std::int32_t zfmhhmm_general(FormatBlock* block);
