#include "core/reading/ArchiveLister.h"

#include <archive.h>
#include <archive_entry.h>
#include <array>
#include <fcntl.h>
#include <locale.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

// Large enough that a compressed stream is decompressed in few calls, small enough to be
// constant memory beside any archive.
constexpr std::size_t kBlockSize = 128 * 1024;
// How much of an entry's data is decompressed between two looks at keepGoing: a few
// milliseconds of work at most.
constexpr std::size_t kAskEvery = 1024 * 1024;
// A format may ask for a header to be read again after a fault it stepped over; a crafted
// archive must not keep it asking forever.
constexpr int kMaxRetries = 64;

using TFilterSupport = int (*)(struct archive*);

// The decompressions a tar (or a cpio, or an image) may be wrapped in. Each is used only when
// the library does it itself: a filter it would hand to an outside program is left out, since
// reading a disc must never run anything.
const std::array<TFilterSupport, 4> kFilters{
    archive_read_support_filter_gzip, archive_read_support_filter_bzip2,
    archive_read_support_filter_xz, archive_read_support_filter_zstd};

// The formats of ours. None of them claims a file that merely exists (as raw and empty would),
// and none of the loosely detected text formats is among them.
const std::array<TFilterSupport, 7> kFormats{
    archive_read_support_format_zip, archive_read_support_format_7zip,
    archive_read_support_format_rar, archive_read_support_format_rar5,
    archive_read_support_format_tar, archive_read_support_format_iso9660,
    archive_read_support_format_cpio};

struct TArchiveFree {
    void operator()(struct archive* archive) const { archive_read_free(archive); }
};
using TArchivePtr = std::unique_ptr<struct archive, TArchiveFree>;

// Which of kFilters the library runs in the process; asked once.
const std::array<bool, kFilters.size()>& BuiltInFilters() {
    static const std::array<bool, kFilters.size()> builtIn = [] {
        std::array<bool, kFilters.size()> result{};
        for (std::size_t i = 0; i < kFilters.size(); ++i) {
            const TArchivePtr probe(archive_read_new());
            result[i] = probe && kFilters[i](probe.get()) == ARCHIVE_OK;
        }
        return result;
    }();
    return builtIn;
}

// Names stored as Unicode (7z, flagged zip entries, some pax headers) are converted to the
// locale's character set while headers are read, and a name the locale cannot hold is lost.
// Listing therefore runs in a UTF-8 character set on this thread, whatever the process's locale;
// names stored as bytes come through as bytes either way.
class TUtf8Scope {
public:
    TUtf8Scope() {
        static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
        if (utf8)
            FPrevious = ::uselocale(utf8);
    }
    ~TUtf8Scope() {
        if (FPrevious)
            ::uselocale(FPrevious);
    }
    TUtf8Scope(const TUtf8Scope&) = delete;
    TUtf8Scope& operator=(const TUtf8Scope&) = delete;

private:
    locale_t FPrevious = locale_t(nullptr);
};

class TFd {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return FFd; }

private:
    int FFd;
};

const char* BaseFormatName(int format) {
    switch (format & ARCHIVE_FORMAT_BASE_MASK) {
    case ARCHIVE_FORMAT_ZIP: return "zip";
    case ARCHIVE_FORMAT_7ZIP: return "7z";
    case ARCHIVE_FORMAT_RAR:
    case ARCHIVE_FORMAT_RAR_V5: return "rar";
    case ARCHIVE_FORMAT_TAR: return "tar";
    case ARCHIVE_FORMAT_ISO9660: return "iso";
    case ARCHIVE_FORMAT_CPIO: return "cpio";
    default: return "archive";
    }
}

const char* FilterSuffix(int filter) {
    switch (filter) {
    case ARCHIVE_FILTER_GZIP: return ".gz";
    case ARCHIVE_FILTER_BZIP2: return ".bz2";
    case ARCHIVE_FILTER_XZ: return ".xz";
    case ARCHIVE_FILTER_ZSTD: return ".zst";
    default: return "";
    }
}

std::string FormatName(struct archive* archive) {
    std::string name = BaseFormatName(archive_format(archive));
    // Filter 0 is the decompression nearest the format.
    if (archive_filter_count(archive) > 1)
        name += FilterSuffix(archive_filter_code(archive, 0));
    return name;
}

TArchiveEntry EntryOf(struct archive_entry* header) {
    TArchiveEntry entry;
    // The bytes as stored when the format keeps bytes (tar, cpio, most zips), as the directory
    // reader takes a name; stored Unicode as UTF-8.
    const char* path = archive_entry_pathname(header);
    if (!path)
        path = archive_entry_pathname_utf8(header);
    entry.Path = path ? std::string_view(path) : std::string_view();
    entry.IsDirectory = archive_entry_filetype(header) == AE_IFDIR ||
                        (!entry.Path.empty() && entry.Path.back() == '/');
    if (!entry.IsDirectory && archive_entry_size_is_set(header) &&
        archive_entry_size(header) >= 0) {
        entry.SizeKnown = true;
        entry.Size = static_cast<std::uint64_t>(archive_entry_size(header));
    }
    if (archive_entry_mtime_is_set(header)) {
        entry.ModifiedKnown = true;
        entry.Modified = static_cast<std::int64_t>(archive_entry_mtime(header));
    }
    return entry;
}

