// The isofmt SQLite extension: the plug-ins' formats and informats as SQL
// functions, through one reference host per process.
//
//   isofmt_format(FORMAT, value [, options [, dt_options]])  -> text
//   isofmt_informat(FORMAT, text [, mode])                   -> packed text, or NULL
//   isofmt_problem(FORMAT, text [, mode])                    -> 'CODE: message', or NULL
//
// NULL is the missing value both ways: a NULL value is formatted as the
// missing value, and a NULL text, or one that reads as the missing value or
// gives no value, gives NULL. FORMAT is NAME[W][.D].
#include <sqlite3ext.h>

#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include <isofmt/select.h>

#include "abi/problems.h"

SQLITE_EXTENSION_INIT1

namespace isofmt::sqlite {
namespace {

// The process's host, started on first use with the plug-ins of the search path
// (ISOFMT_PLUGIN_PATH, else beside this extension); a failed start is tried again on the next call.
const Host& host() {
    static const std::unique_ptr<Host> host = [] {
        auto h = std::make_unique<Host>();
        h->load_plugins();
        return h;
    }();
    return *host;
}

std::string_view text_of(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

// The FORMAT argument, resolved once per statement and kept with it (SQLite
// may drop what it keeps at any time, so the caller gets a copy).
Selection selection(sqlite3_context* ctx, sqlite3_value* format, Kind kind) {
    if (auto* kept = static_cast<const Selection*>(sqlite3_get_auxdata(ctx, 0))) return *kept;
    if (sqlite3_value_type(format) != SQLITE_TEXT) throw std::invalid_argument("FORMAT must be a text");
    const Selection s = select_routine(host(), text_of(format), kind);
    sqlite3_set_auxdata(ctx, 0, new Selection(s), [](void* p) { delete static_cast<Selection*>(p); });
    return s;
}

// An optional integer argument: a 32-bit word.
std::int32_t word(int argc, sqlite3_value** argv, int at, const char* name) {
    if (at >= argc || sqlite3_value_type(argv[at]) == SQLITE_NULL) return 0;
    if (sqlite3_value_type(argv[at]) != SQLITE_INTEGER) throw std::invalid_argument(std::string(name) + " must be an integer");
    const sqlite3_int64 v = sqlite3_value_int64(argv[at]);
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument(std::string(name) + " is not a 32-bit word");
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

Request request_for(const Selection& s) {
    Request r;
    r.width = s.width;
    r.decimals = s.decimals;
    r.environment = host().default_environment();
    return r;
}

// A host value: a number, NULL (missing) or an ISO 8601 date, time or
// datetime literal (a text that holds a number is taken as that number).
double value_of(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return std::numeric_limits<double>::quiet_NaN();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    default: break;
    }
    const std::string_view t = text_of(v);
    if (std::optional<double> literal = host().parse_literal(t)) return *literal;
    const int numeric = sqlite3_value_numeric_type(v);
    if (numeric == SQLITE_INTEGER || numeric == SQLITE_FLOAT) return sqlite3_value_double(v);
    throw std::invalid_argument("not a number or an ISO 8601 date, time or datetime: '" + std::string(t) + "'");
}

void result_text(sqlite3_context* ctx, const std::string& text) {
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Runs a function body, turning an exception into the SQL error.
template <typename Body>
void guarded(sqlite3_context* ctx, const char* name, Body&& body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        const std::string message = std::string(name) + ": " + e.what();
        sqlite3_result_error(ctx, message.c_str(), -1);
    }
}

void format_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, "isofmt_format", [&] {
        const Selection s = selection(ctx, argv[0], Kind::format);
        Request r = request_for(s);
        r.options = word(argc, argv, 2, "options");
        r.dt_options = word(argc, argv, 3, "dt_options");
        const CatalogueEntry& e = *s.entry;
        if (e.shape == Shape::numeric) return result_text(ctx, host().format(e, value_of(argv[1]), r).text);
        // Packed values: NULL is the missing one, sixteen or thirty-two F digits.
        const std::string missing(e.shape == Shape::interval_format ? 32 : 16, 'F');
        const bool null = sqlite3_value_type(argv[1]) == SQLITE_NULL;
        result_text(ctx, host().format_packed(e, null ? std::string_view(missing) : text_of(argv[1]), r).text);
    });
}

// Reads the text argument; false (and NULL as the result) when it is NULL.
bool read_text(sqlite3_context* ctx, int argc, sqlite3_value** argv, Result& result) {
    const Selection s = selection(ctx, argv[0], Kind::informat);
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return false;
    }
    Request r = request_for(s);
    r.mode = word(argc, argv, 2, "mode");
    result = host().informat(*s.entry, text_of(argv[1]), r);
    return true;
}

void informat_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, "isofmt_informat", [&] {
        Result result;
        if (!read_text(ctx, argc, argv, result)) return;
        // All F is the missing value; a blank target, no value written.
        if (result.text.find_first_not_of("F ") == std::string::npos) return sqlite3_result_null(ctx);
        result_text(ctx, result.text);
    });
}

void problem_function(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, "isofmt_problem", [&] {
        Result result;
        if (!read_text(ctx, argc, argv, result)) return;
        if (result.status == 0) return sqlite3_result_null(ctx);
        result_text(ctx, std::to_string(result.status) + ": " + problem_text(result.status));
    });
}

int add(sqlite3* db, const char* name, int min_args, int max_args, void (*body)(sqlite3_context*, int, sqlite3_value**)) {
    for (int n = min_args; n <= max_args; ++n) {
        const int rc = sqlite3_create_function_v2(db, name, n, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, body,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return rc;
    }
    return SQLITE_OK;
}

}  // namespace
}  // namespace isofmt::sqlite

// The entry point SQLite derives from the file name isofmt_sqlite.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_isofmtsqlite_init(
    sqlite3* db, char** error, const sqlite3_api_routines* api) {
    SQLITE_EXTENSION_INIT2(api);
    using namespace isofmt::sqlite;
    int rc = add(db, "isofmt_format", 2, 4, format_function);
    if (rc == SQLITE_OK) rc = add(db, "isofmt_informat", 2, 3, informat_function);
    if (rc == SQLITE_OK) rc = add(db, "isofmt_problem", 2, 3, problem_function);
    if (rc != SQLITE_OK && error) *error = sqlite3_mprintf("isofmt: cannot register the functions");
    return rc;
}
