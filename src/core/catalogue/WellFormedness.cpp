#include "core/catalogue/WellFormedness.h"

#include "core/AsciiText.h"
#include "core/OrlentaError.h"
#include "core/catalogue/XmlBlockMasks.h"
#include "core/catalogue/XmlText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orlenta {

namespace {

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

constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

bool HasClass(char c, uint8_t byteClass) {
    return (kByteClasses[static_cast<uint8_t>(c)] & byteClass) != 0;
}

bool IsNameStartCharacter(char32_t c) {
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameCharacter(char32_t c) {
    return IsNameStartCharacter(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) ||
           (c >= 0x203F && c <= 0x2040);
}

// The first byte from p on that is a, b or c, a control character or not ASCII; end when there
// is none. For comments, processing instructions and the like, which are rare in a catalogue.
const char* FindStop(const char* p, const char* end, char a, char b, char c) {
    for (; p < end; ++p) {
        const auto byte = static_cast<uint8_t>(*p);
        if (byte < 0x20 || byte >= 0x80 || *p == a || *p == b || *p == c)
            return p;
    }
    return end;
}

constexpr ptrdiff_t kBlock = kXmlBlockSize;
constexpr size_t kFewAttributes = 16;

// Bit i of the result is the parity of bits 0 to i of x.
uint64_t PrefixXor(uint64_t x) {
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

uint64_t AllIf(bool condition) {
    return condition ? ~uint64_t{0} : 0;
}

// Each bit of `from` moved to the next bit of `stops` above it: a carry added just above it runs
// through the bits between. With `carry`, one more starts at bit 0, for a bit of `from` before the
// block. Bits that find no stop in the block are dropped.
uint64_t NextStops(uint64_t from, uint64_t stops, bool carry) {
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

// The character at P, which is a control character or starts a UTF-8 sequence: checked, skipped.
char32_t TScanner::Character() {
    const TUtf8Character character = DecodeUtf8At(FText, static_cast<size_t>(P - FBegin));
    if (character.Length == 0)
        Fail(P, kXmlInvalidUtf8);
    if (!IsXmlCharacter(character.CodePoint))
        Fail(P, kXmlInvalidCharacter);
    FConversions.LineEnds |= character.CodePoint == '\r';
    P += character.Length;
    return character.CodePoint;
}

std::string_view TScanner::Name() {
    const char* start = P;
    RequireMore();
    if (HasClass(*P, kNameStartByte))
        ++P;
    else if (static_cast<uint8_t>(*P) < 0x80)
        SyntaxError(P);
    else if (!IsNameStartCharacter(Character()))
        Fail(start, kXmlInvalidNameCharacter);
    for (;;) {
        while (P < FEnd && HasClass(*P, kNameByte))
            ++P;
        if (P >= FEnd || static_cast<uint8_t>(*P) < 0x80)
            break;
        // pugixml takes every byte past ASCII for a name character.
        const char* at = P;
        if (!IsNameCharacter(Character()))
            Fail(at, kXmlInvalidNameCharacter);
    }
    return {start, static_cast<size_t>(P - start)};
}

// A reference at the '&' at P. pugixml keeps what it cannot decode as literal text, and decodes
// any number, so "&#1;" became a character that no XML may hold.
void TScanner::Reference() {
    FConversions.References = true;
    const char* ampersand = P++;
    if (At('#')) {
        ++P;
        const bool hex = At('x');
        if (hex)
            ++P;
        const char* digits = P;
        uint32_t value = 0;
        for (; P < FEnd; ++P) {
            const char c = *P;
            const auto lower = static_cast<char>(c | 0x20);
            uint32_t digit;
            if (c >= '0' && c <= '9')
                digit = static_cast<uint32_t>(c - '0');
            else if (hex && lower >= 'a' && lower <= 'f')
                digit = static_cast<uint32_t>(lower - 'a' + 10);
            else
                break;
            // Past the last character the exact value no longer matters.
            value = std::min<uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (P == digits || !At(';') || !IsXmlCharacter(value))
            Fail(ampersand, kXmlInvalidCharacterReference);
        ++P;
        return;
    }
    if (!NameStartsHere())
        Fail(ampersand, kXmlBareAmpersand);
    const std::string_view name = Name();
    if (!At(';'))
        Fail(ampersand, kXmlBareAmpersand);
    ++P;
    if (name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot")
        return;
    if (std::find(FDeclaredEntities.begin(), FDeclaredEntities.end(), name) !=
        FDeclaredEntities.end())
        Fail(ampersand, XmlUnexpandedEntityReason(name));
    Fail(ampersand, XmlUndefinedEntityReason(name));
}

// The attribute name before the opening quote of its value: the bytes back from the quote past
// '=' and white space, up to the white space before the name. Never more than the name, so that
// a tag of many attributes costs no more than its length (in a tag pugixml fails on, the "name"
// may be anything up to a quote or '<').
std::string_view TScanner::AttributeNameBefore(const char* quote) const {
    const auto skipSpaces = [&](const char* p) {
        while (p > FBegin && HasClass(p[-1], kSpaceByte))
            --p;
        return p;
    };
    const char* p = skipSpaces(quote);
    if (p > FBegin && p[-1] == '=')
        p = skipSpaces(p - 1);
    const char* end = p;
    while (p > FBegin && !HasClass(p[-1], kSpaceByte) && p[-1] != '"' && p[-1] != '\'' &&
           p[-1] != '<')
        --p;
    return {p, static_cast<size_t>(end - p)};
}

// The attribute whose value opens at quote must not repeat an earlier one of the same tag.
void TScanner::CheckAttribute(const char* quote) {
    if (FTagAttributesFor != FTagStart) {
        // The screen passed the tag's first attributes: collect their names once.
        FTagAttributes.clear();
        FTagAttributeSet.clear();
        for (const char* p = FTagStart + 1; p < quote; ++p) {
            if (*p == '"' || *p == '\'') {
                FTagAttributes.push_back(AttributeNameBefore(p));
                p = std::find(p + 1, quote, *p);
            }
        }
        FTagAttributesFor = FTagStart;
    }
    const std::string_view name = AttributeNameBefore(quote);
    // A set once a tag has many attributes: a crafted tag must not cost the square of its size.
    if (FTagAttributes.size() == kFewAttributes)
        FTagAttributeSet.insert(FTagAttributes.begin(), FTagAttributes.end());
    const bool repeated =
        FTagAttributes.size() < kFewAttributes
            ? std::find(FTagAttributes.begin(), FTagAttributes.end(), name) != FTagAttributes.end()
            : !FTagAttributeSet.insert(name).second;
    if (repeated)
        Fail(name.data(), XmlDuplicateAttributeReason(name));
    FTagAttributes.push_back(name);
    FLastOpening = quote;
    FLastOpeningFirst = FTagAttributes.size() == 1;
}

// A tag begins at its '<': no attributes yet.
void TScanner::BeginTag(const char* at) {
    FTagStart = at;
    FTagAttributes.clear();
    FTagAttributeSet.clear();
    FTagAttributesFor = at;
}

// A control character or a byte past ASCII at `at` in text or an attribute value; returns the
// byte after its character.
const char* TScanner::TextCharacterAt(const char* at) {
    const auto byte = static_cast<uint8_t>(*at);
    if (byte < 0x80) {
        if (!HasClass(*at, kSpaceByte))
            Fail(at, kXmlInvalidCharacter);
        FConversions.LineEnds |= byte == '\r';
        return at + 1;
    }
    // Two-byte sequences hold U+0080 to U+07FF, all of which XML allows.
    if (byte >= 0xC2 && byte <= 0xDF && at + 1 < FEnd &&
        (static_cast<uint8_t>(at[1]) & 0xC0) == 0x80)
        return at + 2;
    P = at;
    Character();
    return P;
}

// The same in an attribute value, where pugixml turns white space into spaces.
const char* TScanner::ValueCharacterAt(const char* at) {
    FConversions.ValueWhiteSpace |= static_cast<uint8_t>(*at) < 0x20;
    return TextCharacterAt(at);
}

// The same in a tag outside attribute values, where it can only be white space or part of a name.
// pugixml takes every byte past ASCII for a name character.
const char* TScanner::NameCharacterAt(const char* at) {
    if (static_cast<uint8_t>(*at) < 0x80)
        return TextCharacterAt(at);
    const bool first = at[-1] == '<' || at[-1] == '/' || HasClass(at[-1], kSpaceByte);
    P = at;
    const char32_t character = Character();
    if (!(first ? IsNameStartCharacter(character) : IsNameCharacter(character)))
        Fail(at, kXmlInvalidNameCharacter);
    return P;
}

// The root element, from the '<' of its start tag to the '>' that ends it, one block of bytes at a
// time. A block that the screen cannot pass is read byte by byte, which finds the fault if there
// is one. Names and the syntax around them are left to pugixml, which fails on any fault there.
//
// Where the text ends in a tag, that tag's '>' ends the root element in every text pugixml
// accepts and FindTopLevelViolation passes: the screen then counts no depth. A text that ends
// otherwise, in a comment for instance, is read byte by byte throughout, counting the depth.
void TScanner::Element() {
    const char* last = FEnd;
    while (last > P && HasClass(last[-1], kSpaceByte))
        --last;
    // Not after a comment, an instruction or character data.
    const auto endsWith = [&](std::string_view tail) {
        return static_cast<size_t>(last - P) >= tail.size() &&
               std::string_view(last - tail.size(), tail.size()) == tail;
    };
    const bool endsInTag = FRootEndFromTail && last - P >= 2 && last[-1] == '>' &&
                           !endsWith("?>") && !endsWith("-->") && !endsWith("]]>");
    FRootEnd = endsInTag ? last - 1 : nullptr;
    FMode = TMode::StartTag;
    FDepth = 0;
    BeginTag(P);
    FLastOpening = FBegin;
    FNext = P + 1;
#if ORLENTA_XML_BLOCKS_X86
    if (XmlBlocksHaveAvx512())
        ElementBlocksAvx512();
    else if (XmlBlocksHaveAvx2())
        ElementBlocksAvx2();
    else
        ElementBlocksSse2();
#else
    ElementBlocksPortable();
#endif
}

// Reads one block: the screen, or the exact scan where it cannot pass the block. True when the
// root element ended, with FNext just past it.
inline bool TScanner::ReadBlock(const char* block, const TXmlBlockMasks& masks) {
    return !(FScreen && ScreenBlock(block, masks)) && ExactBlock(block, masks.Marked());
}

// The loop over the blocks, with the masks and the screen inlined, once per instruction set.
#if ORLENTA_XML_BLOCKS_X86
ORLENTA_XML_BLOCKS_AVX512 void TScanner::ElementBlocksAvx512() {
    for (const char* block = P;; block = std::max(block + kBlock, FNext)) {
        if (block >= FEnd)
            SyntaxError(FEnd, kXmlUnexpectedEnd);
        if (ReadBlock(block, FEnd - block >= kBlock ? Avx512XmlBlockMasks(block)
                                                    : PortableXmlBlockMasks(block, FEnd - block)))
            break;
    }
    P = FNext;
}

ORLENTA_XML_BLOCKS_AVX2 void TScanner::ElementBlocksAvx2() {
    for (const char* block = P;; block = std::max(block + kBlock, FNext)) {
        if (block >= FEnd)
            SyntaxError(FEnd, kXmlUnexpectedEnd);
        if (ReadBlock(block, FEnd - block >= kBlock ? Avx2XmlBlockMasks(block)
                                                    : PortableXmlBlockMasks(block, FEnd - block)))
            break;
    }
    P = FNext;
}

void TScanner::ElementBlocksSse2() {
    for (const char* block = P;; block = std::max(block + kBlock, FNext)) {
        if (block >= FEnd)
            SyntaxError(FEnd, kXmlUnexpectedEnd);
        if (ReadBlock(block, FEnd - block >= kBlock ? Sse2XmlBlockMasks(block)
                                                    : PortableXmlBlockMasks(block, FEnd - block)))
            break;
    }
    P = FNext;
}
#else
void TScanner::ElementBlocksPortable() {
    for (const char* block = P;; block = std::max(block + kBlock, FNext)) {
        if (block >= FEnd)
            SyntaxError(FEnd, kXmlUnexpectedEnd);
        if (ReadBlock(block, PortableXmlBlockMasks(block, std::min(FEnd - block, kBlock))))
            break;
    }
    P = FNext;
}
#endif

// The end of the UTF-8 characters among `high`, the UTF-8 bytes of the block at block, when they
// are whole, valid and allowed in XML; nullptr otherwise. The last one may end past the block.
const char* TScanner::EndOfCharacters(const char* block, uint64_t high) const {
    const char* end = block;
    while (high != 0) {
        const char* at = block + std::countr_zero(high);
        if (at < end)
            return nullptr; // a continuation byte not taken by the character before
        const TUtf8Character character = DecodeUtf8At(FText, static_cast<size_t>(at - FBegin));
        if (character.Length == 0 || !IsXmlCharacter(character.CodePoint))
            return nullptr;
        end = at + character.Length;
        const ptrdiff_t taken = end - block;
        high &= taken >= kBlock ? 0 : ~uint64_t{0} << taken;
    }
    return end;
}

// Passes a block without looking at its bytes one by one when bit operations on its masks show
// that it is well-formed: values in double quotes, no comment, processing instruction or character
// data, UTF-8 outside tags only, no control characters but white space, text without '>' or
// quotes, at most two attributes in a tag, and the end of the root element elsewhere. Such blocks
// are nearly all of a catalogue. What remains, repeated attributes and references, is then checked
// where they stand. Returns false, changing nothing, for any other block: the exact scan reads it.
inline bool TScanner::ScreenBlock(const char* block, TXmlBlockMasks masks) {
    if (FRootEnd == nullptr || FRootEnd - block <= kBlock ||
        (FMode == TMode::Value && FQuote != '"'))
        return false;
    if (const ptrdiff_t skip = FNext - block; skip > 0) {
        // The rest of a character or reference that the previous block began.
        const uint64_t unread = ~uint64_t{0} << skip;
        masks.High &= unread;
        masks.Continuation &= unread;
        masks.LongLead &= unread;
        if ((masks.Marked() | masks.MarkupSign) & ~unread)
            return false;
    }
    // Inside values: from each opening quote up to its closing quote, the opening one included.
    const uint64_t value = PrefixXor(masks.Quote) ^ AllIf(FMode == TMode::Value);
    const uint64_t valueBytes = value & ~masks.Quote;
    const uint64_t less = masks.Less;
    if ((less & valueBytes) != 0)
        return false;
    const uint64_t greater = masks.Greater & ~value;
    // Inside tags: from each '<' up to its '>', the '<' included. Each '<' must open a tag and each
    // '>' close one, and every quote must stand in a tag.
    const uint64_t tag = PrefixXor(less | greater) ^ AllIf(FMode != TMode::Content);
    if ((less & ~tag) != 0 || (greater & tag) != 0 || (masks.Quote & ~tag) != 0)
        return false;
    // A '<' before '!' or '?' opens markup for the exact scan.
    const bool signAfter = block[kBlock] == '!' || block[kBlock] == '?';
    if ((less & (masks.MarkupSign >> 1 | (signAfter ? uint64_t{1} << 63 : 0))) != 0)
        return false;
    // Outside values, a tag holds names and white space only.
    const uint64_t text = valueBytes | ~tag;
    if ((masks.High & ~text) != 0)
        return false;
    uint64_t ampersands = 0;
    for (uint64_t other = masks.Other; other != 0; other &= other - 1) {
        const int i = std::countr_zero(other);
        if (block[i] == '&' || block[i] == '\'') {
            if ((text >> i & 1) == 0)
                return false;
            if (block[i] == '&')
                ampersands |= uint64_t{1} << i;
        } else if (!HasClass(block[i], kSpaceByte)) {
            return false;
        } else {
            FConversions.LineEnds |= block[i] == '\r';
            FConversions.ValueWhiteSpace |= (valueBytes >> i & 1) != 0;
        }
    }
    // UTF-8: two-byte sequences are checked here at once, longer ones one by one.
    const char* next = block + kBlock;
    const uint64_t leads = masks.High & ~masks.Continuation;
    if ((masks.LongLead | (masks.Continuation ^ leads << 1)) != 0) {
        const char* end = EndOfCharacters(block, masks.High);
        if (end == nullptr)
            return false;
        next = std::max(next, end);
    } else if ((leads >> 63) != 0) {
        if ((static_cast<uint8_t>(block[kBlock]) & 0xC0) != 0x80)
            return false;
        ++next;
    }
    // An opening quote that follows another with no '<' between opens a second attribute of one
    // tag; one that follows a second, a third, for which the exact scan keeps the names.
    const uint64_t opening = masks.Quote & value;
    const uint64_t stops = less | opening;
    const bool openedBefore = FMode != TMode::Content && FLastOpening > FTagStart;
    const uint64_t second = opening & NextStops(opening, stops, openedBefore);
    if ((second & NextStops(second, stops, openedBefore && !FLastOpeningFirst)) != 0)
        return false;

    // The structure holds: what is left are references and second attributes, in text order.
    for (uint64_t check = ampersands | second; check != 0; check &= check - 1) {
        const int i = std::countr_zero(check);
        if (block[i] == '&') {
            next = std::max(next, ReferenceAt(block + i));
            continue;
        }
        const uint64_t earlier = opening & ((uint64_t{1} << i) - 1);
        const char* firstQuote =
            earlier != 0 ? block + (63 - std::countl_zero(earlier)) : FLastOpening;
        const std::string_view name = AttributeNameBefore(block + i);
        if (AttributeNameBefore(firstQuote) == name)
            Fail(name.data(), XmlDuplicateAttributeReason(name));
    }

    // Carry the state over to the next block.
    if (less != 0)
        FTagStart = block + (63 - std::countl_zero(less));
    if (opening != 0) {
        const int lastOpening = 63 - std::countl_zero(opening);
        FLastOpening = block + lastOpening;
        FLastOpeningFirst = (second >> lastOpening & 1) == 0;
    }
    FTagAttributesFor = nullptr;
    if ((value >> 63) != 0) {
        FMode = TMode::Value;
        FQuote = '"';
    } else {
        FMode = (tag >> 63) != 0 ? TMode::StartTag : TMode::Content;
    }
    FNext = next;
    return true;
}

// Reads the marked bytes of a block one at a time, from FNext on. Returns true when the root
// element ended, with FNext just past it; FNext may also end up past the block, after a comment
// or a reference that runs into the next one.
bool TScanner::ExactBlock(const char* block, uint64_t marked) {
    if (FNext > block)
        marked &= ~uint64_t{0} << (FNext - block);
    while (marked != 0) {
        const char* at = block + std::countr_zero(marked);
        marked &= marked - 1;
        const char c = *at;
        FNext = at + 1;
        switch (FMode) {
        case TMode::Value:
            if (c == FQuote)
                FMode = TMode::StartTag;
            else if (c == '<')
                Fail(at, kXmlLessThanInAttribute);
            else if (c == '&')
                FNext = ReferenceAt(at);
            else if (c != '>' && c != '"' && c != '\'')
                FNext = ValueCharacterAt(at);
            break;
        case TMode::Content:
            if (c == '<') {
                if (at + 1 >= FEnd)
                    SyntaxError(FEnd, kXmlUnexpectedEnd);
                if (at[1] == '/') {
                    FMode = TMode::EndTag;
                    BeginTag(at);
                } else if (at[1] == '!' || at[1] == '?') {
                    P = at;
                    if (at[1] == '?')
                        ProcessingInstruction();
                    else if (StartsWith("<!--"))
                        Comment();
                    else if (StartsWith("<![CDATA["))
                        CharacterData();
                    else
                        SyntaxError(at);
                    FNext = P;
                } else {
                    FMode = TMode::StartTag;
                    BeginTag(at);
                }
            } else if (c == '&') {
                FNext = ReferenceAt(at);
            } else if (c == '>') {
                // Markup ends in '>' and a reference in ';': two ']' before are text.
                if (at[-1] == ']' && at[-2] == ']')
                    Fail(at - 2, kXmlCdataEndInText);
            } else if (c != '"' && c != '\'') {
                FNext = TextCharacterAt(at);
            }
            break;
        case TMode::StartTag:
            if (c == '"' || c == '\'') {
                FQuote = c;
                FMode = TMode::Value;
                CheckAttribute(at);
            } else if (c == '>') {
                FMode = TMode::Content;
                if (FRootEnd != nullptr) {
                    if (at == FRootEnd)
                        return true;
                } else if (at[-1] != '/') {
                    ++FDepth;
                } else if (FDepth == 0) {
                    return true;
                }
            } else if (c == '<' || c == '&') {
                SyntaxError(at);
            } else {
                FNext = NameCharacterAt(at);
            }
            break;
        case TMode::EndTag:
            if (c == '>') {
                FMode = TMode::Content;
                if (FRootEnd != nullptr ? at == FRootEnd : --FDepth == 0)
                    return true;
            } else if (c == '<' || c == '&' || c == '"' || c == '\'') {
                SyntaxError(at);
            } else {
                FNext = NameCharacterAt(at);
            }
            break;
        }
        if (FNext > at + 1) {
            if (FNext - block >= kBlock)
                return false;
            marked &= ~uint64_t{0} << (FNext - block);
        }
    }
    return false;
}

void TScanner::Comment() {
    const char* start = P;
    P += 4;
    for (;;) {
        P = FindStop(P, FEnd, '-', '-', '-');
        if (P >= FEnd)
            SyntaxError(start, kXmlUnexpectedEnd);
        if (*P != '-') {
            Character();
        } else if (P + 1 < FEnd && P[1] == '-') {
            if (P + 2 >= FEnd)
                SyntaxError(start, kXmlUnexpectedEnd);
            if (P[2] != '>')
                Fail(P, kXmlDoubleHyphenInComment);
            P += 3;
            return;
        } else {
            ++P;
        }
    }
}

void TScanner::ProcessingInstruction() {
    const char* start = P;
    P += 2;
    const std::string_view target = Name();
    if (EqualIgnoringAsciiCase(target, "xml"))
        Fail(start, kXmlMisplacedDeclaration);
    if (StartsWith("?>")) {
        P += 2;
        return;
    }
    if (!SkipSpaces())
        SyntaxError(P);
    for (;;) {
        P = FindStop(P, FEnd, '?', '?', '?');
        if (P >= FEnd)
            SyntaxError(start, kXmlUnexpectedEnd);
        if (*P != '?') {
            Character();
        } else if (StartsWith("?>")) {
            P += 2;
            return;
        } else {
            ++P;
        }
    }
}

void TScanner::CharacterData() {
    const char* start = P;
    P += 9;
    for (;;) {
        P = FindStop(P, FEnd, ']', ']', ']');
        if (P >= FEnd)
            SyntaxError(start, kXmlUnexpectedEnd);
        if (*P != ']') {
            Character();
        } else if (StartsWith("]]>")) {
            P += 3;
            return;
        } else {
            ++P;
        }
    }
}

// A quoted literal of the document type at its opening quote.
void TScanner::QuotedLiteral(bool publicId) {
    if (!At('"') && !At('\''))
        SyntaxError(P, kXmlInvalidDocumentType);
    const char quote = *P++;
    for (;;) {
        P = FindStop(P, FEnd, quote, quote, quote);
        RequireMore();
        if (*P == quote) {
            ++P;
            return;
        }
        if (publicId && !(*P == '\n' || *P == '\r'))
            SyntaxError(P, kXmlInvalidDocumentType);
        Character();
    }
}

// The rest of an element, attribute list, entity or notation declaration, up to its '>'.
void TScanner::MarkupDeclaration() {
    for (;;) {
        P = FindStop(P, FEnd, '>', '"', '\'');
        RequireMore();
        if (*P == '>') {
            ++P;
            return;
        }
        if (*P == '"' || *P == '\'')
            QuotedLiteral(false);
        else
            Character();
    }
}

void TScanner::DocumentType() {
    P += 9;
    if (!SkipSpaces())
        SyntaxError(P, kXmlInvalidDocumentType);
    Name();
    if (SkipSpaces() && (StartsWith("SYSTEM") || StartsWith("PUBLIC"))) {
        const bool isPublic = *P == 'P';
        P += 6;
        if (!SkipSpaces())
            SyntaxError(P, kXmlInvalidDocumentType);
        if (isPublic) {
            const char* literal = P;
            QuotedLiteral(true);
            // Public identifiers hold only these characters besides letters and digits.
            for (const char* c = literal + 1; c < P - 1; ++c) {
                if (!HasClass(*c, kNameByte) && !std::strchr(" \r\n-'()+,./:=?;!*#@$_%", *c))
                    SyntaxError(c, kXmlInvalidDocumentType);
            }
            if (!SkipSpaces())
                SyntaxError(P, kXmlInvalidDocumentType);
        }
        QuotedLiteral(false);
        SkipSpaces();
    }
    if (At('[')) {
        ++P;
        for (;;) {
            SkipSpaces();
            RequireMore();
            if (*P == ']') {
                ++P;
                break;
            }
            if (*P == '%') {
                ++P;
                Name();
                if (!At(';'))
                    SyntaxError(P, kXmlInvalidDocumentType);
                ++P;
            } else if (StartsWith("<!--")) {
                Comment();
            } else if (StartsWith("<?")) {
                ProcessingInstruction();
            } else if (StartsWith("<!ENTITY")) {
                P += 8;
                if (!SkipSpaces())
                    SyntaxError(P, kXmlInvalidDocumentType);
                if (!At('%'))
                    FDeclaredEntities.push_back(Name());
                MarkupDeclaration();
            } else if (StartsWith("<!ELEMENT") || StartsWith("<!ATTLIST") ||
                       StartsWith("<!NOTATION")) {
                P += 2;
                Name();
                MarkupDeclaration();
            } else {
                SyntaxError(P, kXmlInvalidDocumentType);
            }
        }
        SkipSpaces();
    }
    if (!At('>'))
        SyntaxError(P, kXmlInvalidDocumentType);
    ++P;
}

// The quoted value of a pseudo-attribute of the XML declaration, after its name.
std::string_view TScanner::DeclarationValue(const char* start) {
    SkipSpaces();
    if (!At('='))
        Fail(start, kXmlInvalidDeclaration);
    ++P;
    SkipSpaces();
    if (!At('"') && !At('\''))
        Fail(start, kXmlInvalidDeclaration);
    const char quote = *P++;
    const char* value = P;
    while (P < FEnd && *P != quote) {
        if (!HasClass(*P, kNameByte))
            Fail(start, kXmlInvalidDeclaration);
        ++P;
    }
    if (P >= FEnd)
        Fail(start, kXmlInvalidDeclaration);
    return {value, static_cast<size_t>(P++ - value)};
}

void TScanner::XmlDeclaration() {
    const char* start = P;
    P += 5;
    if (!SkipSpaces() || !StartsWith("version"))
        Fail(start, kXmlInvalidDeclaration);
    P += 7;
    const std::string_view version = DeclarationValue(start);
    if (version.size() < 3 || version.substr(0, 2) != "1." ||
        version.find_first_not_of("0123456789", 2) != std::string_view::npos)
        Fail(start, kXmlInvalidDeclaration);
    bool spaced = SkipSpaces();
    if (spaced && StartsWith("encoding")) {
        P += 8;
        const std::string_view encoding = DeclarationValue(start);
        const auto letter = static_cast<char>(encoding.empty() ? 0 : encoding[0] | 0x20);
        if (letter < 'a' || letter > 'z' || encoding.find(':') != std::string_view::npos)
            Fail(start, kXmlInvalidDeclaration);
        spaced = SkipSpaces();
    }
    if (spaced && StartsWith("standalone")) {
        P += 10;
        const std::string_view standalone = DeclarationValue(start);
        if (standalone != "yes" && standalone != "no")
            Fail(start, kXmlInvalidDeclaration);
        SkipSpaces();
    }
    if (!StartsWith("?>"))
        Fail(start, kXmlInvalidDeclaration);
    P += 2;
}

void TScanner::Document() {
    if (StartsWith("<?xml") && (FEnd - P == 5 || HasClass(P[5], kSpaceByte) || P[5] == '?'))
        XmlDeclaration();
    bool documentType = false;
    bool root = false;
    for (;;) {
        SkipSpaces();
        if (P >= FEnd)
            break;
        if (*P != '<')
            Fail(P, kXmlInvalidAtTopLevel);
        if (StartsWith("<?")) {
            ProcessingInstruction();
        } else if (StartsWith("<!--")) {
            Comment();
        } else if (StartsWith("<!DOCTYPE")) {
            if (documentType || root)
                Fail(P, kXmlInvalidAtTopLevel);
            DocumentType();
            documentType = true;
        } else if (StartsWith("<![CDATA[")) {
            Fail(P, kXmlInvalidAtTopLevel);
        } else if (P + 1 < FEnd && P[1] != '/' && P[1] != '!') {
            if (root)
                Fail(P, kXmlSecondRootElement);
            Element();
            root = true;
        } else {
            SyntaxError(P);
        }
    }
    if (!root)
        SyntaxError(P, kXmlUnexpectedEnd);
}

} // namespace

TXmlViolation FindXmlViolation(std::string_view text, TXmlScan scan, TXmlConversions* conversions) {
    // Taking the root element to end at the text's last tag, the scan cannot tell a syntax fault
    // in what follows an earlier end from one inside the element. Such texts are rare and never
    // load: read them again, counting the depth, to name the first fault rightly.
    for (const bool rootEndFromTail : {true, false}) {
        TScanner scanner(text, scan, rootEndFromTail);
        try {
            scanner.Document();
        } catch (TFault& fault) {
            if (rootEndFromTail && fault.Violation.ParserReportsIt)
                continue;
            return std::move(fault.Violation);
        }
        if (conversions != nullptr)
            *conversions = scanner.Conversions();
        break;
    }
    return {};
}

unsigned WithoutIdleConversions(unsigned options, const TXmlConversions& conversions) {
    if (!conversions.LineEnds)
        options &= ~pugi::parse_eol;
    if (!conversions.ValueWhiteSpace)
        options &= ~pugi::parse_wconv_attribute;
    if (!conversions.References)
        options &= ~pugi::parse_escapes;
    return options;
}

TXmlViolation FindTopLevelViolation(const pugi::xml_document& document) {
    bool element = false;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        // offset_debug gives the start of a node's name or value: back to its '<'.
        if (node.type() == pugi::node_element) {
            if (element)
                return {kXmlSecondRootElement, static_cast<size_t>(node.offset_debug() - 1)};
            element = true;
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            const ptrdiff_t start = node.type() == pugi::node_cdata ? 9 : 0;
            return {kXmlInvalidAtTopLevel,
                    static_cast<size_t>(std::max<ptrdiff_t>(node.offset_debug() - start, 0))};
        }
    }
    return {};
}

} // namespace orlenta
