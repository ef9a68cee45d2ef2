// orlenta-bench-baseline: the steps of loading and saving a data file, each alone, on the same
// zlib and pugixml that core uses, as the yardstick for orlenta-cli.
//
//   inflate IN.olx OUT.xml   raw inflate of a data file into a file
//   parse IN.xml             pugixml parse of the XML text (reading the file included)
//   write IN.xml OUT.xml     parse, then write the DOM unindented (write = this - parse)
//   deflate IN.xml OUT.olx   raw deflate of the XML text into a file

#include "core/catalogue/RawDeflate.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <pugixml.hpp>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

// The buffer size core streams through.
constexpr size_t kBufferSize = 1 << 18;

struct TFiles {
    std::FILE* In;
    std::FILE* Out;
};

TFiles Open(const char* in, const char* out) {
    TFiles files{std::fopen(in, "rb"), std::fopen(out, "wb")};
    if (files.In == nullptr || files.Out == nullptr) {
        std::perror(files.In == nullptr ? in : out);
        std::exit(1);
    }
    return files;
}

int Inflate(const char* in, const char* out) {
    const TFiles files = Open(in, out);
    z_stream stream{};
    inflateInit2(&stream, -15);
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            stream.avail_in =
                static_cast<uInt>(std::fread(input.data(), 1, input.size(), files.In));
            stream.next_in = input.data();
            if (stream.avail_in == 0)
                return 1;
        }
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return 1;
        std::fwrite(output.data(), 1, output.size() - stream.avail_out, files.Out);
    }
    inflateEnd(&stream);
    std::fclose(files.In);
    return std::fclose(files.Out) == 0 ? 0 : 1;
}

// The options core parses with.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype;

int Parse(const char* in, pugi::xml_document& document) {
    const pugi::xml_parse_result result =
        document.load_file(in, kParseOptions, pugi::encoding_utf8);
    if (!result) {
        std::cerr << in << ": " << result.description() << '\n';
        return 1;
    }
    return 0;
}

int Write(const char* in, const char* out) {
    pugi::xml_document document;
    if (Parse(in, document) != 0)
        return 1;
    return document.save_file(out, "", pugi::format_raw, pugi::encoding_utf8) ? 0 : 1;
}

int Deflate(const char* in, const char* out) {
    const TFiles files = Open(in, out);
    z_stream stream{};
    deflateInit2(&stream, orlenta::kDataFileCompressionLevel, Z_DEFLATED, -15, 8,
                 Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        stream.avail_in = static_cast<uInt>(std::fread(input.data(), 1, input.size(), files.In));
        stream.next_in = input.data();
        if (stream.avail_in < input.size())
            flush = Z_FINISH;
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            std::fwrite(output.data(), 1, output.size() - stream.avail_out, files.Out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    std::fclose(files.In);
    return std::fclose(files.Out) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    if (step == "inflate" && argc == 4)
        return Inflate(argv[2], argv[3]);
    if (step == "parse" && argc == 3) {
        pugi::xml_document document;
        return Parse(argv[2], document);
    }
    if (step == "write" && argc == 4)
        return Write(argv[2], argv[3]);
    if (step == "deflate" && argc == 4)
        return Deflate(argv[2], argv[3]);
    std::cerr << "usage: orlenta-bench-baseline inflate IN.olx OUT.xml | parse IN.xml | "
                 "write IN.xml OUT.xml | deflate IN.xml OUT.olx\n";
    return 2;
}
