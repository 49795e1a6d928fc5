// Fuzzes the duration and interval formats and the fitting routine with
// arbitrary value bytes, widths, capacities and option words. The value sits
// in a block of exactly its 16 or 32 characters and the output in a block of
// exactly the capacity, so any stray read or write is caught.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "duration/duration.h"
#include "host/module.h"
#include "host/module_state.h"
#include "isofmt/host.h"

extern "C" {
const char module_state_name[15] = "__FMT_DTEXTND1";
void* fuzz_module(std::int32_t) { return nullptr; }
}
ISOFMT_MODULE_IMAGE(pcn_FUZZ, fuzz_module, 0)

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;

    template <class T>
    T take() {
        T v{};
        const std::size_t n = size < sizeof v ? size : sizeof v;
        std::memcpy(&v, data, n);
        data += n;
        size -= n;
        return v;
    }
};

isofmt::Host& host() {
    static isofmt::Host* h = [] {
        auto* made = new isofmt::Host();
        mcn_main(made->anchor(), made->second_anchor());
        uwxn8601_init();
        return made;
    }();
    return *h;
}

// Width and capacity within a range that covers every branch without huge
// buffers: negative, zero, around the value and work-area sizes, and beyond.
int small(std::int16_t v) { return v % 260; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    host();
    Input in{data, size};
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
    std::unique_ptr<char[]> value(new char[value_size ? value_size : 1]);
    std::memcpy(value.get(), in.data, value_size);
    if (as_hex)
        for (std::size_t i = 0; i < value_size; ++i) value[i] = "0123456789ABCDEF"[in.data[i] % 16];

    const std::size_t room = capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
    std::unique_ptr<char[]> output(new char[room ? room : 1]);
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
    if (b.output_length > static_cast<int>(room)) __builtin_trap();
    return 0;
}
