#include "gui/search/DuplicateGroupModel.h"

#include "core/base/AsciiText.h"
#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

namespace orlenta {

namespace {

// The internal id of a copy's row: its group's number plus one; 0 for a group's row.
constexpr quintptr kGroupRow = 0;

} // namespace

TDuplicateGroupModel::TDuplicateGroupModel(QObject* parent) : QAbstractItemModel(parent) {}

void TDuplicateGroupModel::SetGroups(std::shared_ptr<const TNameIndex> index,
                                     TDuplicates duplicates) {
    beginResetModel();
    FIndex = std::move(index);
    FDuplicates = std::move(duplicates);
    FOrder.resize(FDuplicates.Groups.size());
    SortGroups();
    endResetModel();
}

void TDuplicateGroupModel::Clear() {
    SetGroups({}, {});
}

const TDuplicateGroup& TDuplicateGroupModel::Group(int row) const {
    return FDuplicates.Groups[FOrder[static_cast<size_t>(row)]];
}

const TDuplicateCopy* TDuplicateGroupModel::Copy(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == kGroupRow)
        return nullptr;
    const TDuplicateGroup& group = FDuplicates.Groups[index.internalId() - 1];
    return &FDuplicates.CopiesOf(group)[static_cast<size_t>(index.row())];
}

std::string TDuplicateGroupModel::Lines(const QModelIndexList& rows) const {
    // A copy selected with its group is listed once.
    std::vector<std::pair<size_t, int>> wanted; // (group's row, copy's row or -1 for all)
    for (const QModelIndex& index : rows) {
        if (index.internalId() == kGroupRow)
            wanted.emplace_back(static_cast<size_t>(index.row()), -1);
        else
            wanted.emplace_back(FRowOf[index.internalId() - 1], index.row());
    }
    std::sort(wanted.begin(), wanted.end());
    std::string text;
    for (size_t i = 0; i < wanted.size(); ++i) {
        const auto [row, copy] = wanted[i];
        if (i > 0 && wanted[i - 1].first == row && wanted[i - 1].second == -1)
            continue;
        const TDuplicateGroup& group = Group(static_cast<int>(row));
        if (copy < 0) {
            AppendDuplicateLines(text, *FIndex, FDuplicates, group, row + 1);
        } else {
            TDuplicateGroup one = group;
            one.FirstCopy += static_cast<std::uint32_t>(copy);
            one.CopyCount = 1;
            AppendDuplicateLines(text, *FIndex, FDuplicates, one, row + 1);
        }
    }
    return text;
}

QModelIndex TDuplicateGroupModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= kColumnCount)
        return {};
    if (!parent.isValid())
        return row < GroupCount() ? createIndex(row, column, kGroupRow) : QModelIndex();
    if (parent.internalId() != kGroupRow)
        return {};
    const std::uint32_t group = FOrder[static_cast<size_t>(parent.row())];
    if (row >= static_cast<int>(FDuplicates.Groups[group].CopyCount))
        return {};
    return createIndex(row, column, static_cast<quintptr>(group) + 1);
}

QModelIndex TDuplicateGroupModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kGroupRow)
        return {};
    const auto group = static_cast<std::uint32_t>(child.internalId() - 1);
    return createIndex(static_cast<int>(FRowOf[group]), 0, kGroupRow);
}

int TDuplicateGroupModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return GroupCount();
    if (parent.internalId() != kGroupRow || parent.column() != 0)
        return 0;
    return static_cast<int>(Group(parent.row()).CopyCount);
}

int TDuplicateGroupModel::columnCount(const QModelIndex&) const {
    return kColumnCount;
}

QVariant TDuplicateGroupModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && column != NameColumn && column != DiscColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (const TDuplicateCopy* copy = Copy(index)) {
        const std::optional<std::uint64_t> size = FIndex->Size(copy->Entry);
        switch (column) {
        case NameColumn: return ToQString(CopyPath(*FIndex, *copy));
        case DiscColumn: return ToQString(FIndex->Disc(copy->Disc).Title);
        case SizeColumn:
            if (!size)
                return {};
            return role == Qt::ToolTipRole ? ExactSizeText(*size) : SizeText(*size);
        default: return {};
        }
    }
    const TDuplicateGroup& group = Group(index.row());
    switch (column) {
    case NameColumn: {
        const QString name = ToQString(FIndex->Name(FDuplicates.CopiesOf(group)[0].Entry));
        return group.ByName() ? tr("%1 (by name)").arg(name) : name;
    }
    case SizeColumn:
        if (group.ByName())
            return {};
        return role == Qt::ToolTipRole ? ExactSizeText(*group.Size) : SizeText(*group.Size);
    case CopiesColumn: return QLocale().toString(group.CopyCount);
    case WastedColumn:
        if (group.ByName())
            return {};
        return role == Qt::ToolTipRole ? ExactSizeText(group.Wasted) : SizeText(group.Wasted);
    default: return {};
    }
}

QVariant TDuplicateGroupModel::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractItemModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn: return tr("Name / path");
    case SizeColumn: return tr("Size");
    case CopiesColumn: return tr("Copies");
    case WastedColumn: return tr("Wasted");
    case DiscColumn: return tr("Disc");
    default: return {};
    }
}

void TDuplicateGroupModel::sort(int column, Qt::SortOrder order) {
    FSortColumn = column;
    FSortOrder = order;
    beginResetModel();
    SortGroups();
    endResetModel();
}

void TDuplicateGroupModel::SortGroups() {
    // Found order is wasted space, largest first, then name: every sort starts from it and is
    // stable, so that equal keys keep it.
    std::iota(FOrder.begin(), FOrder.end(), std::uint32_t{0});
    const auto& groups = FDuplicates.Groups;
    const auto name = [&](std::uint32_t group) {
        return FIndex->Name(FDuplicates.CopiesOf(groups[group])[0].Entry);
    };
    const bool descending = FSortOrder == Qt::DescendingOrder;
    const auto sortBy = [&](auto compare) {
        std::stable_sort(FOrder.begin(), FOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
            return descending ? compare(b, a) : compare(a, b);
        });
    };
    switch (FSortColumn) {
    case NameColumn:
        sortBy(
            [&](std::uint32_t a, std::uint32_t b) { return CompareNames(name(a), name(b)) < 0; });
        break;
    case CopiesColumn:
        sortBy([&](std::uint32_t a, std::uint32_t b) {
            return groups[a].CopyCount < groups[b].CopyCount;
        });
        break;
    case WastedColumn:
        // Ascending is the found order reversed: the smallest waste first.
        if (!descending)
            std::reverse(FOrder.begin(), FOrder.end());
        break;
    default: break;
    }
    FRowOf.resize(FOrder.size());
    for (size_t row = 0; row < FOrder.size(); ++row)
        FRowOf[FOrder[row]] = static_cast<std::uint32_t>(row);
}

} // namespace orlenta
