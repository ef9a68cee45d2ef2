// Reading a disc with archives: archives are made here with the library's own writer.

#include "AddressSanitizer.h"
#include "TestSupport.h"
#include "TreeFixture.h"
#include "core/catalogue/TreeCounts.h"
#include "core/reading/ArchiveLister.h"
#include "core/reading/DiscReading.h"

#include <archive.h>
#include <archive_entry.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::MakeTree;
using test::TRecordingHost;
using test::TScratchDirectory;

struct TItem {
    std::string Path;
    std::string Data; // ignored for a folder
    bool IsDirectory = false;
};

struct TWriterFree {
    void operator()(struct archive* archive) const { archive_write_free(archive); }
};

using TSetUp = int (*)(struct archive*);

const std::map<std::string, TSetUp> kWriteFilters{{"", archive_write_add_filter_none},
                                                  {"gz", archive_write_add_filter_gzip},
                                                  {"bz2", archive_write_add_filter_bzip2},
                                                  {"xz", archive_write_add_filter_xz},
                                                  {"zst", archive_write_add_filter_zstd}};

// Writes items into path in the given format ("zip", "7z", "tar", "pax" (a tar whose long paths
// have extended headers), "iso", "cpio") through the given filter ("", "gz", "bz2", "xz",
// "zst"); passphrase encrypts a zip. False when the library cannot write that combination.
bool WriteArchive(const std::string& path, const std::string& format, const std::string& filter,
                  const std::vector<TItem>& items, const char* passphrase = nullptr) {
    std::unique_ptr<struct archive, TWriterFree> writer(archive_write_new());
    struct archive* a = writer.get();
    static const std::map<std::string, TSetUp> formats{
        {"zip", archive_write_set_format_zip},     {"7z", archive_write_set_format_7zip},
        {"tar", archive_write_set_format_ustar},   {"pax", archive_write_set_format_pax_restricted},
        {"iso", archive_write_set_format_iso9660}, {"cpio", archive_write_set_format_cpio_newc}};
    if (formats.at(format)(a) != ARCHIVE_OK || kWriteFilters.at(filter)(a) != ARCHIVE_OK)
        return false;
    if (passphrase && (archive_write_set_options(a, "zip:encryption=zipcrypt") != ARCHIVE_OK ||
                       archive_write_set_passphrase(a, passphrase) != ARCHIVE_OK))
        return false;
    if (archive_write_open_filename(a, path.c_str()) != ARCHIVE_OK)
        return false;
    for (const TItem& item : items) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.Path.c_str());
        archive_entry_set_filetype(entry, item.IsDirectory ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry, item.IsDirectory ? 0755 : 0644);
        archive_entry_set_size(entry,
                               item.IsDirectory ? 0 : static_cast<la_int64_t>(item.Data.size()));
        archive_entry_set_mtime(entry, 1700000000, 0);
        const bool written =
            archive_write_header(a, entry) == ARCHIVE_OK &&
            (item.IsDirectory || archive_write_data(a, item.Data.data(), item.Data.size()) >= 0);
        archive_entry_free(entry);
        if (!written)
            return false;
    }
    return archive_write_close(a) == ARCHIVE_OK;
}

la_ssize_t AppendTo(struct archive*, void* out, const void* bytes, size_t size) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(bytes), size);
    return static_cast<la_ssize_t>(size);
}

// bytes compressed by the library's writer with filter, as one whole stream of its own.
std::string Compressed(const std::string& bytes, const std::string& filter) {
    std::unique_ptr<struct archive, TWriterFree> writer(archive_write_new());
    struct archive* a = writer.get();
    std::string out;
    struct archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, "data");
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    // No padding after the stream, so that streams can follow one another.
    const bool written =
        archive_write_set_format_raw(a) == ARCHIVE_OK &&
        kWriteFilters.at(filter)(a) == ARCHIVE_OK &&
        archive_write_set_bytes_in_last_block(a, 1) == ARCHIVE_OK &&
        archive_write_open2(a, &out, nullptr, AppendTo, nullptr, nullptr) == ARCHIVE_OK &&
        archive_write_header(a, entry) == ARCHIVE_OK &&
        archive_write_data(a, bytes.data(), bytes.size()) ==
            static_cast<la_ssize_t>(bytes.size()) &&
        archive_write_close(a) == ARCHIVE_OK;
    archive_entry_free(entry);
    return written ? out : std::string();
}

