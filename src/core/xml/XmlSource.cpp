#include "core/xml/XmlSource.h"

#include "core/base/AsciiText.h"
#include "core/base/OrlentaError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

namespace orlenta {

TXmlSourceBuffer::TXmlSourceBuffer(TXmlSourceBuffer&& other) noexcept
    : FData(other.FData), FSize(other.FSize) {
    other.FData = nullptr;
    other.FSize = 0;
}

TXmlSourceBuffer& TXmlSourceBuffer::operator=(TXmlSourceBuffer&& other) noexcept {
    if (this != &other) {
        this->~TXmlSourceBuffer();
        FData = other.FData;
        FSize = other.FSize;
        other.FData = nullptr;
        other.FSize = 0;
    }
    return *this;
}

TXmlSourceBuffer::~TXmlSourceBuffer() {
    if (FData != nullptr)
        pugi::get_memory_deallocation_function()(FData);
}

char* TXmlSourceBuffer::Release() {
    char* data = FData;
    FData = nullptr;
    FSize = 0;
    return data;
}

namespace {

TXmlSourceBuffer AllocateBuffer(size_t size) {
    // One spare byte: pugixml may use it, and a zero-size allocation is never asked for.
    void* memory = pugi::get_memory_allocation_function()(size + 1);
    if (memory == nullptr)
        throw std::bad_alloc();
    return TXmlSourceBuffer(static_cast<char*>(memory), size);
}

// Everything in file from its start; path names it in messages.
TXmlSourceBuffer ReadWholeFile(std::FILE* file, const std::string& path) {
    TXmlSourceBuffer buffer;
    int error = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        std::rewind(file);
        if (size >= 0) {
            buffer = AllocateBuffer(static_cast<size_t>(size));
            if (std::fread(buffer.Data(), 1, buffer.Size(), file) != buffer.Size())
                error = std::ferror(file) ? errno : EIO;
        }
    } else {
        error = errno;
    }
    if (error != 0)
        throw CannotOpenFileError(path, error);
    return buffer;
}

bool StartsWith(const TXmlSourceBuffer& buffer, std::string_view prefix) {
    return buffer.Size() >= prefix.size() &&
           std::memcmp(buffer.Data(), prefix.data(), prefix.size()) == 0;
}

// The encoding named in the XML declaration at the start of text, or empty.
std::string DeclaredEncoding(std::string_view text) {
    if (text.substr(0, 5) != "<?xml")
        return {};
    const size_t end = text.find("?>");
    const std::string_view declaration = text.substr(0, end);
    size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos)
        return {};
    pos += 8;
    while (pos < declaration.size() &&
           (declaration[pos] == ' ' || declaration[pos] == '\t' || declaration[pos] == '\r' ||
            declaration[pos] == '\n' || declaration[pos] == '='))
        ++pos;
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return {};
    const char quote = declaration[pos];
    const size_t close = declaration.find(quote, pos + 1);
    if (close == std::string_view::npos)
        return {};
    return std::string(declaration.substr(pos + 1, close - pos - 1));
}

// Line number (from 1) and the text of the line that holds offset.
std::pair<int, std::string> LineAt(std::string_view text, size_t offset) {
    if (offset > text.size())
        offset = text.size();
    int line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    size_t lineEnd = lineStart;
    while (lineEnd < text.size() && text[lineEnd] != '\n' && text[lineEnd] != '\r')
        ++lineEnd;
    return {line, std::string(text.substr(lineStart, lineEnd - lineStart))};
}

TXmlSourceBuffer Transcode(const TXmlSourceBuffer& source, size_t skip, const std::string& from) {
    iconv_t converter = iconv_open("UTF-8", from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        const std::string_view text(source.Data() + skip, source.Size() - skip);
        throw EOrlentaError(
            XmlParseErrorAt("System does not support the specified encoding.", text, 0));
    }
    std::vector<char> out(source.Size() + source.Size() / 2 + 64);
    char* in = source.Data() + skip;
    size_t inLeft = source.Size() - skip;
    size_t produced = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + produced;
        size_t outLeft = out.size() - produced;
        const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        produced = static_cast<size_t>(outPtr - out.data());
        if (result != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        iconv_close(converter);
        const std::string_view done(out.data(), produced);
        throw EOrlentaError(
            XmlParseErrorAt("Invalid character for the specified encoding.", done, done.size()));
    }
    iconv_close(converter);
    TXmlSourceBuffer result = AllocateBuffer(produced);
    std::memcpy(result.Data(), out.data(), produced);
    return result;
}

} // namespace

std::string XmlParseErrorAt(const std::string& reason, std::string_view text, size_t offset) {
    const auto [line, lineText] = LineAt(text, offset);
    return XmlParseErrorText(reason, line, lineText);
}

std::string XmlParseErrorText(const std::string& reason, int line, const std::string& lineStart) {
    // The first 40 characters, not bytes: never cut a UTF-8 sequence.
    size_t end = 0;
    for (int characters = 0; end < lineStart.size() && characters < 40; ++characters) {
        ++end;
        while (end < lineStart.size() &&
               (static_cast<unsigned char>(lineStart[end]) & 0xC0) == 0x80)
            ++end;
    }
    return reason + "\r\nLine: " + std::to_string(line) + "\r\n" + lineStart.substr(0, end);
}

TXmlSourceBuffer ReadXmlSourceAsUtf8(std::FILE* file, const std::string& path) {
    TXmlSourceBuffer buffer = ReadWholeFile(file, path);
    if (StartsWith(buffer, "\xEF\xBB\xBF")) {
        std::memmove(buffer.Data(), buffer.Data() + 3, buffer.Size() - 3);
        return TXmlSourceBuffer(buffer.Release(), buffer.Size() - 3);
    }
    if (StartsWith(buffer, std::string_view("\xFF\xFE\0\0", 4)))
        return Transcode(buffer, 4, "UTF-32LE");
    if (StartsWith(buffer, std::string_view("\0\0\xFE\xFF", 4)))
        return Transcode(buffer, 4, "UTF-32BE");
    if (StartsWith(buffer, "\xFF\xFE"))
        return Transcode(buffer, 2, "UTF-16LE");
    if (StartsWith(buffer, "\xFE\xFF"))
        return Transcode(buffer, 2, "UTF-16BE");
    if (StartsWith(buffer, std::string_view("<\0?\0", 4)))
        return Transcode(buffer, 0, "UTF-16LE");
    if (StartsWith(buffer, std::string_view("\0<\0?", 4)))
        return Transcode(buffer, 0, "UTF-16BE");
    const std::string encoding =
        DeclaredEncoding(std::string_view(buffer.Data(), std::min<size_t>(buffer.Size(), 1024)));
    if (encoding.empty() || EqualIgnoringAsciiCase(encoding, "UTF-8") ||
        EqualIgnoringAsciiCase(encoding, "UTF8"))
        return buffer;
    // A declaration naming UTF-16 in bytes that are plainly 8-bit can only mean UTF-8 was meant.
    if (EqualIgnoringAsciiCase(encoding.substr(0, 6), "UTF-16"))
        return buffer;
    return Transcode(buffer, 0, encoding);
}

} // namespace orlenta
