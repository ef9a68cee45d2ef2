// A disc from a file list: CSV of our own and of other programs, find's output, bad lines.

#include "ExchangeFixture.h"
#include "TestSupport.h"
#include "core/exchange/CatalogueExport.h"
#include "core/exchange/ListImport.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace orlenta::test {
namespace {

using namespace std::string_literals;

// The new disc's rows as "kind path size modified", and its counts.
struct TImported {
    std::vector<std::string> Rows;
    std::string DirCount;
    std::string FileCount;
    std::string Title;
};

TImported Import(const std::string& list, TListFormat format, const std::string& name = "l.txt") {
    TScratchDirectory scratch;
    WriteFileBytes(scratch / name, list);
    TRecordingHost host;
    TCatalogueSession session(host);
    session.NewCatalogue();
    const IXMLDiscType disc = ImportFileList(session, scratch / name, format, std::nullopt);
    std::ostringstream out;
    WriteCatalogueCsv(session.XMLIndexData(), {0}, out);
    TImported imported{
        {}, std::string(disc.DirCount()), std::string(disc.FileCount()), std::string(disc.Title())};
    const auto records = ParseRfc4180(out.str());
    for (std::size_t i = 1; i < records.size(); ++i)
        imported.Rows.push_back(records[i][2] + " " + records[i][3] + " " + records[i][5] + " " +
                                records[i][6]);
    return imported;
}

TEST(ImportTest, ListsOfEveryKindGiveTheSameTree) {
    struct TCase {
        const char* What;
        std::string List;
        TListFormat Format;
    };
    const std::vector<TCase> cases = {
        {"find -printf",
         "d 4096 1700000000.5 /data/top\n"
         "f 5 1700000001.25 /data/top/a,b.txt\n"
         "d 4096 1700000002.0 /data/top/sub\n"
         "f 7 1700000003.0000000000 /data/top/sub/c\n",
         TListFormat::Find},
        {"CSV with other names and order",
         "\xEF\xBB\xBF\"Date Modified\",Size,\"Full Path\"\r\n"
         "2023-11-14 22:13:21,5,\"/data/top/a,b.txt\"\r\n"
         "2023-11-14T22:13:23Z,7,/data/top/sub/c\r\n",
         TListFormat::Csv},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.What);
        const TImported imported = Import(test.List, test.Format);
        ASSERT_GE(imported.Rows.size(), 4u);
        EXPECT_EQ(imported.Rows[1], "file a,b.txt 5 2023-11-14T22:13:21Z");
        EXPECT_EQ(imported.Rows[2].substr(0, 11), "directory s");
        EXPECT_EQ(imported.Rows[3], "file sub/c 7 2023-11-14T22:13:23Z");
        // Directory sizes are the totals of the files below, as a reading records them.
        EXPECT_EQ(imported.Rows[0].substr(0, 13), "directory  12");
        EXPECT_EQ(imported.DirCount, "1");
        EXPECT_EQ(imported.FileCount, "2");
    }
}

TEST(ImportTest, PlainFindTellsDirectoriesByWhatFollowsThem) {
    const TImported imported =
        Import("./\n./docs\n./docs/deep\n./docs/deep/x\n./y\n", TListFormat::Find, "my list.find");
    EXPECT_EQ(imported.Rows,
              (std::vector<std::string>{"directory   ", "file y  ", "directory docs  ",
                                        "directory docs/deep  ", "file docs/deep/x  "}));
    EXPECT_EQ(imported.Title, "my list");
}

TEST(ImportTest, FoldersArePutInPlaceForPathsInAnyOrder) {
    const TImported imported =
        Import("path,size\r\nb/c/d.txt,1\r\na.txt,2\r\nb/e.txt,3\r\n", TListFormat::Csv);
    EXPECT_EQ(imported.Rows, (std::vector<std::string>{"directory  6 ", "file a.txt 2 ",
                                                       "directory b 4 ", "file b/e.txt 3 ",
                                                       "directory b/c 1 ", "file b/c/d.txt 1 "}));
    EXPECT_EQ(imported.DirCount, "2");
}

TEST(ImportTest, FolderTotalsStopAtTheLargestSize) {
    // 2^64 - 1 and 2^63 bytes; a total past the largest stays at the largest.
    struct TCase {
        const char* What;
        std::string List;
        std::vector<std::string> Rows;
    };
    const std::vector<TCase> cases = {
        {"the largest size",
         "path,size\r\nbig,18446744073709551615\r\n",
         {"directory  18446744073709551615 ", "file big 18446744073709551615 "}},
        {"three files of 2^63 in one folder",
         "path,size\r\nd/a,9223372036854775808\r\nd/b,9223372036854775808\r\n"
         "d/c,9223372036854775808\r\n",
         {"directory  18446744073709551615 ", "directory d 18446744073709551615 ",
          "file d/a 9223372036854775808 ", "file d/b 9223372036854775808 ",
          "file d/c 9223372036854775808 "}},
        {"two folders of 2^63",
         "path,size\r\nd/a,9223372036854775808\r\ne/b,9223372036854775808\r\n",
         {"directory  18446744073709551615 ", "directory d 9223372036854775808 ",
          "file d/a 9223372036854775808 ", "directory e 9223372036854775808 ",
          "file e/b 9223372036854775808 "}},
        {"no size beside the largest",
         "path,size\r\nd/a,\r\nd/b,18446744073709551615\r\n",
         {"directory  18446744073709551615 ", "directory d 18446744073709551615 ", "file d/a  ",
          "file d/b 18446744073709551615 "}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.What);
        EXPECT_EQ(Import(test.List, TListFormat::Csv).Rows, test.Rows);
    }
}

