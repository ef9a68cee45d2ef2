// Bringing a disc up to date: what a stop and a second disc do to it.

#include "core/reading/DiscRescan.h"

#include "TestSupport.h"
#include "TreeFixture.h"

#include <gtest/gtest.h>
#include <sstream>

namespace orlenta {
namespace {

using test::MakeTree;

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
    const IXMLDiscType disc = Session.XMLIndexData.Discs().Disc(0);
    const std::string before = XmlText(disc);
    TDiscRescan rescan(Session);
    rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
    rescan.Reading().DirReader().SetOnProcessEvents([&](TDirReader&) { rescan.Stop(); });
    EXPECT_FALSE(rescan.Read(disc, Tree));
    EXPECT_EQ(XmlText(disc), before);
}

TEST_F(DiscRescanTest, ApplyGivesNewIdsAndLeavesTheOtherDiscsAlone) {
    MakeTree(Tree, {"c/new"});
    const IXMLDiscType first = Session.XMLIndexData.Discs().Disc(0);
    const std::string second = XmlText(Session.XMLIndexData.Discs().Disc(1));
    TDiscRescan rescan(Session);
    rescan.Reading().OnReady = [this] { Host.SetBusy(""); };
    ASSERT_TRUE(rescan.Read(first, Tree));
    EXPECT_EQ(rescan.Difference().Added, 2u);
    rescan.Apply(first);
    // Two discs of a Root and two directories each used IDs 1 to 6: the three directories now
    // get 7 to 9, the Root keeps its own.
    EXPECT_EQ(first.Root().ID(), "1");
    EXPECT_EQ(first.Root().Directories().Directory(0).ID(), "7");
    EXPECT_EQ(Session.XMLIndexData.LastDirectoryID(), "9");
    EXPECT_EQ(first.DirCount(), "3");
    EXPECT_EQ(first.FileCount(), "4");
    EXPECT_EQ(first.Title(), "First");
    EXPECT_EQ(XmlText(Session.XMLIndexData.Discs().Disc(1)), second);
    // Read again: nothing changed against what was put in place.
    ASSERT_TRUE(rescan.Read(first, Tree));
    EXPECT_TRUE(rescan.Difference().Empty());
}

} // namespace
} // namespace orlenta
