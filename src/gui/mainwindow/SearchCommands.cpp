#include "gui/mainwindow/SearchCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/search/CatalogueSearch.h"
#include "gui/UserPrompts.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/SearchDialogForm.h"

#include <QAction>
#include <QDockWidget>

namespace orlenta {

TSearchCommands::TSearchCommands(ICommandHost& host, const std::vector<QIcon>& images,
                                 TFindAllPanel& panel, QDockWidget& dock)
    : TCommandGroup(host, images, "SearchCommands"), FFindAllPanel(panel), FFindAllDock(dock) {
    AddCommand({"SearchAction", "Disc", "&Search", QT_TRANSLATE_NOOP("Command", "S&earch"), 9},
               InMenu | InToolBar, [this] { SearchActionExecute(); });
    QAction* findAll =
        AddCommand({"FindAllAction", "Disc", QT_TRANSLATE_NOOP("Command", "&Find all"), nullptr, 9},
                   InMenu | InToolBar, [this] { FindAllActionExecute(); });
    findAll->setShortcut(QKeySequence::Find);
    connect(&FFindAllPanel, &TFindAllPanel::HitActivated, this,
            &TSearchCommands::FindAllHitHandler);
}

void TSearchCommands::SearchActionExecute() {
    TSearchDialogForm dialog(&FHost.Window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    FHost.CollapseTree();
    const bool done = SearchCatalogue(
        FHost.Session().XMLIndexData(), dialog.Request(),
        [this](const TSearchHit& hit) { return ShowSearchHit(hit.DirectoryID, hit.Disc); });
    if (done)
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Information, tr("Search done"),
                                TMessageButtons::Ok);
}

bool TSearchCommands::ShowSearchHit(std::string_view id, const IXMLDiscType& disc) {
    FHost.SelectSearchHit(id);
    const QString prompt =
        tr("Keyword found in disc %1\nContinue search?").arg(ToQString(disc.Title()));
    return FHost.Prompts().Message(&FHost.Window(), TMessageKind::Information, prompt,
                                   TMessageButtons::YesNo) == TMessageAnswer::Yes;
}

void TSearchCommands::FindAllActionExecute() {
    FFindAllDock.show();
    FFindAllPanel.FocusText();
}

void TSearchCommands::FindAllHitHandler(const TFindHit& hit) {
    SelectHitKeepingFocus(FFindAllPanel.DirectoryID(hit));
}

} // namespace orlenta
