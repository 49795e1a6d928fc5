// isofmt: try the formats, convert columns of values, show what the plug-ins
// do. The tool parses its arguments and calls the reference host; the host
// and the plug-ins do the rest.
#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>

#include <CLI/CLI.hpp>

#include "csv_convert.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

constexpr const char* kCommands = "list, format, informat, convert or demo";
constexpr std::string_view kPluginFiles[] = {"dtbasic1.so", "dtextnd1.so", "dtaltfm1.so", "dtclockf.so"};

// An argument that names an option rather than a value: "--name" or
// "--name=value" with a letter after the dashes, and "-h". Anything else that
// begins with '-' is a value: -138061, -.5, -P1D, --01-15, and "-" itself.
bool looks_like_option(const std::string& a) {
    if (a == "-h") return true;
    return a.size() > 2 && a[0] == '-' && a[1] == '-' && std::isalpha(static_cast<unsigned char>(a[2]));
}

bool asks_for_help(const std::string& name) { return name == "-h" || name == "--help" || name == "--version"; }

// CLI11 takes "-P1D" for an option and stops at "--" once an option has fallen
// through to the main command; so the arguments are put in a fixed order
// first: the main command's options, the command and its options, then "--"
// and every value in the order given. An option keeps its value with "=", so
// that a value such as "-03:00" stays with it. Options and values may thus be
// mixed freely on the command line, and values may begin with '-'. What
// CLI11 would word in its own way (an unknown option, an option without its
// value or given twice, a flag given a value, no command) is reported here.
std::vector<std::string> order_arguments(CLI::App& app, const std::map<std::string, CLI::App*>& commands,
                                         int argc, char** argv) {
    std::vector<std::string> main_options, command_options, values;
    std::set<std::string> seen;
    CLI::App* command = nullptr;
    std::string command_name;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (command && a == "--") {
            values.insert(values.end(), argv + i + 1, argv + argc);
            break;
        }
        if (looks_like_option(a)) {
            const std::string name = a.substr(0, a.find('='));
            CLI::Option* own = command ? command->get_option_no_throw(name) : nullptr;
            CLI::Option* of_main = own ? nullptr : app.get_option_no_throw(name);
            CLI::Option* option = own ? own : of_main;
            if (!option)
                throw UsageError("unknown option " + quote(name) +
                                 (command ? " for " + command_name : std::string()) + " (see 'isofmt " +
                                 (command ? command_name + " " : std::string()) + "--help')");
            // An option of one value may be given once; a list (convert's --column) again and again.
            if (!seen.insert(name).second && option->get_expected_max() <= 1)
                throw UsageError("option " + quote(name) + " given twice");
            help = help || asks_for_help(name);
            auto& into = of_main ? main_options : command_options;
            const bool takes_value = option->get_expected_max() > 0;
            if (!takes_value) {
                if (name.size() != a.size()) throw UsageError("option " + quote(name) + " takes no value");
                into.push_back(a);
                continue;
            }
            if (name.size() == a.size()) {
                if (i + 1 >= argc)
                    throw UsageError("option " + quote(name) + " needs a value (" + option->get_type_name() + ")");
                a += "=" + std::string(argv[++i]);
            }
            if (a.size() == name.size() + 1) {
                // An empty value ("--missing ''"): CLI11 reads "--name=" as a
                // name still waiting for its value, so it is given apart.
                into.push_back(name);
                into.push_back("");
                continue;
            }
            into.push_back(a);
            continue;
        }
        if (!command) {
            auto found = commands.find(a);
            if (found == commands.end())
                throw UsageError("unknown command " + quote(a) + " (" + kCommands + "; see 'isofmt --help')");
            command = found->second;
            command_name = a;
            continue;
        }
        values.push_back(a);
    }
    if (!help) {
        if (!command) throw UsageError(std::string("no command given (") + kCommands + "; see 'isofmt --help')");
        const bool converts = command_name == "format" || command_name == "informat";
        if (converts && values.empty())
            throw UsageError("no FORMAT given (NAME[W][.D], see 'isofmt list' and 'isofmt " + command_name +
                             " --help')");
        if ((command_name == "list" || command_name == "demo") && !values.empty())
            throw UsageError(command_name + " takes no values: " + quote(values.front()));
    }
    std::vector<std::string> ordered = main_options;
    if (command) {
        ordered.push_back(command_name);
        ordered.insert(ordered.end(), command_options.begin(), command_options.end());
    }
    if (!values.empty()) {
        ordered.push_back("--");
        ordered.insert(ordered.end(), values.begin(), values.end());
    }
    return ordered;
}

