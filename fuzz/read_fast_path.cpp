// Compares the reader's shortcut for the common forms with the general
// reader: the same problem code and the same record, byte for byte, for
// every parse mode and inside or outside an interval. The text is either the
// fuzzer's bytes as they are, or a common datetime or duration with some of
// its characters replaced and its numbers chosen by the fuzzer (so that most
// runs come near the shortcut's edges), cut to any length and padded with
// blanks on either side.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "duration/duration.h"
#include "fuzz_support.h"

namespace {

using fuzz_support::Input;

std::int32_t mode_of(std::uint8_t pick) {
    static constexpr std::int32_t kModes[] = {0, 0x80, 0x100, 0x200, 0x7FFF};
    return kModes[pick % 5];
}

constexpr char kAlphabet[] = "0123456789-:TtZzPpYyMmDdHhSsWw.,+/ ";

std::string number(Input& in) {
    const std::uint8_t kind = in.take<std::uint8_t>();
    const std::uint64_t bits = in.take<std::uint64_t>();
    std::string digits;
    switch (kind % 4) {
    case 0: digits = std::to_string(bits % 100); break;                 // in range or just past it
    case 1: digits = std::to_string(bits % 100000); break;              // a year's digits and past them
    case 2: digits = std::to_string(bits); break;                       // up to twenty digits: overflow
    default: digits = std::string(kind >> 2 & 7, '0') + std::to_string(bits % 60);  // leading zeros
    }
    return digits;
}

std::string built_text(Input& in) {
    const std::uint8_t shape = in.take<std::uint8_t>();
    std::string t;
    if (shape & 1) {
        // A datetime: the numbers two digits wide (the year four) unless
        // the fuzzer widens them, then a suffix.
        static constexpr int kWidth[] = {4, 2, 2, 2, 2, 2};
        static constexpr char kAfter[] = {'-', '-', 'T', ':', ':', 0};
        for (int c = 0; c < 6; ++c) {
            std::string n = number(in);
            const int width = kWidth[c] + (shape >> 1 & 1 ? in.take<std::int8_t>() % 2 : 0);
            if (static_cast<int>(n.size()) < width) n.insert(0, static_cast<std::size_t>(width) - n.size(), '0');
            t += n;
            if (kAfter[c]) t += kAfter[c];
        }
        static const char* const kSuffix[] = {"", "", "", "Z", "z", "Zx", "+05:00", ".5", ",123", " ", "T"};
        t += kSuffix[in.take<std::uint8_t>() % std::size(kSuffix)];
    } else {
        // A duration: any of its six units, in order or not.
        static constexpr char kUnits[] = "YMDHMSW";
        if (shape >> 1 & 1) t += '-';
        t += shape >> 2 & 1 ? 'p' : 'P';
        const std::uint8_t units = in.take<std::uint8_t>();
        const std::uint8_t shuffle = in.take<std::uint8_t>();
        for (int u = 0; u < 6; ++u) {
            if (u == 3 && (units >> 3 & 7)) t += 'T';
            if (units >> u & 1) t += number(in) + kUnits[shuffle >> 7 ? (u + shuffle) % 7 : u];
        }
    }
    // Some characters replaced by others that mean something.
    for (int edits = in.take<std::uint8_t>() % 4; edits > 0 && !t.empty(); --edits) {
        const std::uint8_t at = in.take<std::uint8_t>(), with = in.take<std::uint8_t>();
        t[at % t.size()] = kAlphabet[with % (sizeof kAlphabet - 1)];
    }
    return t;
}

struct Outcome {
    int code;
    Entity e;
};

using Reader = int(const char*, int, Entity*, int, int);

Outcome read_with(Reader* reader, const std::string& text, int mode, int in_interval) {
    fuzz_support::Guarded t(text.data(), text.size());
    Outcome o;
    std::memset(&o.e, 0xA5, sizeof o.e);
    o.code = reader(t.data(), static_cast<int>(text.size()), &o.e, mode, in_interval);
    t.check();
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static isofmt::Host& host = fuzz_support::bind_host({}, /*module_state=*/false);
    (void)host;
    Input in{data, size};
    const std::uint8_t how = in.take<std::uint8_t>();
    const int mode = mode_of(in.take<std::uint8_t>());
    const int in_interval = how >> 7;
    std::string text;
    if (how & 1) {
        text = built_text(in);
    } else {
        text.assign(reinterpret_cast<const char*>(in.data), in.size < 64 ? in.size : 64);
    }
    // Blanks on either side, and the text cut short.
    text.insert(0, how >> 1 & 3, ' ');
    text.append(how >> 3 & 3, ' ');
    if (how >> 5 & 1 && !text.empty()) text.resize(in.take<std::uint8_t>() % text.size());
    const Outcome fast = read_with(read_date_or_duration, text, mode, in_interval);
    const Outcome general = read_with(read_date_or_duration_general, text, mode, in_interval);
    if (fast.code != general.code || std::memcmp(&fast.e, &general.e, sizeof fast.e) != 0) std::abort();
    return 0;
}
