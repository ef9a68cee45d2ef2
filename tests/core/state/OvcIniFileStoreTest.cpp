#include "core/state/OvcIniFileStore.h"

#include "TestSupport.h"
#include "core/state/ProfileLocation.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orlenta {
namespace {

using test::ErrorText;
using test::ReadFileBytes;
using test::TScratchDirectory;
using test::WriteFileBytes;
namespace fs = std::filesystem;

TOvcIniFileStore StoreAt(const std::string& path) {
    return TOvcIniFileStore([path](const std::string&) { return path; });
}

TEST(OvcIniFileStore, ReadsDefaultsAndWritesNothingWithoutAFile) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store = StoreAt(path);
    {
        TIniFileStoreScope scope(store);
        EXPECT_EQ(store.ReadString("GUI", "NormalPos", "none"), "none");
        EXPECT_EQ(store.ReadInteger("GUI", "PixelsPerInch", 96), 96);
        store.EraseSection("Add.RootFromHistoryComboBox.Items");
        scope.Close();
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST(OvcIniFileStore, WritesAtTheLastCloseOfABracket) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store = StoreAt(path);
    store.Open();
    store.Open();
    EXPECT_EQ(store.FileName(), path);
    store.WriteString("Add", "RootFromHistoryComboBox.Text", "/data");
    store.WriteInteger("GUI", "Color", -16777201);
    EXPECT_EQ(store.ReadString("Add", "RootFromHistoryComboBox.Text", ""), "/data");
    store.Close();
    EXPECT_FALSE(fs::exists(path));
    store.Close();
    EXPECT_EQ(ReadFileBytes(path), "[Add]\nRootFromHistoryComboBox.Text=/data\n"
                                   "[GUI]\nColor=-16777201\n");
    // Outside a bracket every call goes to the file.
    store.WriteString("Add", "RootFromHistoryComboBox.Text", "/other");
    EXPECT_EQ(StoreAt(path).ReadString("add", "rootfromhistorycombobox.text", ""), "/other");
}

TEST(OvcIniFileStore, KeepsTheFileAsciiAndValuesWhole) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    TOvcIniFileStore store = StoreAt(path);
    const std::string photos = "/data/Fotos f\xC3\xBCr Oma ";
    store.WriteString("Add", "Item0", photos);
    EXPECT_EQ(ReadFileBytes(path), "[Add]\nItem0=UTF7-coded:/data/Fotos f+APw-r Oma \n");
    EXPECT_EQ(store.ReadString("Add", "Item0", ""), photos);
    // A value equal to the default comes back as it is, coded or not.
    WriteFileBytes(path, "[Add]\nItem0=UTF7-coded:+APw-\n");
    EXPECT_EQ(store.ReadString("Add", "Item0", "UTF7-coded:+APw-"), "UTF7-coded:+APw-");
    EXPECT_EQ(store.ReadString("Add", "Item0", ""), "\xC3\xBC");
}

TEST(OvcIniFileStore, ReadsLinesWrittenInWindows1252) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    const std::string windowsLine = "RootFromHistoryComboBox.Text=C:\\Caf\xE9\r\n";
    WriteFileBytes(path, "[Add]\r\n" + windowsLine);
    TOvcIniFileStore store = StoreAt(path);
    EXPECT_EQ(store.ReadString("Add", "RootFromHistoryComboBox.Text", ""), "C:\\Caf\xC3\xA9");
    store.WriteString("Add", "IncludeFilenamesCheckBox.Checked", "True");
    EXPECT_EQ(ReadFileBytes(path),
              "[Add]\r\n" + windowsLine + "IncludeFilenamesCheckBox.Checked=True\r\n");
}

TEST(OvcIniFileStore, ReadsSigned32BitDecimalsOnly) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    const struct {
        const char* Stored;
        int Read;
    } cases[] = {{"96", 96},
                 {" 120 ", 120},
                 {"-16777201", -16777201},
                 {"+5", 5},
                 {"2147483647", INT_MAX},
                 {"2147483648", -1},
                 {"-2147483649", -1},
                 {"12a", -1},
                 {"", -1},
                 {"0x10", -1},
                 {"1.5", -1}};
    for (const auto& c : cases) {
        WriteFileBytes(path, std::string("[GUI]\nPixelsPerInch=") + c.Stored + "\n");
        EXPECT_EQ(StoreAt(path).ReadInteger("GUI", "PixelsPerInch", -1), c.Read) << c.Stored;
    }
    EXPECT_EQ(StoreAt(path).ReadInteger("GUI", "Absent", 7), 7);
}

TEST(OvcIniFileStore, ReportsARefusedWriteWithTheFullPath) {
    TScratchDirectory scratch;
    // A folder that is a file cannot be written, whoever runs the test.
    WriteFileBytes(scratch / "folder", "");
    const std::string blocked = scratch / "folder/Orlenta.ini";
    TOvcIniFileStore store = StoreAt(blocked);
    EXPECT_EQ(ErrorText([&] { store.WriteString("GUI", "Flags", "0"); }),
              "Unable to write to " + blocked);
    store.Open();
    store.WriteString("GUI", "Flags", "0");
    EXPECT_EQ(ErrorText([&] { store.Close(); }), "Unable to write to " + blocked);
    EXPECT_FALSE(store.IsOpen());

    // A read-only file keeps its content.
    const std::string readOnly = scratch / "Orlenta.ini";
    WriteFileBytes(readOnly, "[GUI]\nFlags=0\n");
    chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(ErrorText([&] { StoreAt(readOnly).WriteInteger("GUI", "Flags", 2); }),
              "Unable to write to " + readOnly);
    EXPECT_EQ(ReadFileBytes(readOnly), "[GUI]\nFlags=0\n");

    // No write goes without the lock: a lock file that cannot be taken refuses it too.
    chmod(readOnly.c_str(), 0644);
    fs::create_directory(scratch / ".Orlenta.ini.lock");
    EXPECT_EQ(ErrorText([&] { StoreAt(readOnly).WriteInteger("GUI", "Flags", 2); }),
              "Unable to write to " + readOnly);
    EXPECT_EQ(ReadFileBytes(readOnly), "[GUI]\nFlags=0\n");
}

