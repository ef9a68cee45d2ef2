#include "gui/mainwindow/DiscCommands.h"

#include "core/base/PathText.h"
#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/TreeCounts.h"
#include "core/reading/DiscReading.h"
#include "core/reading/DiscRescan.h"
#include "gui/UserPrompts.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/reading/RescanChangesForm.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAction>
#include <QFileInfo>
#include <QScopeGuard>

namespace orlenta {

TDiscCommands::TDiscCommands(ICommandHost& host, const std::vector<QIcon>& images,
                             TReadingDiscForm& progress)
    : TCommandGroup(host, images, "DiscCommands"), FProgress(progress) {
    AddCommand({"DiscAddAction", "Disc", QT_TRANSLATE_NOOP("Command", "&Add"), nullptr, 7},
               InMenu | InToolBar, [this] { DiscAddActionExecute(); });
    AddCommand({"DiscRemoveAction", "Disc", QT_TRANSLATE_NOOP("Command", "&Remove"), nullptr, 8},
               InMenu | InToolBar, [this] { DiscRemoveActionExecute(); });
    DiscRescanAction = AddCommand(
        {"DiscRescanAction", "Disc", QT_TRANSLATE_NOOP("Command", "Res&can"), nullptr, 14},
        InMenu | InToolBar | OwnBusyRule, [this] { DiscRescanActionExecute(); });
    DiscRescanAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    AddCommand(
        {"DiscInfoAction", "Disc", QT_TRANSLATE_NOOP("Command", "Edit &properties"), nullptr, 4},
        InMenu | InToolBar, [this] { DiscInfoActionExecute(); });
    DiscStopReadingAction = AddCommand({"DiscStopReadingAction", "Reading",
                                        QT_TRANSLATE_NOOP("Command", "&Stop reading"), nullptr, 6},
                                       OwnBusyRule, [this] { DiscStopReadingActionExecute(); });
    // The progress window's button shows the icon text, which drops the '&' unless set: without
    // it Alt+S would not press the button.
    DiscStopReadingAction->setIconText(DiscStopReadingAction->text());
    FProgress.BindStopReading(DiscStopReadingAction);
    CreateDiscReading();
}

TDiscCommands::~TDiscCommands() = default;

void TDiscCommands::SetBusy(bool busy) {
    TCommandGroup::SetBusy(busy);
    DiscStopReadingAction->setEnabled(busy);
    DiscRescanAction->setEnabled(!busy && FHost.Session().XMLDiscData());
}

void TDiscCommands::CreateDiscReading() {
    // The reader is recursive with the mask "*.*"; its directory events build the disc, its
    // ready event rebuilds the tree.
    FDiscReading = std::make_unique<TDiscReading>(FHost.Session());
    FProgress.FollowReading(*FDiscReading, FHost.Window(), [this] { FHost.ReadyHandler(); });
    FDiscReading->OnDiscPanelCleared = [this] { FHost.ClearDiscPanel(); };
}

void TDiscCommands::DiscAddActionExecute() {
    TAddDiscRequest request;
    {
        TAddTreeDialogForm dialog(&FHost.Window(), FHost.Prompts());
        const int result = dialog.exec();
        // The dialog's settings could not be kept; the disc is added all the same.
        if (dialog.SaveError())
            FHost.HandleException(dialog.SaveError());
        if (result != QDialog::Accepted)
            return;
        request = dialog.Request();
    }
    FDiscReading->SetRecordSizes(request.RecordSizes);
    FDiscReading->SetReadArchives(request.ReadArchives);
    FDiscReading->AddDisc(ToLocalPath(request.TreeRoot), request.IncludeFilenames,
                          request.Properties);
    const std::string unreadable = UnreadableDirectoriesText(
        *FDiscReading, "the disc holds only what could be listed of them");
    if (!unreadable.empty())
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Information,
                                FromLocalPath(unreadable), TMessageButtons::Ok);
}

