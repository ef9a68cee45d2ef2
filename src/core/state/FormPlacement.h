#pragma once

// The window-position state of a top-level window, without the toolkit: the five keys of its
// section, the NormalPos text, and the steps that decide what a restore does.

#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

class TOvcIniFileStore;

// A rectangle in screen pixels; right and bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// Show states as the file writes them.
inline constexpr int kShowHidden = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
// In Flags: a minimized window comes back maximized.
inline constexpr int kRestoreToMaximizedFlag = 2;
// The Color key's value: the system's button-face colour, which the main window always has.
inline constexpr int kButtonFaceColor = -16777201;

// Where a window stands and how it is shown.
struct TWindowPlacement {
    int Flags = 0;
    int ShowCmd = kShowNormal;
    TRect NormalPos; // the rectangle of the normal (neither minimized nor maximized) state
};

// What was read for a restore, each key already replaced by its default when absent: the current
// pixel density, the current flags, the empty text.
struct TStoredFormState {
    int PixelsPerInch = 0;
    int Flags = 0;
    std::string NormalPos;
};

// What a restore does to the window.
struct TFormRestore {
    bool StopAutoPlacement = false; // the window keeps the position it is given from now on
    bool Apply = false;             // Placement is to be applied
    TWindowPlacement Placement;
};

// "%d,%d,%d,%d": left, top, right, bottom.
std::string FormatNormalPos(const TRect& rect);

// NormalPos split into words at blanks and commas: the first four give left, top, right and
// bottom; a word that is missing or not a decimal integer is taken from current.
TRect ParseNormalPos(std::string_view text, const TRect& current);

// The restore steps: nothing when the pixel density differs or NormalPos is empty; otherwise
// the placement to apply (the show state hidden for a window not yet visible), unless right is
// not greater than left. The window opens in its normal state whatever was saved.
TFormRestore PlanFormRestore(const TStoredFormState& stored, int currentPixelsPerInch,
                             const TWindowPlacement& current, bool visible);

// Reads PixelsPerInch, Flags and NormalPos of section and plans the restore. Never fails.
TFormRestore ReadFormRestore(const TOvcIniFileStore& store, std::string_view section,
                             int currentPixelsPerInch, const TWindowPlacement& current,
                             bool visible);

// Writes Flags, ShowCmd, NormalPos, PixelsPerInch and Color to section, in this order. Throws
// "Unable to write to %s"; the keys written before the failing one stay.
void WriteFormState(TOvcIniFileStore& store, std::string_view section,
                    const TWindowPlacement& placement, int pixelsPerInch,
                    int color = kButtonFaceColor);

// rect unchanged when it shows enough of itself on one of screens to be reached and moved;
// otherwise moved, at its size, into the first screen. A monitor that was unplugged since the
// last run must not leave the window out of sight.
TRect KeepOnScreens(const TRect& rect, const std::vector<TRect>& screens);

} // namespace orlenta
