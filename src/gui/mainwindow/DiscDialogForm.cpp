#include "gui/mainwindow/DiscDialogForm.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orlenta {

TDiscDialogForm::TDiscDialogForm(QWidget* parent) : TOwnDialog(parent) {
    setObjectName(QStringLiteral("DiscDialogForm"));
    setWindowTitle(QStringLiteral("Disc properties"));
    auto* groupBox = new QGroupBox;
    auto* groupLayout = new QVBoxLayout(groupBox);
    HostPanel = new QWidget;
    HostPanel->setObjectName(QStringLiteral("HostPanel"));
    HostPanel->setMinimumSize(420, 300);
    groupLayout->addWidget(HostPanel);
    SetContent(groupBox, QStringLiteral("ButtonsPanel"));

    // The panel form has no owner: the dialog releases it.
    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(HostPanel);
    FDiscInfoDockingForm->SetEnableEdit(true);
    FDiscInfoDockingForm->TitleLabeledEdit->setFocus();
}

TDiscDialogForm::~TDiscDialogForm() = default;

} // namespace orlenta
