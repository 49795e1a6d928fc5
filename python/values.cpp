#include "values.h"

#include <datetime.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string_view>

#include <date/date.h>

namespace isofmt::python {
namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kUnixDay1960 = -3653;              // 1960-01-01 in days since 1970-01-01
constexpr std::int64_t kUnixSecond1960 = kUnixDay1960 * 86400;

double day_number(int year, int month, int day) {
    const date::year_month_day ymd{date::year{year}, date::month{static_cast<unsigned>(month)},
                                   date::day{static_cast<unsigned>(day)}};
    return static_cast<double>(date::sys_days(ymd).time_since_epoch().count() - kUnixDay1960);
}

double seconds_of(long days, long seconds, long microseconds) {
    return static_cast<double>(days) * 86400.0 + static_cast<double>(seconds) +
           static_cast<double>(microseconds) / 1e6;
}

// A value that does not compare equal to itself (pandas' NaT, a float NaN).
// (PyObject_RichCompareBool would take an object as equal to itself unasked.)
bool unequal_to_itself(PyObject* o) {
    PyObject* r = PyObject_RichCompare(o, o, Py_EQ);
    if (!r) throw py::error_already_set();
    const int same = PyObject_IsTrue(r);
    Py_DECREF(r);
    if (same < 0) throw py::error_already_set();
    return same == 0;
}

double timedelta_seconds(PyObject* o) {
    return seconds_of(PyDateTime_DELTA_GET_DAYS(o), PyDateTime_DELTA_GET_SECONDS(o),
                      PyDateTime_DELTA_GET_MICROSECONDS(o));
}

double datetime_value(PyObject* o) {
    if (!PyDateTime_CheckExact(o) && unequal_to_itself(o)) return kMissing;
    double v = day_number(PyDateTime_GET_YEAR(o), PyDateTime_GET_MONTH(o), PyDateTime_GET_DAY(o)) * 86400.0 +
               seconds_of(0, PyDateTime_DATE_GET_HOUR(o) * 3600L + PyDateTime_DATE_GET_MINUTE(o) * 60L +
                                 PyDateTime_DATE_GET_SECOND(o),
                          PyDateTime_DATE_GET_MICROSECOND(o));
    // An aware datetime is taken in UTC, which is what the zone formats start from.
    if (PyDateTime_DATE_GET_TZINFO(o) != Py_None) {
        py::object offset = py::reinterpret_borrow<py::object>(o).attr("utcoffset")();
        if (!offset.is_none()) v -= timedelta_seconds(offset.ptr());
    }
    return v;
}

// numpy datetime64 and timedelta64: ticks of a unit, NaT the smallest int64.
struct TickUnit {
    std::int64_t seconds_per_tick = 0;  // units of a second or more
    std::int64_t ticks_per_second = 0;  // units below a second
    bool days = false;                  // datetime64 in D or W: a date
};

// numpy's unit of a datetime64 or timedelta64 dtype and its count: ("ms", 10).
std::pair<std::string, std::int64_t> datetime_unit(const py::dtype& dtype) {
    py::tuple data = py::module_::import("numpy").attr("datetime_data")(dtype);
    return {data[0].cast<std::string>(), data[1].cast<std::int64_t>()};
}

TickUnit tick_unit(const py::dtype& dtype, bool datetime) {
    const auto [unit, count] = datetime_unit(dtype);
    static const std::pair<const char*, std::int64_t> kCoarse[] = {
        {"W", 7 * 86400}, {"D", 86400}, {"h", 3600}, {"m", 60}, {"s", 1}};
    static const std::pair<const char*, std::int64_t> kFine[] = {
        {"ms", 1000}, {"us", 1000000}, {"ns", 1000000000}};
    for (auto [name, seconds] : kCoarse)
        if (unit == name) return {seconds * count, 0, datetime && seconds >= 86400};
    for (auto [name, ticks] : kFine)
        if (unit == name && ticks % count == 0) return {0, ticks / count, false};
    throw py::type_error("numpy " + dtype.attr("name").cast<std::string>() +
                         " is not taken: use a unit from W down to ns");
}

// The host values of an int64 view of datetime64 or timedelta64 ticks.
void read_ticks(const py::array& array, bool datetime, std::vector<double>& out) {
    py::array source = array;
    // Months and years are not of one length: numpy turns them into days.
    const std::string unit = datetime_unit(array.dtype()).first;
    if (datetime && (unit == "Y" || unit == "M")) source = array.attr("astype")("datetime64[D]");
    if (unit == "generic") {  // holds nothing but NaT
        out.insert(out.end(), static_cast<std::size_t>(array.size()), kMissing);
        return;
    }
    const TickUnit u = tick_unit(source.dtype(), datetime);
    auto ticks = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>::ensure(
        source.attr("view")("int64"));
    if (!ticks) throw py::error_already_set();
    const std::int64_t* p = ticks.data();
    const std::int64_t epoch = datetime ? (u.days ? kUnixDay1960 : kUnixSecond1960) : 0;
    out.reserve(out.size() + static_cast<std::size_t>(ticks.size()));
    for (py::ssize_t i = 0; i < ticks.size(); ++i) {
        const std::int64_t t = p[i];
        if (t == std::numeric_limits<std::int64_t>::min()) {
            out.push_back(kMissing);
        } else if (u.days) {
            out.push_back(static_cast<double>(t * (u.seconds_per_tick / 86400) - epoch));
        } else if (u.seconds_per_tick) {
            out.push_back(static_cast<double>(t) * static_cast<double>(u.seconds_per_tick) -
                          static_cast<double>(epoch));
        } else {
            // Whole seconds and the remainder apart, so that nanoseconds since
            // 1970 keep their fraction.
            std::int64_t whole = t / u.ticks_per_second, rest = t % u.ticks_per_second;
            if (rest < 0) rest += u.ticks_per_second, --whole;
            out.push_back(static_cast<double>(whole - epoch) +
                          static_cast<double>(rest) / static_cast<double>(u.ticks_per_second));
        }
    }
}

double number(const Host& host, py::handle value) {
    PyObject* o = value.ptr();
    if (o == Py_None) return kMissing;
    if (PyFloat_Check(o)) return PyFloat_AS_DOUBLE(o);
    if (PyLong_Check(o)) {
        const double v = PyLong_AsDouble(o);
        if (v == -1.0 && PyErr_Occurred()) throw py::error_already_set();
        return v;
    }
    if (PyDateTime_Check(o)) return datetime_value(o);
    if (PyDate_Check(o))
        return unequal_to_itself(o) ? kMissing
                                    : day_number(PyDateTime_GET_YEAR(o), PyDateTime_GET_MONTH(o), PyDateTime_GET_DAY(o));
    if (PyTime_Check(o))
        return seconds_of(0, PyDateTime_TIME_GET_HOUR(o) * 3600L + PyDateTime_TIME_GET_MINUTE(o) * 60L +
                                 PyDateTime_TIME_GET_SECOND(o),
                          PyDateTime_TIME_GET_MICROSECOND(o));
    if (PyDelta_Check(o)) return timedelta_seconds(o);
    if (PyUnicode_Check(o)) {
        Py_ssize_t n = 0;
        const char* s = PyUnicode_AsUTF8AndSize(o, &n);
        if (!s) throw py::error_already_set();
        if (std::optional<double> v = host.parse_literal(std::string_view(s, static_cast<std::size_t>(n))))
            return *v;
        throw py::value_error("not an ISO 8601 date, time or datetime: '" + std::string(s, n) + "'");
    }
    if (py::hasattr(value, "dtype")) {  // a numpy scalar
        py::array a = py::module_::import("numpy").attr("asarray")(value);
        const char kind = a.dtype().kind();
        if (kind == 'M' || kind == 'm') {
            std::vector<double> one;
            read_ticks(a, kind == 'M', one);
            return one.at(0);
        }
    }
    PyObject* f = PyNumber_Float(o);
    if (!f) {
        PyErr_Clear();
        throw py::type_error(std::string("not a value isofmt can format: ") +
                             std::string(py::str(py::type::handle_of(value))));
    }
    const double v = PyFloat_AS_DOUBLE(f);
    Py_DECREF(f);
    return v;
}

std::optional<std::string> text(py::handle value) {
    PyObject* o = value.ptr();
    if (PyUnicode_Check(o)) {
        Py_ssize_t n = 0;
        const char* s = PyUnicode_AsUTF8AndSize(o, &n);
        if (!s) throw py::error_already_set();
        return std::string(s, static_cast<std::size_t>(n));
    }
    if (PyBytes_Check(o)) return std::string(PyBytes_AS_STRING(o), static_cast<std::size_t>(PyBytes_GET_SIZE(o)));
    if (o == Py_None || (PyFloat_Check(o) && std::isnan(PyFloat_AS_DOUBLE(o)))) return std::nullopt;
    throw py::type_error(std::string("not a text: ") + std::string(py::str(py::type::handle_of(value))));
}

// An array, list, tuple, or anything numpy can see as an array (a pandas
// Series), as the form of the call and, for arrays, the array itself.
Form form_of(py::handle values, py::array& array) {
    if (py::isinstance<py::array>(values)) {
        array = py::reinterpret_borrow<py::array>(values);
        return Form::array;
    }
    if (PyList_Check(values.ptr()) || PyTuple_Check(values.ptr())) return Form::list;
    if (!PyUnicode_Check(values.ptr()) && !PyBytes_Check(values.ptr()) && py::hasattr(values, "__array__") &&
        py::hasattr(values, "__len__")) {
        array = py::module_::import("numpy").attr("asarray")(values);
        return Form::array;
    }
    return Form::scalar;
}

// Every value of the call, one at a time, in C order for arrays.
template <typename Read>
Batch read(py::handle values, Form form, const py::array& array, Read&& one) {
    Batch b;
    b.form = form;
    if (b.form == Form::scalar) {
        one(values);
    } else if (b.form == Form::list) {
        for (py::handle v : values) one(v);
    } else {
        b.shape.assign(array.shape(), array.shape() + array.ndim());
        for (py::handle v : array.attr("ravel")()) one(v);
    }
    return b;
}

}  // namespace

