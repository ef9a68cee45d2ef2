#include "core/exchange/TextSink.h"

#include "core/base/OrlentaError.h"

#include <cerrno>
#include <charconv>

namespace orlenta {

TTextSink::TTextSink(std::ostream& out) : FOut(out) {
    FBuffer.reserve(kChunk + kChunk / 4);
}

void TTextSink::AppendNumber(std::uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    FBuffer.append(digits, result.ptr);
}

void TTextSink::AppendNumber(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    FBuffer.append(digits, result.ptr);
}

void TTextSink::Flush() {
    FOut.write(FBuffer.data(), static_cast<std::streamsize>(FBuffer.size()));
    FBuffer.clear();
    FOut.flush();
    if (!FOut)
        throw ExportWriteError(errno);
}

} // namespace orlenta
