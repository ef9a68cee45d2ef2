#include "core/reading/DiscReading.h"

#include "TestSupport.h"
#include "TreeFixture.h"
#include "core/base/OrlentaError.h"
#include "core/base/PathText.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::ErrorText;
using test::MakeTree;
using test::TRecordingHost;
using test::TScratchDirectory;

std::string XmlText(const TXMLNode& node) {
    std::ostringstream text;
    node.XmlNode().print(text, "", pugi::format_raw);
    return text.str();
}

class DiscReadingTest : public ::testing::Test {
protected:
    DiscReadingTest() : Session(Host), Reading(Session), Root(Dir / "E") {
        Session.NewCatalogue();
        Reading.OnReady = [this] {
            ++ReadyCount;
            Host.SetBusy(""); // as the window's ready handler does
        };
    }

    TAddDiscResult Add(const std::string& source, bool includeFilenames = true) {
        TDiscProperties properties;
        properties.Title = "Disc";
        return Reading.AddDisc(source, includeFilenames, properties);
    }

    IXMLDiscType LastDisc() const {
        const IXMLDiscsType discs = Session.XMLIndexData().Discs();
        return discs.Disc(discs.Count() - 1);
    }

    TScratchDirectory Dir;
    TRecordingHost Host;
    TCatalogueSession Session;
    TDiscReading Reading;
    std::string Root;
    int ReadyCount = 0;
};

TEST_F(DiscReadingTest, WorkedExampleGivesIdsInPreOrderAndClimbsBackToTheRoot) {
    MakeTree(Root, {"A/a.txt", "A/B/", "c.txt"});
    Session.XMLIndexData().SetLastDirectoryID("7");
    std::vector<std::string> labels;
    Reading.OnDirectoryFound = [&](std::string_view directory) { labels.emplace_back(directory); };

    ASSERT_EQ(Add(Root + "/"), TAddDiscResult::Added);

    const IXMLDiscType disc = LastDisc();
    EXPECT_EQ(XmlText(disc.Root()),
              R"(<Root ID="8"><Directories><Directory Name="A" ID="9"><Filenames>)"
              R"(<Filename Text="a.txt"/></Filenames><Directories><Directory Name="B" ID="10"/>)"
              R"(</Directories></Directory></Directories><Filenames><Filename Text="c.txt"/>)"
              R"(</Filenames></Root>)");
    EXPECT_EQ(disc.DirCount(), "2");
    EXPECT_EQ(disc.FileCount(), "2");
    EXPECT_EQ(Session.XMLIndexData().LastDirectoryID(), "10");
    EXPECT_EQ(labels, (std::vector<std::string>{Root + "/", Root + "/A/", Root + "/A/B/"}));
    EXPECT_EQ(Session.XMLDiscData(), disc);
    EXPECT_EQ(ReadyCount, 1);
    EXPECT_EQ(Host.BusyTexts, (std::vector<std::string>{"Reading disc information...", ""}));
}

TEST_F(DiscReadingTest, NewDiscTakesTheDialogValuesInTheirAttributeOrder) {
    MakeTree(Root, {});
    TDiscProperties properties{"Title", "Vendor", "CD-R", "2001", "2024-05-06", "", "", "a\nb", ""};
    Reading.AddDisc(Root, true, properties);
    EXPECT_EQ(XmlText(LastDisc()),
              R"(<Disc Vendor="Vendor" Title="Title" MediaType="CD-R" CreationDate="2001" )"
              R"(ReadDate="2024-05-06" DirCount="" FileCount="" Memo="a\nb" Source=")" +
                  fs::absolute(Root).string() + R"("><Root ID="1"/></Disc>)");
}

