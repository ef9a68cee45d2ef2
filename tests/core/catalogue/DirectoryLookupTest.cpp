#include "core/catalogue/DirectoryLookup.h"

#include "TestSupport.h"
#include "core/catalogue/DirectoryWalk.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orlenta {
namespace {

using test::ErrorText;
using test::ReadFileBytes;
using test::TScratchDirectory;
using test::WriteFileBytes;

// Two discs; the second nests two levels and has a directory without Directories and Filenames.
const char* const kCatalogueText =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf" LastDirectoryID="7" Memo="">)"
    R"(<Discs><Disc Title="A"><Root ID="1"><Directories><Directory ID="2" Name="x"/>)"
    R"(</Directories></Root></Disc>)"
    R"(<Disc Title="B"><Root ID="3"><Directories>)"
    R"(<Directory ID="4" Name="y"><Directories><Directory ID="5" Name="z"/></Directories>)"
    R"(</Directory><Directory ID="6" Name="w"/></Directories></Root></Disc></Discs>)"
    R"(</OrlentaData>)";

class DirectoryLookupTest : public ::testing::Test {
protected:
    DirectoryLookupTest() { Load(kCatalogueText); }

    void Load(const std::string& text) {
        WriteFileBytes(Dir / "in.xml", text);
        Root = LoadOrlentaData(Dir / "in.xml");
    }
    std::string SavedText() {
        Root.Document()->SaveToFile(Dir / "out.xml");
        return ReadFileBytes(Dir / "out.xml");
    }
    TXMLDiscType Disc(int index) const { return Root.Discs().Disc(index); }

    TScratchDirectory Dir;
    IXMLOrlentaDataType Root;
};

TEST_F(DirectoryLookupTest, WalkVisitsInPreOrderWithDepthsAndStopsWhenAsked) {
    const std::string before = SavedText();
    std::vector<std::string> visited;
    EXPECT_TRUE(WalkDirectories(Disc(1).Root(), TWalkAccess::ReadOnly,
                                [&](const TXMLDirectoryType& directory, int depth) {
                                    visited.push_back(std::to_string(depth) + ":" +
                                                      directory.XmlNode().attribute("ID").value());
                                    return true;
                                }));
    EXPECT_EQ(visited, (std::vector<std::string>{"0:3", "1:4", "2:5", "1:6"}));
    EXPECT_EQ(SavedText(), before); // a read-only walk adds nothing

    int count = 0;
    EXPECT_FALSE(WalkDirectories(Disc(1).Root(), TWalkAccess::ReadOnly,
                                 [&](const TXMLDirectoryType&, int) { return ++count < 3; }));
    EXPECT_EQ(count, 3);
    // Through the access layer, the directories walked gain their absent Directories element.
    WalkDirectories(Disc(1).Root(), TWalkAccess::AccessLayer,
                    [](const TXMLDirectoryType&, int) { return true; });
    EXPECT_NE(SavedText().find(R"(<Directory ID="6" Name="w"><Directories/></Directory>)"),
              std::string::npos);
}

TEST_F(DirectoryLookupTest, FindsADirectoryByIDAndItsDiscWithoutChangingTheDocument) {
    const std::string before = SavedText();
    const TXMLDirectoryType found = FindDirectoryByID(Disc(1).Root(), "5");
    ASSERT_TRUE(found);
    EXPECT_EQ(found.Name(), "z");
    EXPECT_EQ(DiscOf(found).Title(), "B");
    EXPECT_EQ(DiscOf(Disc(0).Root()).Title(), "A");
    EXPECT_FALSE(FindDirectoryByID(Disc(0).Root(), "5"));
    EXPECT_FALSE(FindDirectoryByID(Disc(1).Root(), "05"));
    EXPECT_EQ(SavedText(), before);
}

TEST(TreeNodeDataTest, AcceptsDecimalIntegersInTheThirtyTwoBitRangeOnly) {
    EXPECT_EQ(TreeNodeData("42"), 42);
    EXPECT_EQ(TreeNodeData("-2147483648"), INT32_MIN);
    EXPECT_EQ(TreeNodeData("007"), 7);
    // Appended, not "'" + std::string(id): GCC 12 at -O3 takes that insertion at the front for an
    // overlapping copy (-Wrestrict) when it is not.
    for (const char* id : {"", "x", "2147483648", "1.5"})
        EXPECT_EQ(ErrorText([&] { TreeNodeData(id); }),
                  std::string("'").append(id) + "' is not a valid integer value");
}

TEST_F(DirectoryLookupTest, NodeTargetsComeFromTheNotedElementsOnlyWhileTheyHold) {
    // Nodes noted in the order a rebuild appends them: each disc's Root, then its directories.
    auto rebuild = [&](TNodeDirectories& nodes) {
        nodes.Start();
        int node = 0;
        for (int i = 0; i < Root.Discs().Count(); ++i)
            WalkDirectories(Disc(i).Root(), TWalkAccess::ReadOnly,
                            [&](const TXMLDirectoryType& directory, int) {
                                nodes.Note(node++, directory, TreeNodeData(directory.ID()));
                                return true;
                            });
        nodes.Finish();
    };
    TNodeDirectories nodes;
    rebuild(nodes);
    EXPECT_EQ(nodes.Directory(4).Name(), "z");
    TNodeTarget target = FindNodeTarget(Root, nodes, 4, 5);
    EXPECT_EQ(target.Directory.Name(), "z");
    EXPECT_EQ(target.Disc.Title(), "B");
    EXPECT_FALSE(FindNodeTarget(Root, nodes, -1, 99).Directory);

    // An ID written twice or not in plain decimal form: every click walks the discs, and the
    // first directory in document order with that ID wins.
    for (const char* twice : {R"(ID="2")", R"(ID="+2")"}) {
        const std::string whole = kCatalogueText;
        const size_t at = whole.find(R"(ID="5")");
        const std::string text = whole.substr(0, at) + twice + whole.substr(at + 6);
        Load(text);
        rebuild(nodes);
        EXPECT_FALSE(nodes.Directory(4)) << twice;
        target = FindNodeTarget(Root, nodes, 4, 2);
        EXPECT_EQ(target.Directory.Name(), "x") << twice;
        EXPECT_EQ(target.Disc.Title(), "A") << twice;
    }
}

} // namespace
} // namespace orlenta
