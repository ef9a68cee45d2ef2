#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace orlenta {

// A buffer from pugixml's allocator, so that a parse may take it over in place.
class TXmlSourceBuffer {
public:
    TXmlSourceBuffer() = default;
    TXmlSourceBuffer(char* data, size_t size) : FData(data), FSize(size) {}
    TXmlSourceBuffer(TXmlSourceBuffer&& other) noexcept;
    TXmlSourceBuffer& operator=(TXmlSourceBuffer&& other) noexcept;
    ~TXmlSourceBuffer();

    char* Data() const { return FData; }
    size_t Size() const { return FSize; }
    // Hands the memory over (to pugixml); the buffer is empty afterwards.
    char* Release();

private:
    char* FData = nullptr;
    size_t FSize = 0;
};

// The XML text of the open file, read from its start, as UTF-8 without a byte-order mark,
// whatever encoding XML 1.0 lets a parser detect (UTF-8, UTF-16 or UTF-32 by byte-order mark or
// by the first characters, or an encoding named in the declaration); path names the file in
// messages. Throws EOrlentaError: "Cannot open file" when the file cannot be read, the three-line
// parse error when the encoding is unknown or the bytes do not fit it.
TXmlSourceBuffer ReadXmlSourceAsUtf8(std::FILE* file, const std::string& path);

// The parse error for a failure at byte offset of the UTF-8 text.
std::string XmlParseErrorAt(const std::string& reason, std::string_view text, size_t offset);

// The parse error text: reason, "Line: N" and the first 40 characters of that line, joined by CR
// LF.
std::string XmlParseErrorText(const std::string& reason, int line, const std::string& lineStart);

} // namespace orlenta