TEST(ImportTest, AMalformedLineIsNamedAndNothingIsAdded) {
    struct TCase {
        std::string List;
        TListFormat Format;
        const char* Error;
    };
    const std::vector<TCase> cases = {
        {"path,size\r\na,1\r\nb,x\r\n", TListFormat::Csv, "Line 3 of "},
        {"path,size\r\na,18446744073709551616\r\n", TListFormat::Csv, "Line 2 of "},
        {"path,size\r\na,1\r\n\"b\nc\",1,2\r\n", TListFormat::Csv, "Line 3 of "},
        {"path\r\na\r\nb\"c\r\n", TListFormat::Csv, "Line 3 of "},
        {"path\r\n\"open\r\n", TListFormat::Csv, "Line 2 of "},
        {"name,size\r\na,1\r\n", TListFormat::Csv, "Line 1 of "},
        {"path,modified\r\na,yesterday\r\n", TListFormat::Csv, "Line 2 of "},
        {"d 1 2.0 /t\nf 1 2.0 /t/a\n\nbroken line\n", TListFormat::Find, "Line 4 of "},
        // A line no list holds, counted in records when they end in NUL.
        {"path\r\na\r\n" + std::string(kMaxListLineBytes + 1, 'x') + "\r\n", TListFormat::Csv,
         "Line 3 of "},
        {"./a\0./b\0./"s + std::string(kMaxListLineBytes, 'x') + "\n", TListFormat::Find,
         "Line 3 of "},
        // Paths that contradict each other show only while the tree is made: the first one is
        // named and the disc taken back.
        {"path\r\nx\r\na\r\nb/c\r\na/b\r\nb/c/d\r\n", TListFormat::Csv, "Line 5 of "},
        {"path\r\nd/\r\nd/e\r\n./d\r\n", TListFormat::Csv, "Line 4 of "},
        {"d 0 1.0 .\nf 1 1.0 ./f\nf 1 1.0 ./f/../f/g\n", TListFormat::Find, "Line 3 of "},
        {"path\r\na\r\n/../.\r\n", TListFormat::Csv, "Line 3 of "},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.List);
        TScratchDirectory scratch;
        WriteFileBytes(scratch / "l", test.List);
        TRecordingHost host;
        TCatalogueSession session(host);
        session.NewCatalogue();
        const std::string error =
            ErrorText([&] { ImportFileList(session, scratch / "l", test.Format, std::nullopt); });
        EXPECT_EQ(error.rfind(test.Error, 0), 0u) << error;
        EXPECT_EQ(session.XMLIndexData().Discs().Count(), 0);
        EXPECT_EQ(session.XMLIndexData().LastDirectoryID(), "");
        EXPECT_FALSE(session.XMLDiscData());
    }
}

TEST(ImportTest, ImpossibleNamesAreDroppedAndARepeatedPathIsOneEntry) {
    struct TCase {
        const char* What;
        std::string List;
        TListFormat Format;
        std::vector<std::string> Rows;
        const char* FileCount;
    };
    const std::vector<TCase> cases = {
        {"empty, . and .. components",
         "path,size\r\na/../../b.txt,1\r\nc//d.txt,2\r\n./e/./f,3\r\n/g/..,4\r\n",
         TListFormat::Csv,
         {"directory  10 ", "file g 4 ", "directory a 1 ", "file a/b.txt 1 ", "directory c 2 ",
          "file c/d.txt 2 ", "directory e 3 ", "file e/f 3 "},
         "4"},
        {"the same file twice, the later line's values holding",
         "path,size,modified\r\na/x,1,2020-01-01\r\na//x,5,\r\na/./x,,2021-01-01\r\n",
         TListFormat::Csv,
         {"directory  5 ", "directory a 5 ", "file a/x 5 2021-01-01T00:00:00Z"},
         "1"},
        {"find output with CRLF line ends",
         "./\r\n./d\r\n./d/x\r\n./y\r\n",
         TListFormat::Find,
         {"directory   ", "file y  ", "directory d  ", "file d/x  "},
         "2"},
        {"find -print0, recognised by its NULs",
         "./\0./d\0./d/a\nb\0./y\r\0"s,
         TListFormat::Find,
         {"directory   ", "file y\r  ", "directory d  ", "file d/a\nb  "},
         "2"},
        {"find -printf with \\0, named so",
         "d 0 1.0 /t\0f 3 2.0 /t/a\nb\0f 4 3.0 /t/a\nb\0"s,
         TListFormat::Find0,
         {"directory  4 1970-01-01T00:00:01Z", "file a\nb 4 1970-01-01T00:00:03Z"},
         "1"},
        {"an archive's folder beside its file, and its entries as the archive lists them",
         "path,kind,archive\r\nbox.zip,file,\r\nbox.zip,directory,zip\r\n"
         "box.zip/in,file,zip\r\nbox.zip/in,file,zip\r\n",
         TListFormat::Csv,
         {"directory   ", "file box.zip  ", "directory box.zip  ", "file box.zip/in  ",
          "file box.zip/in  "},
         "1"},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.What);
        const TImported imported = Import(test.List, test.Format);
        EXPECT_EQ(imported.Rows, test.Rows);
        EXPECT_EQ(imported.FileCount, test.FileCount);
    }
}

