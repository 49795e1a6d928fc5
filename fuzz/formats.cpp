// Fuzzes every date, time and clock format of the loaded plug-ins and the
// fixed-width text routines with arbitrary value bits, widths, decimals,
// capacities, flags and zones. The date and time routines write width
// characters, so their output buffer holds max(width, capacity) bytes
// between guard bytes, and must stay untouched beyond the width; the text
// routines get guarded blocks of exactly their lengths.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "iso8601/iso8601.h"
#include "render/render.h"
#include "text/text.h"

namespace {

using fuzz_support::Input;

// Environments with a half-hour, a daylight-saving and an extreme zone; a
// fourth choice leaves the block without an environment.
Environment* zones[3] = {};

// The numeric formats of the loaded plug-ins, and the statically linked
// rendering primitives they are built from.
std::vector<FormatRoutine*> routines = {zfmtime, zfmymd, zfmymdb, zfmymdc, zfmymdn, zfmymdp, zfmymds};
constexpr char kGuardByte = fuzz_support::Guarded::kGuardByte;

bool is_validation_status(std::int32_t s) {
    return s == status::kWidthBelowMin || s == status::kWidthAboveMax || s == status::kDecimalsBelowMin ||
           s == status::kDecimalsAboveMax;
}

// Value bits: either raw, or a value near the interesting span (so that most
// inputs render text rather than asterisks).
double take_value(Input& in) {
    const fuzz_support::Draw d = fuzz_support::draw(in);
    if (d.raw()) return d.value();
    const std::uint8_t kind = d.kind;
    const double fraction = d.fraction();
    switch (kind >> 1 & 3) {
        case 0: return fraction * 86400;                                  // a time of day
        case 1: return (fraction - 0.05) * 2936548.0 * 1.1;               // a date
        case 2: return (fraction * 1.2 - 0.1) * 253717747200.0;           // a datetime
        default: return 86399 + fraction;                                 // the last second
    }
}

void format_one(Input& in) {
    FormatRoutine* routine = routines[in.take<std::uint8_t>() % routines.size()];
    const double value = take_value(in);
    const int width = in.take<std::int8_t>() % 70;
    const int decimals = in.take<std::int8_t>() % 48;
    const int capacity = in.take<std::uint8_t>() % 70;
    const std::uint8_t flags = in.take<std::uint8_t>();
    const std::uint8_t zone = in.take<std::uint8_t>() % 4;

    const int room = width > capacity ? width : capacity;
    fuzz_support::Guarded buffer(room, kGuardByte);
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.output = buffer.data();
    b.capacity = capacity;
    b.flags = flags;
    b.environment = zone < 3 ? zones[zone] : nullptr;
    b.output_length = -12345;
    const FormatBlock before = b;

    const std::int32_t s = routine(&b);

    const int written_limit = width > 0 ? width : 0;
    buffer.check();
    for (int i = written_limit; i < room; ++i)
        if (buffer.data()[i] != kGuardByte) std::abort();  // past the width
    if (is_validation_status(s)) {
        if (!(flags & kValidateFlag) || b.output_length != -12345) std::abort();
        for (int i = 0; i < room; ++i)
            if (buffer.data()[i] != kGuardByte) std::abort();
    } else if (b.output_length < 0 || b.output_length > room) {
        std::abort();
    }
    // Nothing but the output length changes in the caller's block.
    FormatBlock after = b;
    after.output_length = before.output_length;
    if (std::memcmp(&after, &before, sizeof before) != 0) std::abort();
}

// The text routines on blocks of exactly their lengths.
void text_one(Input& in) {
    const std::uint8_t op = in.take<std::uint8_t>() % 7;
    const int n = in.take<std::uint8_t>() % 80;
    fuzz_support::Guarded text(n, ' ');
    std::memcpy(text.data(), in.data, in.size < static_cast<std::size_t>(n) ? in.size : static_cast<std::size_t>(n));
    char* p = n > 0 ? text.data() : nullptr;
    switch (op) {
        case 0: {
            const int r = wzstrip(p, n);
            if (r < 0 || r > n || (r > 0 && p[r - 1] == ' ')) std::abort();
            for (int i = r; i < n; ++i)
                if (p[i] != ' ') std::abort();
            break;
        }
        case 1: {
            const std::string copy = text.text(static_cast<std::size_t>(n));
            wzstrnc(p, n, '-', '/');
            for (int i = 0; i < n; ++i)
                if (p[i] != (copy[i] == '/' ? '-' : copy[i])) std::abort();
            break;
        }
        case 2: {
            int length = -1, start = -1;
            wzstjls(p, n, "LRCn"[n % 4], &length, &start);
            if (length < 0 || start < 0 || start + length > n) std::abort();
            break;
        }
        case 3: {
            static const char set[] = "-:.";
            const int kept = wzstdel(p, n, set, 3);
            if (kept < 0 || kept > n) std::abort();
            break;
        }
        case 4: {
            fuzz_support::Guarded field(n > 0 ? n : 1);
            std::int64_t v = n * 1234567 - 40000000;
            if (n >= 8) std::memcpy(&v, text.data(), 8);
            wzclchr(v, field.data(), static_cast<int>(field.size()));
            field.check();
            break;
        }
        case 5: {
            fuzz_support::Guarded dst(n / 2);
            vzmp(p, n, dst.size() ? dst.data() : nullptr, static_cast<int>(dst.size()));
            dst.check();
            break;
        }
        default:
            (void)wzstpos(p, n, 'T');
            (void)wzstnot(p, n, ' ');
            (void)vzabl(' ', p, n);
            (void)vzatl(' ', p, n);
            break;
    }
    text.check();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isofmt::Host& host = fuzz_support::bind_host();
    const isofmt::Shape numeric = isofmt::Shape::numeric;
    for (const auto* e : fuzz_support::entries(host, isofmt::Kind::format, &numeric))
        routines.push_back(reinterpret_cast<FormatRoutine*>(e->routine));
    const char* names[] = {"+05:30", "America/New_York", "-14:00"};
    for (int i = 0; i < 3; ++i) {
        isofmt::EnvironmentConfig config;
        config.time_zone = names[i];
        zones[i] = host.create_environment(config);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    if (in.take<std::uint8_t>() & 1)
        text_one(in);
    else
        format_one(in);
    return 0;
}
