// The reference host: builds the service anchor and every service the
// plug-ins call, loads plug-ins as a host does, keeps the catalogue of the
// formats and informats they offer, and calls them one value at a time.
//
// Any number of threads may call format(), format_packed() and informat() on
// one Host at once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ServiceAnchor;
struct Environment;
struct FormatBlock;

namespace isofmt {

struct EnvironmentConfig {
    std::string time_zone = "UTC";  // IANA zone name, or a fixed offset: "+05:30", "-03:00", "UTC"
    std::string missing_text = ".";
    bool month_table = true;        // false: no month-abbreviation table in the environment
};

struct HostConfig {
    EnvironmentConfig environment;               // the default environment
    std::string debug;                           // the host option DEBUG ("" = not set)
    std::function<void(std::string_view)> log;   // log sink; null: one line per entry on stderr
};

enum class Kind { format, informat };

// How the host calls a routine.
enum class Shape {
    numeric,          // int(FormatBlock*), value pointer at a double
    duration_format,  // int(FormatBlock*, int options), value pointer at hex text
    interval_format,  // int(FormatBlock*, int options, int dt_options)
    informat,         // int(FormatBlock*, int mode), value pointer at text
};

struct CatalogueEntry {
    std::string name;     // E8601DZ, CLKTIME, IS860VL, ...
    Kind kind = Kind::format;
    std::string module;   // dtbasic1, dtextnd1, dtaltfm1, dtclockf
    int min_width = 0, max_width = 0, default_width = 0;
    int min_decimals = 0, default_decimals = 0, max_decimals = 0;
    Shape shape = Shape::numeric;
    void* routine = nullptr;
};

struct Request {
    int width = -1;        // -1: the entry's default width
    int decimals = -1;     // -1: the entry's default decimals
    bool validate = false; // sets the validation flag
    int capacity = -1;     // -1: the width (formats), 32 or 16 (informats)
    std::int32_t options = 0;     // render options (duration halves for IS860VL)
    std::int32_t dt_options = 0;  // IS860VL datetime halves
    std::int32_t mode = 0;        // informat parse mode
    Environment* environment = nullptr;  // null: the block carries no environment
};

struct Result {
    std::string text;      // exactly the characters the routine wrote (its output length)
    std::int32_t status = 0;
};

class Host {
public:
    explicit Host(HostConfig config = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads every plug-in of the directory (dtbasic1, dtextnd1, dtaltfm1,
    // dtclockf, as far as present); throws std::runtime_error on failure.
    void load_directory(const std::string& directory);
    void load_plugin(const std::string& path);

    const std::vector<CatalogueEntry>& catalogue() const;
    const CatalogueEntry* find(std::string_view name, Kind kind) const;

    Result format(const CatalogueEntry& entry, double value, const Request& request) const;
    Result format_packed(const CatalogueEntry& entry, std::string_view hex, const Request& request) const;
    Result informat(const CatalogueEntry& entry, std::string_view text, const Request& request) const;

    // The host value of an ISO 8601 literal: a date (days), a time (seconds)
    // or a datetime (seconds since 1960-01-01T00:00:00).
    std::optional<double> parse_literal(std::string_view text) const;

    // A per-task environment with its own zone, missing text and month table,
    // sharing the host's named storage. Lives as long as the Host.
    Environment* create_environment(const EnvironmentConfig& config);

    // What the plug-ins are handed.
    ServiceAnchor* anchor() const;
    void* second_anchor() const;
    Environment* default_environment() const;

    // Ends the named storage: calls every registered end routine (as the host
    // does at shutdown). The destructor does it too.
    void end_storage();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The directory the isofmt tool's plug-ins were built into.
std::string default_plugin_directory();

}  // namespace isofmt
