// Bringing a disc up to date: what a stop and a second disc do to it.

#include "core/reading/DiscRescan.h"

#include "TestSupport.h"
#include "TreeFixture.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::MakeTree;
using test::WriteFileBytes;

std::string XmlText(const TXMLNode& node) {
    std::ostringstream text;
    node.XmlNode().print(text, "", pugi::format_raw);
    return text.str();
}

class DiscRescanTest : public ::testing::Test {
protected:
    DiscRescanTest() : Session(Host), Reading(Session), Tree(Dir / "tree") {
        Session.NewCatalogue();
        Reading.SetRecordSizes(true);
        Reading.OnReady = [this] { Host.SetBusy(""); };
        MakeTree(Tree, {"a/x", "a/b/y", "z"});
        TDiscProperties properties;
        properties.Title = "First";
        Reading.AddDisc(Tree, true, properties);
        properties.Title = "Second";
        Reading.AddDisc(Tree, true, properties);
    }

    test::TScratchDirectory Dir;
    test::TRecordingHost Host;
    TCatalogueSession Session;
    TDiscReading Reading;
    std::string Tree;
};

TEST_F(DiscRescanTest, StopLeavesTheDiscAsItWas) {
    MakeTree(Tree, {"c/new"});
    const IXMLDiscType disc = Session.XMLIndexData().Discs().Disc(0);
    const std::string before = XmlText(disc);
    TDiscRescan rescan(Session);
    rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
    rescan.Reading().DirReader().SetOnProcessEvents([&](TDirReader&) { rescan.Stop(); });
    EXPECT_FALSE(rescan.Read(disc, Tree));
    EXPECT_EQ(XmlText(disc), before);
}

TEST_F(DiscRescanTest, ApplyGivesNewIdsAndLeavesTheOtherDiscsAlone) {
    MakeTree(Tree, {"c/new"});
    const IXMLDiscType first = Session.XMLIndexData().Discs().Disc(0);
    const std::string second = XmlText(Session.XMLIndexData().Discs().Disc(1));
    TDiscRescan rescan(Session);
    rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
    ASSERT_TRUE(rescan.Read(first, Tree));
    EXPECT_EQ(rescan.Difference().Added, 2u);
    rescan.Apply(first);
    // Two discs of a Root and two directories each used IDs 1 to 6: the three directories now
    // get 7 to 9, the Root keeps its own.
    EXPECT_EQ(first.Root().ID(), "1");
    EXPECT_EQ(first.Root().Directories().Directory(0).ID(), "7");
    EXPECT_EQ(Session.XMLIndexData().LastDirectoryID(), "9");
    EXPECT_EQ(first.DirCount(), "3");
    EXPECT_EQ(first.FileCount(), "4");
    EXPECT_EQ(first.Title(), "First");
    EXPECT_EQ(XmlText(Session.XMLIndexData().Discs().Disc(1)), second);
    // Read again: nothing changed against what was put in place.
    ASSERT_TRUE(rescan.Read(first, Tree));
    EXPECT_TRUE(rescan.Difference().Empty());
}

