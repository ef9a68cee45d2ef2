#include "gui/about/EasterEggsForm.h"

#include "core/about/AboutTexts.h"
#include "gui/CoreText.h"
#include "gui/UserPrompts.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/about/AboutLook.h"
#include "gui/about/LabelLink.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orlenta {

namespace {

// Drawn by the program's icon; a build without that resource shows the maker's line alone.
constexpr const char* kMakerPhotograph = ":/icons/orlenta.svg";
constexpr int kPhotographSize = 128;

QPixmap MakerPhotograph() {
    const QString path = QString::fromLatin1(kMakerPhotograph);
    if (!QFile::exists(path))
        return {};
    return QIcon(path).pixmap(kPhotographSize, kPhotographSize);
}

} // namespace

TEasterEggsForm::TEasterEggsForm() {
    Named(this, "EasterEggsForm");

    FUrlPanel = CreateWhitePanel(this, QStringLiteral("UrlPanel"), tr("Addresses"));
    FUrlMemo = new QPlainTextEdit(FUrlPanel);
    NameControl(FUrlMemo, QStringLiteral("UrlMemo"), tr("Addresses"));
    FUrlMemo->setReadOnly(true);
    // The text area inside shows up to screen readers on its own.
    FUrlMemo->viewport()->setAccessibleName(tr("Addresses"));
    FUrlMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    FUrlMemo->setFrameShape(QFrame::NoFrame);
    SetTextColour(FUrlMemo, QPalette::Text, kNavy);
    auto* urlLayout = new QVBoxLayout(FUrlPanel);
    urlLayout->addWidget(FUrlMemo);

    FUpdatePanel = CreateWhitePanel(this, QStringLiteral("UpdatePanel"), tr("Update"));
    FDownloadNowLabel = new QLabel(FUpdatePanel);
    NameControl(FDownloadNowLabel, QStringLiteral("DownloadNowLabel"), QString());
    QFont font = FDownloadNowLabel->font();
    font.setBold(true);
    font.setUnderline(true);
    FDownloadNowLabel->setFont(font);
    SetTextColour(FDownloadNowLabel, QPalette::WindowText, kNavy);
    FDownloadNowLabel->setCursor(Qt::PointingHandCursor);
    FDownloadNowLabel->setAlignment(Qt::AlignCenter);
    FDownloadNowLabel->installEventFilter(this);
    auto* updateLayout = new QVBoxLayout(FUpdatePanel);
    updateLayout->addWidget(FDownloadNowLabel, 0, Qt::AlignCenter);

    FMakerPanel = CreateWhitePanel(this, QStringLiteral("MakerPanel"), tr("Maker"));
    auto* photo = new QLabel(FMakerPanel);
    NameControl(photo, QStringLiteral("MakerPhotograph"),
                tr("Photograph of %1").arg(QString::fromUtf8(kMakerFirstName)));
    photo->setPixmap(MakerPhotograph());
    photo->setAlignment(Qt::AlignCenter);
    auto* makerLine = new QLabel(ToQString(MakerPanelText()), FMakerPanel);
    NameControl(makerLine, QStringLiteral("MakerPanelLabel"), makerLine->text());
    makerLine->setWordWrap(true);
    makerLine->setAlignment(Qt::AlignCenter);
    SetTextColour(makerLine, QPalette::WindowText, kNavy);
    auto* makerLayout = new QVBoxLayout(FMakerPanel);
    makerLayout->addStretch(1);
    makerLayout->addWidget(photo);
    makerLayout->addWidget(makerLine);
    makerLayout->addStretch(1);
    photo->setVisible(!photo->pixmap().isNull());
}

void TEasterEggsForm::FillInfo(const QString& site, const QString& softwarePage,
                               const QString& appName) {
    const TUrlInfo info =
        UrlInfo(ToStdString(site), ToStdString(softwarePage), ToStdString(appName));
    FUrlMemo->setPlainText(ToQString(info.MemoText));
    FUpdateUrl = ToQString(info.UpdateUrl);
    FDownloadNowLabel->setText(CoreText(DownloadNowText(kApplicationTitle)));
    FDownloadNowLabel->setAccessibleName(FDownloadNowLabel->text());
}

QWidget* TEasterEggsForm::Panel(const QString& name) const {
    for (QWidget* panel : {FUrlPanel, FUpdatePanel, FMakerPanel})
        if (panel->objectName() == name)
            return panel;
    return nullptr;
}

bool TEasterEggsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FDownloadNowLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            FDownloadNowLabel->rect().contains(mouse->position().toPoint())) {
            DownloadNowLabelClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TEasterEggsForm::DownloadNowLabelClick() {
    OpenLink(FUpdateUrl);
}

} // namespace orlenta