// The text of the numeric options and whether each was given: an empty
// text is a bad number, not the default.
struct RawOptions {
    std::string capacity, options, dt_options, mode;
    CLI::Option *capacity_given = nullptr, *options_given = nullptr, *dt_options_given = nullptr,
                *mode_given = nullptr, *plugins_given = nullptr;
};

bool given(const CLI::Option* o) { return o && o->count() > 0; }

constexpr std::int32_t kParseModes[] = {0, 0x80, 0x100, 0x200};

Settings finish_settings(Settings s, const RawOptions& raw) {
    if (given(raw.capacity_given)) {
        const std::int32_t c = parse_word("--capacity", raw.capacity);
        if (c < 0 || c > kMaxField)
            throw UsageError("--capacity: " + quote(raw.capacity) + " is out of range (0 to " +
                             std::to_string(kMaxField) + ")");
        s.capacity = c;
    }
    if (given(raw.options_given)) s.options = parse_word("--options", raw.options);
    if (given(raw.dt_options_given)) s.dt_options = parse_word("--dt-options", raw.dt_options);
    if (given(raw.mode_given)) {
        s.mode = parse_word("--mode", raw.mode);
        if (std::find(std::begin(kParseModes), std::end(kParseModes), s.mode) == std::end(kParseModes))
            throw UsageError("--mode: " + quote(raw.mode) +
                             " is not a parse mode (0, 0x80, 0x100 or 0x200: exact values, not bits)");
    }
    if (given(raw.plugins_given) && s.plugins.empty()) throw UsageError("--plugins: no such directory ''");
    return s;
}

// What is wrong with a --plugins directory, if anything before loading.
void check_plugin_directory(const std::string& directory) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(directory, ec);
    if (!fs::exists(st)) throw UsageError("--plugins: no such directory " + quote(directory));
    if (!fs::is_directory(st)) throw UsageError("--plugins: " + quote(directory) + " is not a directory");
    const bool any = std::any_of(std::begin(kPluginFiles), std::end(kPluginFiles), [&](std::string_view f) {
        return fs::exists(fs::path(directory) / f, ec);
    });
    if (!any)
        throw UsageError("--plugins: no plug-ins in " + quote(directory) +
                         " (none of dtbasic1.so, dtextnd1.so, dtaltfm1.so, dtclockf.so)");
}

std::unique_ptr<Host> start_host(const Settings& s) {
    HostConfig config;
    config.environment = s.environment;
    config.debug = s.debug;
    std::unique_ptr<Host> host;
    try {
        host = std::make_unique<Host>(config);
    } catch (const std::exception&) {
        // The zone is the one setting the host can refuse.
        throw UsageError("--tz: unknown time zone " + quote(s.environment.time_zone) +
                         " (an IANA name such as Europe/Paris, or an offset such as +05:30, or UTC)");
    }
    if (!s.plugins.empty()) {
        check_plugin_directory(s.plugins);
        try {
            host->load_directory(s.plugins);
        } catch (const std::exception& e) {
            throw UsageError("--plugins: cannot load the plug-ins of " + quote(s.plugins) + ": " + e.what());
        }
        return host;
    }
    try {
        host->load_plugins("");  // the search path: ISOFMT_PLUGIN_PATH, then beside the program
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string(e.what()) + " (give their directory with --plugins DIR)");
    }
    return host;
}

constexpr const char* kMainFooter = R"(Options of every command: --tz ZONE, --debug TEXT, --missing TEXT, --plugins DIR.
'isofmt COMMAND --help' shows a command's own options and examples.

Examples:
  isofmt format E8601DZ26.3 0                   1960-01-01T00:00:00.000Z (two blanks first)
  isofmt format E8601DT 2020-02-29              2020-02-29T00:00:00: a date is its midnight
  isofmt format --tz Europe/Paris E8601DX 2020-07-01T12:00:00Z
  isofmt informat IS860DU P1Y2M3DT4H5M6S        0001203040506FFC
  printf '0\n86399.6\n' | isofmt format CLKDT16 -
  isofmt list --long

Exit status:
  0  every value was handled, whatever the routines returned
  1  with --keep-going: some value could not be read (each one reported on standard error)
  2  usage error: unknown command, option, format or zone, bad width, unreadable value...
  3  standard input could not be read or standard output could not be written
A closed pipe (isofmt ... | head -1) ends the tool quietly, by SIGPIPE.
See docs/reference.md for every format, value range, packed layout, option bit and problem code.)";

