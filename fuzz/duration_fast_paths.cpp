// The straight-written forms of the duration and datetime text against the
// general pass, on decoded packed bytes or on raw records (any field values,
// flags and missing mask), under option words steered towards the two forms
// (a duration with designators, a whole datetime delimited) and their
// neighbours. Any difference in length or bytes, or a write past the
// buffer, is a finding.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "duration/duration.h"
#include "duration/format_support.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::bind_host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t selector = in.take<std::uint8_t>();
    std::int32_t options = in.take<std::int32_t>();
    // Mostly one of the two forms' words, with or without one more bit.
    switch (selector & 3) {
        case 0: options = render_option::kDesignators | (options & ~0x107F); break;
        case 1: options = render_option::kDelimited | (options & ~0x107F); break;
        case 2: options = ((selector & 4) ? render_option::kDesignators : render_option::kDelimited) |
                          (1 << (static_cast<std::uint32_t>(options) % 13));
                break;
        default: break;
    }
    Entity e{};
    if (selector & 0x80) {
        // A record as the reader of packed values makes it.
        for (std::uint8_t& b : e.packed) b = in.take<std::uint8_t>();
        if (selector & 0x40) e.packed[7] = static_cast<std::uint8_t>((e.packed[7] & ~1) | ((selector >> 3) & 1));
        if (convert_from_bcd(&e) != 0) return 0;
    } else {
        // Any record at all.
        for (int c = 0; c < component::kCount; ++c) component::field(e, c) = in.take<std::int64_t>();
        e.missing = in.take<std::uint8_t>();
        const std::uint8_t flags = in.take<std::uint8_t>();
        e.is_datetime = flags & 1;
        e.single_form = (flags >> 1) & 1;
        e.implied_anchor = (flags >> 2) & 1;
        e.weeks = (flags >> 3) & 1;
        e.negative = (flags >> 4) & 1;
    }
    fuzz_support::Guarded fast(shown::kLongestText, '#'), general(shown::kLongestText, '#');
    const int n = shown::render_text(e, options, fast.data());
    const int m = shown::render_text_general(e, options, general.data());
    if (n != m || n < 0 || n > shown::kLongestText || std::memcmp(fast.data(), general.data(), shown::kLongestText) != 0)
        __builtin_trap();
    fast.check();
    general.check();
    return 0;
}
