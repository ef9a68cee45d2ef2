#include "core/catalogue/RawDeflate.h"

#include "core/OrlentaError.h"

#include <cerrno>
#include <memory>
#include <vector>
#include <zlib.h>

namespace orlenta {

namespace {

constexpr size_t kBufferSize = 1 << 18;
// Negative window bits: raw DEFLATE with the standard 32 KiB window, no header or trailer.
constexpr int kRawWindowBits = -15;

} // namespace

bool InflateRaw(std::FILE* in, std::FILE* out) {
    z_stream stream{};
    if (inflateInit2(&stream, kRawWindowBits) != Z_OK)
        return false;
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, inflateEnd);
    std::vector<unsigned char> input(kBufferSize);
    std::vector<unsigned char> output(kBufferSize);
    for (;;) {
        if (stream.avail_in == 0) {
            const size_t read = std::fread(input.data(), 1, input.size(), in);
            if (read == 0)
                return false; // the data ended (or failed) before the final block
            stream.next_in = input.data();
            stream.avail_in = static_cast<uInt>(read);
        }
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return false;
        const size_t produced = output.size() - stream.avail_out;
        if (produced > 0 && std::fwrite(output.data(), 1, produced, out) != produced)
            return false;
        if (result == Z_STREAM_END)
            return true;
    }
}

void DeflateRaw(std::FILE* in, TByteSink& out, int level) {
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, kRawWindowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    std::unique_ptr<z_stream, int (*)(z_stream*)> guard(&stream, deflateEnd);
    std::vector<unsigned char> input(kBufferSize);
    std::vector<unsigned char> output(kBufferSize);
    int flush = Z_NO_FLUSH;
    do {
        const size_t read = std::fread(input.data(), 1, input.size(), in);
        if (read < input.size()) {
            if (std::ferror(in))
                throw EOrlentaError("Cannot read file. " +
                                    SystemErrorText(errno != 0 ? errno : EIO));
            flush = Z_FINISH;
        }
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(read);
        do {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            deflate(&stream, flush);
            const size_t produced = output.size() - stream.avail_out;
            if (produced > 0)
                out.Write(reinterpret_cast<const char*>(output.data()), produced);
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
}

} // namespace orlenta