// A path nested far deeper than a recursive build could follow on a small stack.
TEST(ImportTest, ADeepPathIsBuiltWithoutRecursion) {
    constexpr int kDepth = 32000;
    std::string list = "path\r\n";
    for (int i = 0; i < kDepth; ++i)
        list += "d/";
    list += "f.txt\r\n";
    TScratchDirectory scratch;
    WriteFileBytes(scratch / "deep.csv", list);
    TRecordingHost host;
    TCatalogueSession session(host);
    session.NewCatalogue();
    std::string error;
    const auto import = [&] {
        error = ErrorText(
            [&] { ImportFileList(session, scratch / "deep.csv", TListFormat::Csv, std::nullopt); });
    };
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attributes,
                  [](void* run) -> void* {
                      (*static_cast<decltype(import)*>(run))();
                      return nullptr;
                  },
                  const_cast<void*>(static_cast<const void*>(&import))),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    ASSERT_EQ(error, "(no error)");
    const IXMLDiscType disc = session.XMLDiscData();
    EXPECT_EQ(disc.DirCount(), std::to_string(kDepth));
    pugi::xml_node directory = disc.Root().XmlNode();
    int depth = 0;
    for (pugi::xml_node below; (below = directory.child("Directories").child("Directory"));
         directory = below)
        ++depth;
    EXPECT_EQ(depth, kDepth);
    EXPECT_STREQ(directory.child("Filenames").child("Filename").attribute("Text").value(), "f.txt");
}

TEST(ImportTest, OnlyRegularFilesAndPipesAreRead) {
    TScratchDirectory scratch;
    TRecordingHost host;
    TCatalogueSession session(host);
    session.NewCatalogue();
    const auto importing = [&](const std::string& path) {
        return ErrorText([&] { ImportFileList(session, path, TListFormat::Find, std::nullopt); });
    };
    EXPECT_EQ(importing("/dev/zero"),
              "Cannot open file \"/dev/zero\". It is a device, not a regular file or a pipe.");
    const std::string folder = scratch.Path().string();
    EXPECT_EQ(importing(folder), "Cannot open file \"" + folder +
                                     "\". It is a directory, not a regular file or a pipe.");
    EXPECT_EQ(session.XMLIndexData().Discs().Count(), 0);

    const std::string fifo = scratch / "list.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { WriteFileBytes(fifo, "/t\n/t/a\n"); });
    EXPECT_EQ(importing(fifo), "(no error)");
    writer.join();
    EXPECT_EQ(session.XMLDiscData().FileCount(), "1");
}

TEST(ImportTest, OurOwnCsvComesBackRowForRow) {
    TScratchDirectory scratch;
    const IXMLOrlentaDataType source = HostileCatalogue();
    // Its top directory holds a file and a folder both named "</script>", a path no import
    // takes; the folder, whose name holds a '/', stays.
    const IXMLFilenamesType files = source.Discs().Disc(0).Root().Filenames();
    for (const IXMLFilenameType& file : files) {
        if (file.Text() == "</script>") {
            files.Remove(file);
            break;
        }
    }
    std::ostringstream first;
    WriteCatalogueCsv(source, {}, first);
    WriteFileBytes(scratch / "d.csv", first.str());
    TRecordingHost host;
    TCatalogueSession session(host);
    session.NewCatalogue();
    ImportFileList(session, scratch / "d.csv", TListFormat::Csv, std::nullopt);
    std::ostringstream second;
    WriteCatalogueCsv(session.XMLIndexData(), {}, second);
    auto before = ParseRfc4180(first.str());
    auto after = ParseRfc4180(second.str());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 1; i < before.size(); ++i) {
        // The name that was not UTF-8 is stored as the document stores every name.
        if (before[i][4] == "ctl\x01\x1F")
            before[i][3] = before[i][4] = "ctl\xEF\xBF\xBD\xEF\xBF\xBD";
        if (before[i][4] == "bad\xFFname")
            before[i][3] = before[i][4] = "bad\xEF\xBF\xBDname";
        EXPECT_EQ(after[i], before[i]);
    }
}

} // namespace
} // namespace orlenta::test
