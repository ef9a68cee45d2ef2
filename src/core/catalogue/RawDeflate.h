#pragma once

#include <cstddef>
#include <cstdio>

namespace orlenta {

// Where compressed bytes go. Write throws EOrlentaError when the bytes cannot be stored.
class TByteSink {
public:
    virtual ~TByteSink() = default;
    virtual void Write(const char* data, size_t size) = 0;
};

// The compression level of data files: zlib's default balance of size and speed.
constexpr int kDataFileCompressionLevel = 6;

// Decompresses the raw DEFLATE stream (RFC 1951, no zlib or gzip framing) read from in into out,
// through fixed buffers. Bytes after the final block are ignored. False when the data is not valid
// DEFLATE, ends before the final block, or a read or write fails.
bool InflateRaw(std::FILE* in, std::FILE* out);

// Compresses everything from in's current position to its end into out as one raw DEFLATE
// stream. Throws EOrlentaError when in cannot be read; out's errors pass through.
void DeflateRaw(std::FILE* in, TByteSink& out, int level = kDataFileCompressionLevel);

} // namespace orlenta
