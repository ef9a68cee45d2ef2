#include "gui/UserPrompts.h"

#include "core/base/OrlentaError.h"
#include "gui/CoreText.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace orlenta {

namespace {

QMessageBox::Icon IconOf(TMessageKind kind) {
    switch (kind) {
    case TMessageKind::Error: return QMessageBox::Critical;
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Confirmation: return QMessageBox::Question;
    case TMessageKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, TMessageKind kind,
                                              const QString& text, TMessageButtons buttons) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromUtf8(kApplicationTitle));
    box->setIcon(IconOf(kind));
    box->setText(text);
    box->setTextFormat(Qt::PlainText);
    switch (buttons) {
    case TMessageButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case TMessageButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
        break;
    case TMessageButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

TMessageAnswer TUserPrompts::Message(QWidget* parent, TMessageKind kind, const QString& text,
                                     TMessageButtons buttons) {
    std::unique_ptr<QMessageBox> box = CreateMessageBox(parent, kind, text, buttons);
    box->exec();
    // clickedButton() is the escape button after Escape or the close box.
    switch (box->standardButton(box->clickedButton())) {
    case QMessageBox::Yes: return TMessageAnswer::Yes;
    case QMessageBox::No: return TMessageAnswer::No;
    case QMessageBox::Ok: return TMessageAnswer::Ok;
    default: return buttons == TMessageButtons::Ok ? TMessageAnswer::Ok : TMessageAnswer::Cancel;
    }
}

QString TUserPrompts::FileName(QWidget* parent, const TFileDialogRequest& request) {
    QFileDialog dialog(parent, request.Title);
    dialog.setNameFilter(request.Filter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    // Neither dialog insists on an existing file: Open reports a missing one itself.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!request.ProposedName.isEmpty())
        dialog.selectFile(request.ProposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString TUserPrompts::DirectoryName(QWidget* parent, const QString& caption, const QString& start) {
    QFileDialog dialog(parent, caption, start);
    dialog.setFileMode(QFileDialog::Directory);
    // Picking a directory to read makes none: Qt's own dialog, whose new-folder button can be
    // taken away, read-only so that nothing can be renamed or deleted either.
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly |
                      QFileDialog::DontUseNativeDialog);
    if (auto* newFolderButton = dialog.findChild<QToolButton*>(QStringLiteral("newFolderButton")))
        newFolderButton->hide();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void ShowErrorBox(TUserPrompts& prompts, QWidget* parent, std::exception_ptr error) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = CoreText(e.what());
    } catch (...) {
        text = QCoreApplication::translate("UserPrompts", "Unknown error");
    }
    prompts.Message(parent, TMessageKind::Error, ErrorMessageText(text), TMessageButtons::Ok);
}

QString ErrorMessageText(const QString& text) {
    return QString::fromStdString(WithClosingFullStop(text.toStdString()));
}

} // namespace orlenta
