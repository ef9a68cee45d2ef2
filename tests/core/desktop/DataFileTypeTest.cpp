#include "core/desktop/DataFileType.h"

#include "TestSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

const TDataFileType kOrlentaType{".olx", "Orlenta", "Orlenta datafile"};
const char* const kOurDefault = "[Default Applications]\napplication/x-orlenta=orlenta.desktop\n";

void WriteScript(const std::string& path, const std::string& body) {
    fs::create_directories(fs::path(path).parent_path());
    WriteFileBytes(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
}

// What a file is, down to whether it was replaced: its bytes, modification time and inode.
struct TFileState {
    std::string Bytes;
    long long ModifiedNs = 0;
    unsigned long long Inode = 0;
    bool operator==(const TFileState&) const = default;
};

std::map<std::string, TFileState> FilesBelow(const fs::path& folder) {
    std::map<std::string, TFileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        if (!entry.is_regular_file() || stat(entry.path().c_str(), &info) != 0)
            continue;
        files[entry.path().string()] = {ReadFileBytes(entry.path().string()),
                                        info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                                        info.st_ino};
    }
    return files;
}

// A scratch home with empty XDG folders, a program standing in for the executable and a cache
// updater that notes each run and leaves a cache behind, as the real one does.
class DataFileTypeTest : public ::testing::Test {
protected:
    DataFileTypeTest() {
        Places.ExecutablePath = Scratch / "bin/orlenta";
        Places.DataHome = Scratch / "data";
        Places.ConfigHome = Scratch / "config";
        Places.DataDirs = {Scratch / "system/local", Scratch / "system/share"};
        Places.MimeCacheUpdater = Scratch / "update-cache";
        WriteScript(Places.ExecutablePath, "exit 0\n");
        WriteScript(Places.MimeCacheUpdater,
                    "echo \"$@\" >> \"" + (Scratch / "updates") + "\"\ntouch \"$1/mime.cache\"\n");
    }

    void Register() { RegisterDataFileType(Places, kOrlentaType); }
    std::string RegisterError() {
        return test::ErrorText([this] { Register(); });
    }
    std::string Updates() const { return ReadFileBytes(Scratch / "updates"); }
    std::string PackagePath() const { return Places.DataHome + "/mime/packages/orlenta.xml"; }
    std::string EntryPath() const { return Places.DataHome + "/applications/orlenta.desktop"; }
    std::string MimeAppsPath() const { return Places.ConfigHome + "/mimeapps.list"; }
    std::map<std::string, TFileState> AllFiles() const { return FilesBelow(Scratch.Path()); }

    test::TScratchDirectory Scratch;
    TDesktopPlaces Places;
};

TEST_F(DataFileTypeTest, FirstStartWritesTheThreeFilesAndRebuildsTheCache) {
    Register();
    EXPECT_EQ(ReadFileBytes(PackagePath()), MimePackageText(kOrlentaType));
    EXPECT_EQ(ReadFileBytes(EntryPath()), DesktopEntryText(kOrlentaType, Places.ExecutablePath));
    EXPECT_EQ(ReadFileBytes(MimeAppsPath()), kOurDefault);
    EXPECT_EQ(Updates(), Places.DataHome + "/mime\n");
    // The base directory rules: folders the program makes are the user's alone.
    for (const std::string folder :
         {"/data", "/data/mime", "/data/mime/packages", "/data/applications", "/config"}) {
        EXPECT_EQ(fs::status(Scratch.Path().string() + folder).permissions(), fs::perms::owner_all)
            << folder;
    }
}

TEST_F(DataFileTypeTest, SecondStartChangesNoByte) {
    Register();
    const auto before = AllFiles();
    Register();
    EXPECT_EQ(AllFiles(), before);
    EXPECT_EQ(Updates(), Places.DataHome + "/mime\n");
}

