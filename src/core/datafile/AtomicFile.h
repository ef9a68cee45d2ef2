#pragma once

#include "core/datafile/RawDeflate.h"

#include <string>

namespace orlenta {

// Replaces a file as a whole or not at all: the bytes go to a new file beside the target, which
// is flushed to disk and renamed over the target on Commit. Until then, and when anything fails,
// the target keeps its old content and the new file is removed. A target that is a symbolic link
// stays a link: the file it points to is replaced. A replaced file keeps its permissions and,
// where the saver may give them (a member of the group, a privileged user), its group and owner.
class TAtomicFile : public TByteSink {
public:
    // Throws "Cannot create file "%s". %s" (with path as given) when the target cannot be written:
    // a read-only file, a directory, a FIFO, socket or device, a folder that does not exist or
    // cannot be written.
    explicit TAtomicFile(const std::string& path);
    ~TAtomicFile() override;
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // Throws "Cannot write file "%s". %s" when the bytes cannot be stored (a full disk).
    void Write(const char* data, size_t size) override;
    // Flushes, sets the permissions and renames the new file over the target. Throws as Write.
    void Commit();

private:
    [[noreturn]] void ThrowWriteError(int errnoValue) const;

    std::string FPath;       // as the caller named it, for messages
    std::string FTargetPath; // the file that is replaced (a link's target)
    std::string FNewPath;    // the new file beside it
    int FFd = -1;
    bool FTargetExists = false;
    unsigned FMode = 0;
    unsigned FUid = 0;
    unsigned FGid = 0;
};

} // namespace orlenta
