#pragma once

// Opening the files of a load or a save, with the program's own error texts.

#include <cstdio>
#include <memory>
#include <string>

namespace orlenta {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

// path opened for reading. Throws "Cannot open file "%s". %s", also for a directory, which
// fopen opens and only the first read would refuse.
TFilePtr OpenFileForReading(const std::string& path);

// path created or truncated for writing. Throws "Cannot create file "%s". %s".
TFilePtr CreateFileForWriting(const std::string& path);

} // namespace orlenta
