#include "core/xml/WellFormedness.h"

#include "core/xml/XmlScanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

namespace orlenta {

namespace xml_scan {

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

} // namespace xml_scan

using xml_scan::TFault;
using xml_scan::TScanner;

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
