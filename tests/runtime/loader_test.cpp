// The plug-ins loaded as a host loads them: the catalogue and calls
// through it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "isofmt/host.h"

namespace {

using isofmt::Kind;

const std::string kDir = ISOFMT_PLUGIN_DIR;

bool plugins_built() { return std::filesystem::exists(kDir + "/dtbasic1.so"); }

bool duration_routines_exported() {
    void* h = dlopen((kDir + "/dtbasic1.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    bool found = h && dlsym(h, "is8601vli");
    if (h) dlclose(h);
    return found;
}

// "module minw maxw defw mind defd maxd shape" of a catalogue entry.
std::string limits(const isofmt::Host& host, const char* name, Kind kind) {
    const isofmt::CatalogueEntry* e = host.find(name, kind);
    if (!e) return "none";
    return e->module + " " + std::to_string(e->min_width) + " " + std::to_string(e->max_width) + " " +
           std::to_string(e->default_width) + " " + std::to_string(e->min_decimals) + " " +
           std::to_string(e->default_decimals) + " " + std::to_string(e->max_decimals) + " " +
           std::to_string(static_cast<int>(e->shape));
}

TEST(Loader, TablesInLoadOrder) {
    ASSERT_TRUE(plugins_built()) << "plug-ins not built in " << kDir;
    isofmt::Host host;
    host.load_directory(kDir);
    std::vector<std::string> names;
    for (const auto& e : host.catalogue()) {
        ASSERT_NE(e.routine, nullptr) << e.name;
        if (e.name.size() != 7 || e.name.compare(0, 5, "IS860") != 0) names.push_back(e.name);
    }
    ASSERT_EQ(names.size(), 27u + 9u);
    EXPECT_EQ(names[0] + names[10] + names[20] + names[26] + names[27] + names[35],
              "B8601DAE8601DAIS8601DAIS8601LZCLKDTAMPMCLKTOD");
    EXPECT_EQ(limits(host, "B8601TM", Kind::format), "dtbasic1 6 15 8 0 0 6 0");
    EXPECT_EQ(limits(host, "e8601dz", Kind::format), "dtextnd1 20 35 26 0 0 6 0");
    EXPECT_EQ(limits(host, "IS8601LZ", Kind::format), "dtaltfm1 9 20 14 0 0 6 0");
    EXPECT_EQ(limits(host, "CLKDYAMPM", Kind::format), "dtclockf 8 40 19 0 0 39 0");
    EXPECT_EQ(limits(host, "CLKTAMPM", Kind::format), "dtclockf 2 20 11 0 0 19 0");
    EXPECT_EQ(limits(host, "E8601DA", Kind::informat), "none");
    EXPECT_THROW(host.load_plugin(kDir + "/dtclockf.so"), std::runtime_error);
    EXPECT_EQ(host.catalogue().back().name, "CLKTOD");  // the refused load added nothing
}

TEST(Loader, DurationRoutinesByExportedNameOnce) {
    // A plug-in that lost its exports is a fault of the build, not a reason to skip.
    ASSERT_TRUE(plugins_built()) << "plug-ins not built in " << kDir;
    ASSERT_TRUE(duration_routines_exported()) << "dtbasic1 exports no duration routines";
    isofmt::Host host;
    host.load_directory(kDir);
    EXPECT_EQ(host.catalogue().size(), 42u);
    EXPECT_EQ(limits(host, "IS860VL", Kind::informat), "dtbasic1 1 32767 80 0 0 0 3");
    EXPECT_EQ(limits(host, "IS860PD", Kind::informat), "dtbasic1 1 32767 80 0 0 0 3");
    EXPECT_EQ(limits(host, "IS860VL", Kind::format), "dtbasic1 1 200 40 0 0 0 2");
    EXPECT_EQ(limits(host, "IS860DU", Kind::format), "dtbasic1 1 200 24 0 0 0 1");
    EXPECT_EQ(limits(host, "IS860PD", Kind::format), "dtbasic1 1 200 23 0 0 0 1");

    auto packed = host.informat(*host.find("IS860VL", Kind::informat), "2020-01-15T10:30:00/P1M", {});
    EXPECT_EQ(packed.status, 0);
    EXPECT_EQ(packed.text.size(), 32u);  // the default target
    const isofmt::CatalogueEntry& vlf = *host.find("IS860VL", Kind::format);
    EXPECT_EQ(host.format_packed(vlf, packed.text, {}).text.size(), 40u);
    EXPECT_THROW(host.format(vlf, 0, {}), isofmt::Error);
    EXPECT_EQ(host.informat(*host.find("IS860DU", Kind::informat), "P1Y", {}).text.size(), 16u);
}

TEST(Loader, CallsThroughTheCatalogue) {
    ASSERT_TRUE(plugins_built()) << "plug-ins not built in " << kDir;
    isofmt::Host host;
    host.load_directory(kDir);
    const isofmt::CatalogueEntry& da = *host.find("E8601DA", Kind::format);
    EXPECT_EQ(host.format(da, 21929, {}).text, "2020-01-15");
    EXPECT_EQ(host.format(da, std::nan(""), {}).text, "         .");
    Environment* na = host.create_environment({.missing_text = "NA"});
    EXPECT_EQ(host.format(da, std::nan(""), {.environment = na}).text, "        NA");
    auto invalid = host.format(da, 0, {.width = 11, .validate = true});
    EXPECT_EQ(invalid.status, static_cast<std::int32_t>(0x80002028u));
    EXPECT_EQ(invalid.text, "");
    EXPECT_THROW(host.informat(da, "x", {}), isofmt::Error);
}

TEST(Loader, Failures) {
    isofmt::Host host;
    EXPECT_THROW(host.load_plugin("/nonexistent/dtbasic1.so"), std::runtime_error);
    EXPECT_THROW(host.load_directory("/nonexistent"), std::runtime_error);
    EXPECT_TRUE(host.catalogue().empty());
}

}  // namespace
