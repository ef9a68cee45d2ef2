// orlenta-cli xml: the decompressed XML text of a data file.

#include "CliCommon.h"
#include "core/OrlentaError.h"
#include "core/catalogue/RawDeflate.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace orlenta::cli {

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void RunXml(const std::string& file) {
    std::unique_ptr<std::FILE, TFileCloser> dataFile(std::fopen(file.c_str(), "rb"));
    if (!dataFile)
        throw CannotOpenFileError(file, errno);
    // fopen opens a directory for reading; only the first read would fail.
    struct stat info {};
    if (fstat(fileno(dataFile.get()), &info) == 0 && S_ISDIR(info.st_mode))
        throw CannotOpenFileError(file, EISDIR);
    if (!InflateRaw(dataFile.get(), stdout)) {
        if (std::ferror(stdout))
            return; // reported as a failed write to standard output
        PrintError("Error reading Orlenta datafile.");
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
