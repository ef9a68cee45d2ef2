#pragma once

#include <QPointer>
#include <QWidget>

namespace orlenta {

// Keeps a window disabled for its lifetime and enables it again on the way out, also when an
// error leaves the scope early. A window that is deleted meanwhile is left alone.
class TDisabledWindowScope {
public:
    // Repaints window (so that it does not stay half drawn behind what comes next) and disables
    // it; nullptr disables nothing.
    explicit TDisabledWindowScope(QWidget* window);
    ~TDisabledWindowScope();
    TDisabledWindowScope(const TDisabledWindowScope&) = delete;
    TDisabledWindowScope& operator=(const TDisabledWindowScope&) = delete;

private:
    QPointer<QWidget> FWindow;
};

} // namespace orlenta
