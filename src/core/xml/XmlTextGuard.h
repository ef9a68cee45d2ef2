#pragma once

#include "core/datafile/RawDeflate.h"

#include <cstdint>
#include <string>

namespace orlenta {

// Memory a loaded catalogue takes for each byte of its XML text: the DOM, its strings and the
// parsed text together (bench/README.md measures the peak of a load).
inline constexpr uint64_t kLoadBytesPerXmlByte = 4;

// Bytes of memory the system can give now without swapping (MemAvailable), or the physical
// memory when that is unknown.
uint64_t SystemAvailableMemory();

// The largest XML text a load may inflate when availableMemory bytes are free.
uint64_t LoadableXmlBytes(uint64_t availableMemory);

// Watches a data file's text while it is inflated, so that a load that cannot succeed stops at
// once instead of filling memory and disk: a few kilobytes of DEFLATE data can inflate to
// gigabytes. Throws the parse error (reason, line, start of the line) when the text cannot be
// an XML document: its first character other than white space is not "<", or it holds a NUL
// character. Throws XmlTextTooLargeError when the text grows past LoadableXmlBytes.
class TXmlTextGuard : public TInflateInspector {
public:
    TXmlTextGuard(std::string path, uint64_t availableMemory);

    void Inspect(const char* data, size_t size) override;
    void End() override;

private:
    size_t DetectEncoding();
    void Scan(const char* data, size_t size);
    void ScanBytes(const char* data, size_t size);
    void AdvanceLines(const char* from, const char* to);
    template <typename TVisit> void ForEachUnit(const char* data, size_t size, TVisit visit);
    uint32_t DecodeUnit(const char* bytes) const;
    bool Unit(uint32_t unit, const char* data, size_t size, size_t next);
    void Refuse(const char* reason, const std::string& quote, const char* rest, size_t restSize);
    void QuoteMore(const char* data, size_t size);
    [[noreturn]] void ThrowRefusal() const;

    std::string FPath;
    uint64_t FAvailableMemory;
    uint64_t FLimit;
    uint64_t FTotal = 0;
    std::string FHead; // the first bytes, until the encoding is known
    bool FEncodingKnown = false;
    size_t FUnitSize = 1; // 2 or 4 for UTF-16 and UTF-32, 1 for everything ASCII-based
    bool FBigEndian = false;
    std::string FUnitCarry; // the start of a unit cut by the end of a piece
    bool FLeadingBlanks = true;
    uint64_t FLine = 1;
    bool FLastWasCr = false;
    std::string FLineStart;         // the first bytes of the current line, as UTF-8
    const char* FRefusal = nullptr; // the reason, once the text is refused
    std::string FQuote;             // the start of the refused line, while it is completed
};

} // namespace orlenta
