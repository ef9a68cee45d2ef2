#pragma once

// The one shape of a command on a catalogue: FILE (and INDEX) on the command line, the data
// file's lock, the load, the command's own body and, for a writer that changed something, the
// save. A command adds only its options and its body.

#include "CliCommon.h"

#include <memory>
#include <string>

namespace orlenta::cli {

// What a command does to the catalogue FILE: a reader shares the data file's lock with other
// readers, a writer holds it alone from before the load to the end of the save.
enum class TCatalogueUse { Read, Write };

// How the catalogue a command works on comes about.
enum class TCatalogueStart {
    Load,      // FILE must hold a catalogue
    LoadOrNew, // a missing FILE starts a new catalogue, which the save creates
    New,       // a new catalogue, whatever FILE holds
    None,      // nothing is loaded: the body reads FILE itself
};

struct TCommandShape {
    const char* Name;
    const char* Description;
    const char* FileHelp;
    TCatalogueUse Use;
    TCatalogueStart Start = TCatalogueStart::Load;
    // INDEX follows FILE: the disc the command works on.
    bool OneDisc = false;
};

class TCatalogueCommand {
public:
    explicit TCatalogueCommand(const TCommandShape& shape) : FShape(shape) {}
    virtual ~TCatalogueCommand() = default;
    TCatalogueCommand(const TCatalogueCommand&) = delete;
    TCatalogueCommand& operator=(const TCatalogueCommand&) = delete;

    // Adds command's subcommand to app: FILE, INDEX for a command on one disc, then the
    // command's own arguments and options.
    static void Add(CLI::App& app, const std::shared_ptr<TCatalogueCommand>& command);

protected:
    // The command's own arguments and options, after FILE and INDEX.
    virtual void AddOptions(CLI::App& /*command*/) {}
    // The shape's use, unless an option makes a writer read only.
    virtual TCatalogueUse Use() const { return FShape.Use; }
    // The command's work on the open catalogue of session (none for TCatalogueStart::None).
    // True when it changed the catalogue and a writer is to save it.
    virtual bool Run(TCatalogueSession& session) = 0;

    const std::string& File() const { return FFile; }
    // The index of the disc INDEX names; only for a command on one disc, in Run.
    int Disc() const { return FDisc; }

private:
    void Execute();

    TCommandShape FShape;
    std::string FFile;
    std::string FIndex;
    int FDisc = -1;
};

// Adds a command of type TCommand to app.
template <typename TCommand> void AddCommand(CLI::App& app) {
    TCatalogueCommand::Add(app, std::make_shared<TCommand>());
}

} // namespace orlenta::cli
