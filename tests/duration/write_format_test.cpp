// The duration and interval formats and the fitting of their text into the
// caller's field.
#include "duration/write_support.h"

namespace {

using namespace write_test;

class Fit : public WithHost {};
class DurationFormat : public WithHost {};
class IntervalFormat : public WithHost {};

struct Fitted {
    std::string out;  // the whole field
    int status;
    bool guard_intact;
};

Fitted fit(std::string_view text, int width, int slash, std::int32_t mode) {
    Output out(width);
    FormatBlock b = block_for(nullptr, width, out);
    b.output_length = width;
    const int st = FitToTarget(&b, text.data(), static_cast<int>(text.size()), slash, mode);
    EXPECT_EQ(b.output_length, width);
    return {out.all(), st, out.guard_intact()};
}

TEST_F(Fit, WorkedFits) {
    const std::string dt = "2020-12-31T23:59:59.999";
    const std::string iv = "2020-01-01T00:00:00.250/2020-01-02T00:00:00.125";
    struct Case {
        std::string text;
        int width, slash;
        std::int32_t mode;
        std::string out;
        int status;
    };
    const Case cases[] = {
        {dt, 23, -1, 0, dt, 0},
        {dt, 22, -1, 0, "2020-12-31T23:59:59.99", 0},
        {dt, 21, -1, 0, "2020-12-31T23:59:59.9", 0},
        {dt, 20, -1, 0, "2020-12-31T23:59:59 ", 0},
        {dt, 19, -1, 0, "2020-12-31T23:59:59", 0},
        {dt, 18, -1, 0, stars(18), 27},
        {iv, 47, 23, 0, iv, 0},
        {iv, 46, 23, 0, "2020-01-01T00:00:00.25/2020-01-02T00:00:00.125", 0},
        {iv, 45, 23, 0, "2020-01-01T00:00:00.25/2020-01-02T00:00:00.12", 0},
        {iv, 44, 23, 0, "2020-01-01T00:00:00.2/2020-01-02T00:00:00.12", 0},
        {iv, 42, 23, 0, "2020-01-01T00:00:00/2020-01-02T00:00:00.1 ", 0},
        {iv, 39, 23, 0, "2020-01-01T00:00:00/2020-01-02T00:00:00", 0},
        {iv, 38, 23, 0, stars(38), 27},
        {"PT36.5H", 6, -1, 0, "PT36.5", 0},
        {"PT36.5H", 5, -1, 0, "PT36 ", 0},
        {"PT36.5H", 4, -1, 0, "PT36", 0},
        {"PT36.5H", 3, -1, 0, "***", 27},
        {"P1Y2M3D", 6, -1, 0x0010, "P1Y2M3", 0},
        {"P1Y2M3D", 6, -1, 0, stars(6), 27},
        {"P1Y2M3D", 5, -1, 0x0010, stars(5), 27},
        {"P1Y2M30D", 6, -1, 0x0020, "P1Y2M3", 0},
        {"P1Y2M30D", 5, -1, 0x0020, stars(5), 27},
        {"P1Y2M3D", 9, -1, 0, "P1Y2M3D  ", 0},
        {"", 3, -1, 0, "   ", 0},
        // Only the first part has a fraction; the slash bounds its tail.
        {"2020-01-01T00:00:00.5/2020-01-02", 30, 21, 0, "2020-01-01T00:00:00/2020-01-02", 0},
        // A lone part (slash 0) with its fraction at the end.
        {"PT1.125S", 6, 0, 0, "PT1.12", 0},
    };
    for (const Case& c : cases) {
        const Fitted f = fit(c.text, c.width, c.slash, c.mode);
        EXPECT_EQ(f.out, c.out) << c.text << " in " << c.width;
        EXPECT_EQ(f.status, c.status) << c.text << " in " << c.width;
        EXPECT_TRUE(f.guard_intact);
    }
}

// Two '.' in one part (no slash to separate them) make the tails overlap;
// nothing may go past the field.
TEST_F(Fit, OverlappingTailsStayInTheField) {
    const std::string texts[] = {"1.23.456", "P1.5.5.5S", "..........", "1.5/2.5.5", "a.b.c.d.e.f"};
    for (const std::string& text : texts) {
        for (int slash : {-1, 0, 1, 3, 5, 40}) {
            for (int width = 0; width <= static_cast<int>(text.size()); ++width) {
                const Fitted f = fit(text, width, slash, 0);
                EXPECT_TRUE(f.guard_intact) << text << " slash " << slash << " width " << width;
                if (f.status == 0) {
                    EXPECT_EQ(f.out.find('*'), std::string::npos) << text;
                } else {
                    EXPECT_EQ(f.out, stars(width));
                }
            }
        }
    }
    EXPECT_EQ(fit("1.23.456", 5, -1, 0).out, "1.23.");
}

TEST_F(Fit, FieldIsTheSmallerOfWidthAndCapacity) {
    Output out(10);
    FormatBlock b = block_for(nullptr, 30, out);
    b.output_length = 30;  // more than the capacity: the capacity still bounds it
    EXPECT_EQ(FitToTarget(&b, "2020-12-31T23:59:59.999", 23, -1, 0), 27);
    EXPECT_EQ(out.all(), stars(10));
    EXPECT_EQ(b.output_length, 10);
    EXPECT_TRUE(out.guard_intact());
}

struct FormatCase {
    const char* value;
    int width, capacity;
    std::int32_t options;
    std::string out;  // the output length's worth of characters
    std::int32_t status;
};

void check_duration_format(DurationFormatRoutine* routine, const FormatCase& c) {
    const ExactText value(c.value);
    Output out(c.capacity);
    FormatBlock b = block_for(value.data(), c.width, out);
    EXPECT_EQ(routine(&b, c.options), c.status) << c.value << " width " << c.width;
    EXPECT_EQ(written(b), c.out) << c.value << " width " << c.width;
    EXPECT_TRUE(out.guard_intact()) << c.value;
}

TEST_F(DurationFormat, Duf) {
    const FormatCase cases[] = {
        {"0001203040506FFC", 20, 20, 0x0001, padded("P1Y2M3DT4H5M6S", 20), 0},
        {"0001203040506FFC", 14, 40, 0x0001, "P1Y2M3DT4H5M6S", 0},
        {"0001203040506FFC", 40, 16, 0x0001, padded("P1Y2M3DT4H5M6S", 16), 0},
        {"0001203040506FFC", 13, 13, 0x0001, stars(13), 27},
        {"0001203040506FFC", 13, 13, 0x0011, "P1Y2M3DT4H5M6", 0},
        {"0001203040506ffc", 20, 20, 0x0004, padded("P0001-02-03T04:05:06", 20), 0},
        {"00000000008E9492", 6, 6, 0, "PT36.5", 0},
        {"00000000008E9492", 5, 5, 0, "PT36 ", 0},
        {"0080000000002412", 8, 8, 0, "-PT36H  ", 0},
        {"FFFFFFFFFFFFFFFF", 12, 12, 0, blanks(12), 0},
        {"ffffffffffffffff", 12, 12, 0, blanks(12), 0},
        {"                ", 12, 12, 0, blanks(12), 0},
        {"2020202020202020", 7, 7, 0, blanks(7), 0},
        // A text too long for the 24-position work area arrives as asterisks.
        {"2020C31235959F9D", 30, 30, 0x0001, stars(24) + blanks(6), 0},
        {"2020C31235959F9D", 20, 20, 0x0001, stars(20), 27},
        {"2020C31235959F9D", 20, 20, 0x0011, stars(20), 0},
        {"2020C31235959F9D", 25, 25, 0x0004, padded("2020-12-31T23:59:59.999", 25), 0},
    };
    for (const FormatCase& c : cases) check_duration_format(is8601duf, c);
}

TEST_F(DurationFormat, PdfHasTheNarrowerWorkArea) {
    const FormatCase cases[] = {
        {"2020C31235959F9D", 23, 23, 0x0004, "2020-12-31T23:59:59.999", 0},
        {"2020C31235959F9D", 30, 30, 0x0001, stars(23) + blanks(7), 0},
        {"2020115103000FFD", 19, 19, 0x0004, "2020-01-15T10:30:00", 0},
        {"2020115103000FFD", 15, 15, 0, "20200115T103000", 0},
    };
    for (const FormatCase& c : cases) check_duration_format(is8601pdf, c);
}

TEST_F(DurationFormat, UnreadableValuesLeaveTheOutputAlone) {
    for (DurationFormatRoutine* routine : {is8601duf, is8601pdf}) {
        for (const auto& [value, status] : {std::pair{"0001203040506GFC", status::kNotHex},
                                            std::pair{"g001203040506FFC", status::kNotHex},
                                            std::pair{"D001203040506FFC", 4},
                                            std::pair{"0000000000000116", 4}}) {
            const ExactText v(value);
            Output out(20);
            FormatBlock b = block_for(v.data(), 20, out);
            EXPECT_EQ(routine(&b, 0x0001), status) << value;
            EXPECT_EQ(b.output_length, -7) << value;
            EXPECT_EQ(out.all(), std::string(20, '#')) << value;
        }
    }
}

// The blank test covers the 16 value characters, not the width: a value
// buffer of exactly 16 bytes with a wider field is read within its bounds.
TEST_F(DurationFormat, BlankTestEndsAtTheValue) {
    for (DurationFormatRoutine* routine : {is8601duf, is8601pdf}) {
        for (const char* value : {"                ", "FFFFFFFFFFFFFFFF"}) {
            const ExactText v(value);
            Output out(60);
            FormatBlock b = block_for(v.data(), 60, out);
            EXPECT_EQ(routine(&b, 0), 0);
            EXPECT_EQ(written(b), blanks(60));
        }
        // Bytes after the value do not decide whether it is blank.
        const std::string value = blanks(16) + "junk";
        Output out(20);
        FormatBlock b = block_for(value.data(), 20, out);
        EXPECT_EQ(routine(&b, 0), 0);
        EXPECT_EQ(written(b), blanks(20));
    }
}

void check_interval_format(const FormatCase& c, std::int32_t datetime_options) {
    const ExactText value(c.value);
    Output out(c.capacity);
    FormatBlock b = block_for(value.data(), c.width, out);
    EXPECT_EQ(is8601vlf(&b, c.options, datetime_options), c.status) << c.value << " width " << c.width;
    EXPECT_EQ(written(b), c.out) << c.value << " width " << c.width;
    EXPECT_TRUE(out.guard_intact()) << c.value;
}

TEST_F(IntervalFormat, Vlf) {
    const std::int32_t problem = status::kProblemReported;
    const FormatCase cases[] = {
        {"2020115103000FFD0001203040506FFC", 40, 40, 0x0001,
         padded("2020-01-15T10:30:00/P1Y2M3DT4H5M6S", 40), 0},
        {"0001203040506FFC2020115103000FFD", 34, 34, 0x0001, "P1Y2M3DT4H5M6S/2020-01-15T10:30:00", 0},
        {"2020115103000FFD2020C31235959F9D", 43, 43, 0x0001,
         "2020-01-15T10:30:00/2020-12-31T23:59:59.999", 0},
        // A lone duration: the synthesized start shows nothing and no '/'.
        {"19601010000000030001203040506FFC", 16, 16, 0x0001, "P1Y2M3DT4H5M6S  ", 0},
        {"19601010000000030080000000002412", 6, 6, 0x0001, "-PT36H", 0},
        // Missing halves give blanks.
        {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 10, 10, 0, blanks(10), 0},
        {"FFFFFFFFFFFFFFFF0001203040506FFC", 10, 10, 0, blanks(10), 0},
        {"2020115103000FFDFFFFFFFFFFFFFFFF", 10, 10, 0, blanks(10), 0},
        {"                                ", 10, 10, 0, blanks(10), 0},
        // Fitting shortens the fractions, first part first.
        {"20201010000003E920201020000001F5", 47, 47, 0, "2020-01-01T00:00:00.250/2020-01-02T00:00:00.125", 0},
        {"20201010000003E920201020000001F5", 44, 44, 0, "2020-01-01T00:00:00.2/2020-01-02T00:00:00.12", 0},
        {"20201010000003E920201020000001F5", 42, 42, 0, "2020-01-01T00:00:00/2020-01-02T00:00:00.1 ", 0},
        {"20201010000003E920201020000001F5", 38, 38, 0, stars(38), problem},
        // Failures: asterisks in min(width, capacity).
        {"2020115103000FFD0001203040506GFC", 40, 32, 0x0001, stars(32), problem},
        {"D020115103000FFD0001203040506FFC", 12, 12, 0x0001, stars(12), problem},
        {"2020115103000FFD0001203040506FFC", 20, 20, 0x0001, stars(20), problem},
    };
    for (const FormatCase& c : cases) check_interval_format(c, 0x0004);
}

TEST_F(IntervalFormat, BlankTestEndsAtTheValue) {
    const ExactText v(blanks(32));
    Output out(80);
    FormatBlock b = block_for(v.data(), 80, out);
    EXPECT_EQ(is8601vlf(&b, 0, 0), 0);
    EXPECT_EQ(written(b), blanks(80));
}

}  // namespace
