// orlenta-cli xml: the decompressed XML text of a data file.

#include "CliCommon.h"
#include "core/base/OrlentaError.h"
#include "core/datafile/DataFile.h"
#include "core/datafile/RawDeflate.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace orlenta::cli {

namespace {

void RunXml(const std::string& file) {
    const TFilePtr dataFile = OpenFileForReading(file);
    if (!InflateRaw(dataFile.get(), stdout)) {
        if (std::ferror(stdout))
            throw CannotWriteStandardOutputError(errno != 0 ? errno : EIO);
        PrintError(kErrorReadingDataFile);
        throw ECommandFailed();
    }
}

} // namespace

void RegisterXmlCommand(CLI::App& app) {
    auto file = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("xml", "Write the decompressed XML text of the data file to standard "
                                  "output, byte for byte.");
    command->add_option("FILE", *file, "Data file to read")->required();
    command->callback([file] { RunXml(*file); });
}

} // namespace orlenta::cli
