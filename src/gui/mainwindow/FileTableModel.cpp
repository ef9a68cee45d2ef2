#include "gui/mainwindow/FileTableModel.h"

#include "core/catalogue/SizeAndDate.h"
#include "gui/NameCollator.h"
#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace orlenta {

TFileTableModel::TFileTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TFileTableModel::ShowDirectory(const IXMLDirectoryType& directory) {
    beginResetModel();
    // The buffers keep their capacity: the next click fills them without allocating again.
    FNames.clear();
    FRows.clear();
    FOrder.clear();
    FTotalSize.reset();
    FHasDirectory = static_cast<bool>(directory);
    if (directory) {
        for (const IXMLFilenameType& filename : directory.Filenames()) {
            const std::string_view name = filename.Text();
            TRow row;
            row.NameStart = FNames.size();
            row.NameLength = name.size();
            FNames.append(name);
            row.Size = filename.Size();
            row.Modified = filename.Modified();
            if (row.Size)
                FTotalSize = SaturatingAdd(FTotalSize.value_or(0), *row.Size);
            FRows.push_back(row);
        }
    }
    SortRows();
    endResetModel();
}

void TFileTableModel::Clear() {
    ShowDirectory({});
}

std::uint32_t TFileTableModel::DocumentRow(int row) const {
    return FOrder.empty() ? static_cast<std::uint32_t>(row) : FOrder[static_cast<size_t>(row)];
}

std::string_view TFileTableModel::Name(int row) const {
    const TRow& shown = RowAt(row);
    return std::string_view(FNames).substr(shown.NameStart, shown.NameLength);
}

int TFileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TFileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TFileTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TRow& row = RowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn: return ToQString(Name(index.row()));
        case SizeColumn: return row.Size ? SizeText(*row.Size) : QString();
        case ModifiedColumn: return row.Modified ? ModifiedText(*row.Modified) : QString();
        default: return {};
        }
    case Qt::ToolTipRole:
        if (index.column() == SizeColumn && row.Size)
            return ExactSizeText(*row.Size);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default: return {};
    }
}

QVariant TFileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        switch (section) {
        case NameColumn: return tr("Name");
        case SizeColumn: return tr("Size");
        case ModifiedColumn: return tr("Modified");
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole && section == SizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TFileTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void TFileTableModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The selection and the current row follow their files to the new places.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> documentRows;
    documentRows.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex& index : before)
        documentRows.push_back(DocumentRow(index.row()));
    FSortColumn = column;
    FSortOrder = order;
    SortRows();
    std::vector<int> shownRow(FOrder.empty() ? 0 : FRows.size());
    for (size_t row = 0; row < FOrder.size(); ++row)
        shownRow[FOrder[row]] = static_cast<int>(row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const std::uint32_t documentRow = documentRows[static_cast<size_t>(i)];
        after.append(index(FOrder.empty() ? static_cast<int>(documentRow) : shownRow[documentRow],
                           before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TFileTableModel::SortRows() {
    FOrder.clear();
    if (FSortColumn < 0 || FSortColumn >= kColumnCount || FRows.size() < 2)
        return;
    FOrder.resize(FRows.size());
    std::iota(FOrder.begin(), FOrder.end(), std::uint32_t{0});
    const bool descending = FSortOrder == Qt::DescendingOrder;
    // A stable sort on the reversed comparison keeps equal values in document order both ways.
    const auto sortBy = [&](auto less) {
        std::stable_sort(FOrder.begin(), FOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
            return descending ? less(b, a) : less(a, b);
        });
    };
    switch (FSortColumn) {
    case NameColumn: {
        // Keys once per name: far cheaper than collating two texts at every comparison.
        const QCollator collator = NameCollator();
        std::vector<QCollatorSortKey> keys;
        keys.reserve(FRows.size());
        for (const TRow& row : FRows)
            keys.push_back(collator.sortKey(
                ToQString(std::string_view(FNames).substr(row.NameStart, row.NameLength))));
        sortBy([&](std::uint32_t a, std::uint32_t b) { return keys[a].compare(keys[b]) < 0; });
        break;
    }
    case SizeColumn:
        // An absent value is less than every value of an optional.
        sortBy([&](std::uint32_t a, std::uint32_t b) { return FRows[a].Size < FRows[b].Size; });
        break;
    case ModifiedColumn:
        sortBy([&](std::uint32_t a, std::uint32_t b) {
            return FRows[a].Modified < FRows[b].Modified;
        });
        break;
    }
}

QString FileTableSummary(const TFileTableModel& model) {
    if (!model.HasDirectory())
        return {};
    const int count = model.rowCount();
    QString text = count == 1 ? QCoreApplication::translate("orlenta::TFileTableModel", "1 file")
                              : QCoreApplication::translate("orlenta::TFileTableModel", "%1 files")
                                    .arg(QLocale().toString(count));
    if (const std::optional<std::uint64_t> total = model.TotalSize())
        text += QStringLiteral(", ") + SizeText(*total);
    return text;
}

} // namespace orlenta
