// The isofmt command-line tool: the pieces that the commands share.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <isofmt/host.h>
#include <isofmt/select.h>

namespace isofmt::tool {

// A mistake in how the tool was called: reported as one line on standard
// error and exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kExitUsage = 2;

// Everything the command line chose, parsed and checked.
struct Settings {
    EnvironmentConfig environment;
    std::string debug;
    std::string plugins;
    bool status = false;
    bool validate = false;
    int capacity = -1;
    std::int32_t options = 0;
    std::int32_t dt_options = 0;
    std::int32_t mode = 0;
};

// A FORMAT argument resolved against the catalogue (isofmt::select_routine);
// throws UsageError naming what is wrong.
Selection select_format(const Host& host, std::string_view text, Kind kind);

// The text FORMAT takes for a selection: NAME, width, and .D when not 0.
std::string format_text(const Selection& selection);

// A numeric option: decimal (optionally signed) or 0x hexadecimal, as a
// 32-bit word. Throws UsageError naming the option.
std::int32_t parse_word(std::string_view option, std::string_view text);

// A host value from the command line: a number, "." or "nan" for missing,
// or an ISO 8601 date, time or datetime literal. Throws UsageError.
double parse_value(const Host& host, std::string_view text);

// The request that the settings give for a selection.
Request make_request(const Host& host, const Settings& settings, const Selection& selection);

// Runs the selection on one value (number, literal or packed text) or one
// informat text. Throws UsageError for a value that cannot be read.
Result run(const Host& host, const Selection& selection, const Request& request,
           std::string_view value);

// As run(), into out[0, cap) (at least host.room() of the request); the
// numeric formats allocate nothing.
Written run_to(const Host& host, const Selection& selection, const Request& request, std::string_view value,
               char* out, std::size_t cap);

// The commands. Each returns the exit status.
int list_command(const Host& host);
int convert_command(const Host& host, const Settings& settings, Kind kind,
                    std::string_view format, const std::vector<std::string>& values);
int demo_command(const Host& host, const Settings& settings);

}  // namespace isofmt::tool
