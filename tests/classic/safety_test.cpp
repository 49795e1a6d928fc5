// Every routine: validation before anything is written, and no write past
// the output capacity whatever the width, decimals, capacity or value.
#include "classic_support.h"

namespace classic_test {
namespace {

struct Routine {
    const char* name;
    FormatRoutine* f;
    Limits limits;
};

const Routine kRoutines[] = {
    {"zfmtod", zfmtod, {2, 20, 0, 19}},     {"zfmtimm", zfmtimm, {2, 20, 0, 19}},
    {"zfmhour", zfmhour, {2, 20, 0, 19}},   {"zfmmmss", zfmmmss, {2, 20, 0, 19}},
    {"zfmhhmm", zfmhhmm, {2, 20, 0, 19}},   {"zfmmony", zfmmony, {5, 7, 0, 6}},
    {"zfmdate", zfmdate, {5, 11, 0, 8}},    {"zfmdttm", zfmdttm, {7, 40, 0, 39}},
    {"zfmdtmm", zfmdtmm, {7, 40, 0, 39}},   {"zfmdyam", zfmdyam, {8, 40, 0, 39}},
};

// Dates for the date routines, datetimes or times for the others.
const double kValues[] = {0, 47107.25, -90.5, 86399.6, 45296.789, -1e-20, 1e9 + 0.999};
const double kDates[] = {0, -138061, 16437, 6589335};

bool is_date_routine(const Routine& r) { return r.f == zfmmony || r.f == zfmdate; }

using Safety = ClassicTest;

TEST_F(Safety, ValidationFailsBeforeWriting) {
    for (const Routine& r : kRoutines) {
        const Limits& l = r.limits;
        const struct {
            int width, decimals;
            std::int32_t status;
        } cases[] = {
            {l.min_width - 1, l.min_decimals, status::kWidthBelowMin},
            {l.max_width + 1, l.min_decimals, status::kWidthAboveMax},
            {l.min_width - 1, l.max_decimals + 1, status::kWidthBelowMin},  // width first
            {l.min_width, l.min_decimals - 1, status::kDecimalsBelowMin},
            {l.max_width, l.max_decimals + 1, status::kDecimalsAboveMax},
        };
        for (const auto& k : cases) {
            Call c;
            c.width = k.width;
            c.decimals = k.decimals;
            c.capacity = 48;
            c.validate = true;
            const Output out = run(r.f, c);
            EXPECT_EQ(out.status, k.status) << r.name << " w" << k.width << " d" << k.decimals;
            EXPECT_EQ(out.length, -1) << r.name;
            EXPECT_TRUE(out.guard_intact);
        }
        // Within the limits the value is rendered, missing values too.
        for (int width : {l.min_width, l.max_width}) {
            for (double value : {0.0, kMissing}) {
                Call c;
                c.value = value;
                c.width = width;
                c.decimals = l.max_decimals;
                c.validate = true;
                const Output out = run(r.f, c);
                EXPECT_EQ(out.status, kOk) << r.name << " w" << width;
                EXPECT_EQ(out.length, width) << r.name;
            }
        }
    }
}

TEST_F(Safety, MissingAndOutOfRangeFillTheWidth) {
    for (const Routine& r : kRoutines) {
        const double past_end = is_date_routine(r) ? 6589336 : 569318630400.0;
        for (int width : {r.limits.min_width, 13, r.limits.max_width}) {
            Call c;
            c.width = width;
            c.value = kMissing;
            Output out = run(r.f, c);
            EXPECT_EQ(out.text, std::string(static_cast<std::size_t>(width - 1), ' ') + ".") << r.name;
            EXPECT_EQ(out.status, kOk) << r.name;
            c.value = past_end;
            out = run(r.f, c);
            EXPECT_EQ(out.text, std::string(static_cast<std::size_t>(width), '*')) << r.name << " w" << width;
            EXPECT_EQ(out.status, kOutOfRange) << r.name;
        }
    }
}

// A capacity below the width: the text is the one of a width equal to the
// capacity, and the status says it was fitted.
TEST_F(Safety, CapacityBelowWidthKeepsEveryWriteInside) {
    for (const Routine& r : kRoutines) {
        const bool dates = is_date_routine(r);
        for (int i = 0; i < 7; ++i) {
            const double value = dates ? kDates[i % 4] : kValues[i];
            for (int width = 1; width <= r.limits.max_width + 2; ++width) {
                for (int capacity = 0; capacity < width; ++capacity) {
                    Call c;
                    c.value = value;
                    c.width = width;
                    c.decimals = 2;
                    c.capacity = capacity;
                    const Output out = run(r.f, c);
                    ASSERT_TRUE(out.guard_intact) << r.name << " w" << width << " cap " << capacity;
                    const int room = capacity > 0 ? capacity : 0;
                    EXPECT_EQ(out.length, room) << r.name << " w" << width << " cap " << capacity;
                    EXPECT_EQ(out.status, kCapacity) << r.name;
                    if (room > 0) {
                        c.width = room;
                        c.capacity = room;
                        EXPECT_EQ(out.text, run(r.f, c).text) << r.name << " w" << width << " cap " << capacity;
                    }
                }
            }
        }
        // Missing and out-of-range values are fitted as well.
        for (double value : {kMissing, 1e15, -1e15}) {
            Call c;
            c.value = value;
            c.width = 30;
            c.capacity = 4;
            const Output out = run(r.f, c);
            EXPECT_TRUE(out.guard_intact) << r.name;
            EXPECT_EQ(out.length, 4) << r.name;
            EXPECT_EQ(out.text, value != value ? "   ." : "****") << r.name;
        }
    }
}

// Unvalidated widths and decimals far outside the limits render safely and
// fill exactly the width.
TEST_F(Safety, OddWidthsAndDecimalsStayInTheField) {
    for (const Routine& r : kRoutines) {
        const bool dates = is_date_routine(r);
        for (double value : {0.0, 47107.25, -90.5, 86399.99999, 569318630399.9}) {
            const double v = dates ? value / 86400 : value;
            for (int width : {-7, 0, 1, 2, 3, 4, 5, 6, 9, 12, 14, 41, 64, 130}) {
                for (int decimals : {-5, 0, 1, 7, 20, 31, 45}) {
                    Call c;
                    c.value = v;
                    c.width = width;
                    c.decimals = decimals;
                    const Output out = run(r.f, c);
                    ASSERT_TRUE(out.guard_intact) << r.name << " w" << width << " d" << decimals;
                    EXPECT_EQ(out.length, width > 0 ? width : 0) << r.name << " w" << width << " d" << decimals;
                }
            }
        }
    }
}

}  // namespace
}  // namespace classic_test
