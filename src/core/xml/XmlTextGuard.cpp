#include "core/xml/XmlTextGuard.h"

#include "core/base/OrlentaError.h"
#include "core/base/Utf8.h"
#include "core/xml/XmlSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace orlenta {

namespace {

// Enough bytes for the 40 characters that a parse error quotes, at four bytes a character.
constexpr size_t kLineStartBytes = 160;

bool IsXmlBlank(uint32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Appends a UTF-16 or UTF-32 unit to a quoted line, as UTF-8.
void AppendQuoted(std::string& text, uint32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD; // a half of a UTF-16 pair, or no character at all: quoted as a replacement
    AppendUtf8(text, c);
}

} // namespace

uint64_t SystemAvailableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        unsigned long long kilobytes = 0;
        if (std::sscanf(line.c_str(), "MemAvailable: %llu kB", &kilobytes) == 1)
            return static_cast<uint64_t>(kilobytes) * 1024;
    }
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
    return std::numeric_limits<uint64_t>::max();
}

uint64_t LoadableXmlBytes(uint64_t availableMemory) {
    return availableMemory / kLoadBytesPerXmlByte;
}

TXmlTextGuard::TXmlTextGuard(std::string path, uint64_t availableMemory)
    : FPath(std::move(path)), FAvailableMemory(availableMemory),
      FLimit(LoadableXmlBytes(availableMemory)) {}

void TXmlTextGuard::Inspect(const char* data, size_t size) {
    FTotal += size;
    if (!FEncodingKnown) {
        // A text shorter than four bytes is never judged here; the parse rejects it.
        const size_t before = FHead.size();
        const size_t taken = std::min(size, 4 - before);
        FHead.append(data, taken);
        if (FHead.size() < 4)
            return;
        const size_t mark = DetectEncoding();
        FEncodingKnown = true;
        // Bytes of the head that came in earlier pieces were let through unseen: look at them
        // now, then at this piece from where they end.
        if (before > mark)
            Scan(FHead.data() + mark, before - mark);
        const size_t skip = std::max(mark, before) - before;
        data += skip;
        size -= skip;
    }
    Scan(data, size);
    if (FTotal > FLimit && FRefusal == nullptr)
        throw XmlTextTooLargeError(FPath, FLimit, FAvailableMemory);
}

void TXmlTextGuard::End() {
    if (FRefusal != nullptr)
        ThrowRefusal();
}

// The encodings that XML 1.0 lets a parser detect from the first bytes, as the loader reads them
// (XmlSource): UTF-32 and UTF-16 by byte-order mark, UTF-16 by "<?", everything else ASCII-based.
size_t TXmlTextGuard::DetectEncoding() {
    const auto startsWith = [this](std::string_view prefix) {
        return std::string_view(FHead).substr(0, prefix.size()) == prefix;
    };
    size_t mark = 0;
    if (startsWith("\xEF\xBB\xBF")) {
        mark = 3;
    } else if (startsWith(std::string_view("\xFF\xFE\0\0", 4))) {
        FUnitSize = 4;
        mark = 4;
    } else if (startsWith(std::string_view("\0\0\xFE\xFF", 4))) {
        FUnitSize = 4;
        FBigEndian = true;
        mark = 4;
    } else if (startsWith("\xFF\xFE")) {
        FUnitSize = 2;
        mark = 2;
    } else if (startsWith("\xFE\xFF")) {
        FUnitSize = 2;
        FBigEndian = true;
        mark = 2;
    } else if (startsWith(std::string_view("<\0?\0", 4))) {
        FUnitSize = 2;
    } else if (startsWith(std::string_view("\0<\0?", 4))) {
        FUnitSize = 2;
        FBigEndian = true;
    }
    return mark;
}

void TXmlTextGuard::Scan(const char* data, size_t size) {
    if (FRefusal != nullptr)
        QuoteMore(data, size);
    else if (FUnitSize == 1)
        ScanBytes(data, size);
    else
        ForEachUnit(data, size,
                    [&](uint32_t unit, size_t next) { return Unit(unit, data, size, next); });
}

// The common case, a whole catalogue in UTF-8: a few passes of memchr over each piece.
void TXmlTextGuard::ScanBytes(const char* data, size_t size) {
    size_t at = 0;
    if (FLeadingBlanks) {
        while (at < size && IsXmlBlank(static_cast<unsigned char>(data[at])))
            ++at;
        if (at < size) {
            FLeadingBlanks = false;
            if (data[at] != '<' && data[at] != '\0') {
                AdvanceLines(data, data + at);
                Refuse(kXmlTextBeforeRootReason, FLineStart, data + at, size - at);
                return;
            }
        }
    }
    if (const void* nul = std::memchr(data + at, '\0', size - at)) {
        AdvanceLines(data, static_cast<const char*>(nul));
        Refuse(kXmlNulCharacterReason, FLineStart, nullptr, 0);
    }
    AdvanceLines(data, data + size);
}