void TDiscCommands::DiscStopReadingActionExecute() {
    if (FRunningRescan != nullptr)
        FRunningRescan->Stop();
    else
        FDiscReading->StopReading();
}

void TDiscCommands::DiscInfoActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLDiscData()) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain, tr("No disc selected."),
                                TMessageButtons::Ok);
        return;
    }
    TDiscDialogForm dialog(&FHost.Window(), ReadDiscProperties(session.XMLDiscData()),
                           DiscTotalSize(session.XMLDiscData()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    WriteDiscProperties(session.XMLDiscData(), dialog.Properties());
    FHost.ReadyHandler();
}

void TDiscCommands::DiscRemoveActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLDiscData()) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain, tr("No disc selected."),
                                TMessageButtons::Ok);
        return;
    }
    QString quotedTitle = ToQString(session.XMLDiscData().Title());
    quotedTitle.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString prompt = tr("Remove '%1' from Orlenta?").arg(quotedTitle);
    if (FHost.Prompts().Message(&FHost.Window(), TMessageKind::Confirmation, prompt,
                                TMessageButtons::YesNo) != TMessageAnswer::Yes)
        return;
    session.XMLIndexData().Discs().Remove(session.XMLDiscData());
    session.SelectDisc({});
    FHost.ReadyHandler();
}

namespace {

// Where the folder picker starts for a source that is gone: the nearest folder above it that is
// still there; anywhere for a disc without one.
QString NearestExistingFolder(const std::string& source) {
    if (source.empty())
        return {};
    QFileInfo folder(FromLocalPath(source));
    while (!folder.isDir() && !folder.isRoot() && folder.filePath() != folder.path())
        folder.setFile(folder.path());
    return folder.isDir() ? folder.filePath() : QString();
}

} // namespace

void TDiscCommands::DiscRescanActionExecute() {
    TCatalogueSession& session = FHost.Session();
    const IXMLDiscType disc = session.XMLDiscData();
    if (!disc)
        return;
    const QString title = ToQString(disc.Title());
    std::string source(disc.Source().value_or(""));
    const bool sourceFound = !source.empty() && IsExistingDirectory(source);
    if (!sourceFound) {
        const QString picked = FHost.Prompts().DirectoryName(
            &FHost.Window(), tr("Select the directory to read '%1' from").arg(title),
            NearestExistingFolder(source));
        if (picked.isEmpty())
            return;
        source = ToLocalPath(picked);
    }

    // A rescan of its own each time: what it read goes when it is done with.
    TDiscRescan rescan(session);
    FProgress.FollowReading(rescan.Reading(), FHost.Window(),
                            [&session] { session.Host().SetBusy(""); });
    bool read = false;
    {
        FRunningRescan = &rescan;
        const auto notRunning = qScopeGuard([this] { FRunningRescan = nullptr; });
        read = rescan.Read(disc, source);
    }
    // Stopped, or the directory went between the check and the reading (the host has said so).
    if (!read)
        return;

    const TTreeDifference& difference = rescan.Difference();
    if (difference.Empty()) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Information,
                                tr("Nothing changed: '%1' is up to date.").arg(title),
                                TMessageButtons::Ok);
        return;
    }
    const std::string warning = rescan.Warning() ? rescan.Warning()->Text : std::string();
    {
        TRescanChangesForm dialog(&FHost.Window(), title, source, difference, warning,
                                  rescan.UnreadableText());
        if (dialog.exec() != QDialog::Accepted)
            return;
    }
    if (!warning.empty() &&
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Confirmation,
                                tr("Apply the new reading of '%1' all the same? What the "
                                   "disc held is then gone from the catalogue.")
                                    .arg(title),
                                TMessageButtons::YesNo) != TMessageAnswer::Yes)
        return;
    rescan.Apply(disc);
    // The folder the user picked is where the disc is read from from now on.
    if (!sourceFound)
        disc.SetSource(AbsolutePath(source));
    FHost.ReadyHandler();
}

} // namespace orlenta
