// The scan of the root element, a block of bytes at a time: the screen that passes well-formed
// blocks by bit operations on their masks, and the exact scan of the bytes the screen cannot pass.

#include "core/xml/XmlScanner.h"

#include <algorithm>
#include <bit>

namespace orlenta::xml_scan {

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
    switch (XmlBlocksInstructions()) {
    case TXmlBlocksInstructions::Avx512: ElementBlocksAvx512(); break;
    case TXmlBlocksInstructions::Avx2: ElementBlocksAvx2(); break;
    case TXmlBlocksInstructions::Sse2: ElementBlocksSse2(); break;
    }
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

} // namespace orlenta::xml_scan