TEST_F(DataFileTypeTest, MovedExecutableRewritesOnlyTheEntry) {
    Register();
    auto before = AllFiles();
    Places.ExecutablePath = Scratch / "My Programs/orlenta";
    Register();
    auto after = AllFiles();
    EXPECT_EQ(ReadFileBytes(EntryPath()), DesktopEntryText(kOrlentaType, Places.ExecutablePath));
    EXPECT_NE(ReadFileBytes(EntryPath()).find("\nExec=\"" + Places.ExecutablePath + "\" %f\n"),
              std::string::npos);
    before.erase(EntryPath());
    after.erase(EntryPath());
    EXPECT_EQ(after, before);
}

TEST_F(DataFileTypeTest, AnotherProgramsDefaultStaysUntilItsEntryIsGone) {
    fs::create_directories(Places.ConfigHome);
    const std::string others = "# kept\n[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                               "[Default Applications]\ntext/plain=gedit.desktop\n";
    const std::string mimeApps =
        others + "application/x-orlenta=other.desktop\nimage/png=eog.desktop\n";
    WriteFileBytes(MimeAppsPath(), mimeApps);
    // A list kept elsewhere (a dotfiles folder) stays a link to it.
    fs::create_directories(Scratch / "dotfiles");
    fs::rename(MimeAppsPath(), Scratch / "dotfiles/mimeapps.list");
    fs::create_symlink(Scratch / "dotfiles/mimeapps.list", MimeAppsPath());
    const std::string otherEntry = Places.DataHome + "/applications/other.desktop";
    fs::create_directories(Places.DataHome + "/applications");
    WriteFileBytes(otherEntry, "[Desktop Entry]\nType=Application\nName=Other\nExec=other %f\n");
    Register();
    EXPECT_EQ(ReadFileBytes(MimeAppsPath()), mimeApps);
    fs::remove(otherEntry);
    Register();
    EXPECT_TRUE(fs::is_symlink(MimeAppsPath()));
    EXPECT_EQ(ReadFileBytes(MimeAppsPath()),
              others + "application/x-orlenta=orlenta.desktop\nimage/png=eog.desktop\n");
}

// The user's default is found where the desktop finds desktop entries: the user's applications
// folder, then the system's, an entry in a subfolder under the ID "subfolder-name".
TEST_F(DataFileTypeTest, DefaultStaysWhereverTheDesktopFindsItsEntry) {
    struct TInstalledCase {
        const char* Id;
        std::string EntryPath; // empty: nowhere
        bool Kept;
    };
    const TInstalledCase cases[] = {
        {"myviewer.desktop", Places.DataHome + "/applications/myviewer.desktop", true},
        {"myviewer.desktop", Places.DataDirs[1] + "/applications/myviewer.desktop", true},
        {"vendor-my-viewer.desktop", Places.DataDirs[0] + "/applications/vendor/my-viewer.desktop",
         true},
        {"vendor-my-viewer.desktop", Places.DataHome + "/applications/vendor-my/viewer.desktop",
         true},
        {"myviewer.desktop", "", false},
        {"myviewer.desktop", Places.DataHome + "/applications/myviewer.desktop/", false},
        {"vendor-my-viewer.desktop", Places.DataHome + "/applications/vendor/my/viewer.desktop/x",
         false},
        {"../applications/orlenta.desktop", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Id) + " at " + c.EntryPath);
        fs::remove_all(Places.DataHome);
        fs::remove_all(Scratch / "system");
        if (!c.EntryPath.empty()) {
            fs::create_directories(fs::path(c.EntryPath).parent_path());
            if (c.EntryPath.back() == '/')
                fs::create_directories(c.EntryPath);
            else
                WriteFileBytes(c.EntryPath, "[Desktop Entry]\nType=Application\n");
        }
        fs::create_directories(Places.ConfigHome);
        const std::string chosen =
            std::string("[Default Applications]\napplication/x-orlenta=") + c.Id + "\n";
        WriteFileBytes(MimeAppsPath(), chosen);
        Register();
        EXPECT_EQ(ReadFileBytes(MimeAppsPath()), c.Kept ? chosen : kOurDefault);
    }
}

