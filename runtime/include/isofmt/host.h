// The reference host: builds the service anchor and every service the
// plug-ins call, loads plug-ins as a host does, keeps the catalogue of the
// formats and informats they offer, and calls them one value at a time.
//
// Any number of threads may call format(), format_packed() and informat() on
// one Host at once.
//
// Any number of Hosts may live in one process, each with its own results:
// each binds an image of every plug-in of its own (the plug-in file itself
// while no image of it is loaded, otherwise a private in-memory copy of it),
// so the plug-ins' globals and module state of one host never reach another,
// and destroying a host leaves the others sound. The services that receive
// no environment (the DEBUG option, the log, the GMT offset, the missing text
// of a request without an environment) answer for the host whose method is
// running on the calling thread; a routine called directly, outside any Host
// method, is answered for the most recently created live host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// What the shared library libisofmt exports; everything else in it is hidden.
#define ISOFMT_API __attribute__((visibility("default")))

struct ServiceAnchor;
struct Environment;
struct FormatBlock;

namespace isofmt {

// Every error of this API: a plug-in that cannot be loaded, an unknown zone,
// a request that the routine cannot take, a routine called in the wrong way.
// The message says what was wrong.
class ISOFMT_API Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest width, decimals and capacity a request may carry (the item
// records hold widths and decimals as 16-bit numbers).
inline constexpr int kMaxField = 32767;

struct EnvironmentConfig {
    std::string time_zone = "UTC";  // IANA zone name, or a fixed offset: "+05:30", "-03:00", "UTC"
    std::string missing_text = ".";
    bool month_table = true;        // false: no month-abbreviation table in the environment
    bool named_storage = true;      // false: the environment has no named storage
};

struct HostConfig {
    EnvironmentConfig environment;               // the default environment
    std::string debug;                           // the host option DEBUG ("" = not set)
    std::function<void(std::string_view)> log;   // log sink; null: one line per entry on stderr
    // For testing plug-ins: asked before each request to the host's
    // allocators (size and allocation flags); true refuses it (null).
    std::function<bool(std::size_t size, std::uint32_t flags)> refuse_allocation;
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

// Width 1 to kMaxField, decimals and capacity 0 to kMaxField, or -1 for the
// default; anything else is an Error. Within those bounds the routine
// decides: a width outside its own limits is checked by the routine when
// `validate` is set, and otherwise rendered as the routine renders it.
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

// What a routine wrote into a caller's buffer: the length of its text (its
// output length, within the room of the call) and its status.
struct Written {
    std::size_t length = 0;
    std::int32_t status = 0;
};

// An ISO 8601 date, time or datetime literal: extended (2020-01-15,
// 10:30:00.5, 2020-01-15T10:30:00+01:00) or basic (T103000, 103000Z,
// 20200115T103000-0500), a time or datetime with an optional zone
// designator (Z, +hh, +hhmm, +hh:mm). A basic-form time needs its leading T
// or its designator, and a basic-form date its time: a bare digit string is
// a number, not a literal.
struct Literal {
    enum class Kind { date, time, datetime };
    Kind kind = Kind::date;
    double clock = 0;    // as written: days, seconds since midnight, or seconds since 1960-01-01T00:00:00
    bool zoned = false;  // a zone designator followed
    int offset = 0;      // seconds east of UTC that it named

    // The value in universal time: the clock less the offset; a time of day
    // wraps around midnight.
    ISOFMT_API double universal() const;
};

ISOFMT_API std::optional<Literal> read_literal(std::string_view text);

class ISOFMT_API Host {
public:
    explicit Host(HostConfig config = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads every plug-in of the directory (dtbasic1, dtextnd1, dtaltfm1,
    // dtclockf, as far as present); throws Error on failure.
    void load_directory(const std::string& directory);

    // Loads the plug-ins of `directory`, or when it is empty, of the first
    // directory of plugin_search_path() that holds any. Returns the directory
    // loaded; throws Error saying what was wrong with the one given, or where
    // it looked.
    std::string load_plugins(const std::string& directory = {});
    void load_plugin(const std::string& path);

    const std::vector<CatalogueEntry>& catalogue() const;
    const CatalogueEntry* find(std::string_view name, Kind kind) const;
    // As find(), but a name the loaded plug-ins do not offer is an Error.
    const CatalogueEntry& entry(std::string_view name, Kind kind = Kind::format) const;

    Result format(const CatalogueEntry& entry, double value, const Request& request = {}) const;
    Result format_packed(const CatalogueEntry& entry, std::string_view hex, const Request& request = {}) const;
    Result informat(const CatalogueEntry& entry, std::string_view text, const Request& request = {}) const;

    // The characters a call of the entry with the request may write: the
    // capacity, and for the date and time formats at least the width.
    std::size_t room(const CatalogueEntry& entry, const Request& request) const;

    // As format(), format_packed() and informat(), into out[0, cap) instead
    // of a new string; format_to() allocates nothing. An informat's target
    // starts blank. Throws Error when cap < room().
    Written format_to(const CatalogueEntry& entry, double value, const Request& request, char* out,
                      std::size_t cap) const;
    Written format_packed_to(const CatalogueEntry& entry, std::string_view hex, const Request& request,
                             char* out, std::size_t cap) const;
    Written informat_to(const CatalogueEntry& entry, std::string_view text, const Request& request, char* out,
                        std::size_t cap) const;

    // A numeric format with a request, checked once, for rendering many
    // values: format_to(value, out, cap) renders as Host::format_to(entry,
    // value, request, out, cap) does, without checking the request again.
    // Lives no longer than the Host; any number of threads may use one.
    class ISOFMT_API NumericFormat {
    public:
        NumericFormat(NumericFormat&&) noexcept;
        NumericFormat& operator=(NumericFormat&&) noexcept;
        ~NumericFormat();
        std::size_t room() const;
        Written format_to(double value, char* out, std::size_t cap) const;
        // Renders values[0..n) one after another from `out`, each text as
        // format_to writes it followed by LF (the statuses are not kept);
        // returns the characters written. Throws Error when cap is less
        // than n * (room() + 1).
        std::size_t format_lines(const double* values, std::size_t n, char* out, std::size_t cap) const;

    private:
        friend class Host;
        struct State;
        explicit NumericFormat(std::unique_ptr<const State> state);
        std::unique_ptr<const State> state_;
    };
    // Throws Error as format_to() does for the entry and request.
    NumericFormat prepare_format(const CatalogueEntry& entry, const Request& request) const;

    // The host value of an ISO 8601 literal (read_literal): a date (days), a
    // time (seconds) or a datetime (seconds since 1960-01-01T00:00:00), in
    // universal time.
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

// Where load_plugins() looks when given no directory, in order: each entry
// of ISOFMT_PLUGIN_PATH (colon-separated); when this runtime sits in a
// shared object of its own (libisofmt.so, the Python module, the SQLite
// extension), the installed plug-in directory seen from that object
// (isofmt/plugins, plugins, ../../isofmt/plugins) and its own directory;
// then the installed directory relative to the program (../lib/isofmt/plugins)
// and the program's own directory, where a build puts the plug-ins.
ISOFMT_API std::vector<std::string> plugin_search_path();

// The first directory of plugin_search_path() that holds a plug-in; throws
// Error naming every place it looked.
ISOFMT_API std::string default_plugin_directory();

// The message of a problem code that an informat or a duration or interval
// format reports ("interval has 2 durations" for 14); "" for 0, "Unknown
// reason" for a code no routine reports.
ISOFMT_API const char* problem_message(std::int32_t code);

}  // namespace isofmt
