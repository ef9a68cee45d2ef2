// orlenta-cli as a user runs it: the built program on small catalogues in a scratch directory.

#include "CliRun.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

// A catalogue as another tool might write it: indented, an element the schema does not name
// among the directories, non-ASCII and markup characters in names, and escaped memos.
constexpr const char* kTwoDiscsXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<OrlentaData Title="Home &amp; archive" LastDirectoryID="5" Memo="Shelf 2\r\nBox A">
  <Discs>
    <Disc Vendor="Acme" Title="Holiday photos" MediaType="DVD+R" CreationDate="2022-08-30"
          ReadDate="2023-01-11" DirCount="3" FileCount="3" Memo="Tab\there">
      <Root ID="1">
        <Directories>
          <Directory Name="2022" ID="2">
            <Filenames>
              <Filename Text="beach.jpg"/>
              <Filename Text="Ærø &lt;1&gt;.jpg"/>
            </Filenames>
            <Directories><Directory Name="Sub dir" ID="3"/></Directories>
          </Directory>
          <Note Text="not a directory"/>
          <Directory Name="misc" ID="4"/>
        </Directories>
        <Filenames><Filename Text="index.html"/></Filenames>
      </Root>
    </Disc>
    <Disc Vendor="" Title="Software" MediaType="CD-ROM" CreationDate="" ReadDate="2023-01-12"
          DirCount="" FileCount="" Memo="">
      <Root ID="5"><Directories/></Root>
    </Disc>
  </Discs>
</OrlentaData>
)";

constexpr const char* kNewCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Untitled" LastDirectoryID=""><Discs/></OrlentaData>)";

void WriteDataFile(const std::string& path, const std::string& xml) {
    WriteFileBytes(path, RawDeflateBytes(xml));
}

// An attribute of the root element of the data file at path.
std::string RootAttribute(const std::string& path, const char* name) {
    const std::string xml = DataFileText(path);
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size()))
        return "(not XML)";
    return document.document_element().attribute(name).value();
}

class CliTest : public ::testing::Test {
protected:
    TScratchDirectory FScratch;
};

TEST_F(CliTest, NewWritesTheCatalogueTheWindowMakes) {
    const TCliResult result = RunCli({"new", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(DataFileText("a.olx"), kNewCatalogueXml);
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));
}

TEST_F(CliTest, NewAndSetStoreTitleAndMemoAsTheDialogDoes) {
    struct TCase {
        std::vector<std::string> Arguments;
        std::string Title;
        std::string Memo; // stored form
    };
    const std::vector<TCase> cases = {
        {{"--title", "  Backups  "}, "Backups", ""},
        {{"--title", ""}, "Untitled", ""},
        {{"--title", " \t "}, "Untitled", ""},
        {{"--title", R"(A "quoted" \ title)"}, R"(A "quoted" \ title)", ""},
        // Escaped first, then trimmed: the line break at the end survives, blanks around do not.
        {{"--memo", "  Shelf 2\r\nBox A\r\n  "}, "Untitled", R"(Shelf 2\r\nBox A\r\n)"},
        {{"--memo", "C:\\Data"}, "Untitled", R"(C:\\Data)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Arguments.back());
        std::vector<std::string> newArguments{"new", "--force", "a.olx"};
        newArguments.insert(newArguments.end(), c.Arguments.begin(), c.Arguments.end());
        ASSERT_EQ(RunCli(newArguments).ExitStatus, 0);

        WriteDataFile("b.olx", kNewCatalogueXml);
        std::vector<std::string> setArguments{"set", "b.olx"};
        setArguments.insert(setArguments.end(), c.Arguments.begin(), c.Arguments.end());
        ASSERT_EQ(RunCli(setArguments).ExitStatus, 0);

        for (const char* file : {"a.olx", "b.olx"}) {
            EXPECT_EQ(RootAttribute(file, "Title"), c.Title) << file;
            EXPECT_EQ(RootAttribute(file, "Memo"), c.Memo) << file;
            EXPECT_NE(DataFileText(file).find("<Discs/>"), std::string::npos) << file;
        }
    }
}

TEST_F(CliTest, NewRefusesAnExistingFileUnlessForced) {
    WriteFileBytes("a.olx", "precious");
    TCliResult result = RunCli({"new", "a.olx", "--title", "T"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, "Cannot create file \"a.olx\". File exists.\n");
    EXPECT_EQ(ReadFileBytes("a.olx"), "precious");

    result = RunCli({"new", "a.olx", "--force"});
    EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(DataFileText("a.olx"), kNewCatalogueXml);
}

TEST_F(CliTest, SetKeepsWhatIsNotGivenAndEverythingElse) {
    WriteDataFile("a.olx", kTwoDiscsXml);
    TCliResult result = RunCli({"set", "a.olx", "--title", " Attic "});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out + result.Err, "");
    std::string xml = DataFileText("a.olx");
    EXPECT_NE(xml.find(R"(Title="Attic")"), std::string::npos) << xml;
    EXPECT_NE(xml.find(R"(Memo="Shelf 2\r\nBox A")"), std::string::npos) << xml;
    // The rest of the document, the unknown element included, comes back without indentation.
    EXPECT_NE(xml.find(R"(<Note Text="not a directory"/><Directory Name="misc" ID="4"/>)"),
              std::string::npos)
        << xml;
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));

    result = RunCli({"set", "a.olx", "--memo", "new memo"});
    ASSERT_EQ(result.ExitStatus, 0) << result.Err;
    xml = DataFileText("a.olx");
    EXPECT_NE(xml.find(R"(Title="Attic")"), std::string::npos) << xml;
    EXPECT_NE(xml.find(R"(Memo="new memo")"), std::string::npos) << xml;
}

