#include "core/state/OvcIniFileStore.h"

#include "core/base/DecimalText.h"
#include "core/base/FileLock.h"
#include "core/base/OrlentaError.h"
#include "core/datafile/AtomicFile.h"
#include "core/state/ProfileEncoding.h"
#include "core/state/ProfileLocation.h"
#include "core/state/ProfileText.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes folder and the folders above it that are missing, private to the user as the XDG base
// directory rules ask. False when one cannot be made.
bool MakeFolders(const std::string& folder) {
    if (folder.empty() || IsDirectory(folder))
        return true;
    const size_t slash = folder.rfind('/', folder.size() - 2);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

TOvcIniFileStore::TOvcIniFileStore()
    : TOvcIniFileStore([](const std::string& iniFileName) {
          return ProfileFilePath(TProfileEnvironment::FromProcess(), iniFileName);
      }) {}

TOvcIniFileStore::TOvcIniFileStore(TLocator locate) : FLocate(std::move(locate)) {}

void TOvcIniFileStore::Open() {
    if (FOpenCount++ > 0)
        return;
    FPath = FLocate(IniFileName);
    FText = Load(FPath);
    FChanges.clear();
}

void TOvcIniFileStore::Close() {
    if (FOpenCount == 0 || --FOpenCount > 0)
        return;
    const std::string path = std::move(FPath);
    const std::vector<TChange> changes = std::move(FChanges);
    FPath.clear();
    FText = TProfileText();
    FChanges.clear();
    if (!changes.empty())
        Update(path, changes);
}

std::string TOvcIniFileStore::FileName() const {
    return IsOpen() ? FPath : FLocate(IniFileName);
}

TProfileText TOvcIniFileStore::Load(const std::string& path) const {
    // Reading never fails: a file that is missing or cannot be read holds no values.
    std::string bytes;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return TProfileText();
    char buffer[8192];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(count));
    }
    close(fd);
    return TProfileText(bytes);
}

void TOvcIniFileStore::Update(const std::string& path, const std::vector<TChange>& changes) const {
    // The lock file stands beside the profile, so its folder comes first.
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        throw UnableToWriteError(path);
    try {
        // Read again under the lock: another process may have written since this one read it,
        // and its lines stay.
        const TFileLock lock(path);
        TProfileText text = Load(path);
        bool changed = false;
        for (const TChange& change : changes)
            changed = change(text) || changed;
        if (!changed)
            return;
        const std::string bytes = text.Bytes();
        TAtomicFile file(path);
        file.Write(bytes.data(), bytes.size());
        file.Commit();
    } catch (const EOrlentaError&) {
        throw UnableToWriteError(path);
    }
}

void TOvcIniFileStore::Change(TChange change) {
    if (!IsOpen()) {
        Update(FLocate(IniFileName), {change});
        return;
    }
    // What left the text as the bracket read it is not made again at Close either.
    if (change(FText))
        FChanges.push_back(std::move(change));
}

std::string TOvcIniFileStore::ReadString(std::string_view section, std::string_view key,
                                         const std::string& defaultValue) const {
    const auto stored =
        IsOpen() ? FText.Value(section, key) : Load(FLocate(IniFileName)).Value(section, key);
    if (!stored || *stored == defaultValue)
        return defaultValue;
    return DecodeProfileValue(*stored);
}

size_t TOvcIniFileStore::KeyCount(std::string_view section) const {
    return IsOpen() ? FText.KeyCount(section) : Load(FLocate(IniFileName)).KeyCount(section);
}

void TOvcIniFileStore::WriteString(std::string_view section, std::string_view key,
                                   std::string_view value) {
    // Kept until the bracket's Close, so it owns its texts.
    Change([section = std::string(section), key = std::string(key),
            stored = EncodeProfileValue(value)](TProfileText& text) {
        text.SetValue(section, key, stored);
        return true;
    });
}

void TOvcIniFileStore::EraseSection(std::string_view section) {
    Change([section = std::string(section)](TProfileText& text) {
        return text.EraseSection(section);
    });
}

int TOvcIniFileStore::ReadInteger(std::string_view section, std::string_view key,
                                  int defaultValue) const {
    const std::string text = ReadString(section, key, std::string());
    const auto value = ParseDecimal(TrimBlanks(text));
    if (!value || *value < INT_MIN || *value > INT_MAX)
        return defaultValue;
    return static_cast<int>(*value);
}

void TOvcIniFileStore::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

TIniFileStoreScope::~TIniFileStoreScope() {
    if (FStore == nullptr)
        return;
    try {
        FStore->Close();
    } catch (...) {
        // Only reached when the bracket was left by another error, which is the one to report.
    }
}

void TIniFileStoreScope::Close() {
    TOvcIniFileStore* store = FStore;
    FStore = nullptr;
    store->Close();
}

} // namespace orlenta
