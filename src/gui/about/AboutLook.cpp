#include "gui/about/AboutLook.h"

#include "gui/WidgetNames.h"

#include <QWidget>

namespace orlenta {

void NameControl(QWidget* widget, const QString& objectName, const QString& accessibleName) {
    Named(widget, objectName);
    if (!accessibleName.isEmpty())
        widget->setAccessibleName(accessibleName);
}

QWidget* CreateWhitePanel(QWidget* parent, const QString& objectName,
                          const QString& accessibleName) {
    auto* panel = new QWidget(parent);
    NameControl(panel, objectName, accessibleName);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace orlenta
