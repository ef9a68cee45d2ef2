#include "gui/about/AboutBox.h"

#include "core/about/AboutTexts.h"
#include "core/about/Fade.h"
#include "gui/UserPrompts.h"
#include "gui/about/DisabledWindowScope.h"
#include "gui/about/FrmAbout.h"

#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace orlenta {

namespace {

// A pause between two steps of a fade, long enough for the window system to show the step; 85
// steps of 3 come to about the time limit of a fade.
constexpr int kFadeStepMilliseconds = 3;

bool CanBlendWindows() {
    // Of the window systems this program runs on only X11 gives a window an opacity of its own;
    // elsewhere (Wayland, the offscreen platform) each step would only log a warning.
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

void PauseBetweenFadeSteps() {
    QEventLoop loop;
    QTimer::singleShot(kFadeStepMilliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    // Clicks and keys wait for the end of the fade; timers and painting go on.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Fades window to target (0 transparent, 255 opaque); a window that cannot blend stays opaque.
void Fade(QWidget& window, int target) {
    if (!CanBlendWindows())
        return;
    int alpha = qRound(window.windowOpacity() * 255);
    QElapsedTimer clock;
    clock.start();
    while (alpha != target) {
        alpha = NextFadeAlpha(alpha, target, std::chrono::milliseconds(clock.elapsed()));
        window.setWindowOpacity(alpha / 255.0);
        window.repaint();
        if (alpha != target)
            PauseBetweenFadeSteps();
    }
}

} // namespace

void ShowAboutBox(QWidget* mainWindow, int firstYear) {
    const TDisabledWindowScope disabledMainWindow(mainWindow);

    const TMakerAddresses maker = MakerAddresses();
    const TAboutTexts texts = AboutTexts(kApplicationTitle, ProgramVersion(), firstYear,
                                         QDate::currentDate().year(), maker);
    TfrmAbout box;
    box.SetTexts(texts, maker);
    box.CenterOnScreen(mainWindow != nullptr ? mainWindow->screen()
                                             : QGuiApplication::primaryScreen());

    if (CanBlendWindows())
        box.setWindowOpacity(0.0);
    box.show();
    box.activateWindow();
    Fade(box, 255);
    box.WaitForResult();
    Fade(box, 0);
    box.hide();
}

} // namespace orlenta