// What the user changed by hand stays at every start, a start from a new place included: a line
// added to the program's entry, and another opener chosen for the type.
TEST_F(DataFileTypeTest, UsersEditedEntryAndChosenOpenerStay) {
    Register();
    WriteFileBytes(EntryPath(), ReadFileBytes(EntryPath()) + "NoDisplay=true\n");
    WriteFileBytes(Places.DataHome + "/applications/myviewer.desktop",
                   "[Desktop Entry]\nType=Application\nName=My viewer\nExec=myviewer %f\n");
    WriteFileBytes(MimeAppsPath(),
                   "[Default Applications]\napplication/x-orlenta=myviewer.desktop\n");
    const auto before = AllFiles();
    Register();
    Places.ExecutablePath = Scratch / "My Programs/orlenta";
    Register();
    EXPECT_EQ(AllFiles(), before);
}

// Windows that start together in a fresh home: the cache is rebuilt once, by the first, and none
// of them reports a failure. The cache updater here fails when another copy of it runs, as two
// real ones spoil each other's files.
TEST_F(DataFileTypeTest, RegistrationsStartedTogetherWaitForEachOther) {
    WriteScript(Places.MimeCacheUpdater,
                "mkdir \"$1/updating\" || exit 1\necho \"$@\" >> \"" + (Scratch / "updates") +
                    "\"\nsleep 0.2\ntouch \"$1/mime.cache\"\nrmdir \"$1/updating\"\n");
    const auto errors = test::ErrorTextsOfProcessesAtOnce(4, [&](int) { Register(); });
    EXPECT_EQ(errors, std::vector<std::string>(4, "(no error)"));
    EXPECT_EQ(Updates(), Places.DataHome + "/mime\n");
    EXPECT_EQ(ReadFileBytes(MimeAppsPath()), kOurDefault);
    // Nothing is left of the lock.
    EXPECT_EQ(FilesBelow(Places.DataHome + "/mime/packages").size(), 1u);
}

// Programs with data folders of their own and one configuration folder set their defaults in
// mimeapps.list at the same time: each one's lines stay.
TEST_F(DataFileTypeTest, WritersOfTheDefaultsKeepEachOthersLines) {
    constexpr int kTypes = 60;
    Places.MimeCacheUpdater.clear();
    const auto errors = test::ErrorTextsOfProcessesAtOnce(2, [&](int writer) {
        TDesktopPlaces places = Places;
        places.DataHome += std::to_string(writer);
        for (int i = 0; i < kTypes; ++i) {
            // Appended rather than "a" + ...: GCC 12 at -O3 takes that for an overlapping copy.
            std::string name = writer == 0 ? "a" : "b";
            name += std::to_string(i);
            RegisterDataFileType(places, {".x", name, name});
        }
    });
    EXPECT_EQ(errors, std::vector<std::string>(2, "(no error)"));
    const std::string mimeApps = ReadFileBytes(MimeAppsPath());
    for (const char* writer : {"a", "b"}) {
        for (int i = 0; i < kTypes; ++i) {
            const std::string name = writer + std::to_string(i);
            EXPECT_NE(mimeApps.find("\napplication/x-" + name + "=" + name + ".desktop\n"),
                      std::string::npos)
                << name;
        }
    }
}

TEST_F(DataFileTypeTest, CacheIsRebuiltAtTheNextStartWhenItCouldNotBeBefore) {
    // Not installed: nothing to run, and that is no failure.
    const std::string updater = Places.MimeCacheUpdater;
    Places.MimeCacheUpdater = Scratch / "not-installed";
    Register();
    EXPECT_FALSE(fs::exists(Places.DataHome + "/mime/mime.cache"));
    // Installed since: the package is older than any cache, so it is rebuilt once.
    Places.MimeCacheUpdater = updater;
    Register();
    Register();
    EXPECT_EQ(Updates(), Places.DataHome + "/mime\n");
}

