#include "core/exchange/ExportFile.h"

#include "core/base/OrlentaError.h"
#include "core/datafile/AtomicFile.h"

#include <streambuf>
#include <sys/stat.h>

namespace orlenta {

namespace {

// A stream buffer that hands every write to a byte sink; the exports buffer for themselves.
class TByteSinkBuffer : public std::streambuf {
public:
    explicit TByteSinkBuffer(TByteSink& sink) : FSink(sink) {}

protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override {
        FSink.Write(data, static_cast<std::size_t>(count));
        return count;
    }
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char byte = traits_type::to_char_type(c);
            FSink.Write(&byte, 1);
        }
        return traits_type::not_eof(c);
    }

private:
    TByteSink& FSink;
};

} // namespace

std::optional<TExportFormat> ExportFormatNamed(std::string_view name) {
    if (name == "csv")
        return TExportFormat::Csv;
    if (name == "json")
        return TExportFormat::Json;
    if (name == "html")
        return TExportFormat::Html;
    return std::nullopt;
}

void WriteCatalogue(const TXMLOrlentaDataType& root, const TExportScope& scope,
                    TExportFormat format, std::ostream& out) {
    switch (format) {
    case TExportFormat::Csv: WriteCatalogueCsv(root, scope, out); break;
    case TExportFormat::Json: WriteCatalogueJson(root, scope, out); break;
    case TExportFormat::Html: WriteCatalogueHtml(root, scope, out); break;
    }
}

void ExportToFile(const TXMLOrlentaDataType& root, const TExportScope& scope, TExportFormat format,
                  const std::string& path, const std::string& catalogueFile) {
    // The same file by device and inode, reached through a symbolic link or a hard link too.
    struct stat output {};
    struct stat catalogue {};
    if (!catalogueFile.empty() && stat(path.c_str(), &output) == 0 &&
        stat(catalogueFile.c_str(), &catalogue) == 0 && output.st_dev == catalogue.st_dev &&
        output.st_ino == catalogue.st_ino)
        throw ExportOverCatalogueError(path);
    TAtomicFile file(path);
    TByteSinkBuffer buffer(file);
    std::ostream out(&buffer);
    // The file's own error (a full disk, with the file's name) reaches the caller as it is.
    out.exceptions(std::ios::badbit);
    WriteCatalogue(root, scope, format, out);
    file.Commit();
}

} // namespace orlenta
