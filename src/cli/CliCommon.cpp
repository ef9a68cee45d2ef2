#include "CliCommon.h"

#include "TerminalText.h"
#include "core/base/OrlentaError.h"
#include "core/base/UtcTime.h"
#include "core/catalogue/IndexProperties.h"
#include "core/catalogue/SizeAndDate.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace orlenta::cli {

namespace {

// The first argument when it is meant as a command (not an option) that app does not have.
const char* UnknownCommand(CLI::App& app, int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-')
        return nullptr;
    for (const CLI::App* command : app.get_subcommands({})) {
        if (command->check_name(argv[1]))
            return nullptr;
    }
    return argv[1];
}

} // namespace

void PrintError(const std::string& text) {
    std::cerr << ForStderr(WithClosingFullStop(text)) << '\n';
}

std::string RecordedSizeText(std::optional<std::uint64_t> size) {
    return size ? std::to_string(*size) : std::string();
}

std::string RecordedModifiedText(std::optional<std::int64_t> modified) {
    // Only a valid moment is printed, in the one form that holds no byte a terminal could
    // misread; formatting what was parsed gives back the stored text.
    char text[kUtcTimeLength];
    if (!modified || !FormatUtcTime(*modified, text))
        return {};
    return std::string(text, kUtcTimeLength);
}

void TCliHost::SetBusy(const std::string&) {}

void TCliHost::FileChangedSet(bool) {}

void TCliHost::ShowMessage(TMessageKind kind, const std::string& text) {
    if (kind == TMessageKind::Error)
        PrintError(text);
    else
        std::cerr << ForStderr(text) << '\n';
}

void TCliHost::ShowWaiting(const std::string& statusText) {
    // In a script the wait is no news; on a terminal it explains the pause.
    if (!statusText.empty() && StderrIsTerminal())
        std::cerr << statusText << '\n';
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
        // CLI11 would only say that a command is required.
        if (const char* unknown = UnknownCommand(app, argc, argv)) {
            PrintError(UnknownCommandText(unknown));
            return kExitUsage;
        }
        // Help and version requests arrive here too, with status 0.
        return app.exit(error) == 0 ? kExitSuccess : kExitUsage;
    } catch (const ECommandFailed&) {
        return kExitFailure;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return kExitFailure;
    }
    // A full disk or a closed pipe must not pass for a complete listing. A write that failed
    // during the command left its reason in errno (nothing after the output makes a call that
    // fails); otherwise the last flush gives it.
    if (std::cout && !std::ferror(stdout))
        errno = 0;
    std::cout.flush();
    std::fflush(stdout);
    if (!std::cout || std::ferror(stdout)) {
        PrintError(CannotWriteStandardOutputError(errno != 0 ? errno : EIO).what());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace orlenta::cli