void init_values() {
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
}

Batch read_numbers(const Host& host, const py::handle& values) {
    py::array array;
    const Form form = form_of(values, array);
    if (form == Form::array) {
        const char kind = array.dtype().kind();
        Batch b;
        b.form = Form::array;
        b.shape.assign(array.shape(), array.shape() + array.ndim());
        if (kind == 'f' || kind == 'i' || kind == 'u' || kind == 'b') {
            auto d = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
            if (!d) throw py::error_already_set();
            b.numbers.assign(d.data(), d.data() + d.size());
            b.count = b.numbers.size();
            return b;
        }
        if (kind == 'M' || kind == 'm') {
            read_ticks(array, kind == 'M', b.numbers);
            b.count = b.numbers.size();
            return b;
        }
    }
    std::vector<double> numbers;
    Batch b = read(values, form, array, [&](py::handle v) { numbers.push_back(number(host, v)); });
    b.numbers = std::move(numbers);
    b.count = b.numbers.size();
    return b;
}

Batch read_texts(const py::handle& values) {
    std::vector<std::optional<std::string>> texts;
    py::array array;
    const Form form = form_of(values, array);
    Batch b = read(values, form, array, [&](py::handle v) { texts.push_back(text(v)); });
    b.texts = std::move(texts);
    b.count = b.texts.size();
    return b;
}

