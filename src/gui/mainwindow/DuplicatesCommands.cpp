#include "gui/mainwindow/DuplicatesCommands.h"

#include "core/catalogue/CatalogueSession.h"
#include "core/search/Overlap.h"
#include "gui/UserPrompts.h"
#include "gui/WidgetNames.h"
#include "gui/mainwindow/CommandHost.h"
#include "gui/search/DuplicatesPanel.h"
#include "gui/search/OverlapDialog.h"
#include "gui/search/SharedNameIndex.h"

#include <QDockWidget>
#include <chrono>

namespace orlenta {

TDuplicatesCommands::TDuplicatesCommands(ICommandHost& host, const std::vector<QIcon>& images,
                                         std::shared_ptr<TSharedNameIndex> names)
    : TCommandGroup(host, images, "DuplicatesCommands"), FNames(std::move(names)) {
    AddCommand(
        {"DuplicatesAction", "Disc", QT_TRANSLATE_NOOP("Command", "D&uplicates"), nullptr, -1},
        InMenu, [this] { DuplicatesActionExecute(); });
    AddCommand({"OverlapAction", "Disc", QT_TRANSLATE_NOOP("Command", "&Overlap"), nullptr, -1},
               InMenu, [this] { OverlapActionExecute(); });
    FPanel = new TDuplicatesPanel(FNames);
    FDock = Named(new QDockWidget(tr("Duplicates"), &host.Window()), "DuplicatesDock");
    FDock->setAccessibleName(tr("Duplicates"));
    FDock->setFeatures(QDockWidget::DockWidgetClosable);
    FDock->setWidget(FPanel);
    FDock->hide();
    connect(FPanel, &TDuplicatesPanel::CopyActivated, this, [this](const TDuplicateCopy& copy) {
        SelectHitKeepingFocus(FPanel->DirectoryID(copy));
    });
    connect(FNames.get(), &TSharedNameIndex::Ready, this, &TDuplicatesCommands::CountOverlap);
}

TDuplicatesCommands::~TDuplicatesCommands() {
    if (FOverlapWorker.joinable())
        FOverlapWorker.join();
}

void TDuplicatesCommands::SetBusy(bool busy) {
    TCommandGroup::SetBusy(busy);
    FPanel->setEnabled(!busy);
}

void TDuplicatesCommands::CatalogueChanged() {
    // An overlap asked for before counts discs that may be gone.
    ++FOverlapAsk;
    FOverlapWanted = false;
    FPanel->FollowCatalogue(FHost.Session().XMLIndexData());
}

void TDuplicatesCommands::DuplicatesActionExecute() {
    FDock->show();
    FPanel->setFocus();
}

void TDuplicatesCommands::OverlapActionExecute() {
    const int disc = SelectedDiscIndex();
    if (disc < 0) {
        FHost.Prompts().Message(&FHost.Window(), TMessageKind::Plain, tr("No disc selected."),
                                TMessageButtons::Ok);
        return;
    }
    FOverlapDisc = static_cast<std::uint32_t>(disc);
    FOverlapAskedAt = std::chrono::steady_clock::now();
    ++FOverlapAsk;
    FOverlapWanted = true;
    CountOverlap();
}

void TDuplicatesCommands::CountOverlap() {
    if (!FOverlapWanted || FOverlapWorker.joinable())
        return;
    const std::shared_ptr<const TNameIndex> index = FNames->Request();
    if (!index)
        return; // Ready comes back here
    FOverlapWanted = false;
    if (FOverlapDisc >= index->DiscCount())
        return;
    FOverlapWorker =
        std::thread([this, index, disc = FOverlapDisc, start = FOverlapAskedAt, ask = FOverlapAsk] {
            const TOverlap overlap = FindOverlap(*index, disc);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            // The commands wait for this thread before they go, so they are still there.
            QMetaObject::invokeMethod(
                this, [this, index, overlap, ms, ask] { ShowOverlap(index, overlap, ms, ask); },
                Qt::QueuedConnection);
        });
}

void TDuplicatesCommands::ShowOverlap(const std::shared_ptr<const TNameIndex>& index,
                                      const TOverlap& overlap, double milliseconds, unsigned ask) {
    FOverlapWorker.join();
    if (ask == FOverlapAsk) {
        TOverlapDialog dialog(&FHost.Window(), *index, overlap, milliseconds);
        dialog.exec();
    }
    // Asked again meanwhile.
    CountOverlap();
}

} // namespace orlenta
