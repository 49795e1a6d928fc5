// The convert command: columns of a CSV file through formats and informats.
#pragma once

#include <string>
#include <vector>

#include "tool.h"

namespace CLI {
class App;
}

namespace isofmt::tool {

struct CsvOptions {
    std::string file;                  // "" or "-": standard input
    std::vector<std::string> columns;  // COLUMN=FORMAT, a format where the name is both
    std::vector<std::string> informats;  // COLUMN=FORMAT, always an informat
    std::string delimiter = ",";
    std::string jobs;                  // "": every core
    std::string problems;              // "": standard error
    bool no_header = false;
    bool keep = false;
    bool trim = false;
};

// The convert command's own options and its FILE argument.
void add_csv_options(CLI::App* command, CsvOptions& options);

// Exit status 0 when every cell was converted, 1 when any problem was
// reported (the output still holds every row).
int csv_command(const Host& host, const Settings& settings, const CsvOptions& options);

}  // namespace isofmt::tool
