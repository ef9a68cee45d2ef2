#pragma once

#include "core/catalogue/TreeDifference.h"

#include <QAbstractListModel>
#include <QIcon>
#include <cstdint>
#include <vector>

namespace orlenta {

// The changes of one kind in a tree difference, in its path order, as a list: one row per path,
// with a folder or a file picture. The rows are indexes into the difference, which must outlive
// the model: a re-burnt disc gives a million changes, and a million texts made up front would
// cost more than the reading.
class TTreeChangeModel : public QAbstractListModel {
    Q_OBJECT
public:
    TTreeChangeModel(const TTreeDifference& difference, TChangeKind kind, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The change a row stands for.
    const TTreeChange& Change(int row) const;

private:
    const TTreeDifference& FDifference;
    std::vector<std::uint32_t> FRows;
    QIcon FDirectoryIcon;
    QIcon FFileIcon;
};

} // namespace orlenta
