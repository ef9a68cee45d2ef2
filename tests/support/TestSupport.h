#pragma once

// Shared by the core tests: a scratch directory that is also the working directory (where loads
// and saves put their temporary file), and a catalogue host that records what it was asked.

#include "core/base/Clock.h"
#include "core/catalogue/CatalogueSession.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orlenta::test {

// A fresh directory under the system's temporary folder, made the working directory for the
// object's lifetime and removed with everything in it afterwards.
class TScratchDirectory {
public:
    TScratchDirectory();
    ~TScratchDirectory();
    TScratchDirectory(const TScratchDirectory&) = delete;
    TScratchDirectory& operator=(const TScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
    std::filesystem::path FPreviousWorkingDirectory;
};

struct TRecordedMessage {
    TMessageKind Kind;
    std::string Text;
};

class TRecordingHost : public ICatalogueHost {
public:
    void SetBusy(const std::string& statusText) override { BusyTexts.push_back(statusText); }
    void FileChangedSet(bool changed) override { SaveEnabled = changed; }
    void ShowMessage(TMessageKind kind, const std::string& text) override {
        Messages.push_back({kind, text});
    }
    void ShowWaiting(const std::string& statusText) override { WaitTexts.push_back(statusText); }
    bool Busy() const { return !BusyTexts.empty() && !BusyTexts.back().empty(); }

    std::vector<std::string> BusyTexts;
    std::vector<std::string> WaitTexts;
    std::vector<TRecordedMessage> Messages;
    bool SaveEnabled = false;
};

// The program's clock stands at time while the object lives.
class TFixedClock {
public:
    explicit TFixedClock(std::chrono::system_clock::time_point time) {
        SetClock([time] { return time; });
    }
    ~TFixedClock() { SetClock({}); }
    TFixedClock(const TFixedClock&) = delete;
    TFixedClock& operator=(const TFixedClock&) = delete;
};

// The text of the EOrlentaError that operation throws, or "(no error)".
std::string ErrorText(const std::function<void()>& operation);

// Runs body(0) to body(count - 1) each in a child process of its own, all let go at the same
// moment, and waits for them. Returns, in order, the text of the EOrlentaError each one threw,
// "(no error)" when it threw none.
std::vector<std::string> ErrorTextsOfProcessesAtOnce(int count,
                                                     const std::function<void(int)>& body);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The raw DEFLATE stream of bytes, at zlib's default level.
std::string RawDeflateBytes(const std::string& bytes);
// The text of a raw DEFLATE stream (empty when it is not one).
std::string RawInflateBytes(const std::string& compressed);

// A catalogue of one disc whose top directory holds a chain of depth directories, each named d
// with its level (1 to depth) as its ID, the deepest holding the one file name needle.txt: a
// nesting deeper than the call stack would allow a recursive walk.
IXMLOrlentaDataType DeepCatalogue(int depth);

// A catalogue of one disc with an empty top directory, titled Shelf and Photos.
inline const std::string kShelfCatalogueText =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf" LastDirectoryID="1" Memo="">)"
    R"(<Discs><Disc Title="Photos"><Root ID="1"/></Disc></Discs></OrlentaData>)";

} // namespace orlenta::test
