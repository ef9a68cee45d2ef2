#include "gui/mainwindow/CommandGroup.h"

#include "core/catalogue/CatalogueSession.h"
#include "gui/WidgetNames.h"
#include "gui/mainwindow/CommandHost.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace orlenta {

QAction* CreateCommandAction(QObject& parent, const TCommandLook& look,
                             const std::vector<QIcon>& images) {
    auto* action = Named(new QAction(&parent), look.Name);
    action->setProperty("category", QString::fromLatin1(look.Category));
    action->setProperty("caption", QString::fromLatin1(look.Caption));
    // What menu and tool bar show, in the user's language; a few commands move their access key
    // there. The caption property keeps the untranslated look.
    action->setText(QCoreApplication::translate(
        kCommandContext, look.ShownCaption != nullptr ? look.ShownCaption : look.Caption));
    if (look.ImageIndex >= 0) {
        action->setIcon(images[static_cast<size_t>(look.ImageIndex)]);
        action->setProperty("imageIndex", look.ImageIndex);
    }
    action->setEnabled(false);
    return action;
}

TCommandGroup::TCommandGroup(ICommandHost& host, const std::vector<QIcon>& images,
                             const char* objectName)
    : QObject(&host.Window()), FHost(host), FImages(images) {
    Named(this, objectName);
}

QAction* TCommandGroup::AddCommand(const TCommandLook& look, int options,
                                   std::function<void()> run) {
    // The window stays the actions' parent, as for every other part of it.
    QAction* action = CreateCommandAction(FHost.Window(), look, FImages);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        try {
            run();
        } catch (...) {
            FHost.HandleException(std::current_exception());
        }
    });
    if ((options & OwnBusyRule) == 0)
        FIdleActions.append(action);
    if ((options & InMenu) != 0)
        FMenuActions.append(action);
    if ((options & InToolBar) != 0)
        FToolBarActions.append(action);
    return action;
}

void TCommandGroup::SelectHitKeepingFocus(std::string_view id) {
    // The click's busy mode disables the list for a moment, which sends the focus out of it;
    // whoever goes through the hits one by one wants it back where it was.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    try {
        FHost.SelectSearchHit(id);
    } catch (...) {
        FHost.HandleException(std::current_exception());
    }
    if (focus)
        focus->setFocus();
}

void TCommandGroup::SetBusy(bool busy) {
    for (QAction* action : FIdleActions)
        action->setEnabled(!busy);
}

int TCommandGroup::SelectedDiscIndex() const {
    const TCatalogueSession& session = FHost.Session();
    if (!session.XMLIndexData() || !session.XMLDiscData())
        return -1;
    const TXMLDiscsType discs = session.XMLIndexData().Discs();
    for (int i = 0; i < discs.Count(); ++i) {
        if (discs.Disc(i) == session.XMLDiscData())
            return i;
    }
    return -1;
}

} // namespace orlenta