TEST_F(DiscReadingTest, RecordsEachTreeUnderTheRightParents) {
    const struct {
        std::string Name;
        std::initializer_list<std::string> Tree;
        bool IncludeFilenames;
        std::string RootXml;
        std::string DirCount;
        std::string FileCount;
    } cases[] = {
        {"empty directory", {}, true, R"(<Root ID="1"/>)", "", ""},
        {"files only",
         {"x", "y"},
         true,
         R"(<Root ID="1"><Filenames><Filename Text="x"/><Filename Text="y"/></Filenames></Root>)",
         "",
         "2"},
        {"without file names",
         {"d/x", "y"},
         false,
         R"(<Root ID="1"><Directories><Directory Name="d" ID="2"/></Directories></Root>)",
         "1",
         ""},
        {"dots and blanks",
         {"Photo Album.2020/"},
         true,
         R"(<Root ID="1"><Directories><Directory Name="Photo Album.2020" ID="2"/>)"
         R"(</Directories></Root>)",
         "1",
         ""},
        {"back from three levels",
         {"a/b/c/deep", "z"},
         true,
         R"(<Root ID="1"><Directories><Directory Name="a" ID="2"><Directories>)"
         R"(<Directory Name="b" ID="3"><Directories><Directory Name="c" ID="4"><Filenames>)"
         R"(<Filename Text="deep"/></Filenames></Directory></Directories></Directory>)"
         R"(</Directories></Directory></Directories><Filenames><Filename Text="z"/>)"
         R"(</Filenames></Root>)",
         "3",
         "2"},
    };
    for (const auto& testCase : cases) {
        // The same tree read from a source with and without its trailing '/'.
        for (const std::string suffix : {"", "/"}) {
            TScratchDirectory scratch;
            const std::string source = scratch / "src";
            MakeTree(source, testCase.Tree);
            Session.NewCatalogue();
            ASSERT_EQ(Reading.AddDisc(source + suffix, testCase.IncludeFilenames, {}),
                      TAddDiscResult::Added);
            const IXMLDiscType disc = LastDisc();
            EXPECT_EQ(XmlText(disc.Root()), testCase.RootXml) << testCase.Name << suffix;
            EXPECT_EQ(disc.DirCount(), testCase.DirCount) << testCase.Name << suffix;
            EXPECT_EQ(disc.FileCount(), testCase.FileCount) << testCase.Name << suffix;
        }
    }
}

TEST_F(DiscReadingTest, VirtualDiscIsReadyAtOnceWithARootIdOnly) {
    bool shown = false;
    Reading.OnReadingStarts = [&](const TXMLDiscType&) { shown = true; };
    ASSERT_EQ(Add(""), TAddDiscResult::Added);
    EXPECT_EQ(XmlText(LastDisc().Root()), R"(<Root ID="1"/>)");
    EXPECT_EQ(ReadyCount, 1);
    EXPECT_FALSE(shown);
    EXPECT_EQ(Host.BusyTexts, (std::vector<std::string>{""}));
}

TEST_F(DiscReadingTest, InvalidDirectoryChangesNothing) {
    MakeTree(Root, {"file"});
    Session.XMLIndexData().Discs().Add().Root().SetID(std::to_string(Session.NextDirectoryID()));
    const std::string before = XmlText(Session.XMLIndexData());
    for (const std::string& source : {Root + "/missing", Root + "/file", Root + "/file/"}) {
        EXPECT_EQ(Add(source), TAddDiscResult::InvalidDirectory) << source;
        EXPECT_EQ(XmlText(Session.XMLIndexData()), before) << source;
    }
    ASSERT_EQ(Host.Messages.size(), 3u);
    EXPECT_EQ(Host.Messages[0].Kind, TMessageKind::Information);
    EXPECT_EQ(Host.Messages[0].Text, "Invalid directory.");
    EXPECT_EQ(ReadyCount, 0);
    EXPECT_FALSE(Session.XMLDiscData());
}

TEST_F(DiscReadingTest, LinkToADirectoryIsAValidSource) {
    MakeTree(Root, {"x"});
    fs::create_directory_symlink(Root, Dir / "link");
    ASSERT_EQ(Add(Dir / "link"), TAddDiscResult::Added);
    EXPECT_EQ(LastDisc().FileCount(), "1");
}

