// orlenta-cli and sizes and dates: add records them from real trees, tree --long and
// discs --long print them, and a catalogue without them stays as it is.

#include "CliRun.h"
#include "TestSupport.h"

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace orlenta::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kBig = std::uint64_t{5} << 30; // past what 32 bits hold
constexpr std::uint64_t kSparse = std::uint64_t{1} << 20;

// Sets the modification and access times of path (a link itself, not what it points to) to
// seconds since 1970; false when the file system does not keep that time.
bool SetModified(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    struct stat info {};
    return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::lstat(path.c_str(), &info) == 0 && info.st_mtim.tv_sec == seconds;
}

// A file of size bytes of which only one, in the middle, is written: the rest is a hole.
void MakeSparseFile(const std::string& path, std::uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0 ||
        ::pwrite(fd, "x", 1, static_cast<off_t>(size / 2)) != 1)
        throw std::runtime_error("cannot make " + path);
    ::close(fd);
}

void Set(const std::string& path, std::int64_t seconds) {
    if (!SetModified(path, seconds))
        throw std::runtime_error("the file system does not keep the time of " + path);
}

// The text from "<Root" to "</Root>" (or the empty Root's "/>") of the data file's XML.
std::string RootXml(const std::string& file) {
    const std::string text = DataFileText(file);
    const std::size_t begin = text.find("<Root");
    std::size_t end = text.find("</Root>");
    end = end == std::string::npos ? text.find("/>", begin) + 2 : end + 7;
    return begin == std::string::npos ? text : text.substr(begin, end - begin);
}

std::string LastColumn(const std::string& line) {
    return line.substr(line.rfind('\t') + 1);
}

class CliSizesTest : public ::testing::Test {
protected:
    // src: big (5 GiB, a hole), old (3 bytes, a second before 1970), sub/dangling (a link to
    // nothing), sub/deep/x (10 bytes, a leap day), sub/hole (1 MiB, a hole).
    void MakeSource() {
        fs::create_directories("src/sub/deep");
        MakeSparseFile("src/big", kBig);
        WriteFileBytes("src/old", "abc");
        fs::create_symlink("nowhere", "src/sub/dangling");
        WriteFileBytes("src/sub/deep/x", "0123456789");
        MakeSparseFile("src/sub/hole", kSparse);
        struct stat hole {};
        ASSERT_EQ(::stat("src/sub/hole", &hole), 0);
        ASSERT_LT(static_cast<std::uint64_t>(hole.st_blocks) * 512, kSparse) << "not sparse";

        Set("src/big", 4102444800);       // 2100-01-01T00:00:00Z
        Set("src/old", -1);               // 1969-12-31T23:59:59Z
        Set("src/sub/deep/x", 951782400); // 2000-02-29T00:00:00Z
        Set("src/sub/hole", 1000000000);
        // The directories last: making their entries set their times.
        Set("src/sub/deep", 0);
        Set("src/sub", 1234567890);
        Set("src", 1700000000);
    }

    TScratchDirectory FScratch;
};

