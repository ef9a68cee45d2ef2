#include "gui/search/FindHitModel.h"

#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"

#include <QCoreApplication>

namespace orlenta {

QString FindFieldCaption(TSearchField field) {
    switch (field) {
    case TSearchField::Title: return QCoreApplication::translate("orlenta::TFindHitModel", "Title");
    case TSearchField::Vendor:
        return QCoreApplication::translate("orlenta::TFindHitModel", "Vendor");
    case TSearchField::Memo: return QCoreApplication::translate("orlenta::TFindHitModel", "Memo");
    case TSearchField::Directory:
        return QCoreApplication::translate("orlenta::TFindHitModel", "Directory name");
    case TSearchField::Filename:
        return QCoreApplication::translate("orlenta::TFindHitModel", "Filename");
    }
    return {};
}

TFindHitModel::TFindHitModel(QObject* parent) : QAbstractTableModel(parent) {}

void TFindHitModel::SetHits(std::shared_ptr<const TNameIndex> index, std::vector<TFindHit> hits) {
    beginResetModel();
    FIndex = std::move(index);
    FHits = std::move(hits);
    if (FSortColumn >= 0) // they come in the order found
        SortHits();
    FShown = std::min(HitCount(), kPageSize);
    endResetModel();
}

void TFindHitModel::Clear() {
    SetHits({}, {});
}

std::string TFindHitModel::HitLines(const std::vector<int>& rows) const {
    std::string lines;
    for (const int row : rows)
        AppendHitLine(lines, *FIndex, Hit(row));
    return lines;
}

int TFindHitModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FShown;
}

int TFindHitModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TFindHitModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= FShown)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const TFindHit& hit = Hit(index.row());
    const std::uint32_t valueEntry = FIndex->ValueEntry(hit.Entry, hit.Directory);
    switch (index.column()) {
    case SizeColumn: {
        const std::optional<std::uint64_t> size = FIndex->Size(valueEntry);
        if (!size)
            return {};
        return role == Qt::ToolTipRole ? ExactSizeText(*size) : SizeText(*size);
    }
    case ModifiedColumn: {
        const std::int64_t modified = FIndex->Modified(valueEntry);
        return modified == TSizeDateFilter::kNoModified ? QVariant() : ModifiedText(modified);
    }
    case DiscColumn: return ToQString(FIndex->Disc(hit.Disc).Title);
    case PathColumn: return ToQString(HitPath(*FIndex, hit));
    case FieldColumn: return FindFieldCaption(hit.Field);
    default: return {};
    }
}

QVariant TFindHitModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case DiscColumn: return tr("Disc");
    case PathColumn: return tr("Path");
    case FieldColumn: return tr("Field");
    case SizeColumn: return tr("Size");
    case ModifiedColumn: return tr("Modified");
    default: return {};
    }
}

bool TFindHitModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && FShown < HitCount();
}

void TFindHitModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const int count = std::min(kPageSize, HitCount() - FShown);
    beginInsertRows({}, FShown, FShown + count - 1);
    FShown += count;
    endInsertRows();
}

void TFindHitModel::sort(int column, Qt::SortOrder order) {
    FSortColumn = column;
    FSortOrder = order;
    beginResetModel();
    SortHits();
    FShown = std::min(HitCount(), kPageSize);
    endResetModel();
}

void TFindHitModel::SortHits() {
    if (!FIndex)
        return;
    static constexpr TFindOrder kOrders[kColumnCount] = {TFindOrder::Disc, TFindOrder::Path,
                                                         TFindOrder::Field, TFindOrder::Size,
                                                         TFindOrder::Modified};
    const bool byColumn = FSortColumn >= 0 && FSortColumn < kColumnCount;
    SortFindHits(*FIndex, FHits, byColumn ? kOrders[FSortColumn] : TFindOrder::Found,
                 byColumn && FSortOrder == Qt::DescendingOrder);
}

} // namespace orlenta
