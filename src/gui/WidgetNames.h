#pragma once

#include <QString>

namespace orlenta {

// widget (or action) with its object name set: the control's name, by which tests and the window
// state find it. Named where it is made, so that making and naming read as one.
template <typename T> T* Named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <typename T> T* Named(T* widget, const char* name) {
    return Named(widget, QString::fromLatin1(name));
}

} // namespace orlenta
