// Fuzzes the round trip of the duration, datetime and interval informats and
// formats of the loaded plug-ins: a text the informat accepts, shown by the
// format (durations with designators, datetimes delimited) and read again,
// gives the same packed digits, or digits that show as the same text (unless
// the format cannot show it: blanks for a missing value, asterisks for one
// too long for its work area).
#include <cstdlib>
#include <string>

#include "fuzz_support.h"

namespace {

isofmt::Host* host = nullptr;

struct Pair {
    const char* name;
    std::int32_t options, dt_options;
};
constexpr Pair kPairs[] = {{"IS860DU", 0x0001, 0}, {"IS860PD", 0x0004, 0}, {"IS860VL", 0x0001, 0x0004}};

struct Bound {
    const isofmt::CatalogueEntry* informat;
    const isofmt::CatalogueEntry* format;
} bound[3];

isofmt::Result read(const Bound& b, std::string_view text) { return host->informat(*b.informat, text, {}); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    host = &fuzz_support::bind_host(fuzz_support::quiet_config());
    for (int i = 0; i < 3; ++i) {
        bound[i] = {host->find(kPairs[i].name, isofmt::Kind::informat), host->find(kPairs[i].name, isofmt::Kind::format)};
        if (!bound[i].informat || !bound[i].format) std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 200) return 0;
    const int k = data[0] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const isofmt::Result first = read(bound[k], text);
    if (first.status != 0) return 0;
    isofmt::Request show;
    show.width = 200;
    show.options = kPairs[k].options;
    show.dt_options = kPairs[k].dt_options;
    const isofmt::Result shown = host->format_packed(*bound[k].format, first.text, show);
    if (shown.status != 0) return 0;
    const std::string back(shown.text.substr(0, shown.text.find_last_not_of(' ') + 1));
    if (back.empty()) return 0;  // a missing value shows as blanks
    // A value too long for the format's work area shows as asterisks.
    if (back.find_first_not_of('*') == std::string::npos) return 0;
    const isofmt::Result second = read(bound[k], back);
    // One value may have two packed spellings: P0M40D keeps its digits as
    // written (month absent, day 40), while P40D, a lone day count past 31,
    // is stored as a single-unit count. Those must still show the same text.
    bool same = second.status == 0 && second.text == first.text;
    if (!same && second.status == 0) {
        const isofmt::Result again = host->format_packed(*bound[k].format, second.text, show);
        same = again.status == 0 && again.text == shown.text;
    }
    if (!same) {
        std::fprintf(stderr, "round trip: '%.*s' -> %s -> '%s' -> %s (%d)\n", static_cast<int>(text.size()),
                     text.data(), first.text.c_str(), back.c_str(), second.text.c_str(), second.status);
        std::abort();
    }
    return 0;
}
