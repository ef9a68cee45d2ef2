#pragma once

// Paths as the file system takes them: bytes, '/' the only delimiter.

#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// path names an existing directory (links followed); false for the empty path.
bool IsExistingDirectory(const std::string& path);

// Everything up to and including the last '/' before a trailing one ("/a/b/" gives "/a/");
// empty when there is none.
std::string_view ExtractParentPath(std::string_view path);

// The last component of path, without a trailing '/'.
std::string_view LastComponent(std::string_view path);

// Splits path at '/' into the components that name something: an empty one (a leading '/' or
// '//'), "." and ".." are dropped, so that a path read from an archive or a list never reaches
// above the folder it is put in. components is cleared first; its views point into path.
void CleanComponents(std::string_view path, std::vector<std::string_view>& components);

// The folder that holds the file at path: "." for a bare name, "/" for a file at the root.
std::string DirectoryOf(const std::string& path);

// The file a path finally names: links followed, also when the last one dangles.
std::string ResolveLinks(const std::string& path);

// path made absolute against the working directory and normalised by its text alone: no "." or
// ".." parts, no doubled or trailing '/'. Links are not resolved, so a path through a link keeps
// naming the link. A path that cannot be made absolute comes back as given.
std::string AbsolutePath(const std::string& path);

// The text from the last '.' after the last '/', the dot included; empty when there is none.
std::string_view Extension(std::string_view path);

} // namespace orlenta
