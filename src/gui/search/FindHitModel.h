#pragma once

// The hits of Find all as a table: disc, path, field, and the size and modification time
// recorded (blank when not). A common keyword hits most of a million
// names: the model keeps the core's hit list as it is and makes text only for the rows a view
// asks about, and it hands rows to the view a page at a time as the view scrolls down, so that a
// view never lays out more rows than someone has scrolled past.

#include "core/search/FindAll.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

namespace orlenta {

class TFindHitModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { DiscColumn, PathColumn, FieldColumn, SizeColumn, ModifiedColumn, kColumnCount };
    // Rows handed to the view at a time.
    static constexpr int kPageSize = 2000;

    explicit TFindHitModel(QObject* parent = nullptr);

    // Shows hits found in index, sorted as the model is sorted, from the first page on.
    void SetHits(std::shared_ptr<const TNameIndex> index, std::vector<TFindHit> hits);
    // Shows nothing.
    void Clear();

    // Every hit, also those not yet handed to the view.
    int HitCount() const { return static_cast<int>(FHits.size()); }
    // The hit of row, 0 <= row < rowCount().
    const TFindHit& Hit(int row) const { return FHits[static_cast<size_t>(row)]; }
    // The index the hits belong to; null when there are none.
    const TNameIndex* Index() const { return FIndex.get(); }
    // The rows as orlenta-cli search prints them: one line each, tab-separated.
    std::string HitLines(const std::vector<int>& rows) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // column -1 restores the order found.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void SortHits();

    std::shared_ptr<const TNameIndex> FIndex;
    std::vector<TFindHit> FHits;
    int FShown = 0;
    int FSortColumn = -1;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};

// The field's name as the fields to search in are ticked: "Title", "Directory name".
QString FindFieldCaption(TSearchField field);

} // namespace orlenta
