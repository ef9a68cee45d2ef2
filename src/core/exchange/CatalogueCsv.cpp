#include "core/exchange/CatalogueExport.h"
#include "core/exchange/CsvText.h"
#include "core/exchange/ExportWalk.h"
#include "core/exchange/TextSink.h"

namespace orlenta {

namespace {

// Writes the rows of one disc. The leading columns are the same on every row of the disc, so
// they are quoted once.
void WriteDiscRows(const TXMLDiscType& disc, int index, bool forSpreadsheets, TTextSink& sink) {
    const auto append = forSpreadsheets ? &AppendSpreadsheetCsvField : &AppendCsvField;
    std::string lead = std::to_string(index);
    lead.push_back(',');
    append(lead, disc.XmlNode().attribute(kTitleAttribute).value());
    lead.push_back(',');
    std::string filePath;
    const auto row = [&](std::string_view kind, std::string_view path, std::string_view name,
                         pugi::xml_node element, std::string_view archive) {
        std::string& text = sink.Text();
        text.append(lead);
        text.append(kind);
        text.push_back(',');
        append(text, path);
        text.push_back(',');
        append(text, name);
        text.push_back(',');
        append(text, element.attribute(kSizeAttribute).value());
        text.push_back(',');
        append(text, element.attribute(kModifiedAttribute).value());
        text.push_back(',');
        append(text, archive);
        text.append("\r\n");
        sink.Written();
    };
    const pugi::xml_node top =
        ElementFrom(disc.XmlNode().first_child(), TXMLDirectoryType::kRootTag);
    if (!top) {
        row("directory", {}, {}, top, {});
        return;
    }
    const TXMLDirectoryType root(top, disc.OwnerDocument(), TXMLBinding::Directory);
    WalkExportDirectories(root, [&](const TExportDirectory& directory) {
        row("directory", directory.Path, directory.Name, directory.Node, directory.Archive);
        ForEachFilenameElement(directory.Node, [&](pugi::xml_node file) {
            const std::string_view name = file.attribute(kTextAttribute).value();
            filePath.assign(directory.Path);
            if (!filePath.empty())
                filePath.push_back('/');
            filePath.append(name);
            row("file", filePath, name, file, directory.Archive);
        });
    });
}

} // namespace

void WriteCatalogueCsv(const TXMLOrlentaDataType& root, const TExportScope& scope,
                       std::ostream& out) {
    TTextSink sink(out);
    sink.Append(kCsvHeader);
    for (const auto& [index, disc] : ExportedDiscs(root, scope.Disc))
        WriteDiscRows(TXMLDiscType(disc, root.OwnerDocument(), TXMLBinding::Disc), index,
                      scope.ForSpreadsheets, sink);
    sink.Flush();
}

} // namespace orlenta
