// orlenta-cli xml: the decompressed XML text of a data file.

#include "CatalogueCommand.h"
#include "core/base/OrlentaError.h"
#include "core/datafile/DataFile.h"
#include "core/datafile/RawDeflate.h"

#include <cerrno>
#include <cstdio>

namespace orlenta::cli {

namespace {

// A reader that loads nothing: it prints the inflated text byte for byte, also a text that is no
// catalogue at all, which a load would refuse; so it takes the readers' lock and inflates FILE
// itself.
class TXmlCommand final : public TCatalogueCommand {
public:
    TXmlCommand()
        : TCatalogueCommand({.Name = "xml",
                             .Description = "Write the decompressed XML text of the data file to "
                                            "standard output, byte for byte.",
                             .FileHelp = "Data file to read",
                             .Use = TCatalogueUse::Read,
                             .Start = TCatalogueStart::None}) {}

private:
    bool Run(TCatalogueSession&) override {
        const TFilePtr dataFile = OpenFileForReading(File());
        if (!InflateRaw(dataFile.get(), stdout)) {
            if (std::ferror(stdout))
                throw CannotWriteStandardOutputError(errno != 0 ? errno : EIO);
            PrintError(kErrorReadingDataFile);
            throw ECommandFailed();
        }
        return false;
    }
};

} // namespace

void RegisterXmlCommand(CLI::App& app) {
    AddCommand<TXmlCommand>(app);
}

} // namespace orlenta::cli
