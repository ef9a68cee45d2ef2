// orlenta-bench-baseline: the steps of loading and saving a data file, each alone, on the same
// ISA-L and pugixml that core uses, as the yardstick for orlenta-cli; and the comparison of
// DEFLATE libraries and levels that chose the one core uses.
//
//   inflate IN.olx OUT.xml   raw inflate of a data file into a file
//   parse IN.xml             pugixml parse of the XML text (reading the file included)
//   write IN.xml OUT.xml     parse, then write the DOM unindented (write = this - parse)
//   deflate IN.xml OUT.olx   raw deflate of the XML text into a file, at core's level
//   levels IN.xml [RUNS]     zlib levels 1 and 6 and ISA-L levels 0 to 3 on the XML text in
//                            memory: compression time, size ratio, inflation time (best of RUNS)

#include "core/datafile/RawDeflate.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <isa-l/igzip_lib.h>
#include <memory>
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

// Where the streaming loops below take their input from and put their output.
using TRead = std::function<size_t(unsigned char*, size_t)>;
using TWrite = std::function<void(const unsigned char*, size_t)>;

// ISA-L raw inflate through fixed buffers; false when the stream is invalid or ends early.
bool IsalInflate(const TRead& read, const TWrite& write) {
    auto state = std::make_unique<inflate_state>();
    isal_inflate_init(state.get());
    state->crc_flag = ISAL_DEFLATE;
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    bool filled = false;
    for (;;) {
        if (state->avail_in == 0 && !filled) {
            state->avail_in = static_cast<uint32_t>(read(input.data(), input.size()));
            state->next_in = input.data();
            if (state->avail_in == 0)
                return false;
        }
        state->next_out = output.data();
        state->avail_out = static_cast<uint32_t>(output.size());
        if (isal_inflate(state.get()) < 0)
            return false;
        write(output.data(), output.size() - state->avail_out);
        if (state->block_state == ISAL_BLOCK_FINISH)
            return true;
        filled = state->avail_out == 0;
    }
}

size_t IsalLevelBuffer(int level) {
    switch (level) {
    case 1: return ISAL_DEF_LVL1_DEFAULT;
    case 2: return ISAL_DEF_LVL2_DEFAULT;
    case 3: return ISAL_DEF_LVL3_DEFAULT;
    default: return 0;
    }
}

void IsalDeflate(int level, const TRead& read, const TWrite& write) {
    auto stream = std::make_unique<isal_zstream>();
    isal_deflate_init(stream.get());
    std::vector<unsigned char> levelBuffer(IsalLevelBuffer(level));
    stream->level = static_cast<uint32_t>(level);
    stream->level_buf = levelBuffer.empty() ? nullptr : levelBuffer.data();
    stream->level_buf_size = static_cast<uint32_t>(levelBuffer.size());
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    do {
        stream->avail_in = static_cast<uint32_t>(read(input.data(), input.size()));
        stream->next_in = input.data();
        stream->end_of_stream = stream->avail_in < input.size();
        do {
            stream->next_out = output.data();
            stream->avail_out = static_cast<uint32_t>(output.size());
            isal_deflate(stream.get());
            write(output.data(), output.size() - stream->avail_out);
        } while (stream->avail_out == 0);
    } while (stream->internal_state.state != ZSTATE_END);
}

