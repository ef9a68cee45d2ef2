#include "gui/mainwindow/InfoDialogForm.h"

#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orlenta {

TInfoDialogForm::TInfoDialogForm(QWidget* parent, const TIndexProperties& shown)
    : TOwnDialog(parent) {
    Named(this, "InfoDialogForm");
    setWindowTitle(tr("Index properties"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* titleLabel = Named(new QLabel(tr("Title")), "TitleLabeledEditLabel");
    TitleLabeledEdit = Named(new QLineEdit, "TitleLabeledEdit");
    titleLabel->setBuddy(TitleLabeledEdit);
    auto* memoLabel = Named(new QLabel(tr("Memo")), "MemoLabel");
    Memo = Named(new QPlainTextEdit, "Memo");
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setTabChangesFocus(true);
    Memo->setMinimumSize(360, 160);
    memoLabel->setBuddy(Memo);
    layout->addWidget(titleLabel);
    layout->addWidget(TitleLabeledEdit);
    layout->addWidget(memoLabel);
    layout->addWidget(Memo);
    SetContent(content, QString());
    TitleLabeledEdit->setText(ToQString(shown.Title));
    SetMemoBoxText(*Memo, shown.Memo);
    TitleLabeledEdit->setFocus();
}

TIndexProperties TInfoDialogForm::Values() const {
    return {ToStdString(TitleLabeledEdit->text()), MemoBoxText(*Memo)};
}

} // namespace orlenta
