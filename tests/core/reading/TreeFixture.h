#pragma once

// Directory trees for the reading tests, built inside a scratch directory.

#include "TestSupport.h"

#include <chrono>
#include <initializer_list>
#include <string>

namespace orlenta::test {

// Creates each entry below root: a name ending in '/' is a directory, any other a file;
// missing parents are created. Names may hold any byte but '/' and NUL.
void MakeTree(const std::string& root, std::initializer_list<std::string> entries);

// Sets the last-write and last-access times of path.
void SetFileTimes(const std::string& path, std::chrono::system_clock::time_point written,
                  std::chrono::system_clock::time_point accessed);

} // namespace orlenta::test
