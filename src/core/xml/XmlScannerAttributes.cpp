// The scanner's check that no attribute repeats in a tag.

#include "core/xml/XmlScanner.h"

#include <algorithm>

namespace orlenta::xml_scan {

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

} // namespace orlenta::xml_scan