bool ZlibInflate(const TRead& read, const TWrite& write) {
    z_stream stream{};
    inflateInit2(&stream, -15);
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            stream.avail_in = static_cast<uInt>(read(input.data(), input.size()));
            stream.next_in = input.data();
            if (stream.avail_in == 0)
                break;
        }
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            break;
        write(output.data(), output.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

void ZlibDeflate(int level, const TRead& read, const TWrite& write) {
    z_stream stream{};
    deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> input(kBufferSize), output(kBufferSize);
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        stream.avail_in = static_cast<uInt>(read(input.data(), input.size()));
        stream.next_in = input.data();
        if (stream.avail_in < input.size())
            flush = Z_FINISH;
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            write(output.data(), output.size() - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
}

TRead FileReader(std::FILE* file) {
    return [file](unsigned char* data, size_t size) { return std::fread(data, 1, size, file); };
}

TWrite FileWriter(std::FILE* file) {
    return [file](const unsigned char* data, size_t size) { std::fwrite(data, 1, size, file); };
}

int Inflate(const char* in, const char* out) {
    const TFiles files = Open(in, out);
    const bool inflated = IsalInflate(FileReader(files.In), FileWriter(files.Out));
    std::fclose(files.In);
    return std::fclose(files.Out) == 0 && inflated ? 0 : 1;
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
    IsalDeflate(orlenta::kDataFileCompressionLevel, FileReader(files.In), FileWriter(files.Out));
    std::fclose(files.In);
    return std::fclose(files.Out) == 0 ? 0 : 1;
}

std::string ReadAll(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::perror(path);
        std::exit(1);
    }
    std::string text;
    char buffer[1 << 16];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, read);
    std::fclose(file);
    return text;
}

TRead MemoryReader(const std::string& bytes, size_t& at) {
    at = 0;
    return [&bytes, &at](unsigned char* data, size_t size) {
        const size_t n = std::min(size, bytes.size() - at);
        std::memcpy(data, bytes.data() + at, n);
        at += n;
        return n;
    };
}

// Seconds of the fastest of runs calls.
double Fastest(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

int Levels(const char* in, int runs) {
    const std::string text = ReadAll(in);
    struct TCandidate {
        const char* Name;
        std::function<void(const TRead&, const TWrite&)> Deflate;
    };
    const TCandidate candidates[] = {
        {"zlib 1", [](const TRead& r, const TWrite& w) { ZlibDeflate(1, r, w); }},
        {"zlib 6", [](const TRead& r, const TWrite& w) { ZlibDeflate(6, r, w); }},
        {"ISA-L 0", [](const TRead& r, const TWrite& w) { IsalDeflate(0, r, w); }},
        {"ISA-L 1", [](const TRead& r, const TWrite& w) { IsalDeflate(1, r, w); }},
        {"ISA-L 2", [](const TRead& r, const TWrite& w) { IsalDeflate(2, r, w); }},
        {"ISA-L 3", [](const TRead& r, const TWrite& w) { IsalDeflate(3, r, w); }},
    };
    std::printf("%.1f MB of XML, best of %d runs, in memory through %zu KiB buffers\n",
                text.size() / 1e6, runs, kBufferSize / 1024);
    std::printf("%-8s %10s %8s %14s %14s\n", "deflate", "compress", "ratio", "zlib inflate",
                "ISA-L inflate");
    for (const TCandidate& candidate : candidates) {
        std::string compressed;
        size_t at = 0;
        const double compress = Fastest(runs, [&] {
            compressed.clear();
            candidate.Deflate(MemoryReader(text, at), [&](const unsigned char* data, size_t size) {
                compressed.append(reinterpret_cast<const char*>(data), size);
            });
        });
        std::string inflated;
        const TWrite collect = [&](const unsigned char* data, size_t size) {
            inflated.append(reinterpret_cast<const char*>(data), size);
        };
        bool same = true;
        const double zlibInflate = Fastest(runs, [&] {
            inflated.clear();
            same = ZlibInflate(MemoryReader(compressed, at), collect) && inflated == text && same;
        });
        const double isalInflate = Fastest(runs, [&] {
            inflated.clear();
            same = IsalInflate(MemoryReader(compressed, at), collect) && inflated == text && same;
        });
        std::printf("%-8s %8.3f s %8.3f %12.3f s %12.3f s%s\n", candidate.Name, compress,
                    static_cast<double>(compressed.size()) / text.size(), zlibInflate, isalInflate,
                    same ? "" : "  (round trip FAILED)");
    }
    return 0;
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
    if (step == "levels" && (argc == 3 || argc == 4))
        return Levels(argv[2], argc == 4 ? std::atoi(argv[3]) : 5);
    std::cerr << "usage: orlenta-bench-baseline inflate IN.olx OUT.xml | parse IN.xml | "
                 "write IN.xml OUT.xml | deflate IN.xml OUT.olx | levels IN.xml [RUNS]\n";
    return 2;
}
