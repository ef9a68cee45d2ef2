#pragma once

#include <QObject>

class QAction;

namespace orlenta {

// Ctrl+C on a view triggers copy (which copies the selected rows), not the copy of the current
// cell a view makes by itself. Install it as the view's event filter.
class TCopyKeyFilter : public QObject {
public:
    TCopyKeyFilter(QObject* parent, QAction* copy) : QObject(parent), FCopy(copy) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* FCopy;
};

} // namespace orlenta
