// Python values to host values and texts, and results back to Python: a
// scalar, a list (or tuple) or a numpy array, read in one pass.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <vector>

#include <isofmt/host.h>

namespace isofmt::python {

namespace py = pybind11;

// What the caller handed over, and so the shape of what goes back.
enum class Form { scalar, list, array };

// The values of one call, flattened: numbers for the numeric formats, texts
// (nullopt for None and NaN) for the packed formats and the informats.
struct Batch {
    Form form = Form::scalar;
    std::vector<py::ssize_t> shape;  // for Form::array
    std::vector<double> numbers;
    std::vector<std::optional<std::string>> texts;
    std::size_t count = 0;
};

// Fetches the datetime C API; called once when the module is imported.
void init_values();

// Host values: numbers, None/NaN/NaT (missing), datetime (seconds since
// 1960-01-01T00:00:00, an aware one taken in UTC), date (days since
// 1960-01-01), time and timedelta (seconds), numpy datetime64 (days for the
// units D and coarser, else seconds), timedelta64 (seconds) and ISO 8601
// literals (read by the host).
Batch read_numbers(const Host& host, const py::handle& values);

// Texts: str (or bytes, taken as they are); None and float NaN are missing.
Batch read_texts(const py::handle& values);

// The results in the caller's form: a str, a list, or an object array of the
// input's shape. A missing entry (nullopt) becomes None.
py::object to_python(const Batch& batch, const std::vector<std::optional<std::string>>& texts);

// Integer results (problem codes) in the caller's form: an int, a list, or
// an int32 array of the input's shape.
py::object to_python(const Batch& batch, const std::vector<std::int32_t>& codes);

}  // namespace isofmt::python
