#include "gui/mainwindow/DuplicatesCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/search/Overlap.h"
#include "gui/UserPrompts.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/search/DuplicatesPanel.h"
#include "gui/search/OverlapDialog.h"

#include <QDockWidget>
#include <chrono>

namespace orlenta {

TDuplicatesCommands::TDuplicatesCommands(ICommandHost& host, const std::vector<QIcon>& images)
    : TCommandGroup(host, images, "DuplicatesCommands") {
    AddCommand({"DuplicatesAction", "Disc", "D&uplicates", nullptr, -1}, InMenu,
               [this] { DuplicatesActionExecute(); });
    AddCommand({"OverlapAction", "Disc", "&Overlap", nullptr, -1}, InMenu,
               [this] { OverlapActionExecute(); });
    FPanel = new TDuplicatesPanel;
    FDock = new QDockWidget(QStringLiteral("Duplicates"), &host.Window());
    FDock->setObjectName(QStringLiteral("DuplicatesDock"));
    FDock->setAccessibleName(QStringLiteral("Duplicates"));
    FDock->setFeatures(QDockWidget::DockWidgetClosable);
    FDock->setWidget(FPanel);
    FDock->hide();
    connect(FPanel, &TDuplicatesPanel::CopyActivated, this, [this](const TDuplicateCopy& copy) {
        SelectHitKeepingFocus(FPanel->DirectoryID(copy));
    });
}

void TDuplicatesCommands::SetBusy(bool busy) {
    TCommandGroup::SetBusy(busy);
    FPanel->setEnabled(!busy);
}

void TDuplicatesCommands::CatalogueChanged() {
    FPanel->FollowCatalogue(FHost.Session().XMLIndexData);
}

void TDuplicatesCommands::DuplicatesActionExecute() {
    FDock->show();
    FPanel->setFocus();
}

void TDuplicatesCommands::OverlapActionExecute() {
    TCatalogueSession& session = FHost.Session();
    if (!session.XMLDiscData) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain,
                                QStringLiteral("No disc selected."), TMessageButtons::Ok);
        return;
    }
    // The disc's place among the discs, as orlenta-cli numbers them.
    const TXMLDiscsType discs = session.XMLIndexData.Discs();
    std::uint32_t disc = 0;
    while (static_cast<int>(disc) < discs.Count() &&
           discs.Disc(static_cast<int>(disc)).XmlNode() != session.XMLDiscData.XmlNode())
        ++disc;
    const auto start = std::chrono::steady_clock::now();
    const TNameIndex index(session.XMLIndexData);
    if (disc >= index.DiscCount())
        return;
    const TOverlap overlap = FindOverlap(index, disc);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    TOverlapDialog dialog(&FHost.Window(), index, overlap, ms);
    dialog.exec();
}

} // namespace orlenta
