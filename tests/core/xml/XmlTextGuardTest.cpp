// A load stops while inflating when the text cannot be XML or would not fit in memory: a small
// data file can inflate to gigabytes.

#include "core/xml/XmlTextGuard.h"

#include "TestSupport.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/CatalogueSession.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

namespace orlenta {
namespace {

namespace fs = std::filesystem;
using test::ErrorText;
using test::RawDeflateBytes;
using test::TRecordingHost;
using test::TScratchDirectory;
using test::WriteFileBytes;

const std::string kNul(1, '\0');

// The raw DEFLATE stream of head, then count copies of filler, then tail, made without holding
// the whole text: a bomb of a few kilobytes.
std::string Bomb(const std::string& head, char filler, size_t count, const std::string& tail) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out;
    const std::string block(1 << 20, filler);
    const auto feed = [&](const std::string& bytes, size_t size, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream.avail_in = static_cast<uInt>(size);
        char buffer[1 << 16];
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0);
    };
    feed(head, head.size(), Z_NO_FLUSH);
    for (size_t left = count; left > 0; left -= std::min(left, block.size()))
        feed(block, std::min(left, block.size()), Z_NO_FLUSH);
    feed(tail, tail.size(), Z_FINISH);
    deflateEnd(&stream);
    return out;
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string wide;
    for (const char c : ascii) {
        wide += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    }
    return wide;
}

// What the guard says of text fed to it in pieces of pieceSize bytes.
std::string Verdict(const std::string& text, size_t pieceSize, uint64_t availableMemory = 1 << 30) {
    TXmlTextGuard guard("cat.olx", availableMemory);
    return ErrorText([&] {
        for (size_t at = 0; at < text.size(); at += pieceSize)
            guard.Inspect(text.data() + at, std::min(pieceSize, text.size() - at));
        guard.End();
    });
}

std::string ParseError(const std::string& reason, int line, const std::string& lineStart) {
    return reason + "\r\nLine: " + std::to_string(line) + "\r\n" + lineStart;
}

TEST(XmlTextGuard, TextThatCannotBeXmlIsRefusedWhereverThePiecesEnd) {
    const std::string nul = kXmlNulCharacterReason;
    const std::string before = kXmlTextBeforeRootReason;
    const struct {
        const char* What;
        std::string Text;
        std::string Error;
    } cases[] = {
        {"zeros", std::string(5000, '\0'), ParseError(nul, 1, "")},
        {"a letter first", "hello <OrlentaData/>", ParseError(before, 1, "hello <OrlentaData/>")},
        // Appended, not "\n" + std::string(...): GCC 12 at -O3 takes that insertion at the front
        // for an overlapping copy (-Wrestrict) when it is not.
        {"a long line", std::string("\n").append(200, 'x'),
         ParseError(before, 2, std::string(40, 'x'))},
        {"after blank lines", "\n\r\n\r  x<OrlentaData/>\n<a/>",
         ParseError(before, 4, "  x<OrlentaData/>")},
        {"a NUL in the document",
         "<?xml version=\"1.0\"?>\r\n<OrlentaData Title=\"a" + kNul + "b\"/>",
         ParseError(nul, 2, "<OrlentaData Title=\"a")},
        {"a NUL after the root", "<OrlentaData/>\n\n" + kNul, ParseError(nul, 3, "")},
        {"zeros after a UTF-8 mark", "\xEF\xBB\xBF" + std::string(8, '\0'), ParseError(nul, 1, "")},
        {"UTF-16 zeros", "\xFF\xFE" + std::string(64, '\0'), ParseError(nul, 1, "")},
        {"UTF-16 text first", "\xFE\xFF" + Utf16("\n  caf\xE9<a/>", true),
         ParseError(before, 2, "  caf\xC3\xA9<a/>")},
        {"UTF-16 NUL", Utf16("<?xml version=\"1.0\"?>\r\n<a b=\"", false) + kNul + kNul,
         ParseError(nul, 2, "<a b=\"")},
        {"UTF-32 zeros", std::string("\xFF\xFE\0\0", 4) + std::string(16, '\0'),
         ParseError(nul, 1, "")},
    };
    for (const auto& c : cases) {
        for (const size_t pieceSize : {size_t{1}, size_t{3}, c.Text.size()})
            EXPECT_EQ(Verdict(c.Text, pieceSize), c.Error) << c.What << ", pieces of " << pieceSize;
    }
}

