#pragma once

// The well-formedness scanner's own declarations, shared by the files that hold its parts: the
// byte classes, the bit tricks of the block screen and the scanner itself. Nothing outside
// core/xml includes this.

#include "core/base/AsciiText.h"
#include "core/base/OrlentaError.h"
#include "core/xml/XmlBlockMasks.h"
#include "core/xml/XmlText.h"
#include "core/xml/XmlViolation.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orlenta::xml_scan {

enum : uint8_t {
    kNameStartByte = 1, // an ASCII NameStartChar
    kNameByte = 2,      // an ASCII NameChar
    kSpaceByte = 4,     // white space: space, tab, LF, CR
};

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter || c == '_' || c == ':')
            classes[c] |= kNameStartByte | kNameByte;
        if ((c >= '0' && c <= '9') || c == '-' || c == '.')
            classes[c] |= kNameByte;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            classes[c] |= kSpaceByte;
    }
    return classes;
}

inline constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

inline bool HasClass(char c, uint8_t byteClass) {
    return (kByteClasses[static_cast<uint8_t>(c)] & byteClass) != 0;
}

inline bool IsNameStartCharacter(char32_t c) {
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

inline bool IsNameCharacter(char32_t c) {
    return IsNameStartCharacter(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
           (c >= 0x203F && c <= 0x2040);
}

// The first byte from p on that is a, b or c, a control character or not ASCII; end when there
// is none. For comments, processing instructions and the like, which are rare in a catalogue.
inline const char* FindStop(const char* p, const char* end, char a, char b, char c) {
    for (; p < end; ++p) {
        const auto byte = static_cast<uint8_t>(*p);
        if (byte < 0x20 || byte >= 0x80 || *p == a || *p == b || *p == c)
            return p;
    }
    return end;
}

inline constexpr ptrdiff_t kBlock = kXmlBlockSize;
inline constexpr size_t kFewAttributes = 16;

// Bit i of the result is the parity of bits 0 to i of x.
inline uint64_t PrefixXor(uint64_t x) {
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

inline uint64_t AllIf(bool condition) {
    return condition ? ~uint64_t{0} : 0;
}

// Each bit of `from` moved to the next bit of `stops` above it: a carry added just above it runs
// through the bits between. With `carry`, one more starts at bit 0, for a bit of `from` before the
// block. Bits that find no stop in the block are dropped.
inline uint64_t NextStops(uint64_t from, uint64_t stops, bool carry) {
    return (~stops + (from << 1) + (carry ? 1 : 0)) & stops;
}

// Thrown at the first fault, caught where the scan began.
struct TFault {
    TXmlViolation Violation;
};

// A reader of the XML 1.0 grammar that builds nothing: it only finds the first fault. Elements
// nest without recursion, so no depth of nesting can exhaust the stack.
class TScanner {
public:
    TScanner(std::string_view text, TXmlScan scan, bool rootEndFromTail)
        : FText(text), FBegin(text.data()), FEnd(text.data() + text.size()), P(FBegin),
          FScreen(scan == TXmlScan::Blocks), FRootEndFromTail(rootEndFromTail) {}

    void Document();
    const TXmlConversions& Conversions() const { return FConversions; }

private:
    [[noreturn]] void Fail(const char* at, std::string reason, bool parserReportsIt = false) const {
        throw TFault{{std::move(reason), static_cast<size_t>(at - FBegin), parserReportsIt}};
    }
    [[noreturn]] void SyntaxError(const char* at, const char* reason = kXmlSyntaxError) const {
        Fail(at, reason, true);
    }

    bool At(char c) const { return P < FEnd && *P == c; }
    bool StartsWith(std::string_view prefix) const {
        return static_cast<size_t>(FEnd - P) >= prefix.size() &&
               std::memcmp(P, prefix.data(), prefix.size()) == 0;
    }
    void RequireMore() const {
        if (P >= FEnd)
            SyntaxError(P, kXmlUnexpectedEnd);
    }
    bool SkipSpaces() {
        const char* start = P;
        for (; P < FEnd && HasClass(*P, kSpaceByte); ++P)
            FConversions.LineEnds |= *P == '\r';
        return P != start;
    }
    bool NameStartsHere() const {
        return P < FEnd && (HasClass(*P, kNameStartByte) || static_cast<uint8_t>(*P) >= 0x80);
    }

    char32_t Character();
    std::string_view Name();
    void Reference();
    const char* ReferenceAt(const char* at) {
        P = at;
        Reference();
        return P;
    }
    const char* TextCharacterAt(const char* at);
    const char* ValueCharacterAt(const char* at);
    const char* NameCharacterAt(const char* at);
    std::string_view AttributeNameBefore(const char* quote) const;
    void CheckAttribute(const char* quote);
    void BeginTag(const char* at);
    void Element();
    const char* EndOfCharacters(const char* block, uint64_t high) const;
    [[gnu::always_inline]] bool ScreenBlock(const char* block, TXmlBlockMasks masks);
    [[gnu::always_inline]] bool ReadBlock(const char* block, const TXmlBlockMasks& masks);
#if ORLENTA_XML_BLOCKS_X86
    ORLENTA_XML_BLOCKS_AVX512 void ElementBlocksAvx512();
    ORLENTA_XML_BLOCKS_AVX2 void ElementBlocksAvx2();
    void ElementBlocksSse2();
#else
    void ElementBlocksPortable();
#endif
    bool ExactBlock(const char* block, uint64_t marked);
    void Comment();
    void ProcessingInstruction();
    void CharacterData();
    void QuotedLiteral(bool publicId);
    void MarkupDeclaration();
    void DocumentType();
    std::string_view DeclarationValue(const char* start);
    void XmlDeclaration();

    const std::string_view FText;
    const char* const FBegin;
    const char* const FEnd;
    const char* P;      // the next byte to read
    const bool FScreen; // whether blocks may be passed by the screen
    // Whether the root element may be taken to end where the text ends in a tag.
    const bool FRootEndFromTail;
    TXmlConversions FConversions;                          // what pugixml will find to convert
    std::vector<std::string_view> FTagAttributes;          // names in the tag being read
    std::unordered_set<std::string_view> FTagAttributeSet; // the same, for many names
    std::vector<std::string_view> FDeclaredEntities;       // general entities of the document type

    // Where the scan inside the root element stands.
    enum class TMode { Content, StartTag, Value, EndTag };
    TMode FMode = TMode::StartTag;
    char FQuote = 0;   // of the value being read
    size_t FDepth = 0; // of open elements; kept only without FRootEnd
    // The '>' that ends the root element, when the text ends there (white space aside).
    const char* FRootEnd = nullptr;
    const char* FTagStart = nullptr;
    const char* FLastOpening = nullptr; // the opening quote of the last attribute value
    bool FLastOpeningFirst = false;     // whether FLastOpening opens the first attribute of its tag
    const char* FTagAttributesFor = nullptr; // the tag whose names FTagAttributes holds
    const char* FNext = nullptr;             // the first byte not yet read
};

} // namespace orlenta::xml_scan