// The tar header of a file of size bytes, as the library's writer writes it, without the data.
std::string TarHeader(const std::string& name, std::uint64_t size) {
    std::unique_ptr<struct archive, TWriterFree> writer(archive_write_new());
    struct archive* a = writer.get();
    std::string header(512, '\0');
    size_t used = 0;
    struct archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(size));
    archive_entry_set_mtime(entry, 1700000000, 0);
    // Unblocked, into a buffer that holds the header alone: the data it would go on with finds
    // the buffer full.
    const bool written =
        archive_write_set_format_ustar(a) == ARCHIVE_OK &&
        archive_write_set_bytes_per_block(a, 0) == ARCHIVE_OK &&
        archive_write_open_memory(a, header.data(), header.size(), &used) == ARCHIVE_OK &&
        archive_write_header(a, entry) == ARCHIVE_OK;
    archive_entry_free(entry);
    return written && used == header.size() ? header : std::string();
}

// Runs body with the address space limited to what the process holds now and budget bytes
// more, so that a cost that grows faster than its input ends in bad_alloc. The sanitizer build
// runs it unlimited: its allocator maps memory its own way.
void WithMemoryBudget(std::uint64_t budget, const std::function<void()>& body) {
#ifdef ORLENTA_TEST_ADDRESS_SANITIZER
    (void)budget;
    body();
#else
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    ASSERT_GT(pages, 0u);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) + budget;
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &limited), 0);
    try {
        body();
    } catch (...) {
        ::setrlimit(RLIMIT_AS, &saved);
        throw;
    }
    ::setrlimit(RLIMIT_AS, &saved);
#endif
}

// The folders (ending in '/') and files below directory, as paths, folders' and files' order
// ignored.
std::multiset<std::string> Listing(const TXMLDirectoryType& directory,
                                   const std::string& prefix = "") {
    std::multiset<std::string> listing;
    const pugi::xml_node top = directory.XmlNode();
    for (const pugi::xml_node file : top.child("Filenames").children("Filename"))
        listing.insert(prefix + file.attribute("Text").value());
    for (const pugi::xml_node folder : top.child("Directories").children("Directory")) {
        const std::string path = prefix + folder.attribute("Name").value() + "/";
        listing.insert(path);
        const auto below = Listing(
            TXMLDirectoryType(folder, directory.OwnerDocument(), TXMLBinding::Directory), path);
        listing.insert(below.begin(), below.end());
    }
    return listing;
}

// Every element below node stands where the catalogue's schema places it, with the attributes
// it knows and the new optional ones; gives the first that does not, or "".
std::string OutsideSchema(pugi::xml_node node) {
    static const std::map<std::string, std::set<std::string>> children{
        {"OrlentaData", {"Discs"}},
        {"Discs", {"Disc"}},
        {"Disc", {"Root"}},
        {"Root", {"Directories", "Filenames"}},
        {"Directory", {"Directories", "Filenames"}},
        {"Directories", {"Directory"}},
        {"Filenames", {"Filename"}},
        {"Filename", {}}};
    static const std::map<std::string, std::set<std::string>> attributes{
        {"Root", {"Name", "ID", "Size", "Modified"}},
        {"Directory", {"Name", "ID", "Size", "Modified", "Archive"}},
        {"Filename", {"Text", "Size", "Modified"}},
        {"Directories", {}},
        {"Filenames", {}}};
    for (const pugi::xml_node child : node.children()) {
        const auto allowed = children.find(node.name());
        if (child.type() != pugi::node_element || allowed == children.end() ||
            !allowed->second.count(child.name()))
            return std::string(node.name()) + ">" + child.name();
        const auto known = attributes.find(child.name());
        if (known != attributes.end())
            for (const pugi::xml_attribute attribute : child.attributes())
                if (!known->second.count(attribute.name()))
                    return std::string(child.name()) + "@" + attribute.name();
        if (const std::string below = OutsideSchema(child); !below.empty())
            return below;
    }
    return {};
}

