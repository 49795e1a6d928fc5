// isofmt convert: reads CSV, runs the chosen columns through formats or
// informats and writes CSV with every row, in the input's order. Blocks of
// whole records are converted on all cores; a few blocks are in flight.
#include "csv_convert.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>

#include <CLI/CLI.hpp>

#include "csv.h"
#include "abi/problems.h"
#include "pipeline.h"
#include "progress.h"

namespace isofmt::tool {
namespace {

constexpr std::size_t kBlockRecords = 4096;
constexpr std::size_t kBlockBytes = 1 << 20;
constexpr std::size_t kShownValue = 60;    // bytes of a value shown in a report
constexpr std::size_t kShownMessage = 200;

// A cell's text fit for a one-line report: at most kShownValue bytes,
// control bytes escaped.
std::string shown(std::string_view text, std::size_t limit = kShownValue) {
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > limit) out += "...";
    return out;
}

// The meaning of a format's status word.
const char* status_text(std::int32_t status) {
    switch (static_cast<std::uint32_t>(status)) {
    case 0x80002027: return "width below the format's minimum";
    case 0x80002028: return "width above the format's maximum";
    case 0x80002029: return "decimals below the format's minimum";
    case 0x8000202a: return "decimals above the format's maximum";
    case 0x8001d815: return "the value lies outside the calendar range";
    case 0x8001d825: return "the format reported a problem";
    case 0x8001d826: return "the width exceeds the output capacity; the text was fitted into it";
    case 0x80002021: return "the packed value holds a character that is not a hexadecimal digit";
    }
    return "the format failed";
}

struct Problem {
    long line = 0;
    std::string column;  // empty for a problem of the whole row
    std::string value, code, message;
    std::string said;    // the line for standard error
};

// One conversion: a field of every row through a format or informat.
struct Column {
    std::size_t field = 0;
    std::string label;   // how reports name the column: its header, or its number
    std::string header;  // the header of the new column (--keep)
    Selection selection;
    Request request;
    std::string missing;  // the routine's rendering of a missing value
    ValueRules rules;     // how cells are read: the missing text reads as missing
    // A numeric format's request checked once, and its reading of a cell
    // with what stays the same worked out once (set by make_plan when the
    // columns are in place, as the reader keeps a reference to rules).
    std::shared_ptr<const Host::NumericFormat> numeric;
    std::shared_ptr<const ValueReader> reader;
};

struct Plan {
    std::vector<Column> columns;
    std::vector<std::vector<const Column*>> by_field;  // the conversions of each field
    std::size_t fields = 0;                            // the fields every row should have
    bool header = true, keep = false, trim = false;
    char delimiter = ',';
};

std::string_view trim_blanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

bool all_digits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string in_quotes(std::string_view t) { return "'" + shown(t) + "'"; }

// The routine's rendering of a missing value: a NaN for the numeric formats,
// an all-F packed value for the duration and interval formats.
std::string missing_rendering(const Host& host, const Column& c) {
    const CatalogueEntry& e = *c.selection.entry;
    switch (e.shape) {
    case Shape::numeric:
        return host.format(e, std::numeric_limits<double>::quiet_NaN(), c.request).text;
    case Shape::duration_format:
        return host.format_packed(e, std::string(16, 'F'), c.request).text;
    case Shape::interval_format:
        return host.format_packed(e, std::string(32, 'F'), c.request).text;
    case Shape::informat:
        break;
    }
    return host.informat(e, "", c.request).text;
}

// --column and --informat: COLUMN=FORMAT, the column a header name or a
// number from 1.
Column resolve(const Host& host, const Settings& settings, const std::string& option,
               const std::string& argument, bool informat, const std::vector<std::string>& header,
               std::size_t fields) {
    const std::string at = option + " " + in_quotes(argument) + ": ";
    const std::size_t eq = argument.rfind('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == argument.size())
        throw UsageError(at + "expected COLUMN=FORMAT, for example start=E8601DZ26.3");
    const std::string name = argument.substr(0, eq), format = argument.substr(eq + 1);

    Column c;
    try {
        if (informat) {
            c.selection = select_format(host, format, Kind::informat);
        } else {
            // A name that is both a format and an informat is the format.
            try {
                c.selection = select_format(host, format, Kind::format);
            } catch (const UsageError& as_format) {
                try {
                    c.selection = select_format(host, format, Kind::informat);
                } catch (const UsageError&) {
                    throw as_format;
                }
            }
        }
    } catch (const UsageError& e) {
        throw UsageError(at + e.what());
    }

    bool found = false;
    for (std::size_t i = 0; i < header.size() && !found; ++i)
        if (header[i] == name) c.field = i, found = true;
    if (!found && all_digits(name)) {
        std::size_t n = 0;
        const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
        if (ec != std::errc() || n < 1 || n > fields)
            throw UsageError(at + "no column " + name + " (the first row has " + std::to_string(fields) +
                             (fields == 1 ? " field)" : " fields)"));
        c.field = n - 1;
        found = true;
    }
    if (!found) throw UsageError(at + "no column " + in_quotes(name) + " in the header");
    c.label = header.empty() ? std::to_string(c.field + 1) : header[c.field];
    c.header = (header.empty() ? c.label : header[c.field]) + "_" + c.selection.entry->name;
    c.request = make_request(host, settings, c.selection);
    c.rules = ValueRules{settings.environment.missing_text};
    c.missing = missing_rendering(host, c);
    return c;
}

Plan make_plan(const Host& host, const Settings& settings, const CsvOptions& options, char delimiter,
               const csv::Block& first) {
    Plan plan;
    plan.header = !options.no_header;
    plan.keep = options.keep;
    plan.trim = options.trim;
    plan.delimiter = delimiter;
    const csv::Block::Record& r = first.records.front();
    plan.fields = r.fields;
    std::vector<std::string> header;
    if (plan.header)
        for (std::size_t i = 0; i < r.fields; ++i) header.emplace_back(first.field(r, i));
    for (const std::string& a : options.columns)
        plan.columns.push_back(resolve(host, settings, "--column", a, false, header, r.fields));
    for (const std::string& a : options.informats)
        plan.columns.push_back(resolve(host, settings, "--informat", a, true, header, r.fields));
    plan.by_field.resize(plan.fields);
    for (const Column& c : plan.columns) {
        std::vector<const Column*>& of_field = plan.by_field[c.field];
        if (!of_field.empty() && !plan.keep)
            throw UsageError("column " + in_quotes(c.label) +
                             " is given more than once (--keep writes each conversion beside it)");
        of_field.push_back(&c);
    }
    for (Column& c : plan.columns) {
        const CatalogueEntry& e = *c.selection.entry;
        if (e.kind != Kind::format || e.shape != Shape::numeric) continue;
        try {
            c.numeric = std::make_shared<const Host::NumericFormat>(host.prepare_format(e, c.request));
        } catch (const Error&) {
            continue;  // the general path then refuses each cell as it always has
        }
        c.reader = std::make_shared<const ValueReader>(e, c.rules);
    }
    return plan;
}

// The text of one cell through a column's routine, in the column's missing
// text or in scratch; its problem, if any, goes to problems. A numeric
// format renders straight into scratch, without an allocation.
std::string_view convert_cell(const Host& host, const Column& c, std::string_view cell, long line,
                              std::vector<Problem>& problems, std::string& scratch) {
    const CatalogueEntry& entry = *c.selection.entry;
    // An empty cell is a missing value.
    if (entry.kind == Kind::format && trim_blanks(cell).empty()) return c.missing;
    auto report = [&](std::string code, std::string message, std::string said) {
        problems.push_back({line, c.label, shown(cell), std::move(code), std::move(message),
                            "line " + std::to_string(line) + ", column " + c.label + ": " + said});
    };
    auto unread = [&](const std::string& problem) {
        const std::string message = shown(problem, kShownMessage);
        report("value", message, message);
        return std::string_view(c.missing);
    };
    std::string_view text;
    std::int32_t status = 0;
    if (c.numeric) {
        FormatValue value;
        std::string problem;
        if (!c.reader->read(cell, value, problem)) return unread(problem);
        if (scratch.size() < c.numeric->room()) scratch.resize(c.numeric->room());
        const Written w = c.numeric->format_to(value.number, scratch.data(), scratch.size());
        text = std::string_view(scratch.data(), w.length);
        status = w.status;
    } else {
        try {
            Result r = run(host, c.selection, c.request, cell, c.rules);
            scratch = std::move(r.text);
            text = scratch;
            status = r.status;
        } catch (const UsageError& e) {
            return unread(e.what());
        }
    }
    if (status != 0) {
        if (entry.kind == Kind::informat) {
            const char* message = problem_text(status);
            report(std::to_string(status), message,
                   "problem " + std::to_string(status) + " (" + message + ") in " + in_quotes(cell));
        } else {
            char word[16];
            std::snprintf(word, sizeof word, "0x%08x", static_cast<unsigned>(status));
            report(word, status_text(status),
                   std::string("status ") + word + " (" + status_text(status) + ") for " + in_quotes(cell));
        }
    }
    return text;
}

// A block of records and what became of them.
struct Job {
    csv::Block block;
    bool first = false;  // the block holds the first record (the header, if any)
    std::string out;
    std::string scratch;  // the text of the cell being converted
    std::vector<Problem> problems;
    std::uint64_t rows = 0;
    std::uint64_t bytes_read = 0;  // input consumed when the block was cut
};

class Converter {
public:
    Converter(const Host& host, const Plan& plan) : host_(host), plan_(plan) {}

    void operator()(Job& job) const {
        const csv::Block& b = job.block;
        job.out.clear();
        job.out.reserve(b.text.size() + b.text.size() / 2);
        for (std::size_t i = 0; i < b.records.size(); ++i) {
            const csv::Block::Record& r = b.records[i];
            const std::size_t start = job.out.size();
            if (job.first && i == 0 && plan_.header)
                write_header(job.out, b, r);
            else if (r.fields != plan_.fields)
                pass_through(job, b, r);
            else
                convert_row(job, b, r);
            // A last row of one empty field without a line end would write
            // nothing, and the row would be lost: it is written quoted.
            if (job.out.size() == start && r.ending == csv::Ending::none) job.out += "\"\"";
            job.out += csv::ending_text(r.ending);
        }
        job.rows = b.records.size();
    }

private:
    void put(std::string& out, std::size_t i, std::string_view field) const {
        if (i > 0) out += plan_.delimiter;
        csv::append_field(out, field, plan_.delimiter);
    }

    void write_header(std::string& out, const csv::Block& b, const csv::Block::Record& r) const {
        std::size_t n = 0;
        for (std::size_t f = 0; f < r.fields; ++f) {
            put(out, n++, b.field(r, f));
            if (plan_.keep)
                for (const Column* c : plan_.by_field[f]) put(out, n++, c->header);
        }
    }

    void pass_through(Job& job, const csv::Block& b, const csv::Block::Record& r) const {
        for (std::size_t f = 0; f < r.fields; ++f) put(job.out, f, b.field(r, f));
        const std::string message = std::to_string(r.fields) + (r.fields == 1 ? " field" : " fields") +
                                    " where " + std::to_string(plan_.fields) + " were expected";
        std::string first = r.fields ? std::string(b.field(r, 0)) : std::string();
        job.problems.push_back({r.line, "", shown(first), "fields", message,
                                "line " + std::to_string(r.line) + ": " + message +
                                    "; the row is passed through unchanged"});
    }

    void convert_row(Job& job, const csv::Block& b, const csv::Block::Record& r) const {
        std::size_t n = 0;
        for (std::size_t f = 0; f < r.fields; ++f) {
            const std::string_view cell = b.field(r, f);
            const std::vector<const Column*>& columns = plan_.by_field[f];
            if (columns.empty() || plan_.keep) put(job.out, n++, cell);
            for (const Column* c : columns) {
                const std::string_view text = convert_cell(host_, *c, cell, r.line, job.problems, job.scratch);
                put(job.out, n++, plan_.trim ? trim_blanks(text) : text);
            }
        }
    }

    const Host& host_;
    const Plan& plan_;
};

// Problems to standard error, one line each, or to a file as CSV.
class Reporter {
public:
    explicit Reporter(const std::string& path) {
        if (path.empty()) return;
        file_ = std::fopen(path.c_str(), "wb");
        if (!file_) throw UsageError("--problems " + in_quotes(path) + ": " + std::strerror(errno));
        std::fputs("line,column,value,code,message\n", file_);
    }
    ~Reporter() {
        if (file_) std::fclose(file_);
    }
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;

    void report(const Problem& p) {
        ++count_;
        if (!file_) {
            std::fprintf(stderr, "isofmt: %s\n", p.said.c_str());
            return;
        }
        std::string row = std::to_string(p.line);
        for (const std::string* f : {&p.column, &p.value, &p.code, &p.message}) {
            row += ',';
            csv::append_field(row, *f, ',');
        }
        row += '\n';
        std::fwrite(row.data(), 1, row.size(), file_);
    }

    void close() {
        if (file_ && std::fclose(file_) != 0) {
            file_ = nullptr;
            throw std::runtime_error("cannot write the problems file");
        }
        file_ = nullptr;
    }

    std::uint64_t count() const { return count_; }

private:
    std::FILE* file_ = nullptr;
    std::uint64_t count_ = 0;
};

char parse_delimiter(const std::string& text) {
    if (text == "\\t" || text == "tab" || text == "TAB") return '\t';
    if (text.size() != 1 || text[0] == '"' || text[0] == '\n' || text[0] == '\r')
        throw UsageError("--delimiter " + in_quotes(text) +
                         ": one character other than a quote or a line break (or tab)");
    return text[0];
}

int parse_jobs(const std::string& text) {
    if (text.empty()) return std::max(1u, std::thread::hardware_concurrency());
    const std::int32_t n = parse_word("--jobs", text);
    if (n < 1 || n > 256) throw UsageError("--jobs " + in_quotes(text) + ": a number from 1 to 256");
    return n;
}

// The input stream, closed at the end unless it is standard input.
struct Input {
    std::FILE* stream = stdin;
    std::uint64_t size = 0;  // when it is a regular file
    explicit Input(const std::string& path) {
        if (!path.empty() && path != "-") {
            stream = std::fopen(path.c_str(), "rb");
            if (!stream) throw UsageError("cannot open " + in_quotes(path) + ": " + std::strerror(errno));
        }
        struct stat st {};
        if (::fstat(fileno(stream), &st) == 0 && S_ISREG(st.st_mode)) size = static_cast<std::uint64_t>(st.st_size);
    }
    ~Input() {
        if (stream != stdin) std::fclose(stream);
    }
};

}  // namespace

void add_csv_options(CLI::App* c, CsvOptions& o) {
    c->add_option("FILE", o.file, "the CSV file; - or nothing reads standard input");
    c->add_option("--column", o.columns,
                  "COLUMN=FORMAT: a header name or a number from 1, and a format (or an informat where "
                  "no format has the name), e.g. start=E8601DZ26.3; repeatable")
        ->type_name("COL=FORMAT");
    c->add_option("--informat", o.informats, "COLUMN=FORMAT through the informat, e.g. span=IS860VL; repeatable")
        ->type_name("COL=FORMAT");
    c->add_option("--delimiter", o.delimiter, "the field delimiter (default ,; tab or \\t for TSV)")
        ->type_name("CHAR");
    c->add_flag("--no-header", o.no_header, "the first row is data, not column names");
    c->add_flag("--keep", o.keep, "keep each column and write its conversion beside it as NAME_FORMAT");
    c->add_flag("--trim", o.trim, "trim the blanks around each converted text");
    c->add_option("--problems", o.problems, "write the problems to FILE as CSV instead of standard error")
        ->type_name("FILE");
    c->add_option("--jobs", o.jobs, "threads converting (default: every core)")->type_name("N");
}

int csv_command(const Host& host, const Settings& settings, const CsvOptions& options) {
    if (options.columns.empty() && options.informats.empty())
        throw UsageError("no --column or --informat given (COLUMN=FORMAT)");
    const char delimiter = parse_delimiter(options.delimiter);
    const int jobs = parse_jobs(options.jobs);
    Input input(options.file);
    csv::Reader reader(input.stream, delimiter);

    auto job = std::make_unique<Job>();
    if (!reader.next(job->block, kBlockRecords, kBlockBytes)) return 0;  // no rows at all
    job->first = true;
    job->bytes_read = reader.bytes_read();
    // Every argument is checked before anything is written.
    const Plan plan = make_plan(host, settings, options, delimiter, job->block);
    Reporter reporter(options.problems);
    Progress progress(input.size);

    std::uint64_t rows = 0;
    const Converter convert(host, plan);
    auto write = [&](Job& j) {
        if (!j.out.empty() && std::fwrite(j.out.data(), 1, j.out.size(), stdout) != j.out.size())
            throw std::runtime_error(std::string("cannot write the output: ") + std::strerror(errno));
        for (const Problem& p : j.problems) {
            progress.finish();
            reporter.report(p);
        }
        rows += j.rows;
        progress.update(rows, j.bytes_read);
    };
    OrderedPipeline<Job> pipeline(jobs, 2 * static_cast<std::size_t>(jobs) + 2, convert, write);
    do {
        pipeline.push(std::move(job));
        job = std::make_unique<Job>();
        if (!reader.next(job->block, kBlockRecords, kBlockBytes)) break;
        job->bytes_read = reader.bytes_read();
    } while (true);
    pipeline.finish();
    progress.finish();
    reporter.close();
    if (std::fflush(stdout) != 0)
        throw std::runtime_error(std::string("cannot write the output: ") + std::strerror(errno));
    return reporter.count() > 0 ? 1 : 0;
}

}  // namespace isofmt::tool
