// Plug-in images, one set per host.
//
// A plug-in keeps the anchors it is handed in globals of its image, and the
// system loader hands out one image per file and process. So each host binds
// an image of its own: the file itself while no image of it is loaded in the
// process, otherwise a private copy of it (an anonymous in-memory file), whose
// globals, module state and code are that host's alone.
#pragma once

#include <string>

namespace isofmt::detail {

struct OpenImage {
    void* handle = nullptr;
    int copy_fd = -1;  // the private copy's file, kept open while it is loaded; -1 for the file itself
};

// Throws std::runtime_error when the file cannot be loaded or copied.
OpenImage open_private_image(const std::string& path);
void close_image(OpenImage& image);

}  // namespace isofmt::detail
