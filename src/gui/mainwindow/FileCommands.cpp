#include "gui/mainwindow/FileCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/catalogue/IndexProperties.h"
#include "gui/UserPrompts.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/mainwindow/InfoDialogForm.h"

#include <QAction>
#include <QWidget>

namespace orlenta {

namespace {

const char* const kDataFileFilter =
    QT_TRANSLATE_NOOP("orlenta::TFileCommands", "Orlenta datafiles (*.olx *.OLX)");
const char* const kDataFileExtension = "olx";

} // namespace

TFileCommands::TFileCommands(ICommandHost& host, const std::vector<QIcon>& images)
    : TCommandGroup(host, images, "FileCommands") {
    AddCommand({"FileNewAction", "File", QT_TRANSLATE_NOOP("Command", "&New"), nullptr, -1}, InMenu,
               [this] { FileNewActionExecute(); });
    AddCommand({"FileOpenAction", "File", QT_TRANSLATE_NOOP("Command", "&Open"), nullptr, 2},
               InMenu | InToolBar, [this] { FileOpenActionExecute(); });
    FileSaveAction =
        AddCommand({"FileSaveAction", "File", QT_TRANSLATE_NOOP("Command", "&Save"), nullptr, 13},
                   InMenu | InToolBar | OwnBusyRule, [this] { FileSaveActionExecute(); });
    AddCommand(
        {"FileSaveAsAction", "File", "Save As", QT_TRANSLATE_NOOP("Command", "S&ave As"), -1},
        InMenu, [this] { FileSaveAsActionExecute(); });
    AddCommand({"FileInfoAction", "File", QT_TRANSLATE_NOOP("Command", "&Properties"), nullptr, 4},
               InMenu, [this] { FileInfoActionExecute(); });
    AddCommand({"FileExitAction", "File", QT_TRANSLATE_NOOP("Command", "E&xit"), nullptr, -1},
               InMenu, [this] { FileExitActionExecute(); });
}

void TFileCommands::SetBusy(bool busy) {
    TCommandGroup::SetBusy(busy);
    FileSaveAction->setEnabled(!busy && FHost.Session().FileChanged());
}

void TFileCommands::FileChangedSet(bool changed) {
    FileSaveAction->setEnabled(changed);
}

bool TFileCommands::ConfirmSave() {
    if (!FHost.Session().FileChanged())
        return true;
    switch (FHost.Prompts().Message(
        &FHost.Window(), TMessageKind::Confirmation,
        tr("Orlenta datafile has changed.\nDo you want to save this file first?"),
        TMessageButtons::YesNoCancel)) {
    case TMessageAnswer::Yes:
        FileSaveActionExecute();
        // A cancelled Save As leaves the changes unsaved: going on would lose what the user
        // just asked to keep.
        return !FHost.Session().FileChanged();
    case TMessageAnswer::No: return true;
    default: return false;
    }
}

void TFileCommands::FileNewActionExecute() {
    if (!ConfirmSave())
        return;
    FHost.NewCatalogue();
    FileInfoActionExecute();
}

void TFileCommands::FileOpenActionExecute() {
    if (!ConfirmSave())
        return;
    TFileDialogRequest request;
    request.Title = tr("Open Orlenta datafile");
    request.Filter = tr(kDataFileFilter);
    request.DefaultSuffix = QString::fromLatin1(kDataFileExtension);
    const QString path = FHost.Prompts().FileName(&FHost.Window(), request);
    if (path.isEmpty())
        return;
    FHost.OpenDataFile(ToLocalPath(path));
}

void TFileCommands::FileSaveActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.OrlentaFilename().empty())
        session.SaveDataFile();
    else
        FileSaveAsActionExecute();
}

void TFileCommands::FileSaveAsActionExecute() {
    TCatalogueSession& session = FHost.Session();
    TFileDialogRequest request;
    request.Save = true;
    request.Title = tr("Save Orlenta datafile");
    request.Filter = tr(kDataFileFilter);
    request.DefaultSuffix = QString::fromLatin1(kDataFileExtension);
    request.ProposedName = ToQString(session.XMLIndexData().Title()) + QStringLiteral(".olx");
    const QString path = FHost.Prompts().FileName(&FHost.Window(), request);
    if (path.isEmpty())
        return;
    session.SaveDataFileAs(ToLocalPath(path));
}

void TFileCommands::FileInfoActionExecute() {
    TCatalogueSession& session = FHost.Session();
    TInfoDialogForm dialog(&FHost.Window(), ReadIndexProperties(session.XMLIndexData()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TIndexProperties values = dialog.Values();
    SetIndexProperties(session.XMLIndexData(), values.Title, values.Memo);
    FHost.SetCaptionFromTitle();
    session.SetFileChanged(true);
}

void TFileCommands::FileExitActionExecute() {
    FHost.Window().close();
}

} // namespace orlenta
