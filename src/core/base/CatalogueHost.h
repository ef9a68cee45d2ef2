#pragma once

// What the catalogue operations need from the front end that runs them, and the names that the
// data file, its lock and the session share. It includes nothing of ours, so that every part of
// core may use it.

#include <string>

namespace orlenta {

// The kinds of message box the program shows.
enum class TMessageKind { Error, Information, Confirmation, Plain };

// What the catalogue operations need from the front end that runs them: the window implements it
// with its widgets, the command-line tool with stderr, tests with a recorder.
class ICatalogueHost {
public:
    virtual ~ICatalogueHost() = default;
    // Enters busy mode with a status text; the empty text leaves it. It does not nest.
    virtual void SetBusy(const std::string& statusText) = 0;
    // FileChanged became changed: the Save command is enabled exactly when it is true.
    virtual void FileChangedSet(bool changed) = 0;
    // A message box of this kind with the one button OK.
    virtual void ShowMessage(TMessageKind kind, const std::string& text) = 0;
    // The operation has been waiting a second for another process to let go of a file: the
    // status text says so; the empty text follows when the wait is over.
    virtual void ShowWaiting(const std::string& statusText) { (void)statusText; }
};

// Busy mode with a status text for as long as the object lives, left however the operation ends.
class TBusyScope {
public:
    TBusyScope(ICatalogueHost& host, const std::string& text) : FHost(host) { FHost.SetBusy(text); }
    ~TBusyScope() { FHost.SetBusy(""); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    ICatalogueHost& FHost;
};

// A host that shows nothing and answers nothing: for measuring and for tests that only need the
// operations' results.
class TSilentHost : public ICatalogueHost {
public:
    void SetBusy(const std::string&) override {}
    void FileChangedSet(bool) override {}
    void ShowMessage(TMessageKind, const std::string&) override {}
};

// The name of the temporary file of loads and saves, relative to the working directory.
inline constexpr const char* kTemporaryFileName = "Orlenta.tmp";

} // namespace orlenta
