#pragma once

// The colours and panels the About box and its hidden panels share.

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

namespace orlenta {

inline const QColor kNavy{0, 0, 128};
inline const QColor kMaroon{128, 0, 0};
inline const QColor kGrey{128, 128, 128};

// Gives widget its object name (how tests and the code find it) and the name a screen reader
// reads; an empty accessible name leaves it to be set with the widget's text.
void NameControl(QWidget* widget, const QString& objectName, const QString& accessibleName);

// A white panel, child of parent.
QWidget* CreateWhitePanel(QWidget* parent, const QString& objectName,
                          const QString& accessibleName);

// Draws widget's text (role WindowText for labels, Text for edits) in colour.
void SetTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

} // namespace orlenta
