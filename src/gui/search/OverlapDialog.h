#pragma once

// Overlap: a table of how much of one disc stands on each other disc and on all of them
// together, with a line that says it in words.

#include "core/search/Overlap.h"

#include <QDialog>

class QTreeWidget;

namespace orlenta {

class TOverlapDialog : public QDialog {
    Q_OBJECT
public:
    // overlap of a disc of index, found in milliseconds.
    TOverlapDialog(QWidget* parent, const TNameIndex& index, const TOverlap& overlap,
                   double milliseconds);

private:
    // A row for each other disc of overlap, then one for all of them together.
    QTreeWidget* CreateOverlapTable(const TNameIndex& index, const TOverlap& overlap);
};

// "93.4% of its files (98.0% of its bytes) are on other discs" for overlap.
QString OverlapSummary(const TOverlap& overlap);

} // namespace orlenta
