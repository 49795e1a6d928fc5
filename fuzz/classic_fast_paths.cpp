// Compares the common-case shortcuts of the clock formats with their general
// paths on arbitrary value bits (or values near the carries of the
// rounding: a minute's, an hour's, noon's and the day's last half second,
// half seconds, anywhere in the range), widths, decimals, capacities and the
// validation flag: the same text, status and output length, and neither
// writes beyond the field.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "classic/classic.h"
#include "fuzz_support.h"

namespace {

using fuzz_support::Input;
using fuzz_support::Rendered;
using fuzz_support::render_guarded;

constexpr int kRoom = fuzz_support::Rendered::kRoom;

struct Pair {
    FormatRoutine* fast;
    FormatRoutine* general;
    bool datetime;  // values are datetimes, else times
};

const Pair kPairs[] = {
    {zfmdttm, zfmdttm_general, true},
    {zfmdtmm, zfmdtmm_general, true},
    {zfmdyam, zfmdyam_general, true},
    {zfmtod, zfmtod_general, false},
    {zfmtimm, zfmtimm_general, false},
    {zfmhour, zfmhour_general, false},
    {zfmmmss, zfmmmss_general, false},
    {zfmhhmm, zfmhhmm_general, false},
};

double take_value(Input& in, bool datetime) {
    const fuzz_support::Draw d = fuzz_support::draw(in);
    if (d.raw()) return d.value();
    const std::uint8_t kind = d.kind;
    const double fraction = d.fraction();
    // A day from a little before the range to a little past it; times use
    // a few days either side of zero.
    const double day = datetime ? std::floor((fraction * 1.1 - 0.05) * (6589336.0 + 138061.0)) - 138061.0
                                : static_cast<double>(static_cast<int>(d.bits % 7) - 3);
    const double hair = (fraction - 0.5) * 1e-6;
    switch (kind >> 1 & 7) {
        case 0: return day * 86400 + (kind >> 4) * 60.0 + 59.5 + hair;          // a minute's last half second
        case 1: return day * 86400 + (kind >> 4) * 3600.0 + 3599.5 + hair;      // an hour's last half second
        case 2: return day * 86400 + 86399.5 + hair;                           // the day's last half second
        case 3: return day * 86400 + 43199.5 + hair;                           // noon's
        case 4: return day * 86400 + std::floor(fraction * 86400) + 0.5;       // a half second
        case 5: return day * 86400 + std::floor(fraction * 86400) + 1 - 5 * std::pow(10.0, -(kind >> 4) % 10 - 1);
        default: return datetime ? (fraction * 1.2 - 0.1) * 569318515200.0 : (fraction * 3 - 1) * 86400;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static isofmt::Host& host = fuzz_support::bind_host();
    (void)host;
    Input in{data, size};
    const Pair& pair = kPairs[in.take<std::uint8_t>() % std::size(kPairs)];
    const double value = take_value(in, pair.datetime);
    const int width = in.take<std::uint8_t>() % 44;
    const int decimals = in.take<std::int8_t>() % 24;
    const std::uint8_t shape = in.take<std::uint8_t>();
    const std::uint8_t flags = shape & kValidateFlag;
    // Mostly the whole width; sometimes a capacity short of it.
    const int capacity = shape & 0x80 ? (shape >> 1 & 0x3F) % (width + 1) : width;
    const Rendered fast = render_guarded(pair.fast, value, width, decimals, capacity, flags);
    const Rendered general = render_guarded(pair.general, value, width, decimals, capacity, flags);
    if (fast.status != general.status || fast.length != general.length) std::abort();
    if (std::memcmp(fast.out, general.out, kRoom) != 0) std::abort();
    return 0;
}
