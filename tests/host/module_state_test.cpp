// The module state: creation and refresh at registration, the diagnostics
// switch, the GMT text, the problem reporter and its log lines, release.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "host/anchor_override.h"
#include "binding/hostcall.h"
#include "host/module_state.h"
#include "host/plugin.h"
#include "support/static_host.h"

using testing_support::AnchorOverride;

namespace {

struct LogCapture {
    std::mutex mutex;
    std::vector<std::string> lines;
    std::function<void(std::string_view)> sink() {
        return [this](std::string_view line) {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
        };
    }
};

isofmt::HostConfig config(LogCapture& log, std::string debug = "", std::string zone = "UTC") {
    isofmt::HostConfig c;
    c.debug = std::move(debug);
    c.environment.time_zone = std::move(zone);
    c.log = log.sink();
    return c;
}

// The record a host holds under `name`, found as the modules find it.
ModuleState* record(isofmt::Host& host, const char* name) {
    using Lookup = std::int32_t(NamedArea*, std::int32_t, const char*, std::int32_t, std::int32_t*, NamedPageTable*);
    auto* lookup = reinterpret_cast<Lookup*>(const_cast<void*>(host.anchor()->directory[service_component::kKernel][166]));
    std::int32_t token = 0;
    NamedPageTable pages = nullptr;
    if (lookup(host.default_environment()->named_storage, 0, name, 14, &token, &pages) != 0) return nullptr;
    return static_cast<ModuleState*>(pages[kFirstPage + token / kPageEntries][token % kPageEntries]);
}

std::string gmt_text(const ModuleState* s) {
    char out[6];
    load_gmt_text(reinterpret_cast<const char*>(s->gmt_text), out);
    return std::string(out, 6);
}

TEST(ModuleState, DiagnosticsSwitchFromDebugOption) {
    struct Case {
        const char* debug;
        int on;
    };
    const Case cases[] = {
        {"", 0},
        {"N8601DIAG", 1},
        {"xx,n8601diag,yy", 1},
        {"trace N8601DiAg", 1},
        {"N8601DIA", 0},
        {"N8601 DIAG", 0},
        {"NNNNN8601DIAG", 1},
    };
    for (const auto& c : cases) {
        LogCapture log;
        testing_support::StaticHost h(config(log, c.debug));
        uwxn8601_init();
        ModuleState* s = record(h.host, "__FMT_DTEXTND1");
        ASSERT_NE(s, nullptr) << c.debug;
        EXPECT_EQ(s->diagnostics.load(), c.on) << c.debug;
    }
}

std::atomic<double> g_offset{0};
std::int32_t fake_wzdtgmt(double* out) {
    *out = g_offset.load();
    return 0;
}

TEST(ModuleState, GmtTextFromHostOffset) {
    struct Case {
        double offset;
        const char* text;
    };
    const Case cases[] = {
        {0, "+00:00"},       {-19800, "-05:30"}, {19800, "+05:30"}, {-59, "-00:00"},
        {3599.9, "+00:59"},  {-3600, "-01:00"},  {50400, "+14:00"}, {-43200.7, "-12:00"},
    };
    LogCapture log;
    testing_support::StaticHost h(config(log));
    AnchorOverride override_(*h.host.anchor());
    override_.replace(service_component::kGeneral, 290, reinterpret_cast<const void*>(&fake_wzdtgmt));
    mcn_main(override_.anchor(), h.host.second_anchor());
    for (const auto& c : cases) {
        g_offset = c.offset;
        uwxn8601_init();
        ModuleState* s = record(h.host, "__FMT_DTEXTND1");
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(gmt_text(s), c.text) << c.offset;
        FormatBlock b{};
        char got[6];
        load_gmt_text(get_gmt_offsetc(&b), got);
        EXPECT_EQ(std::string(got, 6), c.text);
    }
    mcn_main(h.host.anchor(), h.host.second_anchor());
}

TEST(ModuleState, GmtTextIsBlankWithoutRecord) {
    LogCapture log;
    testing_support::StaticHost h(config(log));
    FormatBlock b{};
    EXPECT_EQ(std::string(get_gmt_offsetc(&b), 6), "      ");
}

class ProblemReporter : public ::testing::Test {
protected:
    LogCapture log;
    testing_support::StaticHost h{config(log, "N8601DIAG")};
    std::string text = "P1Y2";  // not NUL-terminated in the block
    std::vector<char> out = std::vector<char>(40, '.');
    FormatBlock block{};

