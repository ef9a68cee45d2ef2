#pragma once

// Lists the entries of an archive file from its headers alone: nothing is extracted, written or
// run, and the data of each entry is skipped, so a compressed tar is read as one stream in
// constant memory and a decompression bomb costs time, not memory. What counts as an archive is
// decided by the file's content, not its name.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orlenta {

// One header of an archive. The views die with the call.
struct TArchiveEntry {
    std::string_view Path; // as stored: any bytes, '/' separating folders
    bool IsDirectory = false;
    bool SizeKnown = false;
    std::uint64_t Size = 0; // uncompressed
    bool ModifiedKnown = false;
    std::int64_t Modified = 0; // seconds since 1970 in UTC
};

// How a listing ended.
enum class TArchiveListing {
    NotAnArchive, // not a regular file, unreadable, or no format of ours claims its content
    Whole,        // every header was read
    Broken,       // an archive, but a fault (corrupt, truncated, encrypted headers) ended it
    Stopped,      // the entry handler or keepGoing asked to stop
};

// Called for each entry in archive order; false stops the listing.
using TArchiveEntryEvent = std::function<bool(const TArchiveEntry& entry)>;
// Called once the content is known to be an archive, before its first entry, with the format's
// name: zip, 7z, rar, tar, tar.gz, tar.bz2, tar.xz, tar.zst, iso, cpio (a compressed cpio or
// image gets the filter's suffix too). It is known to be one once a format has taken in one of
// its structures whole (a header, a 7z start header), and not by a magic number alone; a tar,
// though, only by a header, since its end mark is zeros that any zero-filled file begins with.
// What fails after that is a fault of an archive: Broken.
using TArchiveFormatEvent = std::function<void(std::string_view format)>;
// Asked now and then while the data of one entry is passed over, which in a compressed stream
// means decompressing it, gigabytes perhaps; false stops the listing.
using TArchiveContinueEvent = std::function<bool()>;

// Lists the archive at path. onFormat comes before any onEntry, also for an archive without
// entries; neither comes for NotAnArchive.
TArchiveListing ListArchive(const std::string& path, const TArchiveFormatEvent& onFormat,
                            const TArchiveEntryEvent& onEntry,
                            const TArchiveContinueEvent& keepGoing);

} // namespace orlenta
