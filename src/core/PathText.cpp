#include "core/PathText.h"

#include <sys/stat.h>

namespace orlenta {

bool IsExistingDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string_view ExtractParentPath(std::string_view path) {
    if (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view LastComponent(std::string_view path) {
    if (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view Extension(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::size_t slash = path.rfind('/');
    if (slash != std::string_view::npos && slash > dot)
        return {};
    return path.substr(dot);
}

} // namespace orlenta
