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

// Sees inflated bytes before they are written; it throws to stop the inflation.
class TInflateInspector {
public:
    virtual ~TInflateInspector() = default;
    // The next piece of the text.
    virtual void Inspect(const char* data, size_t size) = 0;
    // The text is complete.
    virtual void End() {}
};

// The ISA-L level (0 to 3) of data files. Measured on the 1M-file catalogue (bench/README.md):
// level 2 compresses about ten times faster than zlib's default for a file 14% larger; level 1
// is 5% faster for a file 2% larger, level 0 makes it 32% larger, level 3 takes twice as long.
constexpr int kDataFileCompressionLevel = 2;

// Decompresses the raw DEFLATE stream (RFC 1951, no zlib or gzip framing) read from in into out,
// through fixed buffers; inspector, when given, sees every piece first. Bytes after the final block
// are ignored. False when the data is not valid DEFLATE, ends before the final block, or a read or
// write fails; what the inspector throws passes through.
bool InflateRaw(std::FILE* in, std::FILE* out, TInflateInspector* inspector = nullptr);

// Compresses everything from in's current position to its end into out as one raw DEFLATE
// stream at an ISA-L level (0 to 3). Throws EOrlentaError when in cannot be read; out's errors
// pass through.
void DeflateRaw(std::FILE* in, TByteSink& out, int level = kDataFileCompressionLevel);

} // namespace orlenta