TEST(XmlTextGuard, TextThatMayBeXmlPasses) {
    const std::string texts[] = {
        "<?xml version=\"1.0\"?><OrlentaData/>",
        " \r\n\t<OrlentaData/>",
        "\xEF\xBB\xBF<OrlentaData/>",
        "\xFF\xFE" + Utf16("\n<OrlentaData Title=\"caf\xE9\"/>", false),
        "\xFE\xFF" + Utf16("<OrlentaData/>", true),
        Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><OrlentaData/>", false),
        "<a", // too short to judge: the parse does
    };
    for (const std::string& text : texts) {
        for (const size_t pieceSize : {size_t{1}, text.size()})
            EXPECT_EQ(Verdict(text, pieceSize), "(no error)") << text;
    }
}

TEST(XmlTextGuard, TheLimitIsAQuarterOfTheAvailableMemory) {
    EXPECT_EQ(LoadableXmlBytes(4000000), 1000000u);
    const std::string text = "<a>" + std::string(999997, ' ');
    EXPECT_EQ(Verdict(text, 65536, 4000000), "(no error)");
    EXPECT_EQ(Verdict(text + " ", 65536, 4000000),
              "Cannot load \"cat.olx\". Its XML text is larger than 1 MB, and loading it would "
              "need more than the 4 MB of memory available.");
    EXPECT_GT(SystemAvailableMemory(), 0u);
}

class XmlTextGuardLoad : public ::testing::Test {
protected:
    XmlTextGuardLoad() : Session(Host) {
        Session.NewCatalogue();
        Session.XMLIndexData().SetTitle("Before");
        Session.SetOrlentaFilename(Dir / "bomb.olx");
    }

    uintmax_t TemporaryFileSize() const { return fs::file_size(Dir / kTemporaryFileName); }

    TScratchDirectory Dir;
    TRecordingHost Host;
    TCatalogueSession Session;
};

// 64 MiB of zeros in 64 KB: refused before a byte reaches the temporary file.
TEST_F(XmlTextGuardLoad, ABombOfZerosStopsAtOnce) {
    WriteFileBytes(Session.OrlentaFilename(), Bomb("", '\0', 64 << 20, ""));
    EXPECT_EQ(ErrorText([this] { Session.LoadDataFile(); }),
              ParseError(kXmlNulCharacterReason, 1, ""));
    EXPECT_EQ(TemporaryFileSize(), 0u);
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_FALSE(Host.Busy());
}

// 64 MiB of an attribute value against 4 MB of memory: stopped after the first megabyte.
TEST_F(XmlTextGuardLoad, ABombOfTextStopsAtTheLimit) {
    Session.SetAvailableMemory([] { return uint64_t{4} << 20; });
    WriteFileBytes(Session.OrlentaFilename(), Bomb("<OrlentaData Title=\"", 'a', 64 << 20, "\"/>"));
    EXPECT_EQ(ErrorText([this] { Session.LoadDataFile(); }),
              "Cannot load \"" + Session.OrlentaFilename() +
                  "\". Its XML text is larger than 1 MB, and loading it would need more than the "
                  "4 MB of memory available.");
    EXPECT_LE(TemporaryFileSize(), uintmax_t{1} << 20);
    EXPECT_EQ(Session.XMLIndexData().Title(), "Before");
    EXPECT_TRUE(Host.Messages.empty());
    EXPECT_FALSE(Host.Busy());

    // The same memory loads a catalogue that fits.
    WriteFileBytes(Session.OrlentaFilename(), Bomb("<OrlentaData Title=\"", 'a', 900000, "\"/>"));
    ASSERT_TRUE(Session.LoadDataFile());
    EXPECT_EQ(Session.XMLIndexData().Title().size(), 900000u);
}

TEST_F(XmlTextGuardLoad, TextThatMayBeXmlStillLoads) {
    const std::string texts[] = {
        "\r\n  <OrlentaData Title=\"Shelf\"/>",
        "\xEF\xBB\xBF<OrlentaData Title=\"Shelf\"/>",
        "\xFF\xFE" + Utf16("<?xml version=\"1.0\"?>\r\n<OrlentaData Title=\"Shelf\"/>", false),
        Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><OrlentaData Title=\"Shelf\"/>", true),
    };
    for (const std::string& text : texts) {
        WriteFileBytes(Session.OrlentaFilename(), RawDeflateBytes(text));
        Session.XMLIndexData().SetTitle("Before");
        ASSERT_TRUE(Session.LoadDataFile()) << text;
        EXPECT_EQ(Session.XMLIndexData().Title(), "Shelf") << text;
    }
}

} // namespace
} // namespace orlenta
