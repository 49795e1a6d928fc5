// Fuzzes what the tool's stream of standard input does with its lines: the
// value reader's plain decimals against the general reading (read_value)
// and against from_chars, bit for bit; the short decimal lines read in
// place against the plain reading; and the lines a prepared format renders
// a batch at a time against its texts rendered one by one. Each line sits
// between guard bytes; the batch's target too.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "isofmt/decimal_line.h"  // tools/isofmt
#include "isofmt/tool.h"

namespace {

isofmt::Host* host = nullptr;

struct Format {
    const char* name;
    int width, decimals;
};
constexpr Format kFormats[] = {{"E8601DT", 19, 0}, {"E8601DT", 23, 3}, {"E8601DZ", 29, 3},
                               {"E8601DA", 10, 0}, {"CLKDT", 19, 0},   {"E8601TM", 12, 3}};

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One line as the stream reads it: the reader's answer is read_value's, and
// a plain decimal is what from_chars reads.
void read_line(const isofmt::CatalogueEntry& entry, const isofmt::tool::ValueRules& rules,
               const isofmt::tool::ValueReader& reader, std::string_view line, std::vector<double>& values) {
    isofmt::tool::FormatValue fast, general;
    std::string fast_problem, general_problem;
    const bool fast_ok = reader.read(line, fast, fast_problem);
    if (fast_ok != isofmt::tool::read_value(entry, line, rules, general, general_problem)) std::abort();
    if (!fast_ok) {
        if (fast_problem != general_problem) std::abort();
        return;
    }
    if (!same_bits(fast.number, general.number)) std::abort();
    if (const std::optional<double> v = reader.plain(line)) {
        const std::string_view t = isofmt::tool::detail::trim(line);
        double exact = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), exact);
        if (ec != std::errc() || end != t.data() + t.size() || !same_bits(*v, exact)) std::abort();
    }
    values.push_back(fast.number);
}

// The line at `at` of the input, as the stream reads it in place: the 16
// bytes before it and the 16 from its start are the input's (blanks past
// its ends), in a buffer of just those bytes. A line read must be the
// line up to the first LF, with the number read_plain_decimal gives.
void read_in_place(const char* begin, const char* at, const char* end, const isofmt::tool::ValueReader& reader) {
    char window[32];
    for (std::ptrdiff_t i = 0; i < 32; ++i) {
        const char* c = at - 16 + i;
        window[i] = c >= begin && c < end ? *c : ' ';
    }
    fuzz_support::Guarded bytes(window, sizeof window);
    double value = 0;
    const unsigned length = isofmt::tool::detail::read_decimal_line(bytes.data() + 16, value);
    if (!bytes.intact()) std::abort();
    if (length == 0) return;
    const std::string_view line(window + 16, length - 1);
    const std::optional<double> plain = isofmt::tool::detail::read_plain_decimal(line);
    if (length > 16 || window[16 + length - 1] != '\n' || line.find('\n') != std::string_view::npos || !plain ||
        !same_bits(value, *plain))
        std::abort();
    if (reader.reads_short_lines() && !same_bits(*reader.plain(line), value)) std::abort();
}

// The values' lines from format_lines are format_to's texts, each with LF.
void render(const isofmt::Host::NumericFormat& format, const std::vector<double>& values) {
    const std::size_t line = format.room() + 1;
    std::string expected, one(format.room(), '\0');
    for (double v : values) {
        const isofmt::Written w = format.format_to(v, one.data(), one.size());
        expected.append(one, 0, w.length);
        expected += '\n';
    }
    fuzz_support::Guarded out(static_cast<std::ptrdiff_t>(values.size() * line));
    const std::size_t n = format.format_lines(values.data(), values.size(), out.data(), out.size());
    if (out.text(n) != expected || !out.intact()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    host = &fuzz_support::bind_host(fuzz_support::quiet_config());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t what = in.take<std::uint8_t>();
    const Format& f = kFormats[what % std::size(kFormats)];
    // The missing text of the environment is a missing notation on input too.
    static const char* const kMissing[] = {".", "NA", " 0 ", "-1"};
    const isofmt::tool::ValueRules rules{kMissing[(what >> 4) % std::size(kMissing)]};
    const isofmt::CatalogueEntry& entry = host->entry(f.name, isofmt::Kind::format);
    const isofmt::tool::ValueReader reader(entry, rules);
    isofmt::Request request;
    request.width = f.width;
    request.decimals = f.decimals;
    const isofmt::Host::NumericFormat format = host->prepare_format(entry, request);
    std::vector<double> values;
    const char* text = reinterpret_cast<const char*>(in.data);
    const char* const end = text + in.size;
    while (text != end) {
        const char* lf = static_cast<const char*>(std::memchr(text, '\n', static_cast<std::size_t>(end - text)));
        if (!lf) lf = end;
        read_in_place(reinterpret_cast<const char*>(in.data), text, end, reader);
        fuzz_support::Guarded line(text, static_cast<std::size_t>(lf - text));
        read_line(entry, rules, reader, std::string_view(line.data(), line.size()), values);
        if (!line.intact()) std::abort();
        text = lf == end ? end : lf + 1;
    }
    render(format, values);
    return 0;
}
