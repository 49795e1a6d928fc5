// What an embedding program meets: the plug-in search path, requests checked
// before a routine sees them, problem messages, and one error type.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "isofmt/host.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using isofmt::Kind;

const std::string kDir = ISOFMT_PLUGIN_DIR;

// Sets ISOFMT_PLUGIN_PATH for one test; restores it after.
class PluginPath {
public:
    explicit PluginPath(const std::string& value) {
        if (const char* v = getenv("ISOFMT_PLUGIN_PATH")) saved_ = v;
        setenv("ISOFMT_PLUGIN_PATH", value.c_str(), 1);
    }
    ~PluginPath() {
        if (saved_) setenv("ISOFMT_PLUGIN_PATH", saved_->c_str(), 1);
        else unsetenv("ISOFMT_PLUGIN_PATH");
    }

private:
    std::optional<std::string> saved_;
};

// An empty directory of its own under the temporary directory.
fs::path empty_directory(const char* name) {
    fs::path d = fs::temp_directory_path() / ("isofmt-embedding-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

std::string error_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const isofmt::Error& e) {
        return e.what();
    }
    return "no error";
}

TEST(PluginSearch, EnvironmentEntriesFirstThenBesideTheProgram) {
    const fs::path program = fs::canonical("/proc/self/exe").parent_path();
    PluginPath env("/first::/second/");
    const std::vector<std::string> path = isofmt::plugin_search_path();
    // The test links the runtime statically: the library is the program.
    EXPECT_THAT(path, ::testing::ElementsAre("/first", "/second", (program.parent_path() / "lib/isofmt/plugins").string(),
                                             (program / "isofmt/plugins").string(), program.string()));
}

TEST(PluginSearch, FirstDirectoryHoldingAPlugin) {
    const fs::path empty = empty_directory("search");
    {
        PluginPath env("/nonexistent:" + empty.string() + ":" + kDir);
        EXPECT_EQ(fs::path(isofmt::default_plugin_directory()), fs::path(kDir));
        isofmt::Host host;
        EXPECT_EQ(fs::path(host.load_plugins()), fs::path(kDir));
        EXPECT_NE(host.find("E8601DZ", Kind::format), nullptr);
    }
    {
        // Nothing in the path: the build puts the plug-ins beside the program.
        PluginPath env(empty.string());
        EXPECT_EQ(fs::path(isofmt::default_plugin_directory()), fs::canonical("/proc/self/exe").parent_path());
    }
    fs::remove_all(empty);
}

TEST(PluginSearch, AGivenDirectoryIsUsedAloneAndSaysWhatIsWrong) {
    const fs::path empty = empty_directory("given");
    std::ofstream(empty / "file") << "x";
    PluginPath env(kDir);  // never consulted when a directory is given
    struct Case {
        std::string directory, message;
    } cases[] = {
        {"/nonexistent/plugins", "/nonexistent/plugins: no such directory"},
        {(empty / "file").string(), (empty / "file").string() + ": not a directory"},
        {empty.string(), "no plug-ins in " + empty.string() + " (dtbasic1.so, dtextnd1.so, dtaltfm1.so, dtclockf.so)"},
    };
    for (const Case& c : cases) {
        isofmt::Host host;
        EXPECT_EQ(error_of([&] { host.load_plugins(c.directory); }), c.message);
        EXPECT_TRUE(host.catalogue().empty());
    }
    fs::remove_all(empty);
}

class Checked : public ::testing::Test {
protected:
    Checked() { host.load_directory(kDir); }
    isofmt::Host host;
};

TEST_F(Checked, RequestFieldsOutsideWhatACallBlockCarries) {
    const isofmt::CatalogueEntry& dz = host.entry("E8601DZ");
    const isofmt::CatalogueEntry& du = host.entry("IS860DU", Kind::informat);
    struct Case {
        isofmt::Request request;
        const char* message;  // "" : accepted
    } cases[] = {
        {{.width = 0}, "E8601DZ: width 0 is out of range (1 to 32767, or -1 for the default)"},
        {{.width = -2}, "E8601DZ: width -2 is out of range"},
        {{.width = 32768}, "E8601DZ: width 32768 is out of range"},
        {{.decimals = -2}, "E8601DZ: decimals -2 is out of range (0 to 32767"},
        {{.decimals = 40000}, "E8601DZ: decimals 40000 is out of range"},
        {{.capacity = -5}, "E8601DZ: capacity -5 is out of range (0 to 32767"},
        {{.capacity = 1 << 20}, "E8601DZ: capacity 1048576 is out of range"},
        {{.width = 1}, ""},
        {{.width = 32767, .decimals = 32767}, ""},
        {{.capacity = 0}, ""},
    };
    for (const Case& c : cases) {
        const std::string e = error_of([&] { host.format(dz, 0, c.request); });
        if (*c.message) EXPECT_THAT(e, HasSubstr(c.message));
        else EXPECT_EQ(e, "no error");
    }
    // The informats take the same checks.
    EXPECT_THAT(error_of([&] { host.informat(du, "P1D", {.capacity = -3}); }), HasSubstr("IS860DU: capacity -3"));
    EXPECT_THAT(error_of([&] { host.format_packed(host.entry("IS860DU"), "0", {.width = 0}); }),
                HasSubstr("IS860DU: width 0"));
}

TEST_F(Checked, WidthsOutsideTheRoutinesLimitsStayTheRoutinesToJudge) {
    const isofmt::CatalogueEntry& da = host.entry("E8601DA");
    EXPECT_EQ(host.format(da, 0, {.width = 5}).text, "60-01");
    EXPECT_EQ(host.format(da, 0, {.width = 5, .validate = true}).status, static_cast<std::int32_t>(0x80002027u));
}

TEST_F(Checked, EveryFailureIsAnIsofmtError) {
    EXPECT_EQ(error_of([&] { host.entry("E8601QQ"); }), "unknown format E8601QQ");
    EXPECT_EQ(error_of([&] { host.entry("E8601DA", Kind::informat); }), "unknown informat E8601DA");
    EXPECT_EQ(error_of([] { isofmt::Host().entry("E8601DA"); }), "unknown format E8601DA (no plug-ins loaded)");
    EXPECT_EQ(error_of([&] { host.format(host.entry("IS860VL"), 0); }), "IS860VL: not a numeric format");
    EXPECT_EQ(error_of([&] { host.informat(host.entry("E8601DA"), "x"); }), "E8601DA: not an informat");
    EXPECT_EQ(error_of([&] { host.load_plugin(kDir + "/dtclockf.so"); }),
              kDir + "/dtclockf.so: module dtclockf is already loaded");
    EXPECT_EQ(error_of([&] { host.create_environment({.time_zone = "Nowhere/Special"}); }),
              "unknown time zone: Nowhere/Special");
}

TEST(ProblemMessage, EveryCodeAndBeyond) {
    EXPECT_STREQ(isofmt::problem_message(0), "");
    EXPECT_STREQ(isofmt::problem_message(1), "too many digits with no delimiters");
    EXPECT_STREQ(isofmt::problem_message(14), "interval has 2 durations");
    EXPECT_STREQ(isofmt::problem_message(27), "Insufficient room to format the result");
    for (int code : {-1, 28, 1000}) EXPECT_STREQ(isofmt::problem_message(code), "Unknown reason") << code;
}

}  // namespace
