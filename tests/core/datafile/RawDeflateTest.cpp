// The data file's DEFLATE: every raw stream that zlib writes inflates, what the program writes
// inflates with zlib, and damaged streams are refused.

#include "core/datafile/RawDeflate.h"

#include "TestSupport.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <zlib.h>

namespace orlenta {
namespace {

using test::RawInflateBytes;

constexpr size_t kBuffer = 1 << 18; // the size the program streams through

// Catalogue-like text of about size bytes, varied enough for every block type to appear.
std::string CatalogueLikeText(size_t size) {
    std::mt19937 random(1951);
    std::string text = R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)";
    while (text.size() < size)
        text += "<Filename Text=\"IMG_" + std::to_string(random() % 100000) + ".jpg\"/>";
    text.resize(size);
    return text;
}

// Raw DEFLATE by zlib with the given settings, fed in pieces with a flush after some of them, as
// other writers might do (the flushes leave empty stored and fixed blocks in the stream).
std::string ZlibDeflate(const std::string& text, int level, int strategy, int windowBits) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, -windowBits, 8, strategy), Z_OK);
    std::string out(deflateBound(&stream, text.size()) + 4096, '\0');
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int flushes[] = {Z_NO_FLUSH, Z_SYNC_FLUSH, Z_NO_FLUSH, Z_FULL_FLUSH, Z_PARTIAL_FLUSH};
    size_t at = 0;
    for (int piece = 0; at < text.size(); ++piece) {
        const size_t size = std::min<size_t>(text.size() - at, 70000);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data() + at));
        stream.avail_in = static_cast<uInt>(size);
        at += size;
        deflate(&stream, flushes[piece % 5]);
    }
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::FILE* FileOf(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    return file;
}

std::string ContentOf(std::FILE* file) {
    std::string bytes;
    std::rewind(file);
    char buffer[1 << 16];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, read);
    return bytes;
}

// What InflateRaw makes of a stream, or nothing when it refuses it.
std::optional<std::string> Inflated(const std::string& stream) {
    std::FILE* in = FileOf(stream);
    std::FILE* out = std::tmpfile();
    const bool inflated = InflateRaw(in, out);
    std::string text = ContentOf(out);
    std::fclose(in);
    std::fclose(out);
    if (!inflated)
        return std::nullopt;
    return text;
}

class TStringSink : public TByteSink {
public:
    void Write(const char* data, size_t size) override { Bytes.append(data, size); }
    std::string Bytes;
};

std::string Deflated(const std::string& text, int level) {
    std::FILE* in = FileOf(text);
    TStringSink sink;
    DeflateRaw(in, sink, level);
    std::fclose(in);
    return sink.Bytes;
}

TEST(RawDeflate, StreamsWrittenByZlibInflateWhateverTheSettings) {
    const std::string text = CatalogueLikeText(kBuffer + 50000);
    const std::pair<const char*, int> strategies[] = {{"default", Z_DEFAULT_STRATEGY},
                                                      {"filtered", Z_FILTERED},
                                                      {"Huffman only", Z_HUFFMAN_ONLY},
                                                      {"run lengths", Z_RLE},
                                                      {"fixed codes", Z_FIXED}};
    for (int level = 0; level <= 9; ++level) {
        for (const auto& [strategy, value] : strategies) {
            for (const int windowBits : {9, 15}) {
                const std::string stream = ZlibDeflate(text, level, value, windowBits);
                const auto inflated = Inflated(stream + "trailing bytes");
                ASSERT_TRUE(inflated)
                    << "level " << level << ", " << strategy << ", window " << windowBits;
                EXPECT_TRUE(*inflated == text) << "level " << level << ", " << strategy;
            }
        }
    }
}

TEST(RawDeflate, WhatItWritesInflatesWithZlibAtEveryLevel) {
    // Sizes around the buffer, so that the end of the text meets the end of a buffer.
    const size_t sizes[] = {0, 1, kBuffer - 1, kBuffer, 2 * kBuffer, 2 * kBuffer + 1, 1500000};
    for (const int level : {0, 1, 2, 3}) {
        for (const size_t size : sizes) {
            const std::string text = CatalogueLikeText(size);
            const std::string stream = Deflated(text, level);
            EXPECT_TRUE(RawInflateBytes(stream) == text) << "level " << level << ", " << size;
            EXPECT_TRUE(Inflated(stream) == text) << "level " << level << ", " << size;
        }
    }
    // Text that compresses a thousandfold: the end of the stream sits in a buffer's last bytes.
    const std::string blanks(3 * kBuffer, ' ');
    EXPECT_TRUE(Inflated(Deflated(blanks, kDataFileCompressionLevel)) == blanks);
}

TEST(RawDeflate, DamagedStreamsAreRefused) {
    const std::string whole = Deflated(CatalogueLikeText(300000), kDataFileCompressionLevel);
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"one byte", std::string(1, '\0')},
        {"cut in the middle", whole.substr(0, whole.size() / 2)},
        {"cut before the last byte", whole.substr(0, whole.size() - 1)},
        {"zlib framing", "\x78\x9C" + whole},
        {"invalid block type", "\x07\x00\x00"},
        {"stored lengths that disagree", std::string("\x01\x05\x00\xFA\xFE"
                                                     "hello",
                                                     10)},
        {"literal/length code 286", "\x4B\x1C\x03\x00"},
        {"distance code 30", "\x4B\x04\x3E\x00"},
        {"distance before the start", "\x4B\x04\x42\x00"},
    };
    for (const auto& [what, stream] : cases)
        EXPECT_FALSE(Inflated(stream)) << what;
    EXPECT_TRUE(Inflated(std::string("\xB3\x49\xD4\xB7\x03\x00", 6)) == "<a/>")
        << "the same hand-made fixed block, valid";
}

} // namespace
} // namespace orlenta
