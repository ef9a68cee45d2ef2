#include "gui/ApplicationIcon.h"

// The resources sit in a static library, which nothing would pull in by itself;
// Q_INIT_RESOURCE must be used outside a namespace.
static void InitOrlentaResources() {
    Q_INIT_RESOURCE(orlenta);
}

namespace orlenta {

QIcon ApplicationIcon() {
    static const bool initialised = [] {
        InitOrlentaResources();
        return true;
    }();
    (void)initialised;
    return QIcon(QStringLiteral(":/icons/orlenta.svg"));
}

} // namespace orlenta
