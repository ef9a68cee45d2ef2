#pragma once

#include <QString>

namespace orlenta {

// widget with its object name set: the control's name, by which tests and the window state find
// it.
template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace orlenta
