// orlenta-cli: the catalogue operations of Orlenta for scripts and measurements, one subcommand
// per file.

#include "CliCommon.h"

int main(int argc, char** argv) {
    CLI::App app("Orlenta catalogues of CD and DVD discs, from the command line.", "orlenta-cli");
    app.require_subcommand(1);
    app.set_version_flag("--version", ORLENTA_VERSION);

    orlenta::cli::RegisterNewCommand(app);
    orlenta::cli::RegisterInfoCommand(app);
    orlenta::cli::RegisterDiscsCommand(app);
    orlenta::cli::RegisterTreeCommand(app);
    orlenta::cli::RegisterXmlCommand(app);
    orlenta::cli::RegisterSetCommand(app);
    orlenta::cli::RegisterAddCommand(app);
    orlenta::cli::RegisterRescanCommand(app);
    orlenta::cli::RegisterSearchCommand(app);
    orlenta::cli::RegisterDuplicatesCommand(app);
    orlenta::cli::RegisterOverlapCommand(app);
    orlenta::cli::RegisterExportCommand(app);
    orlenta::cli::RegisterImportCommand(app);

    return orlenta::cli::RunCommandLine(app, argc, argv);
}