TEST_F(CliSizesTest, AddRecordsSizesAndDatesWithAndWithoutFilesAndLongListingsPrintThem) {
    MakeSource();
    ASSERT_EQ(RunCli({"add", "files.olx", "src", "--files", "--title", "T"}).ExitStatus, 0);
    ASSERT_EQ(RunCli({"add", "dirs.olx", "src", "--title", "T"}).ExitStatus, 0);

    // The link that leads nowhere has a name only, and the walk went on past it; each
    // directory's size is the total of its whole subtree.
    EXPECT_EQ(RootXml("files.olx"),
              R"(<Root ID="1" Size="5369757709" Modified="2023-11-14T22:13:20Z"><Filenames>)"
              R"(<Filename Text="big" Size="5368709120" Modified="2100-01-01T00:00:00Z"/>)"
              R"(<Filename Text="old" Size="3" Modified="1969-12-31T23:59:59Z"/></Filenames>)"
              R"(<Directories><Directory Name="sub" ID="2" Size="1048586" )"
              R"(Modified="2009-02-13T23:31:30Z"><Filenames><Filename Text="dangling"/>)"
              R"(<Filename Text="hole" Size="1048576" Modified="2001-09-09T01:46:40Z"/>)"
              R"(</Filenames><Directories><Directory Name="deep" ID="3" Size="10" )"
              R"(Modified="1970-01-01T00:00:00Z"><Filenames>)"
              R"(<Filename Text="x" Size="10" Modified="2000-02-29T00:00:00Z"/></Filenames>)"
              R"(</Directory></Directories></Directory></Directories></Root>)");
    // Without file names the files are still counted into the totals.
    EXPECT_EQ(RootXml("dirs.olx"),
              R"(<Root ID="1" Size="5369757709" Modified="2023-11-14T22:13:20Z"><Directories>)"
              R"(<Directory Name="sub" ID="2" Size="1048586" Modified="2009-02-13T23:31:30Z">)"
              R"(<Directories><Directory Name="deep" ID="3" Size="10" )"
              R"(Modified="1970-01-01T00:00:00Z"/></Directories></Directory></Directories>)"
              R"(</Root>)");
    EXPECT_NE(DataFileText("dirs.olx").find(R"(DirCount="2" FileCount="")"), std::string::npos);

    TCliResult result = RunCli({"tree", "files.olx", "--files", "--long"});
    EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(result.Out, "T\t5369757709\t2023-11-14T22:13:20Z\n"
                          "  big\t5368709120\t2100-01-01T00:00:00Z\n"
                          "  old\t3\t1969-12-31T23:59:59Z\n"
                          "  sub/\t1048586\t2009-02-13T23:31:30Z\n"
                          "    dangling\t\t\n"
                          "    hole\t1048576\t2001-09-09T01:46:40Z\n"
                          "    deep/\t10\t1970-01-01T00:00:00Z\n"
                          "      x\t10\t2000-02-29T00:00:00Z\n");
    result = RunCli({"tree", "dirs.olx", "--long"});
    EXPECT_EQ(result.Out, "T\t5369757709\t2023-11-14T22:13:20Z\n"
                          "  sub/\t1048586\t2009-02-13T23:31:30Z\n"
                          "    deep/\t10\t1970-01-01T00:00:00Z\n");
    result = RunCli({"discs", "dirs.olx", "--long"});
    EXPECT_EQ(result.ExitStatus, 0) << result.Err;
    EXPECT_EQ(LastColumn(result.Out), "5369757709\n");
}

TEST_F(CliSizesTest, OutputsWithoutLongAreThoseOfACatalogueWithoutSizes) {
    MakeSource();
    ASSERT_EQ(RunCli({"add", "sized.olx", "src", "--files", "--memo", "m"}).ExitStatus, 0);
    ASSERT_EQ(
        RunCli({"add", "plain.olx", "src", "--files", "--memo", "m", "--no-sizes"}).ExitStatus, 0);
    const std::string plainXml = DataFileText("plain.olx");
    EXPECT_EQ(plainXml.find("Size="), std::string::npos);
    EXPECT_EQ(plainXml.find("Modified="), std::string::npos);

    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"tree"}, {"tree", "--files"}, {"discs"}, {"info"}}) {
        std::vector<std::string> sized = command;
        sized.push_back("sized.olx");
        std::vector<std::string> plain = command;
        plain.push_back("plain.olx");
        const TCliResult sizedResult = RunCli(sized);
        EXPECT_EQ(sizedResult.ExitStatus, 0) << sizedResult.Err;
        EXPECT_EQ(sizedResult.Out, RunCli(plain).Out) << command.front();
    }

    // The long listings of a catalogue without sizes have their fields, empty.
    EXPECT_EQ(RunCli({"tree", "plain.olx", "--long"}).Out, "\t\t\n  sub/\t\t\n    deep/\t\t\n");
    std::string line = RunCli({"discs", "plain.olx"}).Out;
    line.insert(line.size() - 1, "\t");
    EXPECT_EQ(RunCli({"discs", "plain.olx", "--long"}).Out, line);
}