    void SetUp() override {
        uwxn8601_init();
        block.value = text.data();
        block.input_length = static_cast<int>(text.size());
        block.width = 10;
        block.capacity = static_cast<int>(out.size());
        block.output = out.data();
    }
    std::string field() const { return std::string(out.data(), static_cast<std::size_t>(block.output_length)); }
};

TEST_F(ProblemReporter, CodeZeroDoesNothing) {
    block.output_length = -5;
    EXPECT_EQ(n8601prob(&block, 1, 0), 0);
    EXPECT_EQ(block.output_length, -5);
    EXPECT_EQ(out[0], '.');
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(ProblemReporter, FillsTheFieldAndLogsByForm) {
    struct Case {
        std::int32_t code;
        int times;
        int lines;
        const char* line;
    };
    const Case cases[] = {
        {7, 2, 2, "Problem with: 'P1Y2': an element was out of range."},
        {24, 2, 1, "Problem with formatting: Entity less than length 16."},
        {22, 3, 1, "Problem with formatting: informat target not 32 (intvl) or 16."},
        {27, 2, 2, "Problem with formatting: Insufficient room to format the result."},
        {26, 1, 1, "Problem with: 'P1Y2': Entity contains non-hex digits."},
        {static_cast<std::int32_t>(0x80002021u), 2, 2, "Problem with: 'P1Y2': Unknown reason."},
        {28, 1, 1, "Problem with: 'P1Y2': Unknown reason."},
    };
    for (const auto& c : cases) {
        log.lines.clear();
        for (int i = 0; i < c.times; ++i) EXPECT_EQ(n8601prob(&block, 1, c.code), status::kProblemReported);
        ASSERT_EQ(static_cast<int>(log.lines.size()), c.lines) << c.code;
        EXPECT_EQ(log.lines[0], c.line);
        EXPECT_EQ(field(), "**********");
    }
    ModuleState* s = record(h.host, "__FMT_DTEXTND1");
    EXPECT_EQ(s->reported[6].load(), 1);
    EXPECT_EQ(s->reported[23].load(), 1);
    int flags = 0;
    for (auto& f : s->reported) flags += f.load();
    EXPECT_EQ(flags, 5) << "unknown codes touch no flag";
}

TEST_F(ProblemReporter, FieldIsTheSmallerOfWidthAndCapacity) {
    block.width = 40;
    block.capacity = 32;
    EXPECT_EQ(n8601prob(&block, 1, 27), status::kProblemReported);
    EXPECT_EQ(field(), std::string(32, '*'));
    EXPECT_EQ(out[32], '.');
    block.width = 5;
    EXPECT_EQ(n8601prob(&block, 0, 27), status::kProblemReported);
    EXPECT_EQ(field(), "FFFFF");
}

TEST_F(ProblemReporter, NothingLoggedWithoutDiagnostics) {
    LogCapture quiet;
    testing_support::StaticHost other(config(quiet));
    uwxn8601_init();
    EXPECT_EQ(n8601prob(&block, 1, 7), status::kProblemReported);
    EXPECT_TRUE(quiet.lines.empty());
    EXPECT_EQ(field(), "**********");
}

TEST_F(ProblemReporter, RegistrationResetsTheOnceFlags) {
    n8601prob(&block, 1, 24);
    n8601prob(&block, 1, 24);
    uwxn8601_init();
    n8601prob(&block, 1, 24);
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(record(h.host, "__FMT_DTEXTND1")->diagnostics.load(), 1) << "never cleared";
}

TEST_F(ProblemReporter, ReleasedRecordIsNotHandedOutAgain) {
    ASSERT_NE(record(h.host, "__FMT_DTEXTND1"), nullptr);
    EXPECT_EQ(uwxn8601_term(), 0);
    EXPECT_EQ(record(h.host, "__FMT_DTEXTND1"), nullptr);
    EXPECT_EQ(n8601prob(&block, 1, 7), status::kProblemReported);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(std::string(get_gmt_offsetc(&block), 6), "      ");
}

// Through the loaded plug-ins: dtextnd1 and dtaltfm1 share one record,
// dtbasic1 keeps its own.
TEST(ModuleStatePlugins, ExtendedAndAlternativeModulesShareTheirRecord) {
    LogCapture log;
    isofmt::Host host(config(log, "N8601DIAG", "-05:30"));
    host.load_plugin(std::string(ISOFMT_PLUGIN_DIR) + "/dtextnd1.so");
    ModuleState* first = record(host, "__FMT_DTEXTND1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(record(host, "__FMT_DTBASIC1"), nullptr);
    first->reported[3].store(1);
    host.load_plugin(std::string(ISOFMT_PLUGIN_DIR) + "/dtaltfm1.so");
    EXPECT_EQ(record(host, "__FMT_DTEXTND1"), first) << "found, not created again";
    EXPECT_EQ(first->reported[3].load(), 0) << "refreshed by the second registration";
    EXPECT_EQ(gmt_text(first), "-05:30");
    host.load_plugin(std::string(ISOFMT_PLUGIN_DIR) + "/dtbasic1.so");
    ModuleState* basic = record(host, "__FMT_DTBASIC1");
    ASSERT_NE(basic, nullptr);
    EXPECT_NE(basic, first);
    EXPECT_EQ(basic->diagnostics.load(), 1);

    isofmt::Request r;
    r.width = 14;
    for (const char* name : {"E8601LZ", "IS8601LZ"}) {
        const auto* e = host.find(name, isofmt::Kind::format);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(host.format(*e, 32700, r).text, "09:05:00-05:30") << name;
    }
    host.end_storage();
    EXPECT_EQ(record(host, "__FMT_DTEXTND1"), nullptr) << "released by the end routine";
}

}  // namespace
