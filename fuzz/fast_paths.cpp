// Compares the common-case shortcuts of E8601DA and E8601DT with their
// general paths on arbitrary value bits (or values near the carries of the
// rounding), widths, decimals and the validation flag: the same text, status
// and output length, and neither writes beyond the width.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "iso8601/iso8601.h"

namespace {

using fuzz_support::Input;

constexpr int kRoom = 64;

double take_value(Input& in) {
    const std::uint8_t kind = in.take<std::uint8_t>();
    const std::uint64_t bits = in.take<std::uint64_t>();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (kind & 1) return v;
    const double fraction = static_cast<double>(bits >> 11) / 9007199254740992.0;
    const double day = std::floor((fraction * 1.1 - 0.05) * (2936548.0 + 138061.0)) - 138061.0;
    switch (kind >> 1 & 3) {
        case 0: return day * 86400 + (kind >> 3) * 60.0 + 59.5 + (fraction - 0.5) * 1e-6;  // a minute's last half second
        case 1: return day * 86400 + 86399.5 + (fraction - 0.5) * 1e-6;  // the day's last half second
        case 2: return day * 86400 + std::floor(fraction * 86400) + 0.5;  // a half second
        default: return (fraction * 1.2 - 0.1) * 253717747200.0;        // anywhere
    }
}

struct Rendered {
    char out[kRoom];
    std::int32_t status, length;
};

Rendered render(FormatRoutine* routine, double value, int width, int decimals, std::uint8_t flags) {
    Rendered r;
    std::memset(r.out, 0x5A, sizeof r.out);
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.output = r.out;
    b.capacity = width;
    b.flags = flags;
    b.output_length = -99;
    r.status = routine(&b);
    r.length = b.output_length;
    for (int i = width > 0 ? width : 0; i < kRoom; ++i)
        if (r.out[i] != 0x5A) std::abort();  // written beyond the width
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static isofmt::Host& host = fuzz_support::bind_host();
    (void)host;
    Input in{data, size};
    const bool date = in.take<std::uint8_t>() & 1;
    double value = take_value(in);
    if (date) value /= 86400;  // the datetimes' days, with their fractions
    const int width = in.take<std::uint8_t>() % 40;
    const int decimals = in.take<std::int8_t>() % 10;
    const std::uint8_t flags = in.take<std::uint8_t>() & kValidateFlag;
    const Rendered fast = render(date ? f8601da : f8601dt, value, width, decimals, flags);
    const Rendered general = render(date ? f8601da_general : f8601dt_general, value, width, decimals, flags);
    if (fast.status != general.status || fast.length != general.length) std::abort();
    const int n = fast.length > 0 ? fast.length : 0;
    if (n > kRoom || std::memcmp(fast.out, general.out, static_cast<std::size_t>(n)) != 0) std::abort();
    return 0;
}
