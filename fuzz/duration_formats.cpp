// Fuzzes the duration and interval formats and the fitting routine with
// arbitrary value bytes, widths, capacities and option words. The value sits
// in a block of exactly its 16 or 32 characters and the output in a block of
// exactly the capacity, so any stray read or write is caught.
#include <cstdint>
#include <cstring>

#include "duration/duration.h"
#include "fuzz_support.h"

namespace {

// Width and capacity within a range that covers every branch without huge
// buffers: negative, zero, around the value and work-area sizes, and beyond.
int small(std::int16_t v) { return v % 260; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_support::bind_host();
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
    auto value = fuzz_support::exact_block(static_cast<std::ptrdiff_t>(value_size));
    std::memcpy(value.get(), in.data, value_size);
    if (as_hex)
        for (std::size_t i = 0; i < value_size; ++i) value[i] = "0123456789ABCDEF"[in.data[i] % 16];

    auto output = fuzz_support::exact_block(capacity);
    FormatBlock b{};
    b.width = width;
    b.value = value.get();
    b.output = output.get();
    b.capacity = capacity;
    switch (routine) {
        case 0: is8601duf(&b, options); break;
        case 1: is8601pdf(&b, options); break;
        case 2: is8601vlf(&b, options, datetime_options); break;
        default:
            b.output_length = width < capacity ? width : capacity;
            FitToTarget(&b, value.get(), static_cast<int>(value_size), slash, options);
            break;
    }
    if (!fuzz_support::within(b, capacity)) __builtin_trap();
    return 0;
}