// Windows of three processes, each writing its own section 300 times, by single writes or by
// brackets: each one's last value is in the file at the end.
TEST(OvcIniFileStore, WritersInSeveralProcessesKeepEachOthersLines) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    for (const bool bracket : {false, true}) {
        SCOPED_TRACE(bracket ? "brackets" : "single writes");
        fs::remove(path);
        const auto errors = test::ErrorTextsOfProcessesAtOnce(3, [&](int writer) {
            TOvcIniFileStore store = StoreAt(path);
            const std::string section = "Writer" + std::to_string(writer);
            for (int i = 0; i < 300; ++i) {
                if (bracket)
                    store.Open();
                store.WriteInteger(section, "Value", i);
                if (bracket)
                    store.Close();
            }
        });
        EXPECT_EQ(errors, std::vector<std::string>(3, "(no error)"));
        for (const char* section : {"Writer0", "Writer1", "Writer2"})
            EXPECT_EQ(StoreAt(path).ReadInteger(section, "Value", -1), 299) << section;
        EXPECT_FALSE(fs::exists(scratch / ".Orlenta.ini.lock"));
    }
}

// A bracket makes its changes to the file as it is at its Close: what was written meanwhile
// stays, but for the keys the bracket wrote itself.
TEST(OvcIniFileStore, BracketKeepsWhatWasWrittenSinceItsOpen) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    WriteFileBytes(path, "[Main]\nLeft=1\n[Add]\nItem0=/a\n");
    TOvcIniFileStore window = StoreAt(path);
    window.Open();
    window.WriteInteger("Main", "Left", 2);
    window.EraseSection("Add");
    // Another window saves in between.
    TOvcIniFileStore other = StoreAt(path);
    other.WriteInteger("Main", "Left", 3);
    other.WriteInteger("Main", "Top", 4);
    other.WriteString("Search", "Text", "x");
    window.Close();
    EXPECT_EQ(ReadFileBytes(path), "[Main]\nLeft=2\nTop=4\n[Search]\nText=x\n");
}

// A CR LF file stays one when a line is added after a last line without its end.
TEST(OvcIniFileStore, CrLfFileKeepsCrLfOnItsLastLine) {
    TScratchDirectory scratch;
    const std::string path = scratch / "Orlenta.ini";
    WriteFileBytes(path, "[GUI]\r\nFlags=0");
    StoreAt(path).WriteInteger("GUI", "Color", 5);
    EXPECT_EQ(ReadFileBytes(path), "[GUI]\r\nFlags=0\r\nColor=5\r\n");
    WriteFileBytes(path, "[GUI]\nFlags=0");
    StoreAt(path).WriteInteger("GUI", "Color", 5);
    EXPECT_EQ(ReadFileBytes(path), "[GUI]\nFlags=0\nColor=5\n");
}

TEST(ProfileFilePath, BesideTheExecutableOnlyWhenAFileStandsThere) {
    TScratchDirectory scratch;
    fs::create_directories(scratch.Path() / "bin");
    fs::create_directories(scratch.Path() / "portable/Orlenta.ini");
    const std::string home = scratch / "home";
    TProfileEnvironment environment{scratch / "bin/orlenta", "", home};
    EXPECT_EQ(ProfileFilePath(environment, "Orlenta.ini"), home + "/.config/orlenta/Orlenta.ini");
    environment.ConfigHome = "relative/config";
    EXPECT_EQ(ProfileFilePath(environment, "Orlenta.ini"), home + "/.config/orlenta/Orlenta.ini");
    environment.ConfigHome = scratch / "xdg";
    EXPECT_EQ(ProfileFilePath(environment, "Orlenta.ini"), scratch / "xdg/orlenta/Orlenta.ini");
    // A folder of that name is no profile file.
    environment.ExecutablePath = scratch / "portable/orlenta";
    EXPECT_EQ(ProfileFilePath(environment, "Orlenta.ini"), scratch / "xdg/orlenta/Orlenta.ini");
    WriteFileBytes(scratch / "bin/Orlenta.ini", "");
    environment.ExecutablePath = scratch / "bin/orlenta";
    EXPECT_EQ(ProfileFilePath(environment, "Orlenta.ini"), scratch / "bin/Orlenta.ini");

    // The configuration folder is made, private, by the first write.
    environment.ExecutablePath.clear();
    TOvcIniFileStore store(
        [environment](const std::string& name) { return ProfileFilePath(environment, name); });
    store.WriteInteger("GUI", "Flags", 0);
    EXPECT_EQ(ReadFileBytes(scratch / "xdg/orlenta/Orlenta.ini"), "[GUI]\nFlags=0\n");
    EXPECT_EQ(fs::status(scratch.Path() / "xdg/orlenta").permissions(), fs::perms::owner_all);
}

} // namespace
} // namespace orlenta
