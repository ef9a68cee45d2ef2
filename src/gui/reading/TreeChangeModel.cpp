#include "gui/reading/TreeChangeModel.h"

#include "gui/WindowText.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <climits>

namespace orlenta {

TTreeChangeModel::TTreeChangeModel(const TTreeDifference& difference, TChangeKind kind,
                                   QObject* parent)
    : QAbstractListModel(parent), FDifference(difference),
      FDirectoryIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
      FFileIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {
    const std::vector<TTreeChange>& changes = difference.Changes;
    for (std::size_t i = 0; i < changes.size(); ++i)
        if (changes[i].Kind == kind)
            FRows.push_back(static_cast<std::uint32_t>(i));
}

int TTreeChangeModel::rowCount(const QModelIndex& parent) const {
    // A list view takes its row count as an int: more changes than that are not shown.
    return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(FRows.size(), INT_MAX));
}

const TTreeChange& TTreeChangeModel::Change(int row) const {
    return FDifference.Changes[FRows[static_cast<std::size_t>(row)]];
}

QVariant TTreeChangeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TTreeChange& change = Change(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return ToQString(change.Path);
    case Qt::DecorationRole: return change.IsDirectory ? FDirectoryIcon : FFileIcon;
    default: return {};
    }
}

} // namespace orlenta
