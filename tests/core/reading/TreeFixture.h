#pragma once

// Directory trees for the reading tests, built inside a scratch directory.

#include "TestSupport.h"

#include <chrono>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace orlenta::test {

// Creates each entry below root: a name ending in '/' is a directory, any other a file;
// missing parents are created. Names may hold any byte but '/' and NUL.
void MakeTree(const std::string& root, std::initializer_list<std::string> entries);

// Sets the last-write and last-access times of path.
void SetFileTimes(const std::string& path, std::chrono::system_clock::time_point written,
                  std::chrono::system_clock::time_point accessed);

// Makes a chain of depth directories, each called name, below root, with an empty file "f" in
// each. Everything is made relative to the level above, so the chain may be deeper than any
// path the system accepts.
void MakeDeepTree(const std::string& root, std::size_t depth, const std::string& name);
// Removes what MakeDeepTree made below root, the same way.
void RemoveDeepTree(const std::string& root, std::size_t depth, const std::string& name);

} // namespace orlenta::test
