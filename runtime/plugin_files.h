// The plug-in files a directory may hold.
#pragma once

#include <string>

namespace isofmt::detail {

// True when the directory holds at least one of the plug-ins.
bool holds_plugin(const std::string& directory);

}  // namespace isofmt::detail
