#include "CatalogueCommand.h"

#include "core/base/DecimalText.h"

#include <filesystem>
#include <optional>

namespace orlenta::cli {

namespace {

// Makes the data file at path the open catalogue of session. Throws what LoadDataFile throws,
// and ECommandFailed when it has shown that the file holds no valid DEFLATE data.
void OpenCatalogue(TCatalogueSession& session, const std::string& path) {
    if (!session.OpenDataFile(path))
        throw ECommandFailed();
}

void StartCatalogue(TCatalogueSession& session, TCatalogueStart start, const std::string& path) {
    std::error_code ignored;
    switch (start) {
    case TCatalogueStart::Load: OpenCatalogue(session, path); return;
    case TCatalogueStart::LoadOrNew:
        if (std::filesystem::exists(path, ignored))
            OpenCatalogue(session, path);
        else
            session.NewCatalogue();
        return;
    case TCatalogueStart::New: session.NewCatalogue(); return;
    case TCatalogueStart::None: return;
    }
}

// The disc index given as text on the command line, for a catalogue of discCount discs in file;
// when there is no such disc, shows why and throws ECommandFailed. The text stays text until
// here: only the loaded catalogue says how many discs there are, and the message repeats what
// was typed.
int DiscIndexArgument(const std::string& text, int discCount, const std::string& file) {
    const std::optional<long long> index = ParseDecimal(text);
    if (!index || *index < 0 || *index >= discCount) {
        PrintError("There is no disc " + text + " in \"" + file + "\"; it holds " +
                   std::to_string(discCount) + ".");
        throw ECommandFailed();
    }
    return static_cast<int>(*index);
}

} // namespace

void TCatalogueCommand::Add(CLI::App& app, const std::shared_ptr<TCatalogueCommand>& command) {
    const TCommandShape& shape = command->FShape;
    CLI::App* subcommand = app.add_subcommand(shape.Name, shape.Description);
    subcommand->add_option("FILE", command->FFile, shape.FileHelp)->required();
    if (shape.OneDisc)
        // Kept as typed until the catalogue is loaded (see DiscIndexArgument), but a number.
        subcommand->add_option("INDEX", command->FIndex, "The disc's index, as discs prints it")
            ->required()
            ->type_name("INT");
    command->AddOptions(*subcommand);
    subcommand->callback([command] { command->Execute(); });
}

void TCatalogueCommand::Execute() {
    TCliHost host;
    TCatalogueSession session(host);
    const bool writes = Use() == TCatalogueUse::Write;
    // From before the look whether the file exists to the end of the save, so that no other
    // writer comes between; readers only keep writers out while they read.
    THeldDataFileLock lock(session, FFile, writes ? TLockPurpose::Writing : TLockPurpose::Reading);
    StartCatalogue(session, FShape.Start, FFile);
    if (FShape.OneDisc)
        FDisc = DiscIndexArgument(FIndex, session.XMLIndexData().Discs().Count(), FFile);
    if (Run(session) && writes)
        session.SaveDataFileAs(FFile);
}

} // namespace orlenta::cli
