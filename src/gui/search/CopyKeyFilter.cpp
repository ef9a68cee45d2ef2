#include "gui/search/CopyKeyFilter.h"

#include <QAction>
#include <QKeyEvent>

namespace orlenta {

bool TCopyKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            event->accept();
            if (event->type() == QEvent::KeyPress)
                FCopy->trigger();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orlenta