constexpr const char* kFormatFooter = R"(VALUE is read as the kind of value the format takes (isofmt list shows it):
  a number, the host value as it stands: days for dates, seconds for times,
    seconds since 1960-01-01T00:00:00 for datetimes;
  . or nan or the --missing text: a missing value;
  an ISO 8601 literal of that kind, extended or basic form: 2020-01-15, 10:30:00,
    T103000, 2020-01-15T10:30:00.5, 20200115T103000Z; a date given to a datetime
    format is its midnight; a literal with a zone designator (Z, +01:00, -0500) is
    converted to universal time, and refused by the local formats (..LX, ..LZ);
  for IS860DU and IS860PD exactly 16 hexadecimal digits, for IS860VL 32.
- reads one value a line from standard input; one output line per value.

Examples:
  isofmt format E8601DA -138061 2008-09-15 .
  isofmt format B8601DZ20 2020-01-15T10:30:00+01:00        20200115T093000+0000
  isofmt format --status --validate E8601DA9 0             (empty text) TAB 0x80002027
  isofmt format --options 1 IS860DU14 0001203040506FFC     P1Y2M3DT4H5M6S
  printf '0\nyesterday\n1\n' | isofmt format --keep-going E8601DA -)";

constexpr const char* kInformatFooter = R"(TEXT is ISO 8601 text: a duration (P1Y2M10DT2H30M, PT36.5H, P3W), a datetime
(2020-01-15T10:30:00, 20200115T103000Z) or an interval (2020-01-15T10:30:00/P1M).
The output is the packed value: 16 hexadecimal digits (IS860DU, IS860PD) or 32 (IS860VL).
--mode takes one of the exact values 0 (lax), 0x80 (strict), 0x100 (lax, and the
missing notation . or the --missing text gives an all-F value) or 0x200 (strict,
omitted components written as - allowed).

Examples:
  isofmt informat IS860DU P1Y2M3DT4H5M6S -PT30M
  isofmt informat --status IS860VL P1D/P2D       all F TAB 14 TAB interval has 2 durations
  isofmt informat --mode 0x100 IS860VL .
  printf 'PT30M\nP1H\n' | isofmt informat --keep-going --status IS860DU -)";

// The command line: the main command with the options of every command, and
// the four commands.
struct CommandLine {
    CLI::App app{"isofmt: ISO 8601 date, time, duration and interval formats and informats, "
                 "and classic clock formats, through the isofmt plug-ins",
                 "isofmt"};
    Settings settings;
    RawOptions raw;
    bool long_list = false;
    std::string format_name;
    std::vector<std::string> values;
    CLI::App* list = app.add_subcommand("list", "the formats and informats: NAME KIND MODULE MINW MAXW DEFW "
                                                "MAXD VALUE, one a line");
    CLI::App* demo = app.add_subcommand("demo", "sample values through every format, as tables");
    CLI::App* format = app.add_subcommand(
        "format", "render values: numbers, . or nan, ISO 8601 literals, or packed hexadecimal "
                  "(IS860DU, IS860PD, IS860VL); - reads one value a line from standard input");
    CLI::App* informat = app.add_subcommand(
        "informat", "read ISO 8601 texts into packed values; - reads one text a line from "
                    "standard input");
    CsvOptions csv;
    CLI::App* convert = app.add_subcommand(
        "convert", "CSV columns through formats or informats: every row kept, in order, on all cores");
    const std::map<std::string, CLI::App*> commands{{"list", list},         {"demo", demo},
                                                    {"format", format},     {"informat", informat},
                                                    {"convert", convert}};

