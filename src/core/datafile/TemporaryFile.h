#pragma once

#include "core/base/CatalogueHost.h"

#include <cstdio>
#include <string>
#include <vector>

namespace orlenta {

// The temporary file of one load or save: kTemporaryFileName in the working directory, held
// under an exclusive lock from the first byte written to the last byte read, so that processes
// in one folder wait for each other instead of reading each other's XML. It is used through one
// descriptor throughout and never opened again by name.
class TTemporaryFile {
public:
    // Opens the file, creating it readable and writable by its owner alone when missing, waits for
    // the lock (the host tells the user after a second) and empties it. Throws "Cannot create file
    // "%s". %s" when it cannot be opened or is anything but a regular file of the running user
    // with no other name: a link planted there is not followed.
    explicit TTemporaryFile(ICatalogueHost& host);
    // Closes the file, which lets go of the lock; the file stays.
    ~TTemporaryFile();
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    // The file, open for writing and, after StartReading, for reading.
    std::FILE* Stream() const { return FStream; }
    // Puts what was written on disk and goes back to the start. Throws "Cannot write file "%s".
    // %s".
    void StartReading();
    // Removes the file (its name is still ours while the lock is) and closes it.
    void Remove();

private:
    std::vector<char> FBuffer;
    std::FILE* FStream = nullptr;
};

// True when path names the temporary file: the same file, or the name kTemporaryFileName in the
// working directory, whether or not it exists.
bool IsTemporaryFile(const std::string& path);

} // namespace orlenta