// A folder that cannot be listed says nothing of what it holds now: it keeps what the disc held
// (folders, files, total size and counts), and only the real changes remain.
TEST_F(DiscRescanTest, FolderThatCannotBeReadKeepsWhatTheDiscHeld) {
    WriteFileBytes(Tree + "/a/x", "12345");
    WriteFileBytes(Tree + "/z", "1");
    TCatalogueSession session(Host);
    session.NewCatalogue();
    TDiscReading reading(session);
    reading.SetRecordSizes(true);
    reading.OnReady = [this] { Host.SetBusy(""); };
    reading.AddDisc(Tree, true, {});
    const IXMLDiscType disc = session.XMLIndexData().Discs().Disc(0);
    const std::string held = XmlText(disc.Root().Directories().Directory(0));
    MakeTree(Tree, {"c/new"});

    const std::string result = test::WithFolderUnreadable(Dir.Path(), Tree + "/a", [&] {
        TDiscRescan rescan(session);
        rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
        if (!rescan.Read(disc, Tree))
            return std::string("not read");
        std::string outcome = rescan.UnreadableText() + "\n";
        outcome += std::to_string(rescan.Difference().Added) + " added, " +
                   std::to_string(rescan.Difference().Removed) + " removed\n";
        rescan.Apply(disc);
        return outcome + XmlText(disc.Root().Directories().Directory(0)) + "\n" +
               std::string(disc.DirCount()) + " " + std::string(disc.FileCount()) + " " +
               std::to_string(disc.Root().Size().value_or(0));
    });
    // The IDs are new (the first reading used 1 to 3); everything else of it is as it was.
    std::string expected = held;
    expected.replace(expected.find(R"(ID="2")"), 6, R"(ID="4")");
    expected.replace(expected.find(R"(ID="3")"), 6, R"(ID="5")");
    EXPECT_EQ(result, "1 folder could not be read; they keep what the disc held:\n  " + Tree +
                          "/a\n2 added, 0 removed\n" + expected + "\n3 4 6");
}

TEST_F(DiscRescanTest, SourceThatCannotBeReadIsRefused) {
    const IXMLDiscType disc = Session.XMLIndexData().Discs().Disc(0);
    const std::string before = XmlText(disc);
    const std::string result = test::WithFolderUnreadable(Dir.Path(), Tree, [&] {
        TDiscRescan rescan(Session);
        rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
        const std::string outcome = rescan.Read(disc, Tree) ? "read" : "refused";
        return outcome + ": " +
               (Host.Messages.empty() ? "(no message)" : Host.Messages.back().Text);
    });
    EXPECT_EQ(result,
              "refused: Cannot read the folder \"" + Tree + "\"; the disc is left as it was.");
    EXPECT_EQ(XmlText(disc), before);
}

// A reading that looks like the disc went missing is held back with a reason; one that keeps a
// file of the disc is not.
TEST_F(DiscRescanTest, ReadingThatWouldEmptyTheDiscCarriesAWarning) {
    const std::string table = Dir / "fstab";
    WriteFileBytes(table, "# the disc's mount point\n/dev/sr0 " + Tree + " iso9660 noauto 0 0\n");
    const struct {
        std::string Name;
        std::function<void()> Change;
        std::string FileSystemTable;
        std::optional<TRescanRisk> Risk;
    } cases[] = {
        {"one file kept", [&] { fs::remove_all(Tree + "/a"); }, "", std::nullopt},
        {"emptied", [&] { fs::remove_all(Tree + "/z"); }, "", TRescanRisk::SourceEmpty},
        {"a mount point of the table, not mounted", [] {}, table, TRescanRisk::NotMounted},
        {"another disc in its place", [&] { MakeTree(Tree, {"other/w"}); }, "",
         TRescanRisk::RemovesEveryFile},
    };
    for (const auto& testCase : cases) {
        testCase.Change();
        const IXMLDiscType disc = Session.XMLIndexData().Discs().Disc(0);
        TDiscRescan rescan(Session);
        rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
        if (!testCase.FileSystemTable.empty())
            rescan.SetFileSystemTable(testCase.FileSystemTable);
        ASSERT_TRUE(rescan.Read(disc, Tree)) << testCase.Name;
        ASSERT_EQ(rescan.Warning().has_value(), testCase.Risk.has_value()) << testCase.Name;
        if (testCase.Risk) {
            EXPECT_EQ(rescan.Warning()->Risk, *testCase.Risk) << testCase.Name;
        }
    }
    fs::remove_all(Tree + "/other");
    TDiscRescan rescan(Session);
    rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
    ASSERT_TRUE(rescan.Read(Session.XMLIndexData().Discs().Disc(1), Tree));
    EXPECT_EQ(rescan.Warning()->Text,
              "The folder \"" + Tree +
                  "\" is empty: applying would remove all 3 files and 2 folders of the disc. Is "
                  "the disc mounted?");
}

} // namespace
} // namespace orlenta
