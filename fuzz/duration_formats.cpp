// Fuzzes the duration and interval formats of the loaded plug-ins and the
// (statically linked) fitting routine with arbitrary value bytes, widths,
// capacities and option words. The value of its 16 or 32 characters and the
// output of exactly the capacity sit between guard bytes, so any stray read
// or write is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "duration/duration.h"
#include "fuzz_support.h"

namespace {

// Width and capacity within a range that covers every branch without huge
// buffers: negative, zero, around the value and work-area sizes, and beyond.
int small(std::int16_t v) { return v % 260; }

DurationFormatRoutine* duf = nullptr;
DurationFormatRoutine* pdf = nullptr;
IntervalFormatRoutine* vlf = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isofmt::Host& host = fuzz_support::bind_host();
    auto routine = [&](const char* name) {
        const isofmt::CatalogueEntry* e = host.find(name, isofmt::Kind::format);
        if (!e) std::abort();
        return e->routine;
    };
    duf = reinterpret_cast<DurationFormatRoutine*>(routine("IS860DU"));
    pdf = reinterpret_cast<DurationFormatRoutine*>(routine("IS860PD"));
    vlf = reinterpret_cast<IntervalFormatRoutine*>(routine("IS860VL"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t selector = in.take<std::uint8_t>();
    const int routine = selector % 4;
    const bool as_hex = (selector & 0x80) != 0;  // steer towards valid packed values
    const int width = small(in.take<std::int16_t>());
    const int capacity = small(in.take<std::int16_t>());
    const std::int32_t options = in.take<std::int32_t>();
    const std::int32_t datetime_options = in.take<std::int32_t>();
    const std::int16_t slash = in.take<std::int16_t>();

    const std::size_t value_size = routine == 2 ? 32 : routine == 3 ? in.size : 16;
    if (in.size < value_size) return 0;
    fuzz_support::Guarded value(in.data, value_size);
    if (as_hex)
        for (std::size_t i = 0; i < value_size; ++i) value.data()[i] = "0123456789ABCDEF"[in.data[i] % 16];

    fuzz_support::Guarded output(capacity);
    FormatBlock b{};
    b.width = width;
    b.value = value.data();
    b.input_length = static_cast<std::int32_t>(value_size);
    b.output = output.data();
    b.capacity = capacity;
    switch (routine) {
        case 0: duf(&b, options); break;
        case 1: pdf(&b, options); break;
        case 2: vlf(&b, options, datetime_options); break;
        default:
            b.output_length = width < capacity ? width : capacity;
            FitToTarget(&b, value.data(), static_cast<int>(value_size), slash, options);
            break;
    }
    if (!fuzz_support::within(b, capacity)) __builtin_trap();
    value.check();
    output.check();
    return 0;
}
