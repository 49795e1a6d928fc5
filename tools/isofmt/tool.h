// The isofmt command-line tool: the pieces that the commands share.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <isofmt/host.h>
#include <isofmt/select.h>

#include "decimal.h"

namespace isofmt::tool {

// A mistake in how the tool was called: reported as one line on standard
// error and exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Standard input or output failed: one line on standard error, exit status 3.
struct IoError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotRead = 1;  // --keep-going: some value was not read
inline constexpr int kExitUsage = 2;
inline constexpr int kExitIo = 3;

// A text as messages show it (isofmt::quote_text): in single quotes, at most
// 60 bytes of it, then "...", bytes that do not print escaped.
inline std::string quote(std::string_view text) { return quote_text(text); }

// Everything the command line chose, parsed and checked.
struct Settings {
    EnvironmentConfig environment;
    std::string debug;
    std::string plugins;  // empty: the default plug-in directory
    bool status = false;
    bool validate = false;
    bool keep_going = false;
    int capacity = -1;
    std::int32_t options = 0;
    std::int32_t dt_options = 0;
    std::int32_t mode = 0;
};

// What a catalogue entry takes: the numeric formats a host value of one of
// three kinds, the duration and interval formats packed hexadecimal text,
// the informats ISO 8601 text.
enum class ValueKind { date, time, datetime, packed_duration, packed_datetime, packed_interval, text };

ValueKind value_kind(const CatalogueEntry& entry);
const char* value_kind_name(ValueKind kind);  // "date", "packed duration", ...

// The formats that take a local time in the --tz zone (E8601LX, B8601LZ, ...)
// rather than universal time.
bool takes_local_time(const CatalogueEntry& entry);

// The value handed to a format: a host value for the numeric formats, the
// packed digits for the duration and interval formats.
struct FormatValue {
    double number = 0;
    std::string packed;
};

// How VALUE texts are read: the missing-value text of the environment is
// the missing notation on input as well (besides "." and "nan").
struct ValueRules {
    std::string missing_text = ".";
};

// Reads one VALUE as the kind the format takes:
// - numeric formats: a number (the host value as it stands), the missing
//   notation, or an ISO 8601 literal of the format's kind (a date given to
//   a datetime format is its midnight); a literal with a zone designator is
//   converted to universal time, and refused by the local-time formats;
// - duration and interval formats: exactly 16 (IS860DU, IS860PD) or 32
//   (IS860VL) hexadecimal digits, blanks around them allowed, or the missing
//   notation or blanks alone (both all F).
// Returns true and sets `value`, or false and sets `problem` to one
// sentence that names the value, quoted.
bool read_value(const CatalogueEntry& entry, std::string_view text, const ValueRules& rules, FormatValue& value,
                std::string& problem);

// read_value for one entry and one set of rules, with what stays the same
// from value to value worked out once. Keeps references to both.
class ValueReader {
public:
    ValueReader(const CatalogueEntry& entry, const ValueRules& rules);
    bool read(std::string_view text, FormatValue& value, std::string& problem) const;

    // The number of a plain decimal that is not the missing notation, which
    // read() gives for it; nullopt for any other text, and for every text
    // when the format does not take a number.
    std::optional<double> plain(std::string_view text) const {
        if (!numeric_) return std::nullopt;
        const std::string_view t = detail::trim(text);
        if (t == missing_) return std::nullopt;
        return detail::read_plain_decimal(t);
    }

    // Whether every line that detail::read_decimal_line reads is the number
    // plain() gives for it: not when the format takes no number, nor when
    // the missing text is itself a plain decimal.
    bool reads_short_lines() const { return numeric_ && !detail::read_plain_decimal(missing_); }

private:
    const CatalogueEntry& entry_;
    const ValueRules& rules_;
    std::string_view missing_;  // the missing text without its blanks
    bool numeric_;
};

// The value a format gets for a missing value: NaN, or all F.
FormatValue missing_value(const CatalogueEntry& entry);

// A FORMAT argument resolved against the catalogue (isofmt::select_routine);
// throws UsageError naming what is wrong.
Selection select_format(const Host& host, std::string_view text, Kind kind);

// The text FORMAT takes for a selection: NAME, width, and .D when not 0.
std::string format_text(const Selection& selection);

// A numeric option: decimal (optionally signed) or 0x hexadecimal, as a
// 32-bit word. Throws UsageError naming the option.
std::int32_t parse_word(std::string_view option, std::string_view text);

// The request that the settings give for a selection.
Request make_request(const Host& host, const Settings& settings, const Selection& selection);

// One routine call: a format on a value read by read_value, or an informat
// on its text.
Result run_format(const Host& host, const Selection& selection, const Request& request, const FormatValue& value);
Result run_informat(const Host& host, const Selection& selection, const Request& request, std::string_view text);

// A format on a VALUE text (read_value) or an informat on its text; a value
// that cannot be read throws UsageError with read_value's problem.
Result run(const Host& host, const Selection& selection, const Request& request, std::string_view value,
           const ValueRules& rules = {});

// Standard output: every write is checked; a failure throws IoError, except
// a closed pipe, which ends the tool quietly.
void write_out(std::string_view text);
void finish_output();

// The commands. Each returns the exit status.
int list_command(const Host& host, bool long_form);
int convert_command(const Host& host, const Settings& settings, Kind kind,
                    std::string_view format, const std::vector<std::string>& values);
int demo_command(const Host& host, const Settings& settings);

}  // namespace isofmt::tool
