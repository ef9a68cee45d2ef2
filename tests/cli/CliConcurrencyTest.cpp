// Several orlenta-cli processes at once: in one working folder they share the temporary file,
// and writers of one catalogue may run from different folders.

#include "CliRun.h"
#include "TestSupport.h"
#include "core/datafile/DataFileLock.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

namespace orlenta::test {
namespace {

// A title and a number. Built by appending: GCC 12 at -O3 takes "A" + std::to_string(i), which
// inserts at the front of the number's string, for an overlapping copy (-Wrestrict) when it is not.
std::string Numbered(std::string prefix, size_t number) {
    return prefix.append(std::to_string(number));
}

namespace fs = std::filesystem;

// A catalogue of one disc holding fileCount file names: large enough that a load or a save takes
// a while, so that the processes really overlap.
std::string CatalogueXml(const std::string& title, int fileCount) {
    std::string xml = R"(<?xml version="1.0"?><OrlentaData Title=")" + title +
                      R"(" LastDirectoryID="1" Memo=""><Discs><Disc Title="Bulk" FileCount=")" +
                      std::to_string(fileCount) + R"("><Root ID="1"><Filenames>)";
    for (int i = 0; i < fileCount; ++i)
        xml += R"(<Filename Text="file-)" + std::to_string(i) + R"(.dat"/>)";
    return xml + "</Filenames></Root></Disc></Discs></OrlentaData>";
}

std::set<std::string> FolderEntries(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The disc titles of the catalogue at path, in document order.
std::vector<std::string> DiscTitles(const std::string& path) {
    const std::string xml = DataFileText(path);
    pugi::xml_document document;
    std::vector<std::string> titles;
    if (!document.load_buffer(xml.data(), xml.size()))
        return {"(not XML)"};
    for (pugi::xml_node disc : document.document_element().child("Discs").children("Disc"))
        titles.push_back(disc.attribute("Title").value());
    return titles;
}

class CliConcurrencyTest : public ::testing::Test {
protected:
    TScratchDirectory FScratch;
};

// Writers of one catalogue and readers of another, all in one folder: nobody reads another's XML
// through the shared temporary file, and every file ends as exactly what one of them wrote.
TEST_F(CliConcurrencyTest, ProcessesInOneFolderNeverMixTheirCatalogues) {
    constexpr int kFiles = 20000;
    const std::string bulkXml = CatalogueXml("@", kFiles);
    const auto bulkWithTitle = [&bulkXml](const std::string& title) {
        std::string xml = bulkXml;
        return xml.replace(xml.find('@'), 1, title);
    };
    WriteFileBytes("a.olx", RawDeflateBytes(bulkWithTitle("A")));
    WriteFileBytes("b.olx", RawDeflateBytes(CatalogueXml("B", 3)));
    const std::string smallBefore = ReadFileBytes("b.olx");
    const std::string smallInfo = "Title: B\nMemo: \nLast directory ID: 1\nDiscs: 1\n"
                                  "Directories: 0\nFiles: 3\n";

    std::vector<std::unique_ptr<TCliProcess>> setters;
    std::vector<std::unique_ptr<TCliProcess>> adders;
    std::vector<std::unique_ptr<TCliProcess>> readers;
    for (int i = 0; i < 30; ++i) {
        if (i % 5 == 0)
            setters.push_back(std::make_unique<TCliProcess>(
                std::vector<std::string>{"set", "a.olx", "--title", Numbered("A", i)}));
        if (i % 10 == 1)
            adders.push_back(std::make_unique<TCliProcess>(
                std::vector<std::string>{"add", "c.olx", "--title", Numbered("C", i)}));
        readers.push_back(std::make_unique<TCliProcess>(std::vector<std::string>{"info", "b.olx"}));
    }

    std::set<std::string> possible;
    for (size_t i = 0; i < setters.size(); ++i) {
        const TCliResult result = setters[i]->Wait();
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
        possible.insert(bulkWithTitle(Numbered("A", i * 5)));
    }
    std::vector<std::string> expectedAdded;
    for (size_t i = 0; i < adders.size(); ++i) {
        const TCliResult result = adders[i]->Wait();
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
        expectedAdded.push_back(Numbered("C", i * 10 + 1));
    }
    for (const auto& reader : readers) {
        const TCliResult result = reader->Wait();
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
        EXPECT_EQ(result.Out, smallInfo);
    }

    EXPECT_TRUE(possible.contains(DataFileText("a.olx"))) << "a.olx is no catalogue a set wrote";
    EXPECT_EQ(ReadFileBytes("b.olx"), smallBefore);
    std::vector<std::string> added = DiscTitles("c.olx");
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, expectedAdded);
    EXPECT_EQ(FolderEntries(FScratch.Path()), (std::set<std::string>{"a.olx", "b.olx", "c.olx"}))
        << "no temporary or lock file is left behind";
}

