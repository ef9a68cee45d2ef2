#pragma once

// Directory trees for the reading tests, built inside a scratch directory.

#include "TestSupport.h"

#include <chrono>
#include <cstddef>
#include <functional>
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

// What operation returns, when run while the directory folder (below scratch) cannot be listed:
// as another user when the tests run as root, whom permissions do not stop, otherwise with the
// folder's permissions taken away for the call. scratch is opened to that user, and the result
// comes back through a file in it. An operation that throws gives "error: " and its text.
std::string WithFolderUnreadable(const std::string& scratch, const std::string& folder,
                                 const std::function<std::string()>& operation);

} // namespace orlenta::test
