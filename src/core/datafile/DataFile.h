#pragma once

// Opening the data file of a load, with the program's own error texts.

#include <cstdio>
#include <memory>
#include <string>

namespace orlenta {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

// The regular file at path (links followed) opened for reading. Throws "Cannot open file "%s".
// %s" when it cannot be opened, and also for a directory, FIFO, socket or device: a FIFO is never
// waited on and a device never opened.
TFilePtr OpenFileForReading(const std::string& path);

} // namespace orlenta