// Writers of one catalogue, run from two folders: each load, change and save is one step that no
// other writer comes between, so no change is lost.
TEST_F(CliConcurrencyTest, WritersOfOneCatalogueFromTwoFoldersLoseNoChange) {
    fs::create_directory("one");
    fs::create_directory("two");
    WriteFileBytes("shared.olx", RawDeflateBytes(CatalogueXml("Shared", 10000)));

    std::vector<std::unique_ptr<TCliProcess>> writers;
    std::vector<std::string> expectedTitles{"Bulk"};
    for (int i = 0; i < 8; ++i) {
        const std::string title = Numbered("D", i);
        writers.push_back(std::make_unique<TCliProcess>(
            std::vector<std::string>{"add", "../shared.olx", "--title", title},
            i % 2 == 0 ? "one" : "two"));
        expectedTitles.push_back(title);
        if (i == 3)
            writers.push_back(std::make_unique<TCliProcess>(
                std::vector<std::string>{"set", "../shared.olx", "--memo", "kept"}, "two"));
    }
    for (const auto& writer : writers) {
        const TCliResult result = writer->Wait();
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    }

    std::vector<std::string> titles = DiscTitles("shared.olx");
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, expectedTitles);
    EXPECT_NE(DataFileText("shared.olx").find(R"(Memo="kept")"), std::string::npos);
    EXPECT_EQ(FolderEntries(FScratch.Path()), (std::set<std::string>{"one", "shared.olx", "two"}));
    EXPECT_TRUE(fs::is_empty("one"));
    EXPECT_TRUE(fs::is_empty("two"));
}

// Readers of one catalogue share its lock and a writer holds it alone: readers run beside another
// reader while writers wait for it, also writers that come after those readers have gone, and a
// reader waits for a writer, so that it never reads half a change. The test itself holds the
// lock, as the window's Open does, so that who waits is certain.
TEST_F(CliConcurrencyTest, ReadersRunTogetherWhileAWriterWaits) {
    WriteFileBytes("shared.olx", RawDeflateBytes(CatalogueXml("Before", 3)));
    const auto info = [](const std::string& title, const std::string& memo) {
        return "Title: " + title + "\nMemo: " + memo +
               "\nLast directory ID: 1\nDiscs: 1\nDirectories: 0\nFiles: 3\n";
    };
    TRecordingHost host;
    auto reading = std::make_unique<TDataFileLock>("shared.olx", host, TLockPurpose::Reading);
    TCliProcess early({"set", "shared.olx", "--title", "After"});
    EXPECT_TRUE(early.StillRunsAfter(300)) << "a writer waits for the reader";

    TCliProcess first({"info", "shared.olx"});
    TCliProcess second({"overlap", "shared.olx", "0"});
    const TCliResult firstResult = first.Wait(20);
    const TCliResult secondResult = second.Wait(20);
    EXPECT_EQ(firstResult.ExitStatus, 0) << firstResult.Err;
    EXPECT_EQ(firstResult.Out, info("Before", ""));
    EXPECT_EQ(secondResult.ExitStatus, 0) << secondResult.Err;
    EXPECT_EQ(secondResult.Out, "*\tall other discs\t0\t0\t0.0%\t\n");

    // The readers that have gone must not have taken the lock file from under the one that stays.
    TCliProcess late({"set", "shared.olx", "--memo", "kept"});
    EXPECT_TRUE(late.StillRunsAfter(300)) << "a writer after the readers waits too";
    EXPECT_TRUE(early.StillRunsAfter(1));

    reading.reset();
    for (TCliProcess* writer : {&early, &late}) {
        const TCliResult written = writer->Wait(20);
        EXPECT_EQ(written.ExitStatus, 0) << written.Err;
    }

    auto writing = std::make_unique<TDataFileLock>("shared.olx", host, TLockPurpose::Writing);
    TCliProcess reader({"info", "shared.olx"});
    EXPECT_TRUE(reader.StillRunsAfter(300)) << "the reader waits for the writer";
    writing.reset();
    const TCliResult read = reader.Wait(20);
    EXPECT_EQ(read.ExitStatus, 0) << read.Err;
    EXPECT_EQ(read.Out, info("After", "kept")) << "both writers' changes are kept";
    EXPECT_EQ(FolderEntries(FScratch.Path()), std::set<std::string>{"shared.olx"})
        << "the last holder removed the lock file";
}

} // namespace
} // namespace orlenta::test
