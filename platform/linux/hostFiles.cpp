#include "hostFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace platform {

std::filesystem::path hostPath(std::string_view absolutePath)
{
#ifdef QV_HOST_ROOT_SEAM
    const char* root = std::getenv("QV_HOST_ROOT");
    return std::filesystem::path(root != nullptr ? root : "").concat(absolutePath);
#else
    return std::filesystem::path(absolutePath);
#endif
}

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        return std::nullopt;
    }
    return content;
}

std::string trimmed(std::string_view text)
{
    constexpr std::string_view kBlanks{" \t\r\n\0", 5};
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

} // namespace platform
