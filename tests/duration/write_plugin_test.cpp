// The duration and interval formats as a host reaches them: loaded from each
// ISO plug-in and called by their exported names.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "isofmt/host.h"

namespace {

constexpr const char* kIsoModules[] = {"dtbasic1", "dtextnd1", "dtaltfm1"};

// A host that has loaded one plug-in: each exports the routines itself.
std::unique_ptr<isofmt::Host> host_with(const std::string& module) {
    auto host = std::make_unique<isofmt::Host>();
    host->load_plugin(std::string(ISOFMT_PLUGIN_DIR) + "/" + module + ".so");
    return host;
}

struct Case {
    const char* format;
    const char* hex;
    int width, capacity;
    std::int32_t options, dt_options;
    std::string text;
    std::int32_t status;
};

TEST(LoadedFormats, EveryIsoModuleRendersTheSame) {
    const std::int32_t problem = static_cast<std::int32_t>(0x8001d825u);
    const std::int32_t not_hex = static_cast<std::int32_t>(0x80002021u);
    const Case cases[] = {
        {"IS860DU", "0001203040506FFC", 20, -1, 0x0001, 0, "P1Y2M3DT4H5M6S      ", 0},
        {"IS860DU", "0080000000002412", 6, -1, 0x0001, 0, "-PT36H", 0},
        {"IS860DU", "00000000008E9492", 5, -1, 0, 0, "PT36 ", 0},
        {"IS860DU", "FFFFFFFFFFFFFFFF", 4, -1, 0, 0, "    ", 0},
        {"IS860DU", "0001203040506GFC", 20, -1, 0, 0, "", not_hex},
        {"IS860DU", "D001203040506FFC", 20, -1, 0, 0, "", 4},
        {"IS860PD", "2020C31235959F9D", 23, -1, 0x0004, 0, "2020-12-31T23:59:59.999", 0},
        {"IS860PD", "2020C31235959F9D", 21, -1, 0x0004, 0, "2020-12-31T23:59:59.9", 0},
        {"IS860PD", "2020C31235959F9D", 18, -1, 0x0004, 0, "******************", 27},
        {"IS860PD", "2020115103000FFD", 40, 19, 0, 0, "20200115T103000    ", 0},
        {"IS860VL", "2020115103000FFD0001203040506FFC", 34, -1, 0x0001, 0x0004,
         "2020-01-15T10:30:00/P1Y2M3DT4H5M6S", 0},
        {"IS860VL", "19601010000000030001203040506FFC", 14, -1, 0x0001, 0x0004, "P1Y2M3DT4H5M6S", 0},
        {"IS860VL", "2020115103000FFD0001203040506FFC", 30, -1, 0x0001, 0x0004, std::string(30, '*'), problem},
        {"IS860VL", "2020115103000FFDG001203040506FFC", 40, 32, 0x0001, 0x0004, std::string(32, '*'), problem},
    };
    for (const char* module : kIsoModules) {
        const auto host = host_with(module);
        for (const Case& c : cases) {
            const isofmt::CatalogueEntry* e = host->find(c.format, isofmt::Kind::format);
            ASSERT_NE(e, nullptr) << module << " does not export the routine of " << c.format;
            isofmt::Request r;
            r.width = c.width;
            r.capacity = c.capacity;
            r.options = c.options;
            r.dt_options = c.dt_options;
            const isofmt::Result got = host->format_packed(*e, c.hex, r);
            EXPECT_EQ(got.text, c.text) << module << " " << c.format << " " << c.hex;
            EXPECT_EQ(got.status, c.status) << module << " " << c.format << " " << c.hex;
        }
    }
}

}  // namespace