TEST_F(DiscReadingTest, StopKeepsWhatWasRecordedWithMatchingCounts) {
    MakeTree(Root, {"a/x", "b/y", "c/z", "d/w"});
    int directories = 0;
    Reading.OnDirectoryFound = [&](std::string_view) {
        if (++directories == 3)
            Reading.StopReading();
    };
    ASSERT_EQ(Add(Root), TAddDiscResult::Added);
    const IXMLDiscType disc = LastDisc();
    EXPECT_EQ(XmlText(disc.Root()),
              R"(<Root ID="1"><Directories><Directory Name="a" ID="2"><Filenames>)"
              R"(<Filename Text="x"/></Filenames></Directory><Directory Name="b" ID="3"/>)"
              R"(</Directories></Root>)");
    EXPECT_EQ(disc.DirCount(), "2");
    EXPECT_EQ(disc.FileCount(), "1");
    EXPECT_EQ(ReadyCount, 1);
    EXPECT_FALSE(Host.Busy());
}

TEST_F(DiscReadingTest, ErrorInAHandlerFiresReadyAndReachesTheCallerKeepingTheElements) {
    MakeTree(Root, {"a/x", "b/y"});
    Reading.OnDirectoryFound = [&](std::string_view directory) {
        if (directory == Root + "/b/")
            throw EOrlentaError("label failed");
    };
    EXPECT_EQ(ErrorText([&] { Add(Root); }), "label failed");
    EXPECT_EQ(ReadyCount, 1);
    EXPECT_FALSE(Host.Busy());
    EXPECT_EQ(LastDisc().DirCount(), "1");
    EXPECT_EQ(LastDisc().FileCount(), "1");
}

TEST_F(DiscReadingTest, SourceVanishingBeforeTheStartUndoesTheProgressDisplay) {
    MakeTree(Root, {"x"});
    std::vector<std::string> calls;
    Reading.OnReadingStarts = [&](const TXMLDiscType& disc) {
        calls.emplace_back("starts " + std::string(disc.Title()));
        fs::remove_all(Root);
    };
    Reading.OnReadingNotStarted = [&] { calls.emplace_back("not started"); };
    EXPECT_EQ(ErrorText([&] { Add(Root); }), "Directory not exists (ZelDirectoryReader, line 235)");
    EXPECT_EQ(calls, (std::vector<std::string>{"starts Disc", "not started"}));
    EXPECT_EQ(ReadyCount, 0);
    EXPECT_FALSE(Host.Busy());
    EXPECT_EQ(XmlText(LastDisc().Root()), R"(<Root ID="1"/>)");
}

