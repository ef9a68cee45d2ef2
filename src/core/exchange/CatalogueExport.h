#pragma once

// The catalogue written out for people and programs that do not read data files: CSV, JSON and
// one self-contained web page. Each writer streams as it walks; nothing is added to the catalogue.

#include "core/catalogue/OrlentaData.h"

#include <optional>
#include <ostream>

namespace orlenta {

// What to write: every disc, or the one at this index (0 <= index < the number of discs).
struct TExportScope {
    std::optional<int> Disc;
    // CSV only: values marked for a spreadsheet (AppendSpreadsheetCsvField), so that none of
    // them becomes a formula; the import takes the marks off again when told.
    bool ForSpreadsheets = false;
};

// The column names of the CSV form, in order.
inline constexpr const char* kCsvHeader =
    "disc,disc title,kind,path,name,size,modified,archive\r\n";

// One CSV row per directory (the disc's top directory first, with an empty path) and per file:
// disc index, disc title, directory or file, the path below the top directory, the name, the
// size and the time as stored, and the format of the archive the entry comes from.
void WriteCatalogueCsv(const TXMLOrlentaDataType& root, const TExportScope& scope,
                       std::ostream& out);

// One JSON document: the catalogue's title and memo, each disc's properties (memo decoded) and
// its tree, sizes and times where recorded.
void WriteCatalogueJson(const TXMLOrlentaDataType& root, const TExportScope& scope,
                        std::ostream& out);

// One HTML page that needs nothing beside it: the data as JSON inside the page, shown by the
// page's own fixed script as a tree that opens folder by folder, and searched by name.
void WriteCatalogueHtml(const TXMLOrlentaDataType& root, const TExportScope& scope,
                        std::ostream& out);

} // namespace orlenta
