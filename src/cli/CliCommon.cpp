#include "CliCommon.h"

#include "core/OrlentaError.h"
#include "core/catalogue/IndexProperties.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace orlenta::cli {

void PrintError(const std::string& text) {
    std::cerr << WithClosingFullStop(text) << '\n';
}

void TCliHost::SetBusy(const std::string&) {}

void TCliHost::FileChangedSet(bool) {}

void TCliHost::ShowMessage(TMessageKind kind, const std::string& text) {
    if (kind == TMessageKind::Error)
        PrintError(text);
    else
        std::cerr << text << '\n';
}

void OpenCatalogue(TCatalogueSession& session, const std::string& path) {
    if (!session.OpenDataFile(path))
        throw ECommandFailed();
}

void SaveCatalogue(TCatalogueSession& session, const std::string& path) {
    session.OrlentaFilename = path;
    session.SaveDataFile();
}

void SetGivenIndexProperties(const TXMLOrlentaDataType& root,
                             const std::optional<std::string>& title,
                             const std::optional<std::string>& memo) {
    const TIndexProperties shown = ReadIndexProperties(root);
    SetIndexProperties(root, title.value_or(shown.Title), memo.value_or(shown.Memo));
}

int RunCommandLine(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version requests arrive here too, with status 0.
        return app.exit(error) == 0 ? kExitSuccess : kExitUsage;
    } catch (const ECommandFailed&) {
        return kExitFailure;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return kExitFailure;
    }
    // A full disk or a closed pipe must not pass for a complete listing.
    std::cout.flush();
    errno = 0;
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError("Cannot write to standard output. " + SystemErrorText(errno != 0 ? errno : EIO));
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace orlenta::cli
