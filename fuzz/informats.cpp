// Fuzzes the three informats with arbitrary text bytes, width, input length,
// target capacity and parse mode. The text sits in a block of exactly the
// input length and the target in a block of exactly the capacity, so any
// read or write beyond them is caught.
#include <cstdint>
#include <cstring>

#include "duration/duration.h"
#include "fuzz_support.h"

namespace {

// The parse modes the reader tests for, and any other word.
std::int32_t mode_of(std::uint8_t pick, std::int32_t other) {
    static constexpr std::int32_t kModes[] = {0, 0x80, 0x100, 0x200};
    return pick < 4 ? kModes[pick] : other;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isofmt::HostConfig config;
    config.log = [](std::string_view) {};  // the too-short-target lines
    fuzz_support::bind_host(std::move(config), /*module_state=*/false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t routine = in.take<std::uint8_t>() % 3;
    const std::uint8_t pick = in.take<std::uint8_t>() % 8;
    const std::int32_t other_mode = in.take<std::int32_t>();
    const int width = in.take<std::int16_t>() % 300;
    const int capacity = in.take<std::int8_t>() % 48;
    const bool short_length = in.take<std::uint8_t>() & 1;  // an input length below the text's

    const int text_size = static_cast<int>(in.size < 400 ? in.size : 400);
    auto text = fuzz_support::exact_block(text_size);
    std::memcpy(text.get(), in.data, static_cast<std::size_t>(text_size));
    auto target = fuzz_support::exact_block(capacity);

    FormatBlock b{};
    b.width = width;
    b.value = text.get();
    b.input_length = short_length ? text_size / 2 : text_size;
    b.output = target.get();
    b.capacity = capacity;
    b.output_length = -1;
    InformatRoutine* const routines[3] = {is8601vli, is8601dui, is8601pdi};
    const std::int32_t code = routines[routine](&b, mode_of(pick, other_mode));
    if (code < 0 || code > 27) __builtin_trap();
    if (!fuzz_support::within(b, capacity)) __builtin_trap();
    return 0;
}
