#pragma once

// An export in a chosen format, to a stream or to a file that is replaced whole or not at all.

#include "core/exchange/CatalogueExport.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace orlenta {

enum class TExportFormat {
    Csv,
    Json,
    Html,
};

// The format named "csv", "json" or "html"; nothing for any other name.
std::optional<TExportFormat> ExportFormatNamed(std::string_view name);

// Writes the export in format to out.
void WriteCatalogue(const TXMLOrlentaDataType& root, const TExportScope& scope,
                    TExportFormat format, std::ostream& out);

// Writes the export to the file at path through a new file renamed over it at the end: when
// anything fails, no half-written file stands at path. catalogueFile is the data file root was
// loaded from (empty for none): a path that names that very file, by any link, is refused before
// anything is written. Throws EOrlentaError.
void ExportToFile(const TXMLOrlentaDataType& root, const TExportScope& scope, TExportFormat format,
                  const std::string& path, const std::string& catalogueFile);

} // namespace orlenta
