#include "gui/about/DisabledWindowScope.h"

namespace orlenta {

TDisabledWindowScope::TDisabledWindowScope(QWidget* window) : FWindow(window) {
    if (FWindow.isNull())
        return;
    FWindow->repaint();
    FWindow->setEnabled(false);
}

TDisabledWindowScope::~TDisabledWindowScope() {
    if (!FWindow.isNull())
        FWindow->setEnabled(true);
}

} // namespace orlenta
