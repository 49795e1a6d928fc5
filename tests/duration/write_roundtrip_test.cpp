// Round trip: texts the informats accept are stored, shown by the formats
// (durations with designators, datetimes delimited) and read again; the
// stored digits must not change and the text shown is the canonical one.
#include <functional>

#include "duration/write_support.h"

namespace {

using namespace write_test;

class RoundTrip : public WithHost {};

struct Stored {
    std::string hex;
    int code;
};

Stored read(InformatRoutine* informat, std::string_view text, int digits) {
    const ExactText in(text);
    Output out(digits);
    FormatBlock b = block_for(in.data(), in.size(), out);
    b.input_length = in.size();
    const int code = informat(&b, 0);
    EXPECT_TRUE(out.guard_intact());
    return {out.all(), code};
}

std::string shown(const std::function<std::int32_t(FormatBlock*)>& format, const std::string& hex, int width) {
    const ExactText value(hex);
    Output out(width);
    FormatBlock b = block_for(value.data(), width, out);
    EXPECT_EQ(format(&b), 0) << hex;
    std::string text = written(b);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

struct Kind {
    InformatRoutine* informat;
    int digits;
    std::function<std::int32_t(FormatBlock*)> format;
    int width;
};

const Kind kDuration{is8601dui, 16, [](FormatBlock* b) { return is8601duf(b, 0x0001); }, 40};
const Kind kDatetime{is8601pdi, 16, [](FormatBlock* b) { return is8601pdf(b, 0x0004); }, 40};
const Kind kInterval{is8601vli, 32, [](FormatBlock* b) { return is8601vlf(b, 0x0001, 0x0004); }, 80};

// Reads `text`, shows it, reads the shown text again.
void round_trip(const Kind& kind, const std::string& text, const std::string& canonical) {
    const Stored first = read(kind.informat, text, kind.digits);
    ASSERT_EQ(first.code, 0) << text;
    const std::string back = shown(kind.format, first.hex, kind.width);
    EXPECT_EQ(back, canonical) << text << " stored as " << first.hex;
    const Stored second = read(kind.informat, back, kind.digits);
    EXPECT_EQ(second.code, 0) << back;
    EXPECT_EQ(second.hex, first.hex) << text << " shown as " << back;
}

// Durations in the designator form, every combination of components, with
// and without sign and fraction.
std::vector<std::string> designator_durations() {
    const char* const units[6] = {"Y", "M", "D", "H", "M", "S"};
    const int values[6][2] = {{1, 2020}, {2, 11}, {3, 30}, {4, 23}, {5, 59}, {6, 59}};
    std::vector<std::string> texts;
    for (int set = 1; set < 64; ++set) {
        for (const char* fraction : {"", ".5", ".125", ".05"}) {
            for (const char* sign : {"", "-"}) {
                std::string t = std::string(sign) + "P";
                int last = 0;
                for (int i = 0; i < 6; ++i)
                    if (set & (1 << i)) last = i;
                for (int i = 0; i < 6; ++i) {
                    if (!(set & (1 << i))) continue;
                    if (i >= 3 && t.find('T') == std::string::npos) t += 'T';
                    t += std::to_string(values[i][set % 2]);
                    if (i == last) t += fraction;
                    t += units[i];
                }
                texts.push_back(t);
            }
        }
    }
    return texts;
}

// IS860DU renders into 24 positions: a longer text (only the longest
// designator durations, up to 27 characters) is shown as 24 asterisks
// whatever the width, and cannot be read back.
constexpr std::size_t kDurationRoom = 24;

TEST_F(RoundTrip, DesignatorDurations) {
    int too_long = 0;
    for (const std::string& t : designator_durations()) {
        if (t.size() <= kDurationRoom) {
            round_trip(kDuration, t, t);
            continue;
        }
        ++too_long;
        const Stored stored = read(kDuration.informat, t, kDuration.digits);
        ASSERT_EQ(stored.code, 0) << t;
        EXPECT_EQ(shown(kDuration.format, stored.hex, kDuration.width), stars(24)) << t;
    }
    EXPECT_EQ(too_long, 5);
}

TEST_F(RoundTrip, OtherDurations) {
    const std::pair<const char*, const char*> cases[] = {
        // Single-unit forms.
        {"P3W", "P3W"}, {"P1.5W", "P1.5W"}, {"P0W", "P0W"}, {"-P2W", "-P2W"},
        {"P13M", "P13M"}, {"P45D", "P45D"}, {"PT36H", "PT36H"}, {"PT90M", "PT90M"},
        {"PT100S", "PT100S"}, {"PT36.5H", "PT36.5H"}, {"PT90.5S", "PT90.5S"},
        {"-PT36H", "-PT36H"}, {"-PT90.25S", "-PT90.25S"}, {"PT4294967295S", "PT4294967295S"},
        // Zeros that were written stay.
        {"PT0S", "PT0S"}, {"P0Y", "P0Y"}, {"P1Y0M", "P1Y0M"}, {"PT0.5S", "PT0.5S"},
        // Alternative forms come back with designators.
        {"P0001-02-03T04:05:06", "P1Y2M3DT4H5M6S"}, {"P00010203T040506", "P1Y2M3DT4H5M6S"},
        {"p1y2m3dt4h5m6s", "P1Y2M3DT4H5M6S"}, {"PT1.50S", "PT1.5S"}, {"P1,5D", "P1.5D"},
        // Overflowing components are normalised when read.
        {"P1M40D", "P2M10D"}, {"PT25H30M", "P1DT1H30M"}, {"P1Y40D", "P1Y1M10D"},
    };
    for (const auto& [text, canonical] : cases) round_trip(kDuration, text, canonical);
}

std::vector<std::pair<std::string, std::string>> generated_datetimes() {
    std::vector<std::pair<std::string, std::string>> out;
    const char* const dates[] = {"1582-01-01", "1960-01-01", "2000-02-29", "2020-01-15", "2020-12-31", "9999-12-31"};
    const char* const times[] = {"00:00:00", "10:30:00", "23:59:59", "12:07:08"};
    const std::pair<const char*, const char*> fractions[] = {{"", ""}, {".5", ".500"}, {".125", ".125"},
                                                             {".999", ".999"}, {",05", ".050"}};
    for (const char* d : dates)
        for (const char* t : times)
            for (const auto& [f, shown_f] : fractions) {
                const std::string canonical = std::string(d) + "T" + t + shown_f;
                out.emplace_back(std::string(d) + "T" + t + f, canonical);
                std::string basic = std::string(d) + "T" + t + f;
                std::erase(basic, '-');
                std::erase(basic, ':');
                out.emplace_back(basic, canonical);
            }
    return out;
}

TEST_F(RoundTrip, Datetimes) {
    for (const auto& [text, canonical] : generated_datetimes()) round_trip(kDatetime, text, canonical);
    const std::pair<const char*, const char*> cases[] = {
        // Shorter datetimes end at their last component.
        {"2020", "2020"}, {"2020-01", "2020-01"}, {"2020-01-15", "2020-01-15"},
        {"2020-01-15T10", "2020-01-15T10"}, {"2020-01-15T10:30", "2020-01-15T10:30"},
        {"20200115", "2020-01-15"}, {"--01-15", "--01-15"},
        // Fractions of other components than the seconds.
        {"2020-01-15T10:30.5", "2020-01-15T10:30.500"}, {"2020-01-15T10.25", "2020-01-15T10.250"},
        {"2020-01-15.5", "2020-01-15.500"}, {"T10:30", "-----T10:30"},
        {"2020-01-15T10:30:00.0123", "2020-01-15T10:30:00.012"},
        // Zones are folded into universal time.
        {"2020-01-15T10:30:00Z", "2020-01-15T10:30:00"}, {"2020-01-15t10:30:00z", "2020-01-15T10:30:00"},
        {"2020-01-15T10:30:00+05:00", "2020-01-15T05:30:00"},
        {"2020-01-15T23:30:00-01:00", "2020-01-16T00:30:00"},
    };
    for (const auto& [text, canonical] : cases) round_trip(kDatetime, text, canonical);
}

TEST_F(RoundTrip, Intervals) {
    const std::pair<const char*, const char*> cases[] = {
        {"2020-01-15T10:30:00/2020-12-31T23:59:59.999", "2020-01-15T10:30:00/2020-12-31T23:59:59.999"},
        {"2020-01-15T10:30:00/P1Y2M3DT4H5M6S", "2020-01-15T10:30:00/P1Y2M3DT4H5M6S"},
        {"P1Y2M3DT4H5M6S/2020-01-15T10:30:00", "P1Y2M3DT4H5M6S/2020-01-15T10:30:00"},
        {"20200115T103000/P0001-02-03T04:05:06", "2020-01-15T10:30:00/P1Y2M3DT4H5M6S"},
        {"2020-01-15T10:30:00/PT36H", "2020-01-15T10:30:00/PT36H"},
        {"2020-01-15T10:30:00/-PT36H", "2020-01-15T10:30:00/-PT36H"},
        {"2020-03-01/2020-01-01", "2020-03-01/2020-01-01"},
        // Lone durations: the synthesized start is not shown.
        {"P1D", "P1D"}, {"P1M30D", "P1M30D"}, {"PT36H", "PT36H"}, {"-PT36H", "-PT36H"},
        {"P1Y2M3DT4H5M6.5S", "P1Y2M3DT4H5M6.5S"}, {"P3W", "P3W"},
        // Resolved against the other end when read.
        {"2020-01-01T00:00:00/P1M40D", "2020-01-01T00:00:00/P2M11D"},
        {"P1M40D/2020-03-12T00:00:00", "P2M9D/2020-03-12T00:00:00"},
    };
    for (const auto& [text, canonical] : cases) round_trip(kInterval, text, canonical);
}

}  // namespace