TEST_F(DiscReadingTest, SizesStatedAheadOnASecondThreadAreThoseStatedInTurn) {
    // Enough files per directory that both threads take some of each, and files beside
    // subdirectories, so that batches of several levels are open at once.
    for (int d = 0; d < 4; ++d) {
        std::string directory = Root + "/d";
        directory += std::to_string(d);
        fs::create_directories(directory + "/sub");
        for (int f = 0; f < 40; ++f) {
            std::string file = directory + (f % 3 == 0 ? "/sub/f" : "/f");
            file += std::to_string(f);
            test::WriteFileBytes(file, std::string(static_cast<size_t>(d * 100 + f), 'x'));
        }
    }
    std::string stated[2];
    for (const bool ahead : {false, true}) {
        Session.NewCatalogue();
        Reading.SetRecordSizes(true);
        Reading.DirReader().SetStatAhead(ahead);
        ASSERT_EQ(Add(Root), TAddDiscResult::Added);
        stated[ahead] = XmlText(LastDisc().Root());
    }
    EXPECT_EQ(stated[true], stated[false]);
    EXPECT_NE(stated[true].find(R"(<Filename Text="f39" Size="339" Modified=")"), std::string::npos)
        << stated[true];
}

// Every folder's total is the sum of the files below it, whatever the order of its entries: a
// folder whose subfolders come before two or more of its files once lost all but the first.
TEST_F(DiscReadingTest, EveryFolderTotalIsTheSumOfTheFilesBelowIt) {
    std::mt19937 random(20261211);
    std::vector<std::string> directories{Root};
    fs::create_directories(Root);
    for (int i = 0; i < 400; ++i) {
        const std::string& parent = directories[random() % directories.size()];
        // Names from a small alphabet, so that folders and files interleave in the sorted order.
        std::string name(1, static_cast<char>('a' + random() % 6));
        name += std::to_string(i);
        if (random() % 4 == 0) {
            fs::create_directory(parent + "/" + name);
            directories.push_back(parent + "/" + name);
        } else {
            test::WriteFileBytes(parent + "/" + name, std::string(random() % 3000, 'x'));
        }
    }
    std::map<std::string, std::uint64_t> expected; // by path below Root, "" for Root itself
    for (const auto& entry : fs::recursive_directory_iterator(Root)) {
        if (!entry.is_regular_file())
            continue;
        std::string path = entry.path().string().substr(Root.size());
        do {
            path = path.substr(0, path.rfind('/'));
            expected[path] += entry.file_size();
        } while (!path.empty());
    }
    for (const bool includeFilenames : {true, false}) {
        Session.NewCatalogue();
        Reading.SetRecordSizes(true);
        ASSERT_EQ(Add(Root, includeFilenames), TAddDiscResult::Added);
        std::map<std::string, std::uint64_t> recorded;
        std::vector<std::pair<pugi::xml_node, std::string>> pending{
            {LastDisc().Root().XmlNode(), ""}};
        while (!pending.empty()) {
            const auto [node, path] = pending.back();
            pending.pop_back();
            recorded[path] = node.attribute("Size").as_ullong();
            for (const pugi::xml_node child : node.child("Directories").children("Directory"))
                pending.emplace_back(child, path + "/" + child.attribute("Name").value());
        }
        for (const std::string& directory : directories) {
            const std::string path = directory.substr(Root.size());
            EXPECT_EQ(recorded[path], expected[path])
                << path << (includeFilenames ? "" : " (no names)");
        }
    }
}

// A folder that cannot be listed stands in the disc, and the reading says so: it is never
// silently empty.
TEST_F(DiscReadingTest, FolderThatCannotBeReadIsRecordedAndReported) {
    MakeTree(Root, {"locked/secret", "open/x"});
    const std::string result = test::WithFolderUnreadable(Dir.Path(), Root + "/locked", [&] {
        Add(Root);
        return XmlText(LastDisc().Root()) + "\n" +
               UnreadableDirectoriesText(Reading, "it holds what could be listed");
    });
    EXPECT_EQ(result, R"(<Root ID="1"><Directories><Directory Name="locked" ID="2"/>)"
                      R"(<Directory Name="open" ID="3"><Filenames><Filename Text="x"/>)"
                      R"(</Filenames></Directory></Directories></Root>)"
                      "\n1 folder could not be read; it holds what could be listed:\n  " +
                          Root + "/locked");
}

TEST_F(DiscReadingTest, NameGoneBetweenListingAndStatIsRecordedWithoutSizeAndTheWalkGoesOn) {
    // b goes after a is recorded: it was listed, but its stat (and a directory's open) fails.
    const struct {
        std::string Name;
        std::initializer_list<std::string> Tree;
        std::string Gone;
        std::string FileCount;
    } cases[] = {
        {"file", {"b"}, R"(<Filename Text="b"/>)", "3"},
        {"directory", {"b/f"}, R"(<Directory Name="b" ID="2"/>)", "2"},
    };
    for (const auto& testCase : cases) {
        fs::remove_all(Root);
        MakeTree(Root, testCase.Tree);
        test::WriteFileBytes(Root + "/a", "abc");
        test::WriteFileBytes(Root + "/c", "abcdefg");
        test::SetFileTimes(Root + "/c", std::chrono::system_clock::from_time_t(86400),
                           std::chrono::system_clock::from_time_t(86400));
        Session.NewCatalogue();
        Reading.SetRecordSizes(true);
        // Stat'ed only as it is reported: a second thread could stat b before it goes.
        Reading.DirReader().SetStatAhead(false);
        Reading.DirReader().SetOnProcessEvents([&](TDirReader&) {
            if (Session.XMLDiscData().FileCount() == "1" && fs::exists(Root + "/b"))
                fs::remove_all(Root + "/b");
        });

        ASSERT_EQ(Add(Root), TAddDiscResult::Added) << testCase.Name;
        const IXMLDiscType disc = LastDisc();
        const std::string xml = XmlText(disc.Root());
        EXPECT_NE(xml.find(testCase.Gone), std::string::npos) << testCase.Name << ": " << xml;
        EXPECT_NE(xml.find(R"(<Filename Text="c" Size="7" Modified="1970-01-02T00:00:00Z"/>)"),
                  std::string::npos)
            << testCase.Name << ": " << xml;
        EXPECT_EQ(disc.Root().Size(), 10u) << testCase.Name;
        EXPECT_EQ(disc.FileCount(), testCase.FileCount) << testCase.Name;
    }
}

TEST_F(DiscReadingTest, SecondDiscContinuesTheIdsAndDropsAnEarlierFileBinding) {
    MakeTree(Root, {"a/b/", "f"});
    Add(Root, true);
    Add(Root, false);
    EXPECT_EQ(XmlText(LastDisc().Root()),
              R"(<Root ID="4"><Directories><Directory Name="a" ID="5"><Directories>)"
              R"(<Directory Name="b" ID="6"/></Directories></Directory></Directories></Root>)");
    EXPECT_EQ(LastDisc().FileCount(), "");
    EXPECT_EQ(Session.XMLIndexData().Discs().Count(), 2);
}

TEST_F(DiscReadingTest, AnyNameSurvivesSaveAndLoad) {
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string Raw;
        std::string Stored;
    } names[] = {
        {"blank name", "blank name"},
        {"quotes \"'", "quotes \"'"},
        {"a&b<c>d", "a&b<c>d"},
        {"line\nbreak\ttab\rcr", "line\nbreak\ttab\rcr"},
        {"ctl\x01\x1F", "ctl" + replacement + replacement},
        {"bad\xFF\xC3", "bad" + replacement + replacement},
        {"\xC3\xA4rger \xE2\x82\xAC", "\xC3\xA4rger \xE2\x82\xAC"},
    };
    for (const auto& name : names)
        MakeTree(Root, {name.Raw, "dir " + name.Raw + "/"});
    ASSERT_EQ(Add(Root), TAddDiscResult::Added);
    Session.SetOrlentaFilename(Dir / "odd.olx");
    Session.SaveDataFile();

    TRecordingHost otherHost;
    TCatalogueSession loaded(otherHost);
    loaded.SetOrlentaFilename(Session.OrlentaFilename());
    ASSERT_TRUE(loaded.LoadDataFile());
    const IXMLDirectoryType root = loaded.XMLIndexData().Discs().Disc(0).Root();
    std::multiset<std::string> files, directories, expectedFiles, expectedDirectories;
    for (int i = 0; i < root.Filenames().Count(); ++i)
        files.emplace(root.Filenames().Filename(i).Text());
    for (int i = 0; i < root.Directories().Count(); ++i)
        directories.emplace(root.Directories().Directory(i).Name());
    for (const auto& name : names) {
        expectedFiles.insert(name.Stored);
        expectedDirectories.insert("dir " + name.Stored);
    }
    EXPECT_EQ(files, expectedFiles);
    EXPECT_EQ(directories, expectedDirectories);
}

// A walk started on the reader itself, with no disc to fill, meets the handlers' assertion.
TEST_F(DiscReadingTest, HandlersAssertThatTheLastDirectoryIsAssigned) {
    MakeTree(Root, {"sub/"});
    Reading.DirReader().SetDirectory(Root);
    EXPECT_EQ(ErrorText([&] { Reading.DirReader().Start(); }),
              "TOrlentaForm.DirectoryFoundHandler -> LastXMLDirectory not Assigned "
              "(MainFormUnit, line 192)");
}

TEST(ExtractParentPathTest, KeepsEverythingUpToTheLastDelimiterBeforeATrailingOne) {
    const std::pair<std::string, std::string> cases[] = {
        {"/e/A/B/", "/e/A/"}, {"/e/A/f.txt", "/e/A/"},
        {"/data", "/"},       {"/", ""},
        {"name", ""},         {"", ""},
    };
    for (const auto& [path, parent] : cases)
        EXPECT_EQ(ExtractParentPath(path), parent) << path;
}

TEST(DateTextTest, FormatsTheLocalDate) {
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 9;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    EXPECT_EQ(DateText(std::chrono::system_clock::from_time_t(std::mktime(&local))), "2024-02-09");
}

} // namespace
} // namespace orlenta