    CommandLine() {
        app.set_version_flag("--version", std::string("isofmt ") + ISOFMT_VERSION, "the version, and end");
        app.add_option("--tz", settings.environment.time_zone,
                       "time zone: an IANA name or a fixed offset such as +05:30 (default UTC)")
            ->type_name("ZONE");
        app.add_option("--debug", settings.debug,
                       "the host option DEBUG; N8601DIAG: the IS860VL format logs what it cannot show")
            ->type_name("TEXT");
        app.add_option("--missing", settings.environment.missing_text,
                       "the missing-value text, written for missing values and read as one (default .)")
            ->type_name("TEXT");
        raw.plugins_given = app.add_option("--plugins", settings.plugins, "the directory of the plug-ins")
                                ->type_name("DIR");
        app.footer(kMainFooter);
        list->add_flag("--long", long_list, "with headers, ranges, descriptions and samples");

        for (CLI::App* c : {format, informat}) {
            c->add_option("FORMAT", format_name, "NAME[W][.D], for example E8601DZ26.3")->required();
            c->add_option("VALUE", values, "the values, or - for standard input");
            c->add_flag("--status", settings.status,
                        "after each text: a TAB and the status (formats: 0x%08x; informats: the problem "
                        "code and, when not 0, a TAB and its message)");
            c->add_flag("--validate", settings.validate, "set the validation flag of the call block");
            c->add_flag("--keep-going", settings.keep_going,
                        "a value that cannot be read (format) or gives a problem (informat) is reported "
                        "with its line number and the run goes on; exit status 1");
            raw.capacity_given = c->add_option("--capacity", raw.capacity,
                                               "output capacity (default: the width; 32 or 16 for the informats)")
                                     ->type_name("N");
        }
        raw.options_given = format->add_option("--options", raw.options,
                                               "render option bits, decimal or 0x hex (IS860VL: for duration halves)")
                                ->type_name("N");
        raw.dt_options_given =
            format->add_option("--dt-options", raw.dt_options, "render option bits of the datetime halves of IS860VL")
                ->type_name("N");
        raw.mode_given = informat->add_option("--mode", raw.mode, "parse mode: 0, 0x80, 0x100 or 0x200 (exact values)")
                             ->type_name("N");
        const std::string common =
            "Options of every command (see isofmt --help): --tz ZONE, --debug TEXT, --missing TEXT, "
            "--plugins DIR.\n\n";
        list->footer(common + "Example:\n  isofmt list --long");
        demo->footer(common + "Example:\n  isofmt demo --tz America/New_York --missing NA");
        format->footer(common + kFormatFooter);
        informat->footer(common + kInformatFooter);
        add_csv_options(convert, csv);
        convert->add_flag("--validate", settings.validate, "set the validation flag of the call block");
        convert->add_option("--capacity", raw.capacity, "output capacity")->type_name("N");
        convert->add_option("--options", raw.options, "render options of the formats")->type_name("N");
        convert->add_option("--dt-options", raw.dt_options, "IS860VL datetime halves")->type_name("N");
        convert->add_option("--mode", raw.mode, "parse mode of the informats")->type_name("N");
        convert->footer(common + "Example:\n  isofmt convert in.csv --column start=E8601DZ26.3 --informat span=IS860DU");
    }
};

int run_tool(int argc, char** argv) {
    CommandLine cl;
    std::vector<std::string> args = order_arguments(cl.app, cl.commands, argc, argv);
    std::reverse(args.begin(), args.end());
    try {
        cl.app.parse(args);
    } catch (const CLI::Success& e) {  // --help, --version
        const int status = cl.app.exit(e);
        finish_output();
        return status;
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }

    // The numeric options of whichever command was given.
    for (CLI::App* c : {cl.format, cl.informat, cl.convert}) {
        if (!c->parsed()) continue;
        cl.raw.capacity_given = c->get_option_no_throw("--capacity");
        cl.raw.options_given = c->get_option_no_throw("--options");
        cl.raw.dt_options_given = c->get_option_no_throw("--dt-options");
        cl.raw.mode_given = c->get_option_no_throw("--mode");
    }
    Settings s = finish_settings(cl.settings, cl.raw);
    if (cl.list->parsed()) s.environment.time_zone = "UTC";  // the list shows no zone
    const std::unique_ptr<Host> host = start_host(s);
    int status = kExitOk;
    if (cl.list->parsed()) {
        status = list_command(*host, cl.long_list);
    } else if (cl.demo->parsed()) {
        status = demo_command(*host, s);
    } else if (cl.convert->parsed()) {
        status = csv_command(*host, s, cl.csv);
    } else {
        const Kind kind = cl.format->parsed() ? Kind::format : Kind::informat;
        status = convert_command(*host, s, kind, cl.format_name, cl.values);
    }
    finish_output();
    return status;
}

}  // namespace
}  // namespace isofmt::tool

int main(int argc, char** argv) {
    // A closed pipe ends the tool quietly, even when the caller ignored SIGPIPE.
    std::signal(SIGPIPE, SIG_DFL);
    std::ios::sync_with_stdio(false);
    using namespace isofmt::tool;
    int status = kExitOk;
    try {
        status = run_tool(argc, argv);
    } catch (const UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "isofmt: %s\n", e.what());
        return kExitUsage;
    } catch (const IoError& e) {
        std::fprintf(stderr, "isofmt: %s\n", e.what());
        return kExitIo;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "isofmt: %s\n", e.what());
        return 1;
    }
    return status;
}
