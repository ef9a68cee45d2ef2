#pragma once

#include "core/state/ProfileText.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// The profile file that keeps window and dialog state between runs. A restore or a save is one
// bracket of Open and Close: the first Open reads the file, the calls in between work on what it
// read, and the last Close makes the same changes to the file as it is then and replaces it as a
// whole, so a save lands completely or not at all and a crash never leaves half a file. Nothing is
// kept from one bracket to the next. Calls outside a bracket go to the file each time. Every
// write reads, changes and replaces the file under its lock (TFileLock), so that the windows of
// several processes keep each other's lines: of two writes of one key the later one stays. Values
// are stored through EncodeProfileValue, which keeps the file plain ASCII.
class TOvcIniFileStore {
public:
    // Works out the file's full path from its name; called at each first Open.
    using TLocator = std::function<std::string(const std::string& iniFileName)>;

    // The running program's file, located by ProfileFilePath from the process environment.
    TOvcIniFileStore();
    explicit TOvcIniFileStore(TLocator locate);

    // The file's name; its folder is the locator's choice.
    std::string IniFileName = "Orlenta.ini";

    // Counted: the first Open works out the path and reads the file.
    void Open();
    // Counted: the last Close writes what was changed since the first Open. Throws "Unable to
    // write to %s" when the file cannot be locked or replaced; the store is closed all the same.
    void Close();
    bool IsOpen() const { return FOpenCount > 0; }
    // The full path of the file: the one fixed by Open, or worked out now when not open.
    std::string FileName() const;

    // The stored value decoded, or defaultValue when the key is absent. A value equal to
    // defaultValue is returned as it is, coded or not. Never fails.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // The number of keys in section.
    size_t KeyCount(std::string_view section) const;
    // Stores value under key. Outside a bracket throws as Close.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Removes the section with all its keys. Outside a bracket throws as Close.
    void EraseSection(std::string_view section);
    // The stored signed 32-bit decimal integer (blanks around it allowed), else defaultValue.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // Stores the value in decimal. Outside a bracket throws as Close.
    void WriteInteger(std::string_view section, std::string_view key, int value);

private:
    // One change of the text; false when it left the text as it was.
    using TChange = std::function<bool(TProfileText&)>;

    TProfileText Load(const std::string& path) const;
    // Under the file's lock: reads it, makes the changes and replaces it when one changed it.
    void Update(const std::string& path, const std::vector<TChange>& changes) const;
    void Change(TChange change);

    TLocator FLocate;
    int FOpenCount = 0;
    std::string FPath;
    TProfileText FText;
    std::vector<TChange> FChanges; // made since the first Open, to be made again at the last Close
};

// One bracket: Open now, Close by Close() (which may throw) or, quietly, on destruction.
class TIniFileStoreScope {
public:
    explicit TIniFileStoreScope(TOvcIniFileStore& store) : FStore(&store) { store.Open(); }
    ~TIniFileStoreScope();
    TIniFileStoreScope(const TIniFileStoreScope&) = delete;
    TIniFileStoreScope& operator=(const TIniFileStoreScope&) = delete;

    // Closes the bracket; throws as TOvcIniFileStore::Close.
    void Close();

private:
    TOvcIniFileStore* FStore;
};

} // namespace orlenta