TEST_F(DataFileTypeTest, FailingCacheRebuildIsReportedAfterTheFilesAndTriedAgain) {
    const std::string updater = Places.MimeCacheUpdater;
    Places.MimeCacheUpdater = Scratch / "broken-update";
    WriteScript(Places.MimeCacheUpdater, "exit 3\n");
    EXPECT_EQ(RegisterError(), "Failed to register the .olx file type with the desktop. " +
                                   Places.MimeCacheUpdater + " ended with exit status 3.");
    EXPECT_EQ(ReadFileBytes(MimeAppsPath()), kOurDefault);
    Places.MimeCacheUpdater = updater;
    Register();
    EXPECT_EQ(Updates(), Places.DataHome + "/mime\n");
}

TEST_F(DataFileTypeTest, FailureSaysWhatAndWhereAndKeepsWhatWasWritten) {
    const std::string prefix = "Failed to register the .olx file type with the desktop. ";
    struct TFailureCase {
        const char* Name;
        std::function<void()> Prepare;
        std::string Error;
        bool PackageWritten;
    };
    const std::string applications = Places.DataHome + "/applications";
    const TFailureCase cases[] = {
        {"a file in the way of a folder",
         [&] {
             fs::create_directories(Places.DataHome);
             WriteFileBytes(applications, "");
         },
         prefix + "Cannot create folder \"" + applications + "\". Not a directory.", true},
        {"a read-only entry the program wrote for another place",
         [&] {
             fs::create_directories(applications);
             WriteFileBytes(EntryPath(), DesktopEntryText(kOrlentaType, "/old/place/orlenta"));
             fs::permissions(EntryPath(), fs::perms::owner_read);
         },
         prefix + "Cannot create file \"" + EntryPath() + "\". Permission denied.", true},
        {"a folder in the way of the defaults", [&] { fs::create_directories(MimeAppsPath()); },
         prefix + "Cannot open file \"" + MimeAppsPath() + "\". Is a directory.", true},
        {"an executable path that is not UTF-8",
         [&] { Places.ExecutablePath = "/opt/\xE9t\xE9/orlenta"; },
         prefix + "The program's path \"/opt/\xE9t\xE9/orlenta\" cannot be written into a "
                  "desktop entry.",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(Places.DataHome);
        fs::remove_all(Places.ConfigHome);
        c.Prepare();
        EXPECT_EQ(RegisterError(), c.Error);
        EXPECT_EQ(fs::exists(PackagePath()), c.PackageWritten);
        Places.ExecutablePath = Scratch / "bin/orlenta";
    }
}

TEST_F(DataFileTypeTest, ReadOnlyDataFolderFailsWithItsPath) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    fs::create_directories(Places.DataHome);
    fs::permissions(Places.DataHome, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(RegisterError(), "Failed to register the .olx file type with the desktop. "
                               "Cannot create folder \"" +
                                   Places.DataHome + "/mime\". Permission denied.");
}

// Sets an environment variable, or unsets it for nullopt, for the object's lifetime.
class TEnvironmentVariable {
public:
    TEnvironmentVariable(const char* name, std::optional<std::string> value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        Set(value);
    }
    ~TEnvironmentVariable() { Set(FOld); }
    TEnvironmentVariable(const TEnvironmentVariable&) = delete;
    TEnvironmentVariable& operator=(const TEnvironmentVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            setenv(FName, value->c_str(), 1);
        else
            unsetenv(FName);
    }
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(CurrentDesktopPlaces, FollowsTheBaseDirectoryRules) {
    struct TPlacesCase {
        std::optional<std::string> DataHome;
        std::optional<std::string> ConfigHome;
        std::string ExpectedData;
        std::string ExpectedConfig;
    };
    const TPlacesCase cases[] = {
        {"/x/data", "/x/config", "/x/data", "/x/config"},
        {std::nullopt, std::nullopt, "/home/ann/.local/share", "/home/ann/.config"},
        // Empty and relative values are ignored.
        {"", "relative/config", "/home/ann/.local/share", "/home/ann/.config"},
        {"/x/data/", "/x/config//", "/x/data", "/x/config"},
    };
    const TEnvironmentVariable home("HOME", "/home/ann/");
    for (const auto& c : cases) {
        const TEnvironmentVariable data("XDG_DATA_HOME", c.DataHome);
        const TEnvironmentVariable config("XDG_CONFIG_HOME", c.ConfigHome);
        const TDesktopPlaces places = CurrentDesktopPlaces();
        EXPECT_EQ(places.DataHome, c.ExpectedData);
        EXPECT_EQ(places.ConfigHome, c.ExpectedConfig);
        EXPECT_EQ(places.ExecutablePath, fs::read_symlink("/proc/self/exe").string());
        EXPECT_EQ(places.MimeCacheUpdater, "update-mime-database");
    }
    const std::pair<std::optional<std::string>, std::vector<std::string>> dataDirsCases[] = {
        {std::nullopt, {"/usr/local/share", "/usr/share"}},
        {"", {"/usr/local/share", "/usr/share"}},
        {"/opt/share/:relative::/usr/share", {"/opt/share", "/usr/share"}},
    };
    for (const auto& [value, expected] : dataDirsCases) {
        const TEnvironmentVariable dataDirs("XDG_DATA_DIRS", value);
        EXPECT_EQ(CurrentDesktopPlaces().DataDirs, expected) << value.value_or("(unset)");
    }
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The first line that a shell command prints.
std::string FirstLineOf(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::string output;
    char buffer[4096];
    while (const size_t count = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, count);
    pclose(pipe);
    return output.substr(0, output.find('\n'));
}

// The desktop's own tools, run on what the registration wrote: a data file is of our type, our
// entry is its default, and starting the entry with a file hands the program that file's path as
// its one argument, blanks and all.
TEST_F(DataFileTypeTest, DesktopToolsSeeTheRegistration) {
    for (const char* tool : {"xdg-mime", "gio", "update-mime-database"}) {
        if (!Installed(tool))
            GTEST_SKIP() << tool << " is not installed";
    }
    Places.MimeCacheUpdater = "update-mime-database";
    // Another program that opens the type too, and would win without our default.
    fs::create_directories(Places.DataHome + "/applications");
    WriteFileBytes(Places.DataHome + "/applications/other.desktop",
                   "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n"
                   "MimeType=application/x-orlenta;\nInitialPreference=9\n");
    const std::string program = "printf '%s\\n' \"$#\" \"$@\" > \"$0.arguments\"\n";
    WriteScript(Places.ExecutablePath, program);
    Register();
    const std::string dataFile = Scratch / "my discs.olx";
    WriteFileBytes(dataFile, test::RawDeflateBytes("<?xml version=\"1.0\"?><OrlentaData/>"));

    // Only our scratch folders and the system's own MIME database; gio answers for GNOME.
    const std::string environment =
        "env -u KDE_FULL_SESSION -u XDG_MENU_PREFIX HOME=" + ShellQuoted(Scratch / "home") +
        " XDG_DATA_HOME=" + ShellQuoted(Places.DataHome) +
        " XDG_CONFIG_HOME=" + ShellQuoted(Places.ConfigHome) +
        " XDG_CACHE_HOME=" + ShellQuoted(Scratch / "cache") +
        " XDG_CONFIG_DIRS=" + ShellQuoted(Scratch / "none") +
        " XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CURRENT_DESKTOP=GNOME ";
    EXPECT_EQ(FirstLineOf(environment + "xdg-mime query filetype " + ShellQuoted(dataFile)),
              "application/x-orlenta");
    EXPECT_EQ(FirstLineOf(environment + "xdg-mime query default application/x-orlenta"),
              "orlenta.desktop");

    Places.ExecutablePath = Scratch / "My Programs/orlenta";
    WriteScript(Places.ExecutablePath, program);
    Register();
    const std::string arguments = Places.ExecutablePath + ".arguments";
    std::system((environment + "gio launch " + ShellQuoted(EntryPath()) + " " +
                 ShellQuoted(dataFile) + " >/dev/null 2>&1")
                    .c_str());
    // The entry's program runs on its own; give it a moment.
    for (int wait = 0; wait < 100 && ReadFileBytes(arguments).empty(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadFileBytes(arguments), "1\n" + dataFile + "\n");
}

} // namespace
} // namespace orlenta