// A new reader for the formats and built-in filters of ours, with no passphrase: an encrypted
// entry is listed when its header is plain, and never makes anyone be asked.
TArchivePtr NewReader() {
    TArchivePtr archive(archive_read_new());
    if (!archive)
        return archive;
    const auto& builtIn = BuiltInFilters();
    for (std::size_t i = 0; i < kFilters.size(); ++i) {
        if (builtIn[i])
            kFilters[i](archive.get());
    }
    for (const TFilterSupport format : kFormats)
        format(archive.get());
    return archive;
}

// Whether the first read of a header, ending in result, shows an archive. A format claims a
// file by its first bytes, a magic number of four bytes perhaps: that alone is no proof, and a
// file that merely begins like a zip stays a plain file. A header read is; so is a clean end (an
// empty zip or 7z is its end record alone), but not a tar's, which is blocks of zeros. A fault
// shows an archive once the format has taken in one of its structures whole, as a 7z's start
// header before its cut or encrypted header list.
bool ShowsAnArchive(struct archive* archive, int result) {
    const int format = archive_format(archive);
    if (format == 0)
        return false;
    if (result == ARCHIVE_EOF)
        return (format & ARCHIVE_FORMAT_BASE_MASK) != ARCHIVE_FORMAT_TAR;
    if (result >= ARCHIVE_WARN)
        return true;
    return archive_filter_bytes(archive, 0) > 0;
}

enum class TSkip { Done, Fault, Stopped };

// Passes over the data of the entry at hand. Where that means decompressing it (a compressed
// stream), a small file may expand to gigabytes: the data is then read block by block and
// keepGoing asked after every kAskEvery bytes of it, so that a Stop is taken inside one entry
// too, and a small entry costs no more asking than before. Elsewhere the library skips it,
// seeking where it can, which reading would turn into reading it all.
TSkip SkipData(struct archive* archive, const TArchiveContinueEvent& keepGoing) {
    if (archive_filter_count(archive) > 1 && keepGoing) {
        std::size_t sinceAsked = 0;
        for (;;) {
            const void* block = nullptr;
            std::size_t size = 0;
            la_int64_t offset = 0;
            const int result = archive_read_data_block(archive, &block, &size, &offset);
            if (result == ARCHIVE_EOF)
                return TSkip::Done;
            if (result == ARCHIVE_FATAL)
                return TSkip::Fault;
            if (result < ARCHIVE_WARN)
                break; // data the library cannot decode: it may still skip it
            sinceAsked += size;
            if (sinceAsked >= kAskEvery) {
                sinceAsked = 0;
                if (!keepGoing())
                    return TSkip::Stopped;
            }
        }
    }
    return archive_read_data_skip(archive) == ARCHIVE_FATAL ? TSkip::Fault : TSkip::Done;
}

} // namespace

TArchiveListing ListArchive(const std::string& path, const TArchiveFormatEvent& onFormat,
                            const TArchiveEntryEvent& onEntry,
                            const TArchiveContinueEvent& keepGoing) {
    // O_NONBLOCK: a FIFO put in the file's place since it was listed must not hold the reading.
    const TFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return TArchiveListing::NotAnArchive;
    const TUtf8Scope utf8;
    const TArchivePtr archive = NewReader();
    if (!archive || archive_read_open_fd(archive.get(), file.Get(), kBlockSize) != ARCHIVE_OK)
        return TArchiveListing::NotAnArchive;

    bool known = false;
    int retries = 0;
    for (;;) {
        struct archive_entry* header = nullptr;
        const int result = archive_read_next_header(archive.get(), &header);
        if (result == ARCHIVE_RETRY && ++retries < kMaxRetries)
            continue;
        if (!known) {
            if (!ShowsAnArchive(archive.get(), result))
                return TArchiveListing::NotAnArchive;
            known = true;
            onFormat(FormatName(archive.get()));
        }
        if (result != ARCHIVE_EOF && result < ARCHIVE_WARN)
            return TArchiveListing::Broken;
        if (result == ARCHIVE_EOF)
            return TArchiveListing::Whole;
        retries = 0;
        if (!onEntry(EntryOf(header)))
            return TArchiveListing::Stopped;
        switch (SkipData(archive.get(), keepGoing)) {
        case TSkip::Done: break;
        case TSkip::Fault: return TArchiveListing::Broken;
        case TSkip::Stopped: return TArchiveListing::Stopped;
        }
    }
}

} // namespace orlenta
