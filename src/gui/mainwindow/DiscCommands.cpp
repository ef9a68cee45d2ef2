#include "gui/mainwindow/DiscCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/reading/DiscReading.h"
#include "gui/UserPrompts.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAction>

namespace orlenta {

TDiscCommands::TDiscCommands(ICommandHost& host, const std::vector<QIcon>& images,
                             TReadingDiscForm& progress)
    : TCommandGroup(host, images, "DiscCommands"), FProgress(progress) {
    AddCommand({"DiscAddAction", "Disc", "&Add", nullptr, 7}, InMenu | InToolBar,
               [this] { DiscAddActionExecute(); });
    AddCommand({"DiscRemoveAction", "Disc", "&Remove", nullptr, 8}, InMenu | InToolBar,
               [this] { DiscRemoveActionExecute(); });
    AddCommand({"DiscInfoAction", "Disc", "Edit &properties", nullptr, 4}, InMenu | InToolBar,
               [this] { DiscInfoActionExecute(); });
    DiscStopReadingAction =
        AddCommand({"DiscStopReadingAction", "Reading", "&Stop reading", nullptr, 6}, OwnBusyRule,
                   [this] { DiscStopReadingActionExecute(); });
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
}

void TDiscCommands::CreateDiscReading() {
    // The reader is recursive with the mask "*.*"; its directory events build the disc, its
    // ready event rebuilds the tree.
    FDiscReading = std::make_unique<TDiscReading>(FHost.Session());
    FDiscReading->OnReadingStarts = [this](const IXMLDiscType& disc) {
        FProgress.SetDiscTitle(ToQString(disc.Title()));
        FProgress.SetCurrentDirectory(QString());
        FProgress.SetArchivesNotWhole(0);
        FProgress.ShowCentred();
        // Only the progress window's Stop reading takes input while the walk runs.
        FHost.Window().setEnabled(false);
        FProgress.setEnabled(true);
    };
    FDiscReading->OnDirectoryFound = [this](std::string_view directory) {
        FProgress.NoteDirectory(directory);
    };
    FDiscReading->OnArchiveFound = [this](std::string_view path) { FProgress.NoteDirectory(path); };
    FDiscReading->OnReadingNotStarted = [this] {
        FProgress.hide();
        FHost.Window().setEnabled(true);
    };
    FDiscReading->OnReady = [this] {
        FProgress.ShowNotedDirectory();
        FHost.ReadyHandler();
    };
    FDiscReading->OnDiscPanelCleared = [this] { FHost.ClearDiscPanel(); };
    FDiscReading->DirReader().SetOnProcessEvents([this](TDirReader&) {
        FProgress.SetArchivesNotWhole(FDiscReading->ArchivesNotWhole());
        FProgress.LetEventsRunWhenDue();
    });
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
}

void TDiscCommands::DiscStopReadingActionExecute() {
    FDiscReading->StopReading();
}

void TDiscCommands::DiscInfoActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLDiscData) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain,
                                QStringLiteral("No disc selected."), TMessageButtons::Ok);
        return;
    }
    TDiscDialogForm dialog(&FHost.Window(), ReadDiscProperties(session.XMLDiscData),
                           DiscTotalSize(session.XMLDiscData));
    if (dialog.exec() != QDialog::Accepted)
        return;
    WriteDiscProperties(session.XMLDiscData, dialog.Properties());
    FHost.ReadyHandler();
}

void TDiscCommands::DiscRemoveActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLDiscData) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain,
                                QStringLiteral("No disc selected."), TMessageButtons::Ok);
        return;
    }
    QString quotedTitle = ToQString(session.XMLDiscData.Title());
    quotedTitle.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString prompt =
        QStringLiteral("Remove '") + quotedTitle + QStringLiteral("' from Orlenta?");
    if (FHost.Prompts().Message(&FHost.Window(), TMessageKind::Confirmation, prompt,
                                TMessageButtons::YesNo) != TMessageAnswer::Yes)
        return;
    session.XMLIndexData.Discs().Remove(session.XMLDiscData);
    session.XMLDiscData = {};
    FHost.ReadyHandler();
}

} // namespace orlenta
