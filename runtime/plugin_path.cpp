// Finding the plug-ins: a directory given by the caller, else the first
// directory of the search path that holds one.
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "isofmt/host.h"
#include "plugin_files.h"

// The installed plug-in directory relative to the installed programs and to
// the installed library (set by the build from the install layout).
#ifndef ISOFMT_PLUGINS_FROM_BINDIR
#define ISOFMT_PLUGINS_FROM_BINDIR "../lib/isofmt/plugins"
#endif
#ifndef ISOFMT_PLUGINS_FROM_LIBDIR
#define ISOFMT_PLUGINS_FROM_LIBDIR "isofmt/plugins"
#endif

namespace isofmt {
namespace {

namespace fs = std::filesystem;

fs::path program_directory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

// The directory of the object this code is linked into: libisofmt.so, or
// the program or module that holds the static runtime. The program itself has
// no name in its link map entry.
fs::path library_directory() {
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&library_directory), &info, reinterpret_cast<void**>(&map),
                RTLD_DL_LINKMAP) == 0 || !map)
        return {};
    if (!map->l_name || !*map->l_name) return program_directory();
    std::error_code ec;
    fs::path file = fs::canonical(map->l_name, ec);
    return ec ? fs::path() : file.parent_path();
}

void add(std::vector<std::string>& path, const fs::path& directory) {
    if (directory.empty()) return;
    std::string d = directory.lexically_normal().string();
    if (d.size() > 1 && d.back() == '/') d.pop_back();
    if (std::find(path.begin(), path.end(), d) == path.end()) path.push_back(std::move(d));
}

}  // namespace

std::vector<std::string> plugin_search_path() {
    std::vector<std::string> path;
    if (const char* list = std::getenv("ISOFMT_PLUGIN_PATH")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            add(path, fs::path(rest.substr(0, colon)));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    const fs::path program = program_directory(), library = library_directory();
    // A runtime inside a shared object of its own (libisofmt.so, the Python
    // module, the SQLite extension) looks beside that object first: where
    // the install puts the plug-ins seen from lib/, lib/isofmt/ and a Python
    // site directory (lib/python3.N/dist-packages), then the object's own
    // directory (the build tree).
    if (!library.empty() && library != program) {
        add(path, library / ISOFMT_PLUGINS_FROM_LIBDIR);
        add(path, library / "plugins");
        add(path, library / "../.." / ISOFMT_PLUGINS_FROM_LIBDIR);
        add(path, library);
    }
    if (!program.empty()) {
        add(path, program / ISOFMT_PLUGINS_FROM_BINDIR);
        add(path, program / ISOFMT_PLUGINS_FROM_LIBDIR);
        add(path, program);
    }
    return path;
}

std::string default_plugin_directory() {
    const std::vector<std::string> path = plugin_search_path();
    for (const std::string& d : path)
        if (detail::holds_plugin(d)) return d;
    std::string where;
    for (const std::string& d : path) where += (where.empty() ? "" : ", ") + d;
    throw Error("no plug-ins found (looked in " + (where.empty() ? std::string("no directory") : where) +
                "); set ISOFMT_PLUGIN_PATH to their directory");
}

std::string Host::load_plugins(const std::string& directory) {
    const std::string d = directory.empty() ? default_plugin_directory() : directory;
    load_directory(d);
    return d;
}

}  // namespace isofmt
