#include "core/about/EasterEggsKey.h"

#include <gtest/gtest.h>

namespace orlenta {
namespace {

TEST(EasterEggsKey, SequencesAsTyped) {
    struct TCase {
        const char* Typed;
        const char* Panel; // the last panel shown; "" for none, "About" for the normal content
        const char* Key;   // the letters kept afterwards
    };
    const TCase cases[] = {
        {"url", "UrlPanel", ""},
        {"URL", "UrlPanel", ""},
        {"uRl", "UrlPanel", ""},
        {"update", "UpdatePanel", ""},
        {"orla", "MakerPanel", ""},
        {"url1", "About", ""},
        {"url ", "About", ""},
        {"xurl", "", "XURL"},
        {"xurlupdate", "", "XURLUPDATE"},
        {"xu1url", "UrlPanel", ""},
        {"ur", "", "UR"},
        {"up", "", "UP"},
        {"\xE4url", "UrlPanel", ""}, // a letter outside A to Z resets like a digit
        {"urlupdate", "UpdatePanel", ""},
    };
    for (const auto& c : cases) {
        TEasterEggsKey key(AboutBoxEasterEggs());
        std::string shown;
        for (const char* p = c.Typed; *p != '\0'; ++p) {
            const TEasterEggAction action = key.KeyPress(static_cast<unsigned char>(*p));
            if (action.Kind == TEasterEggAction::TKind::ShowPanel)
                shown = action.Panel;
            else if (action.Kind == TEasterEggAction::TKind::ShowAboutPanel)
                shown = "About";
        }
        EXPECT_EQ(shown, c.Panel) << c.Typed;
        EXPECT_EQ(key.Key(), c.Key) << c.Typed;
    }
}

} // namespace
} // namespace orlenta
