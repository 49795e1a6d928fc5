// Fuzzes the C++ API's handling of a Request: any catalogue entry called
// through format(), format_packed() or informat() (the right one or not),
// with widths, decimals and capacities from -2 to beyond the largest a host
// accepts, the validation flag, option words, parse modes and environments.
// A call either returns at most the room the request gives, or is refused
// with isofmt::Error; the host's own buffers are exactly the room,
// so a sanitizer sees any access beyond them.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "fuzz_support.h"

namespace {

isofmt::Host* host = nullptr;
std::vector<const isofmt::CatalogueEntry*> entries;
Environment* environments[4] = {};

// A count near the edges, or any small one.
int count(fuzz_support::Input& in) {
    static constexpr int kEdges[] = {-1, 0, 1, 2, -2, 5, 16, 32, 40, 200, 201, 32767, 32768, INT_MAX, INT_MIN};
    const std::uint8_t pick = in.take<std::uint8_t>();
    if (pick < 2 * std::size(kEdges)) return kEdges[pick % std::size(kEdges)];
    return pick - 64;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    isofmt::HostConfig config = fuzz_support::quiet_config();
    config.debug = "N8601DIAG";
    host = &fuzz_support::bind_host(std::move(config));
    for (const auto& e : host->catalogue()) entries.push_back(&e);
    environments[1] = host->default_environment();
    environments[2] = host->create_environment({.time_zone = "+05:30", .missing_text = "", .month_table = false});
    environments[3] = host->create_environment({.time_zone = "America/New_York", .missing_text = "MISSING"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::Input in{data, size};
    const std::uint8_t pick = in.take<std::uint8_t>();
    const std::uint8_t call = in.take<std::uint8_t>() % 3;
    const isofmt::CatalogueEntry& e = *entries[pick % entries.size()];
    isofmt::Request r;
    r.width = count(in);
    r.decimals = count(in);
    r.capacity = count(in);
    const std::uint8_t flags = in.take<std::uint8_t>();
    r.validate = flags & 1;
    r.environment = environments[flags >> 1 & 3];
    r.options = in.take<std::int32_t>();
    r.dt_options = in.take<std::int32_t>();
    r.mode = in.take<std::int32_t>();
    const double value = in.take<double>();
    const std::string_view text(reinterpret_cast<const char*>(in.data), in.size);

    const bool right = call == 0 ? e.kind == isofmt::Kind::format && e.shape == isofmt::Shape::numeric
                     : call == 1 ? e.kind == isofmt::Kind::format && e.shape != isofmt::Shape::numeric
                                 : e.kind == isofmt::Kind::informat;
    isofmt::Result result;
    try {
        result = call == 0   ? host->format(e, value, r)
                 : call == 1 ? host->format_packed(e, text, r)
                             : host->informat(e, text, r);
    } catch (const isofmt::Error&) {
        return 0;  // a wrong routine, or a width or capacity the host refuses
    }
    if (!right) std::abort();  // a call of the wrong shape went through
    const int width = r.width == -1 ? e.default_width : r.width;
    const int capacity = r.capacity != -1 ? r.capacity : e.kind == isofmt::Kind::format ? width : 32;
    const int room = std::max(capacity, e.shape == isofmt::Shape::numeric ? width : 0);
    if (result.text.size() > static_cast<std::size_t>(std::max(room, 0))) std::abort();
    return 0;
}
