#pragma once

// The groups of Duplicates as a tree: a row per group (its name, size, copies and wasted space)
// with a row per copy below it (its disc, path, size and modification time). Text is made only
// for the rows a view asks about.

#include "core/search/Duplicates.h"

#include <QAbstractItemModel>
#include <memory>
#include <vector>

namespace orlenta {

class TDuplicateGroupModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum TColumn { NameColumn, SizeColumn, CopiesColumn, WastedColumn, DiscColumn, kColumnCount };

    explicit TDuplicateGroupModel(QObject* parent = nullptr);

    // Shows the groups found in index, sorted as the model is sorted.
    void SetGroups(std::shared_ptr<const TNameIndex> index, TDuplicates duplicates);
    void Clear();

    int GroupCount() const { return static_cast<int>(FOrder.size()); }
    // The group of a top-level row, and the copy of a row below one.
    const TDuplicateGroup& Group(int row) const;
    // The copy of a copy's row; null for a group's row.
    const TDuplicateCopy* Copy(const QModelIndex& index) const;
    const TNameIndex* Index() const { return FIndex.get(); }
    // The rows as orlenta-cli duplicates prints them (a group's row stands for all its copies),
    // numbered by the groups' places in the list.
    std::string Lines(const QModelIndexList& rows) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // By wasted space, name or copies; any other column restores the order found.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void SortGroups();

    std::shared_ptr<const TNameIndex> FIndex;
    TDuplicates FDuplicates;
    std::vector<std::uint32_t> FOrder; // row -> group
    std::vector<std::uint32_t> FRowOf; // group -> row
    int FSortColumn = -1;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};

} // namespace orlenta
