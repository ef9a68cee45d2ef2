#include "gui/OrlentaApplication.h"

#include "gui/ApplicationIcon.h"
#include "gui/UserPrompts.h"

namespace orlenta {

TOrlentaApplication::TOrlentaApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Only the name: a display name would be appended to every window title.
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    setApplicationVersion(QStringLiteral(ORLENTA_VERSION));
    setWindowIcon(ApplicationIcon());
    // Wayland compositors find the window's icon and name through its desktop entry.
    setDesktopFileName(QStringLiteral("orlenta"));
}

bool TOrlentaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!FErrorHandler)
            throw;
        FErrorHandler(std::current_exception());
        return false;
    }
}

} // namespace orlenta