// Counts the line breaks in [from, to) as the parse error does (LF, CR LF and a lone CR), and
// keeps the start of the line that is current at to.
void TXmlTextGuard::AdvanceLines(const char* from, const char* to) {
    if (from == to)
        return;
    const char* lineStart = nullptr;
    for (const char* cr = from; (cr = static_cast<const char*>(std::memchr(cr, '\r', to - cr)));
         ++cr) {
        ++FLine;
        lineStart = cr + 1;
    }
    for (const char* lf = from; (lf = static_cast<const char*>(std::memchr(lf, '\n', to - lf)));
         ++lf) {
        const bool afterCr = lf == from ? FLastWasCr : lf[-1] == '\r';
        if (!afterCr)
            ++FLine;
        if (lineStart == nullptr || lf + 1 > lineStart)
            lineStart = lf + 1;
    }
    FLastWasCr = to[-1] == '\r';
    if (lineStart != nullptr)
        FLineStart.assign(lineStart, std::min<size_t>(to - lineStart, kLineStartBytes));
    else if (FLineStart.size() < kLineStartBytes)
        FLineStart.append(from, std::min<size_t>(to - from, kLineStartBytes - FLineStart.size()));
}

// UTF-16 and UTF-32, rare in data files: unit by unit. visit(unit, next) gets each whole unit
// and where the one after it starts in data; false stops the walk.
template <typename TVisit>
void TXmlTextGuard::ForEachUnit(const char* data, size_t size, TVisit visit) {
    size_t at = 0;
    if (!FUnitCarry.empty()) {
        while (FUnitCarry.size() < FUnitSize && at < size)
            FUnitCarry += data[at++];
        if (FUnitCarry.size() < FUnitSize)
            return;
        const uint32_t unit = DecodeUnit(FUnitCarry.data());
        FUnitCarry.clear();
        if (!visit(unit, at))
            return;
    }
    for (; at + FUnitSize <= size; at += FUnitSize) {
        if (!visit(DecodeUnit(data + at), at + FUnitSize))
            return;
    }
    FUnitCarry.assign(data + at, size - at);
}

uint32_t TXmlTextGuard::DecodeUnit(const char* bytes) const {
    uint32_t value = 0;
    for (size_t i = 0; i < FUnitSize; ++i) {
        const uint32_t byte = static_cast<unsigned char>(bytes[FBigEndian ? i : FUnitSize - 1 - i]);
        value = (value << 8) | byte;
    }
    return value;
}

// One unit of UTF-16 or UTF-32; next is where the unit after it starts in data. False once the
// text is refused.
bool TXmlTextGuard::Unit(uint32_t unit, const char* data, size_t size, size_t next) {
    if (unit == 0)
        Refuse(kXmlNulCharacterReason, FLineStart, nullptr, 0);
    if (FLeadingBlanks && !IsXmlBlank(unit)) {
        FLeadingBlanks = false;
        if (unit != '<') {
            std::string quote = FLineStart;
            AppendQuoted(quote, unit);
            Refuse(kXmlTextBeforeRootReason, quote, data + next, size - next);
            return false;
        }
    }
    if (unit == '\r' || (unit == '\n' && !FLastWasCr))
        ++FLine;
    if (unit == '\r' || unit == '\n')
        FLineStart.clear();
    else if (FLineStart.size() < kLineStartBytes)
        AppendQuoted(FLineStart, unit);
    FLastWasCr = unit == '\r';
    return true;
}

// The text is refused on the current line; the error quotes the line's start, and rest (the
// bytes after the point of refusal) may complete the quote. A NUL ends it: it cannot be shown.
void TXmlTextGuard::Refuse(const char* reason, const std::string& quote, const char* rest,
                           size_t restSize) {
    FRefusal = reason;
    FQuote = quote;
    FUnitCarry.clear();
    if (rest == nullptr)
        ThrowRefusal();
    QuoteMore(rest, restSize);
}

// Adds what follows the point of refusal to the quote; throws once the line has ended or the
// quote is long enough, and otherwise waits for the next piece (or the end of the text).
void TXmlTextGuard::QuoteMore(const char* data, size_t size) {
    const auto add = [this](uint32_t unit) {
        if (unit == 0 || unit == '\n' || unit == '\r' || FQuote.size() >= kLineStartBytes)
            ThrowRefusal();
        if (FUnitSize == 1)
            FQuote += static_cast<char>(unit);
        else
            AppendQuoted(FQuote, unit);
    };
    if (FUnitSize == 1) {
        for (size_t i = 0; i < size; ++i)
            add(static_cast<unsigned char>(data[i]));
    } else {
        ForEachUnit(data, size, [&](uint32_t unit, size_t) {
            add(unit);
            return true;
        });
    }
}

void TXmlTextGuard::ThrowRefusal() const {
    throw EOrlentaError(XmlParseErrorText(FRefusal, static_cast<int>(FLine), FQuote));
}

} // namespace orlenta
