#include "gui/mainwindow/InfoDialogForm.h"

#include "gui/WindowText.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orlenta {

TInfoDialogForm::TInfoDialogForm(QWidget* parent, const TIndexProperties& shown)
    : TOwnDialog(parent) {
    setObjectName(QStringLiteral("InfoDialogForm"));
    setWindowTitle(tr("Index properties"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* titleLabel = new QLabel(tr("Title"));
    titleLabel->setObjectName(QStringLiteral("TitleLabeledEditLabel"));
    TitleLabeledEdit = new QLineEdit;
    TitleLabeledEdit->setObjectName(QStringLiteral("TitleLabeledEdit"));
    titleLabel->setBuddy(TitleLabeledEdit);
    auto* memoLabel = new QLabel(tr("Memo"));
    memoLabel->setObjectName(QStringLiteral("MemoLabel"));
    Memo = new QPlainTextEdit;
    Memo->setObjectName(tr("Memo"));
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
