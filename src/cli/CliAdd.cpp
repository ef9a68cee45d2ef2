// orlenta-cli add: one disc added to a catalogue as Disc, Add does, and saved.

#include "CatalogueCommand.h"
#include "TerminalText.h"
#include "core/base/Clock.h"
#include "core/reading/DiscReading.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orlenta::cli {

namespace {

struct TAddOptions {
    std::string Source;
    std::string Title;
    std::string Vendor;
    std::string MediaType;
    std::string CreationDate;
    std::string Memo;
    bool IncludeFilenames = false;
    bool NoSizes = false;
    bool Archives = false;
    bool NoSave = false;
};

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void NoteInterrupt(int) {
    gInterrupted = 1;
}

// Ctrl+C while it lives asks the reading to stop instead of ending the program, so that the
// partial disc is saved as the window's Stop reading keeps it.
class TInterruptScope {
public:
    TInterruptScope() {
        gInterrupted = 0;
        struct sigaction action {};
        action.sa_handler = NoteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &FPrevious);
    }
    ~TInterruptScope() { sigaction(SIGINT, &FPrevious, nullptr); }
    TInterruptScope(const TInterruptScope&) = delete;
    TInterruptScope& operator=(const TInterruptScope&) = delete;

private:
    struct sigaction FPrevious {};
};

// One line on a terminal's stderr: counts so far and the directory being read, redrawn at most
// ten times a second. The walk calls Tick after every entry, so the clock is looked at only
// every few dozen entries.
class TProgressLine {
public:
    explicit TProgressLine(bool enabled) : FEnabled(enabled) {}

    void DirectoryFound(std::string_view directory) {
        if (FEnabled)
            FCurrent.assign(directory);
    }

    void Tick(const TXMLDiscType& disc) {
        // Ticks also come while the start directory is listed, before any directory is known;
        // the first line waits for one.
        if (!FEnabled || FCurrent.empty() || (FTicks++ & 63) != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (FDrawn && now - FLastDraw < std::chrono::milliseconds(100))
            return;
        FLastDraw = now;
        Draw(disc);
    }

    void Clear() {
        if (FDrawn)
            std::fputs("\r\033[K", stderr);
        FDrawn = false;
    }

private:
    void Draw(const TXMLDiscType& disc) {
        std::string line = "\r\033[K";
        line += disc.DirCount().empty() ? "0" : disc.DirCount();
        line += " directories, ";
        line += disc.FileCount().empty() ? "0" : disc.FileCount();
        line += " files  ";
        // Names may hold anything; control bytes would wreck the line.
        for (const char c : FCurrent)
            line += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
        const std::size_t width = TerminalWidth();
        const std::size_t visible = line.size() - 4; // without "\r\033[K"
        if (width > 1 && visible >= width)
            line.resize(4 + width - 1);
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        FDrawn = true;
    }

    static std::size_t TerminalWidth() {
        struct winsize size {};
        return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
    }

    bool FEnabled;
    bool FDrawn = false;
    unsigned FTicks = 0;
    std::chrono::steady_clock::time_point FLastDraw;
    std::string FCurrent;
};

// Returns true when the catalogue is to be saved.
bool RunAdd(const TAddOptions& options, TCatalogueSession& session) {
    TDiscReading reading(session);
    reading.SetRecordSizes(!options.NoSizes);
    reading.SetReadArchives(options.Archives);
    TProgressLine progress(::isatty(STDERR_FILENO) == 1);
    reading.OnDirectoryFound = [&](std::string_view directory) {
        progress.DirectoryFound(directory);
    };
    reading.OnArchiveFound = [&](std::string_view path) { progress.DirectoryFound(path); };
    reading.OnReady = [&] { progress.Clear(); };
    reading.DirReader().SetOnProcessEvents([&](TDirReader& reader) {
        if (gInterrupted && reader.Active())
            reading.StopReading();
        progress.Tick(session.XMLDiscData());
    });

    // What the add-disc dialog hands over: read today, counts still empty.
    TDiscProperties properties;
    properties.Title = options.Title;
    properties.Vendor = options.Vendor;
    properties.MediaType = options.MediaType;
    properties.CreationDate = options.CreationDate;
    properties.ReadDate = TodayDateText();
    properties.Memo = options.Memo;

    TAddDiscResult result;
    {
        TInterruptScope interruptScope;
        result = reading.AddDisc(options.Source, options.IncludeFilenames, properties);
    }
    if (result == TAddDiscResult::InvalidDirectory)
        throw ECommandFailed(); // the host has shown why
    if (gInterrupted)
        std::cerr << "Reading stopped; the disc holds what was read until then.\n";
    const std::string unreadable =
        UnreadableDirectoriesText(reading, "the disc holds only what could be listed of them");
    if (!unreadable.empty())
        std::cerr << ForStderr(unreadable) << '\n';
    if (reading.ArchivesNotWhole() > 0)
        std::cerr << reading.ArchivesNotWhole()
                  << (reading.ArchivesNotWhole() == 1 ? " archive" : " archives")
                  << " could not be read whole; the disc holds what was listed up to the fault.\n";
    return !options.NoSave;
}

class TAddCommand final : public TCatalogueCommand {
public:
    // A writer also with --no-save: the reading is timed as it runs when it is saved.
    TAddCommand()
        : TCatalogueCommand({.Name = "add",
                             .Description = "Add a disc to FILE (created when missing) by reading "
                                            "the directory SOURCE, as Disc, Add does, and save. "
                                            "Without SOURCE the disc is virtual. Ctrl+C stops "
                                            "the reading and saves what was read.",
                             .FileHelp = "Data file to add the disc to",
                             .Use = TCatalogueUse::Write,
                             .Start = TCatalogueStart::LoadOrNew}) {}

private:
    void AddOptions(CLI::App& command) override {
        command.add_option("SOURCE", FOptions.Source, "Directory to read (none: a virtual disc)");
        command.add_option("--title", FOptions.Title, "Disc title");
        command.add_option("--vendor", FOptions.Vendor, "Disc vendor");
        command.add_option("--media-type", FOptions.MediaType, "Media type, such as CD-R");
        command.add_option("--creation-date", FOptions.CreationDate, "Creation date of the disc");
        command.add_option("--memo", FOptions.Memo, "Disc memo (escape sequences are not decoded)");
        CLI::Option* files =
            command.add_flag("--files", FOptions.IncludeFilenames, "Record the file names too");
        command.add_flag("--no-sizes", FOptions.NoSizes,
                         "Record no sizes and dates (by default each file name gets its size and "
                         "modification time, each directory the total size below it and its own "
                         "time)");
        command
            .add_flag("--archives", FOptions.Archives,
                      "Also record the folders and files inside archives (zip, 7z, rar, tar, ISO "
                      "images, cpio), each in a directory named like the archive beside it; read "
                      "from the headers alone, never extracted")
            ->needs(files);
        command.add_flag("--no-save", FOptions.NoSave,
                         "Read the disc but leave FILE untouched (to time the reading alone)");
    }

    bool Run(TCatalogueSession& session) override { return RunAdd(FOptions, session); }

    TAddOptions FOptions;
};

} // namespace

void RegisterAddCommand(CLI::App& app) {
    AddCommand<TAddCommand>(app);
}

} // namespace orlenta::cli
