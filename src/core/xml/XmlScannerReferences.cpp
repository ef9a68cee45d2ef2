// The scanner's check of character and entity references.

#include "core/xml/XmlScanner.h"

#include <algorithm>

namespace orlenta::xml_scan {

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

} // namespace orlenta::xml_scan
