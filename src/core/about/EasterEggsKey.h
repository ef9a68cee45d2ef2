#pragma once

// The letters typed into the About box and the hidden panel they call up.

#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

// A hidden panel of the About box and the letters (A to Z) that show it.
struct TEasterEgg {
    std::string Panel;
    std::string Sequence;
};

// The hidden panels: URL shows UrlPanel, UPDATE UpdatePanel, the maker's first name
// MakerPanel.
const std::vector<TEasterEgg>& AboutBoxEasterEggs();

// What a typed character asks the box to do.
struct TEasterEggAction {
    enum class TKind { None, ShowAboutPanel, ShowPanel };
    TKind Kind = TKind::None;
    std::string Panel; // for ShowPanel
};

// The letters typed so far. A sequence counts only typed whole, from the box's opening or from
// the last non-letter on: XURL never shows the URL panel.
class TEasterEggsKey {
public:
    explicit TEasterEggsKey(std::vector<TEasterEgg> eggs) : FEggs(std::move(eggs)) {}

    // One typed character: a letter grows the key and may complete a sequence, anything else
    // clears the key and brings the normal content back.
    TEasterEggAction KeyPress(char32_t character);
    const std::string& Key() const { return FKey; }

private:
    std::vector<TEasterEgg> FEggs;
    std::string FKey;
};

} // namespace orlenta