TEST_F(CliSizesTest, CataloguesStayByteForByteThroughLoadAndSave) {
    MakeSource();
    // Without sizes as read, with sizes as read, and written by hand with values no reading
    // gives: each is saved again exactly as it was.
    ASSERT_EQ(RunCli({"add", "plain.olx", "src", "--files", "--no-sizes"}).ExitStatus, 0);
    ASSERT_EQ(RunCli({"add", "sized.olx", "src", "--files"}).ExitStatus, 0);
    const std::string odd =
        R"(<?xml version="1.0"?><OrlentaData Title="Odd" LastDirectoryID="2"><Discs>)"
        R"(<Disc Vendor="" Title="D" MediaType="" CreationDate="" ReadDate="" DirCount="1" )"
        R"(FileCount="1" Memo=""><Root ID="1" Size="-5" Modified="2024-02-30T00:00:00Z">)"
        R"(<Directories><Directory Name="d" ID="2" Size="007" Modified=" 2024-01-01T00:00:00Z">)"
        R"(<Filenames><Filename Text="f" Size="18446744073709551616" )"
        R"(Modified="2024-02-29T24:00:00Z"/></Filenames></Directory></Directories></Root>)"
        R"(</Disc></Discs></OrlentaData>)";
    WriteFileBytes("odd.olx", RawDeflateBytes(odd));

    for (const std::string file : {"plain.olx", "sized.olx", "odd.olx"}) {
        // set stores the catalogue's memo as the Index properties dialog does: an empty one is
        // written out; nothing else changes.
        std::string expected = DataFileText(file);
        expected.insert(expected.find("><Discs>"), R"( Memo="")");
        const TCliResult result = RunCli({"set", file});
        EXPECT_EQ(result.ExitStatus, 0) << result.Err;
        EXPECT_EQ(DataFileText(file), expected) << file;
    }

    // Values that are not valid are printed as not recorded; a size with leading zeros is
    // still a plain decimal number.
    EXPECT_EQ(RunCli({"tree", "odd.olx", "--files", "--long"}).Out,
              "D\t\t\n  d/\t7\t\n    f\t\t\n");
    EXPECT_EQ(LastColumn(RunCli({"discs", "odd.olx", "--long"}).Out), "\n");
}

TEST_F(CliSizesTest, TimesOfYearsBeyond9999AreLeftOut) {
    // ext4 keeps times up to 2446 only; tmpfs keeps any.
    std::string tree = "far";
    fs::create_directories(tree);
    std::string shared;
    if (!SetModified(tree, 253402300800)) {
        char pattern[] = "/dev/shm/orlenta-sizes-XXXXXX";
        if (::access("/dev/shm", W_OK) != 0 || ::mkdtemp(pattern) == nullptr)
            GTEST_SKIP() << "no file system here keeps times past 9999";
        shared = pattern;
        tree = shared;
        if (!SetModified(tree, 253402300800)) {
            fs::remove_all(shared);
            GTEST_SKIP() << "no file system here keeps times past 9999";
        }
    }
    struct TRemove {
        std::string Path;
        ~TRemove() {
            if (!Path.empty())
                fs::remove_all(Path);
        }
    } remove{shared};
    WriteFileBytes(tree + "/last", "ab");
    WriteFileBytes(tree + "/past", "abc");
    Set(tree + "/last", 253402300799); // 9999-12-31T23:59:59Z
    Set(tree + "/past", 253402300800); // 10000-01-01T00:00:00Z
    Set(tree, 253402300800);

    ASSERT_EQ(RunCli({"add", "far.olx", tree, "--files"}).ExitStatus, 0);
    EXPECT_EQ(RootXml("far.olx"),
              R"(<Root ID="1" Size="5"><Filenames>)"
              R"(<Filename Text="last" Size="2" Modified="9999-12-31T23:59:59Z"/>)"
              R"(<Filename Text="past" Size="3"/></Filenames></Root>)");
}

} // namespace
} // namespace orlenta::test
