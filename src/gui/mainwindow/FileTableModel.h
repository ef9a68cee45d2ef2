#pragma once

// The file names of the clicked directory as a table of name, size and modification time. A
// directory may hold tens of thousands of names and a click must answer at once: the model
// copies each name's bytes into one buffer and parses its size and time, and makes text only
// for the cells a view asks about. It holds no node of the document, which a command may take
// away before the window shows the next directory. Rows stay in document order until sort()
// is asked for a column.

#include "core/catalogue/OrlentaData.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlenta {

class TFileTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { NameColumn, SizeColumn, ModifiedColumn, kColumnCount };

    explicit TFileTableModel(QObject* parent = nullptr);

    // Shows the file names of directory in document order, or sorted as the model is sorted;
    // nothing for an empty handle.
    void ShowDirectory(const IXMLDirectoryType& directory);
    // Shows nothing.
    void Clear();

    // The name of row as shown, 0 <= row < rowCount().
    std::string_view Name(int row) const;
    // The recorded size of the files shown; nothing when none of them has one.
    std::optional<std::uint64_t> TotalSize() const { return FTotalSize; }
    // Whether a directory is shown, however many files it has.
    bool HasDirectory() const { return FHasDirectory; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // column -1 restores document order. A name, size or time that was not recorded comes
    // before every recorded one in ascending order; equal values keep document order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct TRow {
        std::size_t NameStart = 0;
        std::size_t NameLength = 0;
        std::optional<std::uint64_t> Size;
        std::optional<std::int64_t> Modified;
    };

    // The document-order index of the row shown at row.
    std::uint32_t DocumentRow(int row) const;
    const TRow& RowAt(int row) const { return FRows[DocumentRow(row)]; }
    void SortRows();

    // Every name's bytes, one after the other.
    std::string FNames;
    // In document order.
    std::vector<TRow> FRows;
    // Row indexes as shown; empty while the rows show in document order.
    std::vector<std::uint32_t> FOrder;
    std::optional<std::uint64_t> FTotalSize;
    bool FHasDirectory = false;
    int FSortColumn = -1;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
};

// "12 files, 1.4 MB" for what model shows; without the size when none was recorded, and empty
// when it shows no directory.
QString FileTableSummary(const TFileTableModel& model);

} // namespace orlenta
