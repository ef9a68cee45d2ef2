// The scanner's markup outside elements and text: comments, processing instructions, character
// data, the document type and the XML declaration.

#include "core/xml/XmlScanner.h"

#include <algorithm>

namespace orlenta::xml_scan {

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

} // namespace orlenta::xml_scan
