// The three informats: room in the target, the text they read, the missing
// notation, what they write for each outcome; and the same through the
// plug-ins as the host loads them.
#include <vector>

#include "duration/read_support.h"
#include "isofmt/host.h"
#include "support/static_host.h"

namespace {

using namespace read_test;

class Informats : public WithHost {};

const std::string kF16(16, 'F');
const std::string kF32(32, 'F');

std::string hashes(int n) { return std::string(static_cast<std::size_t>(n), '#'); }

struct Outcome {
    InformatRoutine* routine;
    const char* text;
    int mode;
    std::int32_t status;
    std::string target;  // the 32 or 16 positions of the target
};

TEST_F(Informats, WhatEachOutcomeWrites) {
    const Outcome cases[] = {
        {is8601vli, "2020-01-01T00:00:00/P1D", kLax, 0, "2020101000000FFD" "FFFFF01FFFFFFFFC"},
        {is8601vli, "P1D", kLax, 0, "1960101000000003" "FFFFF01FFFFFFFFC"},
        {is8601vli, "P1D/P2D", kLax, 14, kF32},
        {is8601vli, "2020-13-01/P1D", kLax, 7, kF32},
        {is8601vli, "", kLax, 13, kF32},
        {is8601vli, ".", kMissingNotation, 0, kF32},
        {is8601vli, ".", kLax, 0, "1960101000000003" + kF16},
        {is8601dui, "P1Y2M3DT4H5M6S", kLax, 0, "0001203040506FFC"},
        {is8601dui, "2020-01-15", kLax, 0, hashes(16)},  // the other kind: nothing written
        {is8601dui, "P1H", kLax, 21, hashes(16)},
        {is8601dui, "", kStrictOmitted, 11, hashes(16)},
        {is8601dui, ".", kMissingNotation, 0, kF16},
        {is8601dui, ".", kLax, 0, kF16},
        {is8601pdi, "2020-01-15T10:30:00", kLax, 0, "2020115103000FFD"},
        {is8601pdi, "P1D", kLax, 0, hashes(16)},
        {is8601pdi, "2020-02-30", kLax, 8, hashes(16)},
        {is8601pdi, ".", kMissingNotation, 0, kF16},
        {is8601pdi, ".", kLax, 0, hashes(16)},
        {is8601pdi, "20200115", kStrict, 18, hashes(16)},
        // Common texts in the missing-notation mode, of either kind, and
        // refused ones: read as in the other modes.
        {is8601pdi, " 2020-01-15T10:30:00Z ", kMissingNotation, 0, "2020115103000FFD"},
        {is8601pdi, "P1D", kMissingNotation, 0, hashes(16)},
        {is8601pdi, "2020-02-30T00:00:00", kMissingNotation, 8, hashes(16)},
        {is8601pdi, "2020-02-30T00:00:00", kLax, 8, hashes(16)},
        {is8601dui, "P1Y2M3DT4H5M6S", kMissingNotation, 0, "0001203040506FFC"},
        {is8601dui, "2020-01-15T10:30:00", kMissingNotation, 0, hashes(16)},
        {is8601dui, "-P1D", kMissingNotation, 0, "FEFFF01FFFFFFFFC"},
        {is8601dui, "-P1D", kLax, 0, "FEFFF01FFFFFFFFC"},
    };
    for (const Outcome& c : cases) {
        const int digits = c.routine == is8601vli ? 32 : 16;
        const InformatCall r = call_informat(c.routine, c.text, c.mode, digits);
        EXPECT_EQ(r.status, c.status) << '"' << c.text << '"';
        EXPECT_EQ(r.target, c.target) << '"' << c.text << '"';
        EXPECT_EQ(r.output_length, digits) << '"' << c.text << '"';
        EXPECT_TRUE(r.guard_intact);
    }
}

// Reads min(width, input length) characters and nothing beyond them.
TEST_F(Informats, TextLength) {
    struct Case {
        int width, input_length;
        const char* packed;
    };
    const Case cases[] = {
        {6, 6, "FFFFF0102FFFFFFC"},  // P1DT2H
        {3, 6, "FFFFF01FFFFFFFFC"},  // the width limits the text to P1D
        {40, 3, "FFFFF01FFFFFFFFC"}, // the input length limits it
        {0, 6, kF16.c_str()},        // nothing to read: blank
        {-5, 6, kF16.c_str()},
        {6, -1000, kF16.c_str()},
    };
    for (const Case& c : cases) {
        const InformatCall r = call_informat(is8601dui, "P1DT2H", kLax, 16, c.width, c.input_length);
        EXPECT_EQ(r.status, 0) << c.width << "/" << c.input_length;
        EXPECT_EQ(r.target, c.packed) << c.width << "/" << c.input_length;
    }
}

// The target needs room for all the digits; the lines are logged on every call.
TEST(InformatTarget, TooShortIsLoggedAndLeftUntouched) {
    std::vector<std::string> lines;
    isofmt::HostConfig config;
    config.log = [&](std::string_view line) { lines.emplace_back(line); };
    testing_support::StaticHost host(config);
    struct Case {
        InformatRoutine* routine;
        int capacity;
        const char* line;
    };
    const Case cases[] = {
        {is8601vli, 31, "ERROR: Target location for $IS860VL has length 31 but 32 is needed."},
        {is8601vli, 0, "ERROR: Target location for $IS860VL has length 0 but 32 is needed."},
        {is8601dui, 15, "ERROR: Target location for $IS860DU has length 15 but 16 is needed."},
        {is8601pdi, 15, "ERROR: Target location for $IS860PD has length 15 but 16 is needed."},
    };
    for (const Case& c : cases) {
        for (int call = 0; call < 2; ++call) {
            lines.clear();
            const InformatCall r = call_informat(c.routine, "P1D", kLax, c.capacity);
            EXPECT_EQ(r.status, 22);
            EXPECT_EQ(r.target, hashes(c.capacity));
            EXPECT_EQ(r.output_length, -7);
            EXPECT_TRUE(r.guard_intact);
            EXPECT_EQ(lines, std::vector<std::string>{c.line});
        }
    }
}

TEST_F(Informats, LargerTargetsKeepTheirTail) {
    const InformatCall interval = call_informat(is8601vli, "P1D", kLax, 40);
    EXPECT_EQ(interval.status, 0);
    EXPECT_EQ(interval.output_length, 32);
    EXPECT_EQ(interval.target, "1960101000000003" "FFFFF01FFFFFFFFC" + hashes(8));
    const InformatCall duration = call_informat(is8601dui, "P1D", kLax, 20);
    EXPECT_EQ(duration.output_length, 16);
    EXPECT_EQ(duration.target, "FFFFF01FFFFFFFFC" + hashes(4));
}

// The same informats as a host reaches them: loaded from each ISO plug-in
// and called by their exported names.
TEST(LoadedInformats, EveryIsoModuleReadsTheSame) {
    struct Case {
        const char* name;
        const char* text;
        int mode;
        std::int32_t status;
        std::string stored;
    };
    const Case cases[] = {
        {"IS860VL", "2020-01-01T00:00:00/P1M40D", kLax, 0, "2020101000000FFD" "FFFF211FFFFFFFFC"},
        {"IS860VL", "P1M40D/2020-03-12T00:00:00", kLax, 0, "FFFF209FFFFFFFFC" "2020312000000FFD"},
        {"IS860VL", "P1D", kLax, 0, "1960101000000003" "FFFFF01FFFFFFFFC"},
        {"IS860VL", "P1D/P2D", kLax, 14, kF32},
        {"IS860VL", ".", kMissingNotation, 0, kF32},
        {"IS860DU", "P1Y2M3DT4H5M6S", kLax, 0, "0001203040506FFC"},
        {"IS860DU", "-PT36H", kLax, 0, "0080000000002412"},
        {"IS860DU", "PT36.5H", kLax, 0, "00000000008E9492"},
        {"IS860DU", "P12", kLax, 3, std::string(16, ' ')},
        {"IS860PD", "2020-12-31T23:59:59.999", kLax, 0, "2020C31235959F9D"},
        {"IS860PD", "2020-01-15T23:30:00-01:00", kLax, 0, "2020116003000FFD"},
        {"IS860PD", "2020-01-15T10:30+05:00", kLax, 9, std::string(16, ' ')},
    };
    for (const char* module : {"dtbasic1", "dtextnd1", "dtaltfm1"}) {
        isofmt::Host host;
        host.load_plugin(std::string(ISOFMT_PLUGIN_DIR) + "/" + module + ".so");
        for (const Case& c : cases) {
            const isofmt::CatalogueEntry* e = host.find(c.name, isofmt::Kind::informat);
            ASSERT_NE(e, nullptr) << c.name << " is not in the catalogue of " << module;
            isofmt::Request request;
            request.mode = c.mode;
            request.width = 40;
            const isofmt::Result r = host.informat(*e, c.text, request);
            EXPECT_EQ(r.status, c.status) << module << " " << c.name << " " << c.text;
            EXPECT_EQ(r.text, c.stored) << module << " " << c.name << " " << c.text;
        }
    }
}

}  // namespace
