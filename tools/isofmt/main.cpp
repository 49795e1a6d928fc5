// isofmt: try the formats, convert columns of values, show what the plug-ins
// do. The tool parses its arguments and calls the reference host; the host
// and the plug-ins do the rest.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>

#include <CLI/CLI.hpp>

#include "csv_convert.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

// An argument that names an option rather than a value: "--name" or
// "--name=value" with a letter after the dashes, and "-h". Anything else that
// begins with '-' is a value: -138061, -.5, -P1D, --01-15, and "-" itself.
bool looks_like_option(const std::string& a) {
    if (a == "-h") return true;
    return a.size() > 2 && a[0] == '-' && a[1] == '-' && std::isalpha(static_cast<unsigned char>(a[2]));
}

// CLI11 takes "-P1D" for an option and stops at "--" once an option has fallen
// through to the main command; so the arguments are put in a fixed order
// first: the main command's options, the command and its options, then "--"
// and every value in the order given. An option keeps its value with "=", so
// that a value such as "-03:00" stays with it. Options and values may thus be
// mixed freely on the command line, and values may begin with '-'. An option
// that neither the command nor the main command knows is reported here.
std::vector<std::string> order_arguments(CLI::App& app, const std::map<std::string, CLI::App*>& commands,
                                         int argc, char** argv) {
    std::vector<std::string> main_options, command_options, values;
    CLI::App* command = nullptr;
    std::string command_name;
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
                throw UsageError("unknown option '" + name + "'" +
                                 (command ? " for " + command_name : std::string()));
            auto& into = of_main ? main_options : command_options;
            if (option->get_expected_max() > 0 && name.size() == a.size() && i + 1 < argc)
                a += "=" + std::string(argv[++i]);
            if (a.size() == name.size() + 1 && a.back() == '=') {
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
            if (found != commands.end()) {
                command = found->second;
                command_name = a;
                continue;
            }
            if (a != "--") throw UsageError("unknown command '" + a + "' (list, format, informat, convert or demo)");
            main_options.push_back(a);  // CLI11 reports it
            continue;
        }
        values.push_back(a);
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

struct RawOptions {
    std::string capacity, options, dt_options, mode;
};

void add_conversion_options(CLI::App* c, Settings& s, RawOptions& raw) {
    c->add_flag("--status", s.status,
                "after each text: a TAB and the status (formats: 0x%08x; informats: the problem "
                "code and, when not 0, a TAB and its message)");
    c->add_flag("--validate", s.validate, "set the validation flag of the call block");
    c->add_option("--capacity", raw.capacity,
                  "output capacity (default: the width; 32 or 16 for the informats)")
        ->type_name("N");
}

Settings finish_settings(Settings s, const RawOptions& raw) {
    if (!raw.capacity.empty()) {
        const std::int32_t c = parse_word("--capacity", raw.capacity);
        if (c < 0 || c > kMaxField)
            throw UsageError("--capacity: " + raw.capacity + " is out of range (0 to " +
                             std::to_string(kMaxField) + ")");
        s.capacity = c;
    }
    if (!raw.options.empty()) s.options = parse_word("--options", raw.options);
    if (!raw.dt_options.empty()) s.dt_options = parse_word("--dt-options", raw.dt_options);
    if (!raw.mode.empty()) s.mode = parse_word("--mode", raw.mode);
    return s;
}

std::unique_ptr<Host> start_host(const Settings& s) {
    HostConfig config;
    config.environment = s.environment;
    config.debug = s.debug;
    std::unique_ptr<Host> host;
    try {
        host = std::make_unique<Host>(config);
    } catch (const std::exception& e) {
        // The zone is the one setting the host can refuse.
        throw UsageError(std::string("--tz: ") + e.what());
    }
    try {
        host->load_plugins(s.plugins);  // --plugins, else the search path
    } catch (const std::exception& e) {
        throw UsageError(s.plugins.empty() ? std::string(e.what())
                                           : "--plugins: cannot load the plug-ins of '" + s.plugins + "': " + e.what());
    }
    return host;
}

// The command line: the main command with the options of every command, and
// the four commands.
struct CommandLine {
    CLI::App app{"isofmt: ISO 8601 date, time, duration and interval formats and informats, "
                 "and classic clock formats, through the isofmt plug-ins",
                 "isofmt"};
    Settings settings;
    RawOptions raw;
    std::string format_name;
    std::vector<std::string> values;
    CLI::App* list = app.add_subcommand("list", "one line per format and informat: "
                                                "NAME KIND MODULE MINW MAXW DEFW MAXD");
    CLI::App* demo = app.add_subcommand("demo", "sample values through every format, as a table");
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
        app.add_option("--tz", settings.environment.time_zone,
                       "time zone: an IANA name or a fixed offset such as +05:30 (default UTC)")
            ->type_name("ZONE");
        app.add_option("--debug", settings.debug,
                       "the host option DEBUG; N8601DIAG logs problems to standard error")
            ->type_name("TEXT");
        app.add_option("--missing", settings.environment.missing_text,
                       "the missing-value text (default .)")
            ->type_name("TEXT");
        app.add_option("--plugins", settings.plugins, "the directory of the plug-ins")->type_name("DIR");
        app.require_subcommand(1);
        for (CLI::App* c : {format, informat}) {
            c->add_option("FORMAT", format_name, "NAME[W][.D], for example E8601DZ26.3")->required();
            c->add_option("VALUE", values, "the values, or - for standard input");
            add_conversion_options(c, settings, raw);
        }
        format->add_option("--options", raw.options,
                           "render options, decimal or 0x hex (IS860VL: for duration halves)")
            ->type_name("N");
        format->add_option("--dt-options", raw.dt_options,
                           "render options for the datetime halves of IS860VL")
            ->type_name("N");
        informat->add_option("--mode", raw.mode, "parse mode, decimal or 0x hex")->type_name("N");
        add_csv_options(convert, csv);
        convert->add_flag("--validate", settings.validate, "set the validation flag of the call block");
        convert->add_option("--capacity", raw.capacity, "output capacity")->type_name("N");
        convert->add_option("--options", raw.options, "render options of the formats")->type_name("N");
        convert->add_option("--dt-options", raw.dt_options, "IS860VL datetime halves")->type_name("N");
        convert->add_option("--mode", raw.mode, "parse mode of the informats")->type_name("N");
        for (CLI::App* c : {list, demo, format, informat, convert})
            c->footer("Options of every command: --tz ZONE, --debug TEXT, --missing TEXT, "
                      "--plugins DIR (see isofmt --help).");
    }
};

int run_tool(int argc, char** argv) {
    CommandLine cl;
    std::vector<std::string> args = order_arguments(cl.app, cl.commands, argc, argv);
    std::reverse(args.begin(), args.end());
    try {
        cl.app.parse(args);
    } catch (const CLI::CallForHelp& e) {
        return cl.app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return cl.app.exit(e);
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }

    const Settings s = finish_settings(cl.settings, cl.raw);
    const std::unique_ptr<Host> host = start_host(s);
    if (cl.list->parsed()) return list_command(*host);
    if (cl.demo->parsed()) return demo_command(*host, s);
    if (cl.convert->parsed()) return csv_command(*host, s, cl.csv);
    const Kind kind = cl.format->parsed() ? Kind::format : Kind::informat;
    return convert_command(*host, s, kind, cl.format_name, cl.values);
}

}  // namespace
}  // namespace isofmt::tool

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    int status = 0;
    try {
        status = isofmt::tool::run_tool(argc, argv);
    } catch (const isofmt::tool::UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "isofmt: %s\n", e.what());
        return isofmt::tool::kExitUsage;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "isofmt: %s\n", e.what());
        return 1;
    }
    if (std::fflush(stdout) != 0) return 1;
    return status;
}