class ArchiveReadingTest : public ::testing::Test {
protected:
    ArchiveReadingTest() : Session(Host), Reading(Session), Root(Dir / "E") {
        Session.NewCatalogue();
        Reading.OnReady = [this] { Host.SetBusy(""); };
        Reading.SetReadArchives(true);
        Reading.SetRecordSizes(true);
        fs::create_directories(Root);
    }

    IXMLDiscType Read() {
        TDiscProperties properties;
        properties.Title = "Disc";
        EXPECT_EQ(Reading.AddDisc(Root + "/", true, properties), TAddDiscResult::Added);
        const IXMLDiscsType discs = Session.XMLIndexData().Discs();
        return discs.Disc(discs.Count() - 1);
    }

    // The directory element named name right below the disc's top, or an empty handle.
    static TXMLDirectoryType Folder(const IXMLDiscType& disc, const std::string& name) {
        for (const pugi::xml_node folder :
             disc.Root().XmlNode().child("Directories").children("Directory"))
            if (name == folder.attribute("Name").value())
                return TXMLDirectoryType(folder, disc.OwnerDocument(), TXMLBinding::Directory);
        return {};
    }

    TScratchDirectory Dir;
    TRecordingHost Host;
    TCatalogueSession Session;
    TDiscReading Reading;
    std::string Root;
};

const std::vector<TItem> kNested{{"top.txt", "12345"}, {"d/e/deep.txt", "abc"}, {"d/", "", true}};

TEST_F(ArchiveReadingTest, EachFormatIsFoundByContentAndItsFoldersAndFilesRecorded) {
    struct TCase {
        const char* Format;
        const char* Filter;
        const char* Expected;
    };
    const TCase cases[] = {
        {"zip", "", "zip"},        {"7z", "", "7z"},          {"tar", "", "tar"},
        {"tar", "gz", "tar.gz"},   {"tar", "bz2", "tar.bz2"}, {"tar", "xz", "tar.xz"},
        {"tar", "zst", "tar.zst"}, {"iso", "", "iso"},        {"cpio", "", "cpio"}};
    for (const TCase& c : cases) {
        // Named so that nothing but the content can tell what it is.
        const std::string name = std::string(c.Format) + c.Filter + ".bin";
        ASSERT_TRUE(WriteArchive(Root + "/" + name, c.Format, c.Filter, kNested)) << name;
    }
    const IXMLDiscType disc = Read();

    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Expected);
        const std::string name = std::string(c.Format) + c.Filter + ".bin";
        const TXMLDirectoryType folder = Folder(disc, name);
        ASSERT_TRUE(folder);
        EXPECT_EQ(folder.Archive().value_or(""), c.Expected);
        std::multiset<std::string> listing = Listing(folder);
        listing.erase("."); // an image may hold its own top
        EXPECT_EQ(listing, (std::multiset<std::string>{"top.txt", "d/", "d/e/", "d/e/deep.txt"}));
        EXPECT_EQ(folder.Size(), 8u); // uncompressed, from the headers
        const pugi::xml_node top =
            folder.XmlNode().child("Filenames").find_child_by_attribute("Text", "top.txt");
        EXPECT_STREQ(top.attribute("Size").value(), "5");
        EXPECT_STREQ(top.attribute("Modified").value(), "2023-11-14T22:13:20Z");
    }
    // The disc's counts and totals are the file system's alone.
    EXPECT_EQ(disc.DirCount(), "");
    EXPECT_EQ(disc.FileCount(), std::to_string(std::size(cases)));
    std::uint64_t archiveBytes = 0;
    for (const auto& file : fs::directory_iterator(Root))
        archiveBytes += file.file_size();
    EXPECT_EQ(disc.Root().Size(), archiveBytes);
    TTreeCounts counts;
    AddTreeCounts(disc.Root(), counts);
    EXPECT_EQ(counts.Archives, static_cast<long long>(std::size(cases)));
    EXPECT_EQ(counts.Directories, 0);
    EXPECT_EQ(counts.ArchiveEntries, static_cast<long long>(Reading.ArchiveEntryCount()));
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u);
    EXPECT_EQ(OutsideSchema(Session.XMLIndexData().Discs().XmlNode()), "");
}

