#include "gui/mainwindow/DiscDialogForm.h"

#include "gui/WidgetNames.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orlenta {

TDiscDialogForm::TDiscDialogForm(QWidget* parent, const TDiscProperties& shown,
                                 std::optional<std::uint64_t> totalSize)
    : TOwnDialog(parent) {
    Named(this, "DiscDialogForm");
    setWindowTitle(tr("Disc properties"));
    auto* groupBox = new QGroupBox;
    auto* groupLayout = new QVBoxLayout(groupBox);
    HostPanel = Named(new QWidget, "HostPanel");
    HostPanel->setMinimumSize(420, 300);
    groupLayout->addWidget(HostPanel);
    SetContent(groupBox, QStringLiteral("ButtonsPanel"));

    // The panel form has no owner: the dialog releases it.
    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(HostPanel);
    FDiscInfoDockingForm->SetEnableEdit(true);
    FDiscInfoDockingForm->SetSourceShown(true);
    FDiscInfoDockingForm->ShowProperties(shown);
    FDiscInfoDockingForm->SetTotalSize(totalSize);
    FDiscInfoDockingForm->FocusTitle();
}

TDiscDialogForm::~TDiscDialogForm() = default;

TDiscProperties TDiscDialogForm::Properties() const {
    return FDiscInfoDockingForm->Properties();
}

} // namespace orlenta