TEST_F(CliTest, SetWithoutValuesKeepsTheStoredMemo) {
    // An escape that EscapeText never writes: re-escaping the decoded memo would change it.
    WriteDataFile("a.olx", R"(<OrlentaData Title="T" Memo="odd \q"/>)");
    ASSERT_EQ(RunCli({"set", "a.olx"}).ExitStatus, 0);
    EXPECT_NE(DataFileText("a.olx").find(R"(Memo="odd \q")"), std::string::npos);
}

TEST_F(CliTest, InfoDiscsAndTreeShowTheCatalogue) {
    WriteDataFile("a.olx", kTwoDiscsXml);
    const std::string before = ReadFileBytes("a.olx");

    TCliResult result = RunCli({"info", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, "Title: Home & archive\n"
                          "Memo: Shelf 2\r\nBox A\n"
                          "Last directory ID: 5\n"
                          "Discs: 2\n"
                          "Directories: 3\n"
                          "Files: 3\n");

    result = RunCli({"discs", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Out,
              "0\t1\tHoliday photos\tAcme\tDVD+R\t2022-08-30\t2023-01-11\t3\t3\tTab\\there\n"
              "1\t5\tSoftware\t\tCD-ROM\t\t2023-01-12\t\t\t\n");

    result = RunCli({"tree", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Out, "Holiday photos\n"
                          "  2022/\n"
                          "    Sub dir/\n"
                          "  misc/\n"
                          "Software\n");

    result = RunCli({"tree", "--files", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Out, "Holiday photos\n"
                          "  index.html\n"
                          "  2022/\n"
                          "    beach.jpg\n"
                          "    Ærø <1>.jpg\n"
                          "    Sub dir/\n"
                          "  misc/\n"
                          "Software\n");

    // Reading commands never write the data file back.
    EXPECT_EQ(ReadFileBytes("a.olx"), before);
    EXPECT_FALSE(fs::exists("Orlenta.tmp"));
}

TEST_F(CliTest, XmlWritesTheDecompressedTextByteForByte) {
    // Bytes after the end of the stream are no part of it.
    WriteFileBytes("a.olx", RawDeflateBytes(kTwoDiscsXml) + "trailing bytes");
    const TCliResult result = RunCli({"xml", "a.olx"});
    EXPECT_EQ(result.ExitStatus, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, kTwoDiscsXml);
}

TEST_F(CliTest, ErrorsShowTheProgramsMessageAndExitWithOne) {
    WriteFileBytes("empty.olx", "");
    // A zlib header is no raw DEFLATE block header.
    WriteFileBytes("zlib.olx", std::string("\x78\x9c", 2) + RawDeflateBytes(kNewCatalogueXml));
    WriteDataFile("broken.olx", "<OrlentaData><Discs></OrlentaData>");
    WriteDataFile("other.olx", "<?xml version=\"1.0\"?><Catalogue/>");
    fs::create_directory("folder.olx");
    struct TCase {
        std::string File;
        std::string Err;
    };
    // The full stop is appended only where the text ends in a character above it.
    const std::vector<TCase> cases = {
        {"missing.olx", "Cannot open file \"missing.olx\". No such file or directory.\n"},
        {"folder.olx", "Cannot open file \"folder.olx\". Is a directory.\n"},
        {"empty.olx", "Error reading Orlenta datafile.\n"},
        {"broken.olx",
         "Start-end tags mismatch\r\nLine: 1\r\n<OrlentaData><Discs></OrlentaData>.\n"},
        {"other.olx", "Interface not supported.\n"},
    };
    for (const std::string command : {"info", "discs", "tree", "set"}) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(command + " " + c.File);
            const TCliResult result = RunCli({command, c.File});
            EXPECT_EQ(result.ExitStatus, 1);
            EXPECT_EQ(result.Out, "");
            EXPECT_EQ(result.Err, c.Err);
        }
    }
    // xml does not parse: only the first three fail there.
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("xml " + cases[i].File);
        const TCliResult result = RunCli({"xml", cases[i].File});
        EXPECT_EQ(result.ExitStatus, 1);
        EXPECT_EQ(result.Err, cases[i].Err);
    }
    const TCliResult result = RunCli({"info", "zlib.olx"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, "Error reading Orlenta datafile.\n");
}

TEST_F(CliTest, SaveFailuresLeaveTheDataFileAsItWas) {
    WriteDataFile("a.olx", kTwoDiscsXml);
    const std::string before = ReadFileBytes("a.olx");
    fs::permissions("a.olx", fs::perms::owner_read | fs::perms::group_read);
    TCliResult result = RunCli({"set", "a.olx", "--title", "X"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err, "Cannot create file \"a.olx\". Permission denied.\n");
    EXPECT_EQ(ReadFileBytes("a.olx"), before);

    result = RunCli({"new", "--force", "no/such/folder/b.olx"});
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_EQ(result.Err,
              "Cannot create file \"no/such/folder/b.olx\". No such file or directory.\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    WriteDataFile("a.olx", kNewCatalogueXml);
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "a.olx"},
        {"info"},
        {"info", "a.olx", "b.olx"},
        {"info", "a.olx", "--files"},
        {"tree", "a.olx", "--bogus"},
        {"new", "b.olx", "--title"},
        {"set", "a.olx", "--force"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments.front());
        const TCliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitStatus, 2);
        EXPECT_EQ(result.Out, "");
        EXPECT_NE(result.Err, "");
    }
    EXPECT_FALSE(fs::exists("b.olx"));
    EXPECT_EQ(DataFileText("a.olx"), kNewCatalogueXml);
}

TEST_F(CliTest, EveryCommandHasHelp) {
    for (const std::string command : {"new", "info", "discs", "tree", "xml", "set"}) {
        SCOPED_TRACE(command);
        const TCliResult result = RunCli({command, "--help"});
        EXPECT_EQ(result.ExitStatus, 0);
        EXPECT_NE(result.Out.find("Usage: orlenta-cli " + command), std::string::npos)
            << result.Out;
        EXPECT_EQ(result.Err, "");
    }
    const TCliResult result = RunCli({"--help"});
    EXPECT_EQ(result.ExitStatus, 0);
    for (const std::string command : {"new", "info", "discs", "tree", "xml", "set"})
        EXPECT_NE(result.Out.find("  " + command), std::string::npos) << result.Out;
}

} // namespace
} // namespace orlenta::test