TEST_F(ArchiveReadingTest, WhatNoFormatReadsStaysAPlainFileAndWithoutTheOptionNothingIsOpened) {
    ASSERT_TRUE(WriteArchive(Root + "/real.zip", "zip", "", kNested));
    {
        std::ofstream(Root + "/fake.zip") << "PK\x03\x04 but nothing after";
        std::ofstream(Root + "/text.tar") << "just text";
        std::ofstream(Root + "/empty.zip");
    }
    // Compressed, but not an archive inside.
    ASSERT_EQ(std::system(("printf 'plain text' | gzip > '" + Root + "/notes.gz'").c_str()), 0);

    const IXMLDiscType withArchives = Read();
    EXPECT_TRUE(Folder(withArchives, "real.zip"));
    for (const char* plain : {"fake.zip", "text.tar", "empty.zip", "notes.gz"})
        EXPECT_FALSE(Folder(withArchives, plain)) << plain;
    EXPECT_EQ(Reading.ArchiveCount(), 1u);
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u);

    Reading.SetReadArchives(false);
    const IXMLDiscType without = Read();
    EXPECT_FALSE(Folder(without, "real.zip"));
    EXPECT_EQ(Reading.ArchiveCount(), 0u);
}

TEST_F(ArchiveReadingTest, HostileNamesAreNamesInsideTheArchivesFolder) {
    // Names the file system holds too: the directory reader's record of them is the measure.
    const std::string control = "ctl\x01name";
    const std::string notUtf8 = "\xff\xfe.txt";
    MakeTree(Root, {control, notUtf8});
    const std::vector<std::string> paths{"../x",
                                         "/etc/passwd",
                                         "a/../../up",
                                         "C:\\x",
                                         "back\\slash\\name",
                                         "..",
                                         "./dot/./f",
                                         "//double//slash",
                                         control,
                                         notUtf8,
                                         "both",
                                         "both/inner",
                                         "same",
                                         "same"};
    std::vector<TItem> items;
    for (const std::string& path : paths)
        items.push_back({path, "x"});
    ASSERT_TRUE(WriteArchive(Root + "/hostile.tar", "tar", "", items));

    const IXMLDiscType disc = Read();
    std::string controlText;
    std::string notUtf8Text;
    for (const pugi::xml_node file : disc.Root().XmlNode().child("Filenames").children()) {
        const std::string text = file.attribute("Text").value();
        if (text != "hostile.tar")
            (text.rfind("ctl", 0) == 0 ? controlText : notUtf8Text) = text;
    }
    ASSERT_FALSE(controlText.empty());
    ASSERT_FALSE(notUtf8Text.empty());
    const TXMLDirectoryType folder = Folder(disc, "hostile.tar");
    ASSERT_TRUE(folder);
    EXPECT_EQ(Listing(folder),
              (std::multiset<std::string>{"x", "etc/", "etc/passwd", "a/", "a/up", "C:\\x",
                                          "back\\slash\\name", "", "dot/", "dot/f", "double/",
                                          "double/slash", controlText, notUtf8Text, "both", "both/",
                                          "both/inner", "same", "same"}));
    // Beside the archive's folder stand only the disc's own files.
    EXPECT_EQ(Listing(disc.Root()).count("x"), 0u);
    EXPECT_EQ(Listing(disc.Root()).count("etc/"), 0u);
}

