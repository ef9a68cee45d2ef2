#pragma once

#include "core/state/FormPlacement.h"

#include <QString>

class QWidget;

namespace orlenta {

class TOvcIniFileStore;

// Keeps a top-level window's position and size in its section of the profile file: the normal
// geometry in screen pixels, the window state and the screen's logical pixel density (rounded).
// A window restored on another pixel density keeps its designed place; on Wayland, where a
// window cannot place itself, only the size comes back. The window always opens in its normal
// state.
class TOvcFormState {
public:
    TOvcFormState(QWidget& window, TOvcIniFileStore& storage, QString section);

    // Reads the saved placement into the window: to be called before the window is first shown,
    // after it has taken its designed place. Never fails.
    void RestoreState();
    // Writes Flags, ShowCmd, NormalPos, PixelsPerInch and Color; nothing before the first
    // RestoreState. Throws "Unable to write to %s".
    void SaveState();

    bool Restored() const { return FRestored; }
    // Restored and not saved since: the window's destruction still has to save.
    bool SaveDue() const { return FRestored && !FSavedSinceRestore; }
    // A saved position was found: the window must not move itself to its designed place.
    bool AutoPlacementOff() const { return FAutoPlacementOff; }

    // The window's placement as the file keeps it.
    static TWindowPlacement Placement(const QWidget& window);
    // The logical pixel density of the window's screen, rounded.
    static int PixelsPerInch(const QWidget& window);

private:
    QWidget& FWindow;
    TOvcIniFileStore& FStorage;
    QString FSection;
    bool FRestored = false;
    bool FSavedSinceRestore = false;
    bool FAutoPlacementOff = false;
};

} // namespace orlenta
