#include "core/state/FormPlacement.h"

#include "core/base/DecimalText.h"
#include "core/state/OvcIniFileStore.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace orlenta {

namespace {

// How much of a window must lie on a screen for its title bar to be grabbed.
constexpr int kMinimumVisible = 32;

std::optional<int> ParseInt32(std::string_view word) {
    const auto value = ParseDecimal(word);
    if (!value || *value < INT_MIN || *value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(" ,", start);
        const size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start)
            words.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return words;
}

} // namespace

std::string FormatNormalPos(const TRect& rect) {
    return std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," +
           std::to_string(rect.Right) + "," + std::to_string(rect.Bottom);
}

TRect ParseNormalPos(std::string_view text, const TRect& current) {
    const std::vector<std::string_view> words = Words(text);
    const auto word = [&](size_t index, int fallback) {
        if (index >= words.size())
            return fallback;
        return ParseInt32(words[index]).value_or(fallback);
    };
    return TRect{word(0, current.Left), word(1, current.Top), word(2, current.Right),
                 word(3, current.Bottom)};
}

TFormRestore PlanFormRestore(const TStoredFormState& stored, int currentPixelsPerInch,
                             const TWindowPlacement& current, bool visible) {
    TFormRestore restore;
    if (stored.PixelsPerInch != currentPixelsPerInch)
        return restore;
    restore.Placement = current;
    restore.Placement.ShowCmd = visible ? current.ShowCmd : kShowHidden;
    restore.Placement.Flags = stored.Flags;
    if (stored.NormalPos.empty())
        return restore;
    restore.StopAutoPlacement = true;
    restore.Placement.NormalPos = ParseNormalPos(stored.NormalPos, current.NormalPos);
    restore.Apply = restore.Placement.NormalPos.Right > restore.Placement.NormalPos.Left;
    return restore;
}

TFormRestore ReadFormRestore(const TOvcIniFileStore& store, std::string_view section,
                             int currentPixelsPerInch, const TWindowPlacement& current,
                             bool visible) {
    TStoredFormState stored;
    stored.PixelsPerInch = store.ReadInteger(section, "PixelsPerInch", currentPixelsPerInch);
    stored.Flags = store.ReadInteger(section, "Flags", current.Flags);
    stored.NormalPos = store.ReadString(section, "NormalPos", std::string());
    return PlanFormRestore(stored, currentPixelsPerInch, current, visible);
}

void WriteFormState(TOvcIniFileStore& store, std::string_view section,
                    const TWindowPlacement& placement, int pixelsPerInch, int color) {
    store.WriteInteger(section, "Flags", placement.Flags);
    store.WriteInteger(section, "ShowCmd", placement.ShowCmd);
    store.WriteString(section, "NormalPos", FormatNormalPos(placement.NormalPos));
    store.WriteInteger(section, "PixelsPerInch", pixelsPerInch);
    store.WriteInteger(section, "Color", color);
}

TRect KeepOnScreens(const TRect& rect, const std::vector<TRect>& screens) {
    if (screens.empty())
        return rect;
    // A hand-edited file may hold any numbers: work in 64 bits so that none can overflow.
    using TWide = long long;
    const TWide width = std::max<TWide>(TWide{rect.Right} - rect.Left, 0);
    const TWide height = std::max<TWide>(TWide{rect.Bottom} - rect.Top, 0);
    const TWide neededWidth = std::clamp<TWide>(width, 1, kMinimumVisible);
    const TWide neededHeight = std::clamp<TWide>(height, 1, kMinimumVisible);
    for (const TRect& screen : screens) {
        const TWide shownWidth =
            TWide{std::min(rect.Right, screen.Right)} - std::max(rect.Left, screen.Left);
        const TWide shownHeight =
            TWide{std::min(rect.Bottom, screen.Bottom)} - std::max(rect.Top, screen.Top);
        if (shownWidth >= neededWidth && shownHeight >= neededHeight)
            return rect;
    }
    // Moved into the first screen, and made no larger than it.
    const TRect& first = screens.front();
    const TWide movedWidth = std::min<TWide>(width, first.Width());
    const TWide movedHeight = std::min<TWide>(height, first.Height());
    const TWide left = std::clamp<TWide>(rect.Left, first.Left, first.Right - movedWidth);
    const TWide top = std::clamp<TWide>(rect.Top, first.Top, first.Bottom - movedHeight);
    return TRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + movedWidth),
                 static_cast<int>(top + movedHeight)};
}

} // namespace orlenta