TEST_F(ArchiveReadingTest, ATruncatedZipKeepsWhatWasListedAndTheReadingGoesOn) {
    std::vector<TItem> items;
    std::string data(4000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>((i * 7919u) >> 3); // little to compress
    for (int i = 0; i < 40; ++i) {
        // Appended, not "f" + ...: GCC 12 at -O3 warns falsely of an overlapping copy there.
        std::string name = "f";
        name += std::to_string(i);
        items.push_back({name, data});
    }
    const std::string zip = Root + "/cut.zip";
    ASSERT_TRUE(WriteArchive(zip, "zip", "", items));
    fs::resize_file(zip, fs::file_size(zip) / 2);
    MakeTree(Root, {"z-after.txt"});

    const IXMLDiscType disc = Read();
    const TXMLDirectoryType folder = Folder(disc, "cut.zip");
    ASSERT_TRUE(folder);
    const std::size_t listed = Listing(folder).size();
    EXPECT_GT(listed, 0u);
    EXPECT_LT(listed, items.size());
    EXPECT_EQ(Reading.ArchivesNotWhole(), 1u);
    EXPECT_EQ(disc.FileCount(), "2"); // the file after it was read
}

TEST_F(ArchiveReadingTest, EncryptedEntriesAreListedByNameAndAZipInAZipIsAFile) {
    const std::string inner = Dir / "inner.zip";
    ASSERT_TRUE(WriteArchive(inner, "zip", "", kNested));
    std::ifstream in(inner, std::ios::binary);
    const std::string innerBytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_TRUE(WriteArchive(Root + "/outer.zip", "zip", "", {{"inner.zip", innerBytes}}));
    const bool encrypted =
        WriteArchive(Root + "/secret.zip", "zip", "", {{"hidden/name.txt", "secret"}}, "pw");

    const IXMLDiscType disc = Read();
    EXPECT_EQ(Listing(Folder(disc, "outer.zip")), (std::multiset<std::string>{"inner.zip"}));
    if (!encrypted)
        GTEST_SKIP() << "this libarchive cannot write an encrypted zip";
    EXPECT_EQ(Listing(Folder(disc, "secret.zip")),
              (std::multiset<std::string>{"hidden/", "hidden/name.txt"}));
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u);
}

TEST_F(ArchiveReadingTest, ACompressedTarIsReadAsAStreamAndStopWorksInsideIt) {
    std::vector<TItem> items;
    for (int i = 0; i < 3000; ++i)
        items.push_back(
            {"dir" + std::to_string(i % 10) + "/f" + std::to_string(i), std::string(2000, 'x')});
    ASSERT_TRUE(WriteArchive(Root + "/big.tar.gz", "tar", "gz", items));

    const IXMLDiscType whole = Read();
    EXPECT_EQ(Listing(Folder(whole, "big.tar.gz")).size(), 3010u);
    EXPECT_EQ(Folder(whole, "big.tar.gz").Size(), 3000u * 2000u);

    // Stop from the front end's turn, well inside the archive.
    int turns = 0;
    std::vector<std::string> archives;
    Reading.OnArchiveFound = [&](std::string_view path) { archives.emplace_back(path); };
    Reading.DirReader().SetOnProcessEvents([&](TDirReader& reader) {
        if (!archives.empty() && ++turns == 100)
            reader.Stop();
    });
    const IXMLDiscType stopped = Read();
    EXPECT_EQ(archives, std::vector<std::string>{Root + "/big.tar.gz"});
    const std::size_t listed = Listing(Folder(stopped, "big.tar.gz")).size();
    EXPECT_GE(listed, 100u);
    EXPECT_LT(listed, 200u);
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u); // stopped is not broken
}

