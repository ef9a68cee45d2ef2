#pragma once

// Paths as the file system takes them: bytes, '/' the only delimiter.

#include <string>
#include <string_view>

namespace orlenta {

// path names an existing directory (links followed); false for the empty path.
bool IsExistingDirectory(const std::string& path);

// Everything up to and including the last '/' before a trailing one ("/a/b/" gives "/a/");
// empty when there is none.
std::string_view ExtractParentPath(std::string_view path);

// The last component of path, without a trailing '/'.
std::string_view LastComponent(std::string_view path);

// The text from the last '.' after the last '/', the dot included; empty when there is none.
std::string_view Extension(std::string_view path);

} // namespace orlenta
