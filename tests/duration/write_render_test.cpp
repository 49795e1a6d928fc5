// Reading packed values back (dehexify, convert_from_bcd) and writing them as
// ISO 8601 text (convert_to_text) under every render option.
#include "duration/write_support.h"

namespace {

using namespace write_test;

class Decode : public WithHost {};
class Render : public WithHost {};

Entity decoded(std::string_view hex) {
    Entity e{};
    EXPECT_EQ(dehexify(hex.data(), 16, e.packed), 0);
    return e;
}

TEST_F(Decode, HexDigitsInEitherCaseAndStopAtTheFirstStranger) {
    std::uint8_t bytes[8] = {};
    EXPECT_EQ(dehexify("0123456789abcdEF", 16, bytes), 0);
    const std::uint8_t want[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(0, std::memcmp(bytes, want, 8));

    for (int pos = 0; pos < 16; ++pos) {
        std::string hex(16, 'F');
        hex[static_cast<std::size_t>(pos)] = 'G';
        std::uint8_t out[8];
        std::memset(out, 0x11, 8);
        EXPECT_EQ(dehexify(hex.data(), 16, out), status::kNotHex) << pos;
        for (int i = pos / 2; i < 8; ++i) EXPECT_EQ(out[i], 0x11) << "byte " << i << " written, G at " << pos;
    }
    // An odd last digit is checked but stored nowhere; no count writes nothing.
    std::uint8_t odd[2] = {0, 0x77};
    EXPECT_EQ(dehexify("12A", 3, odd), 0);
    EXPECT_EQ(odd[0], 0x12);
    EXPECT_EQ(odd[1], 0x77);
    EXPECT_EQ(dehexify("12G", 3, odd), status::kNotHex);
    EXPECT_EQ(dehexify("GG", 0, odd), 0);
}

TEST_F(Decode, InvalidPackedValues) {
    for (const char* hex : {"D000000000000FFC", "FD00000000000FFC", "0000000000000116", "00000000000000FE"}) {
        Entity e = decoded(hex);
        EXPECT_EQ(convert_from_bcd(&e), 4) << hex;
    }
}

struct RenderCase {
    const char* hex;
    std::int32_t options;
    const char* text;
};

TEST_F(Render, EveryOptionForm) {
    const RenderCase cases[] = {
        // The main forms: options 0, designators, delimited.
        {"2020115103000FFD", 0, "20200115T103000"},
        {"2020115103000FFD", 0x0001, "2020Y01M15DT10H30M00S"},
        {"2020115103000FFD", 0x0004, "2020-01-15T10:30:00"},
        {"2020C31235959F9D", 0, "20201231T235959.999"},
        {"2020C31235959F9D", 0x0001, "2020Y12M31DT23H59M59.999S"},
        {"2020C31235959F9D", 0x0004, "2020-12-31T23:59:59.999"},
        {"0001203040506FFC", 0, "P00010203T040506"},
        {"0001203040506FFC", 0x0001, "P1Y2M3DT4H5M6S"},
        {"0001203040506FFC", 0x0004, "P0001-02-03T04:05:06"},
        {"0A01203040506FFC", 0, "-P00010203T040506"},
        {"0A01203040506FFC", 0x0001, "-P1Y2M3DT4H5M6S"},
        {"0A01203040506FFC", 0x0004, "-P0001-02-03T04:05:06"},
        {"FFFFFFFFF30FFFFC", 0, "P00000000T0030"},
        {"FFFFFFFFF30FFFFC", 0x0001, "PT30M"},
        {"FFFFFFFFF30FFFFC", 0x0004, "P-----T-:30"},
        {"00000000008E9492", 0, "PT36.5H"},
        {"00000000008E9492", 0x0001, "PT36.5H"},
        {"00000000008E9492", 0x0004, "PT36.5H"},
        {"000000000000000E", 0, "P0W"},
        {"000000000000000E", 0x0001, "P0W"},
        {"000000000000000E", 0x0004, "P0W"},
        {"1960101000000003", 0, ""},
        {"1960101000000003", 0x0001, ""},
        {"1960101000000003", 0x0004, ""},
        // Fillers for missing components, and the fraction without its '.'.
        {"FFFFFFFFF30FFFFC", 0x0010, "PxxxxxxxxTxx30xx"},
        {"1960101000000003", 0x0010, "xxxxxxxxTxxxxxx"},
        {"FFFFFFFFF30FFFFC", 0x0020, "P---T-30-"},
        {"1960101000000003", 0x0020, "---T---"},
        {"2020C31235959F9D", 0x0003, "2020Y12M31DT23H59M59999S"},
        {"FEFFFFFFF30FFFFC", 0x0001, "-PT30M"},
        {"FEFFFFFFF30FFFFC", 0, "-P00000000T0030"},
        {"0000000000000302", 0x0001, "P3Y"},  // single-unit code 0: years
        {"000000000000030E", 0, "P3W"},
        {"000000000005DC8E", 0, "P1.5W"},
        // Gap switches: a present component after a missing one.
        {"2020F15103000FFD", 0x0002, "2020---15T10:30:00"},
        {"2020F15103000FFD", 0x0001, "2020Y15DT10H30M00S"},
        {"2020F15103000FFD", 0, "20200015T103000"},
        {"0001FFFFF05FFFFC", 0x1000, "P0001----T-:05"},
        {"0001FFFFF05FFFFC", 0, "P00010000T0005"},
        {"0001FFFFF05FFFFC", 0x0001, "P1YT5M"},
        {"0001FFFFF05FFFFC", 0x1001, "P1Y-T5M"},
        {"FFFF115103000FFD", 0x0004, "--01-15T10:30:00"},
        // A month or day of 0 written as 1.
        {"2020000000000FFD", 0x0004, "2020-00-00T00:00:00"},
        {"2020000000000FFD", 0x0044, "2020-01-01T00:00:00"},
        // Shorter datetimes end at their last present component.
        {"2020FFFFFFFFFFFD", 0x0004, "2020"},
        {"20201FFFFFFFFFFD", 0x0004, "2020-01"},
        {"2020115FFFFFFFFD", 0x0004, "2020-01-15"},
        {"2020115FFFFFFFFD", 0, "20200115"},
        // Fractions: three digits when delimited, trailing zeros dropped otherwise.
        {"2020115103000015", 0x0004, "2020-01-15T10:30:00.005"},
        {"2020115103000015", 0, "20200115T103000.005"},
        {"20201151030007D1", 0x0004, "2020-01-15T10:30:00.500"},
        {"20201151030007D1", 0, "20200115T103000.5"},
        {"2020115103000001", 0x0004, "2020-01-15T10:30:00.000"},
        {"2020115103000001", 0, "20200115T103000.0"},
        {"20201151030FF321", 0x0004, "2020-01-15T10:30.200"},
        {"20201151030FF321", 0x0002, "20200115T1030.2"},
        // Values beyond the digit count are written in full, never cut.
        {"FFFFFA0FFFFFFFFC", 0, "P000000100"},
        {"FFFFFA0FFFFFFFFC", 0x0001, "P100D"},
    };
    for (const RenderCase& c : cases) {
        const Rendered r = render(c.hex, c.options);
        EXPECT_EQ(r.text, c.text) << c.hex << " options 0x" << std::hex << c.options;
        EXPECT_EQ(r.status, 0) << c.hex;
    }
}

// Stored values the renderer used to show as another value.
TEST_F(Render, TextsThatReadBackAsTheStoredValue) {
    const RenderCase cases[] = {
        // The sign of a single-unit duration lives in byte 1.
        {"0080000000002412", 0, "-PT36H"},
        {"00800000008E9492", 0x0004, "-PT36.5H"},
        // Seconds in the single-unit form keep their '.' (PT90.5S, not PT905S).
        {"00000000016184C2", 0, "PT90.5S"},
        // Counts up to 2^32 - 1 are not negative.
        {"000000FFFFFFFF42", 0, "PT4294967295S"},
        {"000000800000000A", 0, "P2147483648D"},
        // A fraction above 999 thousandths (never stored now) shows as .999.
        {"2020C31235959FA1", 0x0004, "2020-12-31T23:59:59.999"},
        {"2020C31235959FFD", 0x0004, "2020-12-31T23:59:59"},
        {"FFFFFFFFFFF05FA0", 0x0001, "PT5.999S"},
    };
    for (const RenderCase& c : cases) {
        const Rendered r = render(c.hex, c.options);
        EXPECT_EQ(r.text, c.text) << c.hex;
        EXPECT_EQ(r.status, 0) << c.hex;
    }
}

TEST_F(Render, FieldIsTheSmallerOfWidthAndCapacity) {
    Entity e = decoded("0001203040506FFC");  // P1Y2M3DT4H5M6S, 14 characters
    ASSERT_EQ(convert_from_bcd(&e), 0);
    struct Case {
        int width, capacity, status;
        std::string out;
    };
    const Case cases[] = {
        {20, 20, 0, padded("P1Y2M3DT4H5M6S", 20)},
        {14, 14, 0, "P1Y2M3DT4H5M6S"},
        {40, 14, 0, "P1Y2M3DT4H5M6S"},
        {13, 40, 27, stars(13)},
        {40, 10, 27, stars(10)},
        {0, 10, 27, ""},
        {-5, 10, 27, ""},
    };
    for (const Case& c : cases) {
        Output out(c.capacity);
        FormatBlock b = block_for(nullptr, c.width, out);
        EXPECT_EQ(convert_to_text(&e, &b, 0x0001), c.status) << c.width << "/" << c.capacity;
        EXPECT_EQ(written(b), c.out) << c.width << "/" << c.capacity;
        EXPECT_TRUE(out.guard_intact());
    }
    // A missing value is blanks, never a failure.
    Entity m = decoded("FFFFFFFFFFFFFFFF");
    ASSERT_EQ(convert_from_bcd(&m), 0);
    Output out(8);
    FormatBlock b = block_for(nullptr, 5, out);
    EXPECT_EQ(convert_to_text(&m, &b, 0), 0);
    EXPECT_EQ(out.all(), blanks(5) + "###");
}

}  // namespace