TEST_F(ArchiveReadingTest, APathNestedDeepCostsMemoryInProportionToItsLength) {
    // 60 KB of path: with a key per whole prefix this took close to a gigabyte.
    constexpr int kDepth = 30000;
    std::string deep;
    for (int i = 0; i < kDepth; ++i)
        deep += "a/";
    ASSERT_TRUE(WriteArchive(Root + "/deep.tar", "pax", "",
                             {{deep + "f.txt", "hello"}, {"a/", "", true}, {"a/a/g.txt", "12"}}));

    IXMLDiscType disc;
    WithMemoryBudget(256u << 20, [&] { disc = Read(); });
    TXMLDirectoryType folder = Folder(disc, "deep.tar");
    ASSERT_TRUE(folder);
    EXPECT_EQ(Reading.ArchiveEntryCount(), kDepth + 2u);
    // One chain of folders, each holding the total of the files below it.
    int depth = 0;
    std::map<int, std::string> files;
    for (pugi::xml_node below = folder.XmlNode(); below;
         below = below.child("Directories").child("Directory"), ++depth) {
        ASSERT_EQ(below.child("Directories").select_nodes("Directory").size(),
                  depth < kDepth ? 1u : 0u)
            << depth;
        ASSERT_STREQ(below.attribute("Size").value(), depth < 3 ? "7" : "5") << depth;
        for (const pugi::xml_node file : below.child("Filenames").children())
            files[depth] += file.attribute("Text").value();
    }
    EXPECT_EQ(depth, kDepth + 1);
    EXPECT_EQ(files, (std::map<int, std::string>{{2, "g.txt"}, {kDepth, "f.txt"}}));
}

TEST_F(ArchiveReadingTest, AZeroFilledStartIsAPlainFileAndATarNeedsAHeader) {
    std::string tarBytes;
    const std::string tar = Dir / "small.tar";
    ASSERT_TRUE(WriteArchive(tar, "tar", "", kNested));
    tarBytes = test::ReadFileBytes(tar);
    std::string garbled = tarBytes;
    garbled.replace(0, 8, "garbage!"); // the first header's name: its checksum fails
    std::string disk(1024, '\0');      // as a file system image begins
    disk += "\x53\xef then a superblock";
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Format; // "" for a plain file
    };
    const TCase cases[] = {
        {"zeros.img", std::string(1 << 20, '\0'), ""},
        {"empty-tar-of-nothing.tar", std::string(10240, '\0'), ""},
        {"zeros.gz", Compressed(std::string(1 << 20, '\0'), "gz"), ""},
        {"disk.img", disk, ""},
        {"small.tar", tarBytes, "tar"},
        {"garbled.tar", garbled, ""},
        {"cut-in-header.tar", tarBytes.substr(0, 300), ""},
    };
    for (const TCase& c : cases)
        test::WriteFileBytes(Root + "/" + c.Name, c.Bytes);

    const IXMLDiscType disc = Read();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TXMLDirectoryType folder = Folder(disc, c.Name);
        EXPECT_EQ(folder ? folder.Archive().value_or("?") : "", c.Format);
    }
    EXPECT_EQ(Reading.ArchiveCount(), 1u);
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u);
}

