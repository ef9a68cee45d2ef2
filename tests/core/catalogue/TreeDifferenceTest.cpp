#include "core/catalogue/TreeDifference.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orlenta {
namespace {

using test::TScratchDirectory;
using test::WriteFileBytes;

// The changes as "+ path", "- path/" (a directory ends in '/'), "~ path".
std::vector<std::string> Listed(const TTreeDifference& difference) {
    std::vector<std::string> lines;
    for (const TTreeChange& change : difference.Changes) {
        const char sign = change.Kind == TChangeKind::Added     ? '+'
                          : change.Kind == TChangeKind::Removed ? '-'
                                                                : '~';
        lines.push_back(std::string(1, sign) + " " + change.Path + (change.IsDirectory ? "/" : ""));
    }
    return lines;
}

TEST(TreeDifferenceTest, ChangesOfSmallTrees) {
    const std::string sized = R"(<Filename Text="f" Size="10" Modified="2020-01-01T00:00:00Z"/>)";
    const struct {
        const char* Name;
        std::string Before;
        std::string After;
        std::vector<std::string> Expected;
    } cases[] = {
        {"nothing changed",
         R"(<Filenames>)" + sized +
             R"(</Filenames><Directories><Directory Name="d"/></Directories>)",
         R"(<Filenames>)" + sized +
             R"(</Filenames><Directories><Directory Name="d"/></Directories>)",
         {}},
        {"a file added deep down",
         R"(<Directories><Directory Name="a"><Directories><Directory Name="b"/></Directories>)"
         R"(</Directory></Directories>)",
         R"(<Directories><Directory Name="a"><Directories><Directory Name="b"><Filenames>)"
         R"(<Filename Text="new"/></Filenames></Directory></Directories></Directory></Directories>)",
         {"+ /a/b/new"}},
        {"a directory removed with its files",
         R"(<Directories><Directory Name="gone"><Filenames><Filename Text="x"/><Filename Text="y"/>)"
         R"(</Filenames></Directory></Directories>)",
         "",
         {"- /gone/", "- /gone/x", "- /gone/y"}},
        {"a size change",
         R"(<Filenames>)" + sized + R"(</Filenames>)",
         R"(<Filenames><Filename Text="f" Size="11" Modified="2020-01-01T00:00:00Z"/></Filenames>)",
         {"~ /f"}},
        {"a date change",
         R"(<Filenames>)" + sized + R"(</Filenames>)",
         R"(<Filenames><Filename Text="f" Size="10" Modified="2020-01-01T00:00:01Z"/></Filenames>)",
         {"~ /f"}},
        {"sizes recorded now, not before",
         R"(<Filenames><Filename Text="f"/></Filenames>)",
         R"(<Filenames>)" + sized + R"(</Filenames>)",
         {"~ /f"}},
        {"a rename is one removed and one added",
         R"(<Filenames><Filename Text="old"/></Filenames>)",
         R"(<Filenames><Filename Text="new"/></Filenames>)",
         {"+ /new", "- /old"}},
        {"a name that differs only in case",
         R"(<Filenames><Filename Text="Read.me"/></Filenames>)",
         R"(<Filenames><Filename Text="read.me"/></Filenames>)",
         {"- /Read.me", "+ /read.me"}},
        {"a file that became a directory",
         R"(<Filenames><Filename Text="x"/></Filenames>)",
         R"(<Directories><Directory Name="x"/></Directories>)",
         {"- /x", "+ /x/"}},
        {"names that were not UTF-8, stored with replacement characters",
         R"(<Filenames><Filename Text="bad&#xFFFD;"/></Filenames>)",
         R"(<Filenames><Filename Text="bad&#xFFFD;"/><Filename Text="&#xFFFD;&#xFFFD;"/></Filenames>)",
         {"+ /\xEF\xBF\xBD\xEF\xBF\xBD"}},
        {"path order: a directory before its contents, '/' before any character",
         R"(<Filenames><Filename Text="a b"/></Filenames>)",
         R"(<Filenames><Filename Text="a b"/><Filename Text="a-c"/></Filenames>)"
         R"(<Directories><Directory Name="a"><Filenames><Filename Text="z"/></Filenames>)"
         R"(</Directory></Directories>)",
         {"+ /a/", "+ /a/z", "+ /a-c"}},
    };
    TScratchDirectory dir;
    for (const auto& testCase : cases) {
        WriteFileBytes(dir / "c.xml", R"(<?xml version="1.0"?><OrlentaData><Discs>)"
                                      R"(<Disc><Root ID="1">)" +
                                          testCase.Before + R"(</Root></Disc><Disc><Root ID="2">)" +
                                          testCase.After +
                                          R"(</Root></Disc></Discs></OrlentaData>)");
        const IXMLOrlentaDataType root = LoadOrlentaData(dir / "c.xml");
        root.Document()->SaveToFile(dir / "before.xml");

        const TTreeDifference difference =
            DifferenceOfTrees(root.Discs().Disc(0).Root(), root.Discs().Disc(1).Root());
        EXPECT_EQ(Listed(difference), testCase.Expected) << testCase.Name;
        std::size_t counts[3] = {};
        for (const std::string& line : testCase.Expected)
            ++counts[line[0] == '+' ? 0 : line[0] == '-' ? 1 : 2];
        EXPECT_EQ(difference.Added, counts[0]) << testCase.Name;
        EXPECT_EQ(difference.Removed, counts[1]) << testCase.Name;
        EXPECT_EQ(difference.Changed, counts[2]) << testCase.Name;
        root.Document()->SaveToFile(dir / "after.xml");
        EXPECT_EQ(test::ReadFileBytes(dir / "after.xml"), test::ReadFileBytes(dir / "before.xml"))
            << testCase.Name << ": nothing is added to the documents";
    }
}

} // namespace
} // namespace orlenta
