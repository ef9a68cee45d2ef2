#include "core/catalogue/IndexProperties.h"

#include "core/catalogue/EscapedText.h"

namespace orlenta {

std::string_view TrimControlAndBlank(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

TIndexProperties ReadIndexProperties(const TXMLOrlentaDataType& root) {
    return {std::string(root.Title()), UnescapeText(root.Memo())};
}

void SetIndexProperties(const TXMLOrlentaDataType& root, std::string_view title,
                        std::string_view memo) {
    root.SetTitle(TrimControlAndBlank(title));
    // A memo left as it was shown keeps its stored form, as a disc's does.
    if (memo != UnescapeText(root.Memo()))
        root.SetMemo(TrimControlAndBlank(EscapeText(memo)));
    if (root.Title().empty())
        root.SetTitle("Untitled");
}

std::string MainFormCaption(std::string_view title) {
    return std::string(title) + " - Orlenta";
}

} // namespace orlenta
