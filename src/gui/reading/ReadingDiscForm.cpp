#include "gui/reading/ReadingDiscForm.h"

#include "core/reading/DiscReading.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace orlenta {

namespace {

constexpr int kWindowWidth = 460;

} // namespace

TReadingDiscForm::TReadingDiscForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    Named(this, "ReadingDiscForm");
    FSinceEvents.start();
    setWindowTitle(tr("Reading disc information..."));
    setModal(false);

    LabelPanel = Named(new QWidget, "LabelPanel");
    auto* labels = new QVBoxLayout(LabelPanel);
    DiscTitleLabel = Named(new QLabel, "DiscTitleLabel");
    QFont bold = DiscTitleLabel->font();
    bold.setBold(true);
    DiscTitleLabel->setFont(bold);
    QPalette navy = DiscTitleLabel->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    DiscTitleLabel->setPalette(navy);
    DiscTitleLabel->setTextFormat(Qt::PlainText);
    CurrentDirectoryLabel = Named(new QLabel, "CurrentDirectoryLabel");
    CurrentDirectoryLabel->setTextFormat(Qt::PlainText);
    UnreadableFoldersLabel = Named(new QLabel, "UnreadableFoldersLabel");
    // Its name is what it says, the count; the first paths are its description.
    UnreadableFoldersLabel->setTextFormat(Qt::PlainText);
    UnreadableFoldersLabel->hide();
    labels->addWidget(DiscTitleLabel);
    labels->addWidget(CurrentDirectoryLabel);
    labels->addWidget(UnreadableFoldersLabel);
    labels->addStretch(1);

    ButtonPanel = Named(new QWidget, "ButtonPanel");
    auto* buttons = new QHBoxLayout(ButtonPanel);
    StopReadingButton = Named(new QToolButton, "StopReadingButton");
    StopReadingButton->setAutoRaise(true);
    StopReadingButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // In the button row, so that the fixed height stays as it is.
    ArchivesNotWholeLabel = Named(new QLabel, "ArchivesNotWholeLabel");
    ArchivesNotWholeLabel->setTextFormat(Qt::PlainText);
    ArchivesNotWholeLabel->hide();
    buttons->addWidget(ArchivesNotWholeLabel);
    buttons->addStretch(1);
    buttons->addWidget(StopReadingButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelPanel, 1);
    layout->addWidget(ButtonPanel);
    setFixedWidth(kWindowWidth);
    setFixedHeight(sizeHint().height());
}

void TReadingDiscForm::BindStopReading(QAction* action) {
    StopReadingButton->setDefaultAction(action);
}

void TReadingDiscForm::SetArchivesNotWhole(unsigned long long count) {
    if (count == FArchivesNotWhole)
        return;
    FArchivesNotWhole = count;
    ArchivesNotWholeLabel->setText(count == 1
                                       ? tr("1 archive could not be read whole")
                                       : tr("%1 archives could not be read whole").arg(count));
    ArchivesNotWholeLabel->setVisible(count > 0);
}

void TReadingDiscForm::SetUnreadableFolders(unsigned long long count, const QString& details) {
    if (count == FUnreadableFolders)
        return;
    FUnreadableFolders = count;
    UnreadableFoldersLabel->setText(count == 1 ? tr("1 folder could not be read")
                                               : tr("%1 folders could not be read").arg(count));
    UnreadableFoldersLabel->setToolTip(details);
    UnreadableFoldersLabel->setAccessibleDescription(details);
    if (UnreadableFoldersLabel->isVisible() != (count > 0)) {
        UnreadableFoldersLabel->setVisible(count > 0);
        // The window's height is fixed: it grows by the line, and shrinks back for the next
        // reading.
        setFixedHeight(sizeHint().height());
    }
}

void TReadingDiscForm::SetDiscTitle(const QString& title) {
    DiscTitleLabel->setText(title);
}

void TReadingDiscForm::SetCurrentDirectory(const QString& directory) {
    // A deep path must not widen the fixed window: keep its start and its end.
    FCurrentDirectory = directory;
    const int width = kWindowWidth - 2 * layout()->contentsMargins().left() - 24;
    CurrentDirectoryLabel->setText(
        CurrentDirectoryLabel->fontMetrics().elidedText(directory, Qt::ElideMiddle, width));
    CurrentDirectoryLabel->setToolTip(directory);
}

void TReadingDiscForm::NoteDirectory(std::string_view directory) {
    FNotedDirectory.assign(directory);
    FNotedDirectoryShown = false;
}

void TReadingDiscForm::ShowNotedDirectory() {
    if (FNotedDirectoryShown)
        return;
    SetCurrentDirectory(FromLocalPath(FNotedDirectory));
    FNotedDirectoryShown = true;
}

void TReadingDiscForm::LetEventsRunWhenDue() {
    if (FSinceEvents.elapsed() < 20)
        return;
    ShowNotedDirectory();
    QCoreApplication::processEvents();
    FSinceEvents.restart();
}

void TReadingDiscForm::ShowCentred() {
    adjustSize();
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->frameGeometry();
        move(frame.center() - rect().center());
    }
    show();
    raise();
}

void TReadingDiscForm::FollowReading(TDiscReading& reading, QWidget& window,
                                     std::function<void()> ready) {
    reading.OnReadingStarts = [this, &window](const IXMLDiscType& disc) {
        SetDiscTitle(ToQString(disc.Title()));
        SetCurrentDirectory(QString());
        SetArchivesNotWhole(0);
        SetUnreadableFolders(0, QString());
        ShowCentred();
        // Only Stop reading takes input while the walk runs.
        window.setEnabled(false);
        setEnabled(true);
    };
    reading.OnDirectoryFound = [this](std::string_view directory) { NoteDirectory(directory); };
    reading.OnArchiveFound = [this](std::string_view path) { NoteDirectory(path); };
    reading.OnReadingNotStarted = [this, &window] {
        hide();
        window.setEnabled(true);
    };
    reading.OnReady = [this, &window, ready = std::move(ready)] {
        ShowNotedDirectory();
        hide();
        window.setEnabled(true);
        ready();
    };
    reading.DirReader().SetOnProcessEvents([this, &reading](TDirReader&) {
        SetArchivesNotWhole(reading.ArchivesNotWhole());
        const std::size_t unreadable = reading.UnreadableDirectories().size();
        if (unreadable != FUnreadableFolders)
            SetUnreadableFolders(unreadable, FromLocalPath(UnreadableDirectoriesText(reading, {})));
        LetEventsRunWhenDue();
    });
}

void TReadingDiscForm::closeEvent(QCloseEvent* event) {
    // Only the end of the reading closes this window.
    event->ignore();
}

void TReadingDiscForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orlenta
