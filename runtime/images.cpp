#include "images.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <stdexcept>

namespace isofmt::detail {
namespace {

// Held from the check whether an image is loaded until it is: two hosts
// created at once must not both take the file itself.
std::mutex g_open_mutex;

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw std::runtime_error(path + ": " + what);
}

std::string system_error(const char* call) { return std::string(call) + ": " + std::strerror(errno); }

// The loader's message names the file it was given; for a copy, the
// plug-in's own path goes first.
void* open_image(const std::string& file, const std::string* copy_of) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        std::string message = why ? why : file + ": cannot be loaded";
        throw std::runtime_error(copy_of ? *copy_of + ": " + message : message);
    }
    return handle;
}

bool copy_all(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = write(to, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            done += w;
        }
    }
}

OpenImage open_copy(const std::string& path) {
    const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) fail(path, system_error("open"));
    const std::string name = std::filesystem::path(path).filename().string();
    const int fd = memfd_create(name.c_str(), MFD_CLOEXEC);
    if (fd < 0) {
        const std::string why = system_error("memfd_create");
        close(in);
        fail(path, "no private copy for this host: " + why);
    }
    const bool copied = copy_all(in, fd);
    const std::string why = copied ? std::string() : system_error("copy");
    close(in);
    if (!copied) {
        close(fd);
        fail(path, "no private copy for this host: " + why);
    }
    try {
        return OpenImage{open_image("/proc/self/fd/" + std::to_string(fd), &path), fd};
    } catch (...) {
        close(fd);
        throw;
    }
}

}  // namespace

OpenImage open_private_image(const std::string& path) {
    std::lock_guard lock(g_open_mutex);
    if (void* loaded = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD)) {
        dlclose(loaded);
        return open_copy(path);
    }
    return OpenImage{open_image(path, nullptr), -1};
}

void close_image(OpenImage& image) {
    if (image.handle) dlclose(image.handle);
    if (image.copy_fd >= 0) close(image.copy_fd);
    image = OpenImage{};
}

}  // namespace isofmt::detail
