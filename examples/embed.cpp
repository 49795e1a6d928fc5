// Embedding isofmt: load the plug-ins, render a datetime, read an interval
// into its packed value and back, and say why a text does not read.
#include <isofmt/host.h>

#include <cstdio>

int main() try {
    isofmt::Host host;  // zone UTC, "." for a missing value
    host.load_plugins();  // ISOFMT_PLUGIN_PATH, else beside the installed library

    // A datetime is seconds since 1960-01-01T00:00:00.
    const isofmt::CatalogueEntry& dz = host.entry("E8601DZ");
    const double when = *host.parse_literal("2020-01-15T10:30:00");
    std::printf("[%s]\n", host.format(dz, when, {.width = 26, .decimals = 3}).text.c_str());

    // An interval text reads into 32 hexadecimal digits, the packed value.
    const isofmt::Result packed = host.informat(host.entry("IS860VL", isofmt::Kind::informat),
                                                "2020-01-15T10:30:00/P1Y2M");
    std::printf("%s %d\n", packed.text.c_str(), packed.status);
    // And back to text: option 1 writes the duration with its designators.
    std::printf("[%s]\n", host.format_packed(host.entry("IS860VL"), packed.text, {.options = 1}).text.c_str());

    // A text that does not read gives a problem code; problem_message says why.
    const isofmt::Result bad = host.informat(host.entry("IS860VL", isofmt::Kind::informat), "P1D/P2D");
    std::printf("%d %s\n", bad.status, isofmt::problem_message(bad.status));

    // A request that no routine takes is an isofmt::Error saying what was wrong.
    try {
        host.format(dz, when, {.width = 0});
    } catch (const isofmt::Error& e) {
        std::printf("%s\n", e.what());
    }
    return 0;
} catch (const isofmt::Error& e) {
    std::fprintf(stderr, "embed: %s\n", e.what());
    return 1;
}