namespace {

PyObject* to_str(const std::optional<std::string>& t) {
    if (!t) Py_RETURN_NONE;
    PyObject* s = PyUnicode_DecodeUTF8(t->data(), static_cast<Py_ssize_t>(t->size()), "replace");
    if (!s) throw py::error_already_set();
    return s;
}

// A scalar or a list: make() gives a new reference for one item.
template <typename T, typename Make>
py::object scalar_or_list(const Batch& batch, const std::vector<T>& items, Make&& make) {
    if (batch.form == Form::scalar) return py::reinterpret_steal<py::object>(make(items.at(0)));
    py::list out(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) PyList_SET_ITEM(out.ptr(), i, make(items[i]));
    return out;
}

}  // namespace

py::object to_python(const Batch& batch, const std::vector<std::optional<std::string>>& texts) {
    if (batch.form != Form::array) return scalar_or_list(batch, texts, to_str);
    // np.empty of objects holds None in every place; each is replaced in turn.
    py::tuple shape(batch.shape.size());
    for (std::size_t i = 0; i < batch.shape.size(); ++i) shape[i] = py::int_(batch.shape[i]);
    py::array out = py::module_::import("numpy").attr("empty")(shape, "O");
    auto** slots = static_cast<PyObject**>(out.mutable_data());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        PyObject* s = to_str(texts[i]);
        Py_XDECREF(slots[i]);
        slots[i] = s;
    }
    return out;
}

py::object to_python(const Batch& batch, const std::vector<std::int32_t>& codes) {
    if (batch.form != Form::array)
        return scalar_or_list(batch, codes, [](std::int32_t c) { return PyLong_FromLong(c); });
    py::array_t<std::int32_t> out(batch.shape);
    std::copy(codes.begin(), codes.end(), out.mutable_data());
    return out;
}

}  // namespace isofmt::python
