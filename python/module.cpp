// The isofmt Python module: the plug-ins' formats and informats over a
// scalar, a list or a numpy array, through one reference host per process.
// A whole batch is converted in C++ with the interpreter lock released, on
// all cores when it is large.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include <pybind11/stl.h>

#include <isofmt/select.h>

#include "abi/problems.h"
#include "values.h"

namespace isofmt::python {
namespace {

// The process's host, started on first use with the plug-ins of the search path
// (ISOFMT_PLUGIN_PATH, else beside this module), and one environment per zone and missing text asked for.
class Engine {
public:
    static Engine& get() {
        static Engine engine;  // a failed start is tried again on the next call
        return engine;
    }

    const Host& host() const { return host_; }

    Environment* environment(const std::optional<std::string>& zone, const std::optional<std::string>& missing) {
        EnvironmentConfig config;
        if (zone) config.time_zone = *zone;
        if (missing) config.missing_text = *missing;
        if (!zone && !missing) return host_.default_environment();
        std::lock_guard lock(mutex_);
        auto key = std::make_pair(config.time_zone, config.missing_text);
        auto found = environments_.find(key);
        if (found != environments_.end()) return found->second;
        Environment* e = nullptr;
        try {
            e = host_.create_environment(config);
        } catch (const std::exception& error) {
            throw py::value_error(error.what());  // the zone is what can be refused
        }
        return environments_.emplace(std::move(key), e).first->second;
    }

private:
    Engine() { host_.load_plugins(); }

    Host host_;
    std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, Environment*> environments_;
};

// Runs body(begin, end) over [0, n) with the interpreter lock released, on
// up to one thread per core for large batches (the host takes any number of
// callers at once); the first exception is raised once all are done.
template <typename Body>
void for_all(std::size_t n, Body&& body) {
    constexpr std::size_t kMinPerThread = 16384;
    py::gil_scoped_release unlocked;
    const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()),
                                                      (n + kMinPerThread - 1) / kMinPerThread);
    if (threads <= 1) return body(std::size_t{0}, n);
    std::exception_ptr error;
    std::mutex error_mutex;
    auto run = [&](std::size_t begin, std::size_t end) {
        try {
            body(begin, end);
        } catch (...) {
            std::lock_guard lock(error_mutex);
            if (!error) error = std::current_exception();
        }
    };
    const std::size_t step = (n + threads - 1) / threads;
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(run, t * step, std::min(n, (t + 1) * step));
    run(0, step);
    for (std::thread& t : pool) t.join();
    if (error) std::rethrow_exception(error);
}

// A 32-bit word from Python: signed, or unsigned such as 0x80000000.
std::int32_t word(const char* name, long long value) {
    if (value < INT32_MIN || value > static_cast<long long>(UINT32_MAX))
        throw py::value_error(std::string(name) + ": " + std::to_string(value) + " is not a 32-bit word");
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

struct Options {
    std::optional<std::string> zone, missing;
    long long options = 0, dt_options = 0, mode = 0;
    bool validate = false;
    std::optional<int> capacity;
};

Request make_request(Engine& engine, const Selection& s, const Options& o) {
    Request r;
    r.width = s.width;
    r.decimals = s.decimals;
    r.validate = o.validate;
    if (o.capacity) {
        if (*o.capacity < 0 || *o.capacity > kMaxField)
            throw py::value_error("capacity: " + std::to_string(*o.capacity) + " is out of range (0 to " +
                                  std::to_string(kMaxField) + ")");
        r.capacity = *o.capacity;
    }
    r.options = word("options", o.options);
    r.dt_options = word("dt_options", o.dt_options);
    r.mode = word("mode", o.mode);
    r.environment = engine.environment(o.zone, o.missing);
    return r;
}

py::object format(const std::string& name, py::handle values, const Options& o) {
    Engine& engine = Engine::get();
    const Host& host = engine.host();
    const Selection s = select_routine(host, name, Kind::format);
    const CatalogueEntry& e = *s.entry;
    const Request r = make_request(engine, s, o);
    std::vector<std::optional<std::string>> out;
    if (e.shape == Shape::numeric) {
        const Batch b = read_numbers(host, values);
        out.resize(b.count);
        for_all(b.count, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) out[i] = host.format(e, b.numbers[i], r).text;
        });
        return to_python(b, out);
    }
    // Packed values: None is the missing one, sixteen or thirty-two F digits.
    const Batch b = read_texts(values);
    const std::string missing(e.shape == Shape::interval_format ? 32 : 16, 'F');
    out.resize(b.count);
    for_all(b.count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = host.format_packed(e, b.texts[i] ? *b.texts[i] : missing, r).text;
    });
    return to_python(b, out);
}

