#include "gui/state/OvcFormState.h"

#include "core/state/OvcIniFileStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace orlenta {

namespace {

TRect ToRect(const QRect& rect) {
    return TRect{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QRect ToQRect(const TRect& rect) {
    return QRect(rect.Left, rect.Top, rect.Width(), rect.Height());
}

bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

TOvcFormState::TOvcFormState(QWidget& window, TOvcIniFileStore& storage, QString section)
    : FWindow(window), FStorage(storage), FSection(std::move(section)) {}

TWindowPlacement TOvcFormState::Placement(const QWidget& window) {
    const Qt::WindowStates state = window.windowState();
    TWindowPlacement placement;
    if (state & Qt::WindowMinimized)
        placement.ShowCmd = kShowMinimized;
    else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
        placement.ShowCmd = kShowMaximized;
    if ((state & Qt::WindowMinimized) && (state & Qt::WindowMaximized))
        placement.Flags = kRestoreToMaximizedFlag;
    // The client rectangle, not the frame: a frame is only known once the window is shown, so
    // only this rectangle comes back where it was without creeping by the frame at every run.
    const QRect normal = window.normalGeometry();
    placement.NormalPos = ToRect(normal.isValid() ? normal : window.geometry());
    return placement;
}

int TOvcFormState::PixelsPerInch(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

void TOvcFormState::RestoreState() {
    FRestored = true;
    FSavedSinceRestore = false;
    try {
        TIniFileStoreScope scope(FStorage);
        const TFormRestore restore =
            ReadFormRestore(FStorage, FSection.toStdString(), PixelsPerInch(FWindow),
                            Placement(FWindow), FWindow.isVisible());
        FAutoPlacementOff = FAutoPlacementOff || restore.StopAutoPlacement;
        if (!restore.Apply)
            return;
        const TRect& saved = restore.Placement.NormalPos;
        if (OnWayland()) {
            FWindow.resize(saved.Width(), std::max(saved.Height(), 0));
            return;
        }
        std::vector<TRect> screens;
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            screens.push_back(ToRect(primary->availableGeometry()));
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (screen != QGuiApplication::primaryScreen())
                screens.push_back(ToRect(screen->availableGeometry()));
        }
        FWindow.setGeometry(ToQRect(KeepOnScreens(saved, screens)));
    } catch (...) {
        // Restoring never stops the window from opening where it was designed to.
    }
}

void TOvcFormState::SaveState() {
    if (!FRestored)
        return;
    // Counted as saved also when the write fails: the error is shown once, at closing.
    FSavedSinceRestore = true;
    TIniFileStoreScope scope(FStorage);
    WriteFormState(FStorage, FSection.toStdString(), Placement(FWindow), PixelsPerInch(FWindow));
    scope.Close();
}

} // namespace orlenta
