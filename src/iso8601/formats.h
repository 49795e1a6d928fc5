// The limits of each ISO format as its routine checks them, from the one
// row per format in formats.def: kExtendedDA, kBasicDZ, ...
#pragma once

#include "abi/call_block.h"

#define ISO_EXTENDED(sfx, routine, min_w, max_w, def_w, max_d, alt) \
    inline constexpr Limits kExtended##sfx{min_w, max_w, 0, max_d};
#define ISO_BASIC(sfx, routine, min_w, max_w, def_w, max_d) inline constexpr Limits kBasic##sfx{min_w, max_w, 0, max_d};
#include "iso8601/formats.def"
#undef ISO_EXTENDED
#undef ISO_BASIC