py::tuple informat(const std::string& name, py::handle texts, const Options& o) {
    Engine& engine = Engine::get();
    const Host& host = engine.host();
    const Selection s = select_routine(host, name, Kind::informat);
    const Request r = make_request(engine, s, o);
    const Batch b = read_texts(texts);
    std::vector<std::optional<std::string>> out(b.count);
    std::vector<std::int32_t> codes(b.count, 0);
    for_all(b.count, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (!b.texts[i]) continue;  // None in, None out
            Result result = host.informat(*s.entry, *b.texts[i], r);
            out[i] = std::move(result.text);
            codes[i] = result.status;
        }
    });
    return py::make_tuple(to_python(b, out), to_python(b, codes));
}

}  // namespace
}  // namespace isofmt::python

PYBIND11_MODULE(isofmt, m) {
    namespace py = pybind11;
    using namespace isofmt::python;
    using namespace pybind11::literals;
    init_values();
    m.doc() = "ISO 8601 date, time, duration and interval formats and informats, and classic "
              "clock formats, through the isofmt plug-ins.";
    m.attr("__version__") = ISOFMT_VERSION;

    m.def(
        "format",
        [](const std::string& name, py::handle values, std::optional<std::string> zone,
           std::optional<std::string> missing, long long options, long long dt_options, bool validate,
           std::optional<int> capacity) {
            return format(name, values, {zone, missing, options, dt_options, 0, validate, capacity});
        },
        "format"_a, "values"_a, py::kw_only(), "zone"_a = py::none(), "missing"_a = py::none(),
        "options"_a = 0, "dt_options"_a = 0, "validate"_a = false, "capacity"_a = py::none(),
        R"(Renders values through a format given as NAME[W][.D] (E8601DZ26.3, CLKTIME11.2).

values: a scalar, a list or a numpy array (a pandas Series too): numbers (host
values), None/NaN/NaT (missing), datetime (taken in UTC when aware), date,
time, timedelta, numpy datetime64/timedelta64, ISO 8601 literal texts; for
IS860DU, IS860PD and IS860VL the packed hexadecimal texts (None is missing).
Returns a str, a list of str, or an object array of the input's shape.

zone: IANA name or fixed offset (default UTC); missing: the missing-value text
(default "."); options: render options (IS860VL: of the duration halves);
dt_options: render options of the datetime halves of IS860VL; validate: check
width and decimals first; capacity: output capacity (default the width).)");

    m.def(
        "informat",
        [](const std::string& name, py::handle texts, std::optional<std::string> zone,
           std::optional<std::string> missing, long long mode, bool validate, std::optional<int> capacity) {
            return informat(name, texts, {zone, missing, 0, 0, mode, validate, capacity});
        },
        "informat"_a, "texts"_a, py::kw_only(), "zone"_a = py::none(), "missing"_a = py::none(),
        "mode"_a = 0, "validate"_a = false, "capacity"_a = py::none(),
        R"(Reads ISO 8601 texts into packed hexadecimal values through IS860DU, IS860PD or IS860VL.

texts: a str, a list or a numpy array (a pandas Series too); None and NaN give
None. Returns (packed, codes): the packed texts and the problem codes (0 when
the text was read), each in the input's form (codes as an int32 array).

mode: parse mode (0x80, 0x200 strict; 0x100 checks for the missing-value
notation); zone, missing, validate, capacity as for format().)");

    m.def(
        "problem_message", [](int code) { return std::string(code == 0 ? "" : problem_text(code)); }, "code"_a,
        "The message of an informat problem code.");
}