TEST_F(ArchiveReadingTest, AnArchiveTheLibraryKnowsAndThenFailsOnIsCountedAsNotWhole) {
    std::mt19937 random(7); // nothing to compress
    std::string data(100000, '\0');
    for (char& byte : data)
        byte = static_cast<char>(random());
    const std::string whole = Dir / "whole.7z";
    ASSERT_TRUE(WriteArchive(whole, "7z", "", {{"a.bin", data}, {"b.txt", "hello"}}));
    const std::string bytes = test::ReadFileBytes(whole);
    ASSERT_GT(bytes.size(), 40000u);
    test::WriteFileBytes(Root + "/whole.7z", bytes);
    // Its list of entries stands at the end: what is cut loses it.
    test::WriteFileBytes(Root + "/cut.7z", bytes.substr(0, bytes.size() - 10));
    // A split archive's first volume is its first bytes.
    test::WriteFileBytes(Root + "/split.7z.001", bytes.substr(0, 20480));
    // The library writes no encryption of 7z; this one holds secret.txt, its list encrypted.
    fs::copy_file(fs::path(ORLENTA_TEST_DATA) / "encrypted-headers.7z",
                  Root + "/encrypted-headers.7z");

    const IXMLDiscType disc = Read();
    EXPECT_EQ(Listing(Folder(disc, "whole.7z")), (std::multiset<std::string>{"a.bin", "b.txt"}));
    for (const char* broken : {"cut.7z", "split.7z.001", "encrypted-headers.7z"}) {
        SCOPED_TRACE(broken);
        const TXMLDirectoryType folder = Folder(disc, broken);
        ASSERT_TRUE(folder);
        EXPECT_EQ(folder.Archive().value_or(""), "7z");
        EXPECT_TRUE(Listing(folder).empty());
    }
    EXPECT_EQ(Reading.ArchiveCount(), 4u);
    EXPECT_EQ(Reading.ArchivesNotWhole(), 3u);
}

TEST_F(ArchiveReadingTest, StopIsTakenInsideTheDataOfOneLargeCompressedEntry) {
    // A tar.bz2 of a few kilobytes whose one file is 4 GiB of zeros: bzip2 streams one after
    // another make one stream, so the zeros are compressed once and repeated.
    constexpr std::uint64_t kChunk = 16u << 20;
    constexpr int kChunks = 256;
    constexpr std::uint64_t kSize = kChunk * kChunks - (1u << 20); // room for the end mark
    const std::string header = TarHeader("zeros.bin", kSize);
    ASSERT_FALSE(header.empty());
    std::string bytes = Compressed(header, "bz2");
    const std::string chunk = Compressed(std::string(kChunk, '\0'), "bz2");
    ASSERT_FALSE(chunk.empty());
    for (int i = 0; i < kChunks; ++i)
        bytes += chunk;
    const std::string path = Root + "/huge.tar.bz2";
    test::WriteFileBytes(path, bytes);
    MakeTree(Root, {"z-after.txt"});

    // Stop from the front end's turns soon after the archive is found.
    bool found = false;
    int turns = 0;
    Reading.OnArchiveFound = [&](std::string_view) { found = true; };
    Reading.DirReader().SetOnProcessEvents([&](TDirReader& reader) {
        if (found && ++turns == 3)
            reader.Stop();
    });
    const IXMLDiscType disc = Read();
    EXPECT_FALSE(Reading.DirReader().Active());
    const TXMLDirectoryType folder = Folder(disc, "huge.tar.bz2");
    EXPECT_EQ(Listing(folder), std::multiset<std::string>{"zeros.bin"});
    EXPECT_EQ(folder.Size(), kSize);
    EXPECT_EQ(disc.FileCount(), "1"); // the walk ended inside the archive
    EXPECT_EQ(Reading.ArchivesNotWhole(), 0u);

    // The listing says so itself.
    int asked = 0;
    std::vector<std::string> entries;
    const TArchiveListing listing = ListArchive(
        path, [](std::string_view) {},
        [&](const TArchiveEntry& entry) {
            entries.emplace_back(entry.Path);
            return true;
        },
        [&] { return ++asked < 3; });
    EXPECT_EQ(listing, TArchiveListing::Stopped);
    EXPECT_EQ(entries, std::vector<std::string>{"zeros.bin"});
    EXPECT_EQ(asked, 3);
}

} // namespace
} // namespace orlenta
