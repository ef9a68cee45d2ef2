#include "core/base/PathText.h"

#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

void CleanComponents(std::string_view path, std::vector<std::string_view>& components) {
    components.clear();
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view component = path.substr(0, slash);
        if (!component.empty() && component != "." && component != "..")
            components.push_back(component);
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
}

std::string DirectoryOf(const std::string& path) {
    const std::string_view parent = ExtractParentPath(path);
    if (parent.empty())
        return ".";
    return parent == "/" ? "/" : std::string(parent.substr(0, parent.size() - 1));
}

std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t length = readlink(current.c_str(), target.data(), PATH_MAX);
        if (length < 0)
            return current;
        const std::string next(target.data(), static_cast<size_t>(length));
        current = (!next.empty() && next[0] == '/') ? next : DirectoryOf(current) + "/" + next;
    }
    return current;
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

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    // Stored as given, "CWD/../disc" would stop naming the disc once CWD is gone.
    std::string normal = absolute.lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

} // namespace orlenta
