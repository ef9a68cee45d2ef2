#pragma once

#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A part of the main window (an action, a widget, a command group), found by its object name as
// the tests find it. A benchmark that cannot find what it drives says so and stops.
template <typename T> T& WindowPart(const QObject& window, const char* name) {
    T* part = window.findChild<T*>(QString::fromLatin1(name));
    if (part == nullptr) {
        std::fprintf(stderr, "the window has no %s named %s\n", T::staticMetaObject.className(),
                     name);
        std::exit(1);
    }
    return *part;
}
