#pragma once

// A buffer in front of an output stream: writers append to it and it goes out in large pieces,
// so that a million small values cost a million appends to one string, not a million stream calls.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace orlenta {

class TTextSink {
public:
    explicit TTextSink(std::ostream& out);
    TTextSink(const TTextSink&) = delete;
    TTextSink& operator=(const TTextSink&) = delete;

    // The buffer to append to; call Written() after a value so that it goes out when full.
    std::string& Text() { return FBuffer; }
    void Written() {
        if (FBuffer.size() >= kChunk)
            Flush();
    }
    void Append(std::string_view text) { FBuffer.append(text); }
    void Append(char c) { FBuffer.push_back(c); }
    // Appends the decimal digits of value.
    void AppendNumber(std::uint64_t value);
    void AppendNumber(std::int64_t value);
    // Hands what is buffered to the stream and flushes it. Throws EOrlentaError when the stream
    // has failed.
    void Flush();

private:
    static constexpr std::size_t kChunk = 1 << 20;
    std::ostream& FOut;
    std::string FBuffer;
};

} // namespace orlenta
