#include "core/about/EasterEggsKey.h"

#include "core/about/AboutTexts.h"

namespace orlenta {

const std::vector<TEasterEgg>& AboutBoxEasterEggs() {
    static const std::vector<TEasterEgg> eggs = [] {
        std::string maker(kMakerFirstName);
        for (char& c : maker)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return std::vector<TEasterEgg>{
            {"UrlPanel", "URL"}, {"UpdatePanel", "UPDATE"}, {"MakerPanel", maker}};
    }();
    return eggs;
}

TEasterEggAction TEasterEggsKey::KeyPress(char32_t character) {
    if (character >= U'a' && character <= U'z')
        character = character - U'a' + U'A';
    if (character < U'A' || character > U'Z') {
        FKey.clear();
        return {TEasterEggAction::TKind::ShowAboutPanel, {}};
    }
    FKey += static_cast<char>(character);
    // Shorter keys are never looked up, so a sequence needs at least three letters.
    if (FKey.size() < 3)
        return {};
    for (const TEasterEgg& egg : FEggs)
        if (egg.Sequence == FKey) {
            FKey.clear();
            return {TEasterEggAction::TKind::ShowPanel, egg.Panel};
        }
    return {};
}

} // namespace orlenta
