#include <platform/hostCalls.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

// The path as one shell word: single-quoted, each quote inside closed, escaped and reopened.
std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

} // namespace

std::string systemProfiler()
{
    // The file this function is linked into: the snapshot library, or a program that links its
    // code directly (its folder sits beside the library folder too).
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&systemProfiler), &self) == 0 || self.dli_fname == nullptr) {
        throw std::system_error(ENOENT, std::system_category(), "system profiler not found: no path of its own");
    }
    const std::filesystem::path path =
        std::filesystem::absolute(std::filesystem::path(self.dli_fname).parent_path() / QV_SYSTEM_PROFILER_FROM_LIBDIR);
    if (access(path.c_str(), X_OK) != 0) {
        throw std::system_error(errno, std::system_category(),
                                "system profiler not found: " + path.lexically_normal().string());
    }
    return shellQuoted(path.lexically_normal().string());
}

} // namespace platform
