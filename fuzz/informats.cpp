// Fuzzes the three informats of the loaded plug-ins with arbitrary text
// bytes, width, input length, target capacity and parse mode. The text and
// the target sit between guard bytes, so any read or write beyond them is
// caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "duration/duration.h"
#include "fuzz_support.h"

namespace {

InformatRoutine* routines[3] = {};

// The parse modes the reader tests for, and any other word.
std::int32_t mode_of(std::uint8_t pick, std::int32_t other) {
    static constexpr std::int32_t kModes[] = {0, 0x80, 0x100, 0x200};
    return pick < 4 ? kModes[pick] : other;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isofmt::Host& host = fuzz_support::bind_host(fuzz_support::quiet_config(), /*module_state=*/false);
    const char* names[3] = {"IS860VL", "IS860DU", "IS860PD"};
    for (int i = 0; i < 3; ++i) {
        const isofmt::CatalogueEntry* e = host.find(names[i], isofmt::Kind::informat);
        if (!e) std::abort();
        routines[i] = reinterpret_cast<InformatRoutine*>(e->routine);
    }
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
    fuzz_support::Guarded text(in.data, static_cast<std::size_t>(text_size));
    fuzz_support::Guarded target(capacity, ' ');

    FormatBlock b{};
    b.width = width;
    b.value = text.data();
    b.input_length = short_length ? text_size / 2 : text_size;
    b.output = target.data();
    b.capacity = capacity;
    b.output_length = -1;
    const std::int32_t code = routines[routine](&b, mode_of(pick, other_mode));
    if (code < 0 || code > 27) __builtin_trap();
    if (!fuzz_support::within(b, capacity)) __builtin_trap();
    text.check();
    target.check();
    return 0;
}
