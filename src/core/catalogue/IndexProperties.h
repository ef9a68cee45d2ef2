#pragma once

#include "core/catalogue/OrlentaData.h"

#include <string>
#include <string_view>

namespace orlenta {

// text without the leading and trailing characters at or below U+0020.
std::string_view TrimControlAndBlank(std::string_view text);

// The catalogue's title and memo as the Index properties dialog shows them: the memo decoded.
struct TIndexProperties {
    std::string Title;
    std::string Memo;
};

// The title and the decoded memo of root.
TIndexProperties ReadIndexProperties(const TXMLOrlentaDataType& root);

// What the Index properties dialog stores on OK: the title trimmed ("Untitled" when that leaves
// nothing), the memo escaped and then trimmed; a memo equal to the stored one once decoded keeps
// its stored form.
void SetIndexProperties(const TXMLOrlentaDataType& root, std::string_view title,
                        std::string_view memo);

// The caption of the main window for a catalogue title.
std::string MainFormCaption(std::string_view title);

} // namespace orlenta
