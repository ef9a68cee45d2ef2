#pragma once

// Shared by the commands of orlenta-cli: the terminal's side of the catalogue operations and how
// errors end a command.

#include "core/catalogue/CatalogueSession.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace orlenta::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Writes an error to stderr as the program shows every error: its text, with a full stop
// appended when the last character is above the full stop in code order; control characters
// escaped on a terminal.
void PrintError(const std::string& text);

// The catalogue operations' front end on a terminal: messages go to stderr, and so does a wait
// for another process when stderr is a terminal; there is no busy mode to show and no Save
// command to enable.
class TCliHost : public ICatalogueHost {
public:
    void SetBusy(const std::string& statusText) override;
    void FileChangedSet(bool changed) override;
    void ShowMessage(TMessageKind kind, const std::string& text) override;
    void ShowWaiting(const std::string& statusText) override;
};

// Ends a command whose failure has already been shown to the user; the exit status is 1.
class ECommandFailed : public std::exception {
public:
    const char* what() const noexcept override { return "command failed"; }
};

// Stores the catalogue's title and memo as the Index properties dialog does on OK; a value not
// given keeps what is stored (the memo decoded first, as the dialog shows it).
void SetGivenIndexProperties(const TXMLOrlentaDataType& root,
                             const std::optional<std::string>& title,
                             const std::optional<std::string>& memo);

// A recorded Size in decimal, or a recorded Modified in the stored form; empty when not recorded
// or not valid. The --long listings print these.
std::string RecordedSizeText(std::optional<std::uint64_t> size);
std::string RecordedModifiedText(std::optional<std::int64_t> modified);

// Parses the arguments and runs the chosen command; returns the exit status: 0 on success,
// 1 after an error, 2 for a usage error.
int RunCommandLine(CLI::App& app, int argc, char** argv);

// One per command; each adds its subcommand to app.
void RegisterNewCommand(CLI::App& app);
void RegisterInfoCommand(CLI::App& app);
void RegisterDiscsCommand(CLI::App& app);
void RegisterTreeCommand(CLI::App& app);
void RegisterXmlCommand(CLI::App& app);
void RegisterSetCommand(CLI::App& app);
void RegisterAddCommand(CLI::App& app);
void RegisterSearchCommand(CLI::App& app);
void RegisterRescanCommand(CLI::App& app);
void RegisterDuplicatesCommand(CLI::App& app);
void RegisterOverlapCommand(CLI::App& app);
void RegisterExportCommand(CLI::App& app);
void RegisterImportCommand(CLI::App& app);

} // namespace orlenta::cli
