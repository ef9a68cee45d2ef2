#include "gui/about/FrmAbout.h"

#include "gui/CoreText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/about/AboutLook.h"
#include "gui/about/EasterEggsForm.h"
#include "gui/about/LabelLink.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace orlenta {

namespace {

// Room for the longest address of the URL panel without a scroll bar.
constexpr int kMinimumPanelWidth = 420;
// The version stands this far to the right of the product name.
constexpr int kVersionGap = 8;

QLabel* CreateLabel(QWidget* parent, const QString& objectName, const QString& accessibleName) {
    auto* label = new QLabel(parent);
    NameControl(label, objectName, accessibleName);
    return label;
}

void SetBold(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      FEasterEggsForm(std::make_unique<TEasterEggsForm>()), FEasterEggsKey(AboutBoxEasterEggs()) {
    Named(this, "frmAbout");
    setWindowTitle(tr("About"));
    setAccessibleName(tr("About"));

    FHostPanel = CreateWhitePanel(this, QStringLiteral("HostPanel"), tr("About box"));
    FHostLayout = new QVBoxLayout(FHostPanel);
    FHostLayout->setContentsMargins(0, 0, 0, 0);
    FAboutPanel = CreateWhitePanel(FHostPanel, QStringLiteral("AboutPanel"), tr("About"));
    FHostLayout->addWidget(FAboutPanel);
    FCurrentPanel = FAboutPanel;

    CreateTitlePanel();
    CreateAddressLabels();
    QFrame* rule = CreateNotice();
    LayOutAboutPanel(rule);
    CreateButtonRow();
}

void TfrmAbout::CreateTitlePanel() {
    // The version is placed by hand against the product name's bottom edge, so the two share a
    // panel without a layout.
    FTitlePanel = new QWidget(FAboutPanel);
    NameControl(FTitlePanel, QStringLiteral("TitlePanel"), tr("Product and version"));
    FProductName = CreateLabel(FTitlePanel, QStringLiteral("ProductName"), QString());
    SetBold(FProductName);
    SetTextColour(FProductName, QPalette::WindowText, kMaroon);
    FVersion = CreateLabel(FTitlePanel, QStringLiteral("Version"), QString());
    SetBold(FVersion);
    SetTextColour(FVersion, QPalette::WindowText, kNavy);
}

void TfrmAbout::CreateAddressLabels() {
    FMakerLabel = CreateLabel(FAboutPanel, QStringLiteral("MakerLabel"), QString());
    SetTextColour(FMakerLabel, QPalette::WindowText, kNavy);
    FEmail = CreateLabel(FAboutPanel, QStringLiteral("lblEmail"), QString());
    FEmail->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FSite = CreateLabel(FAboutPanel, QStringLiteral("lblSite"), QString());
    FSite->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FSoftware = CreateLabel(FAboutPanel, QStringLiteral("lblSoftware"), QString());
}

QFrame* TfrmAbout::CreateNotice() {
    auto* rule = new QFrame(FAboutPanel);
    NameControl(rule, QStringLiteral("NoticeRule"), tr("Line above the notice"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    SetTextColour(rule, QPalette::WindowText, kGrey);
    FNoticeLabel = CreateLabel(FAboutPanel, QStringLiteral("NoticeLabel"), QString());
    FNoticeLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FNoticeLabel->setWordWrap(true);
    SetTextColour(FNoticeLabel, QPalette::WindowText, kGrey);
    return rule;
}

void TfrmAbout::LayOutAboutPanel(QFrame* rule) {
    auto* aboutLayout = new QVBoxLayout(FAboutPanel);
    aboutLayout->setContentsMargins(16, 12, 16, 8);
    aboutLayout->addWidget(FTitlePanel);
    aboutLayout->addWidget(FMakerLabel);
    aboutLayout->addSpacing(12);
    auto* mailRow = new QHBoxLayout;
    mailRow->addStretch(1);
    mailRow->addWidget(FEmail);
    aboutLayout->addLayout(mailRow);
    auto* siteRow = new QHBoxLayout;
    siteRow->addWidget(FSoftware);
    siteRow->addStretch(1);
    siteRow->addWidget(FSite);
    aboutLayout->addLayout(siteRow);
    aboutLayout->addStretch(1);
    aboutLayout->addSpacing(8);
    aboutLayout->addWidget(rule);
    aboutLayout->addWidget(FNoticeLabel);
}

void TfrmAbout::CreateButtonRow() {
    FOKButton = new QPushButton(tr("&Ok"), this);
    NameControl(FOKButton, QStringLiteral("OKButton"), tr("Ok"));
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, [this] { SetResult(TResult::Ok); });

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FHostPanel);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(8, 8, 8, 8);
    buttonRow->addStretch(1);
    buttonRow->addWidget(FOKButton);
    layout->addLayout(buttonRow);
    FOKButton->setFocus();
}

TfrmAbout::~TfrmAbout() {
    // A hidden panel on show belongs to the hidden-panel form; it goes back before that form
    // goes, so that each panel is freed once, by its own form.
    ShowPanel(FAboutPanel);
}

void TfrmAbout::SetTexts(const TAboutTexts& texts, const TMakerAddresses& maker) {
    FProductName->setText(ToQString(texts.ProductName));
    QFont font = FProductName->font();
    font.setPointSize(texts.ProductNameFontSize);
    FProductName->setFont(font);
    FVersion->setText(ToQString(texts.Version));
    PlaceVersion();
    FMakerLabel->setText(CoreText(texts.MakerLine));
    FEmail->setText(ToQString(texts.MailAddress));
    MakeLabelLink(FEmail, ToQString(texts.MailTarget));
    FSite->setText(ToQString(texts.SiteText));
    MakeLabelLink(FSite, ToQString(texts.SiteTarget));
    FSoftware->setText(CoreText(texts.SoftwareText));
    MakeLabelLink(FSoftware, ToQString(texts.SoftwareTarget));
    FNoticeLabel->setText(ToQString(texts.Notice));
    for (QLabel* label :
         {FProductName, FVersion, FMakerLabel, FEmail, FSite, FSoftware, FNoticeLabel})
        label->setAccessibleName(label->text());
    FEmail->setAccessibleDescription(tr("Writes a mail to the maker"));
    FSite->setAccessibleDescription(tr("Opens the maker's web site"));
    FSoftware->setAccessibleDescription(tr("Opens the maker's software page"));

    FUrlAppName = ToQString(texts.UrlAppName);
    FEasterEggsForm->FillInfo(ToQString(maker.Site), ToQString(maker.SoftwarePage), FUrlAppName);

    // The host keeps the About panel's size whichever panel it shows.
    QLayout* aboutLayout = FAboutPanel->layout();
    aboutLayout->activate();
    const int width = std::max(FAboutPanel->sizeHint().width(), kMinimumPanelWidth);
    const int height = aboutLayout->hasHeightForWidth() ? aboutLayout->heightForWidth(width)
                                                        : FAboutPanel->sizeHint().height();
    FHostPanel->setFixedSize(width, height);
}

void TfrmAbout::PlaceVersion() {
    FProductName->adjustSize();
    FVersion->adjustSize();
    const int height = std::max(FProductName->height(), FVersion->height());
    FProductName->move(0, height - FProductName->height());
    FVersion->move(FProductName->x() + FProductName->width() + kVersionGap,
                   FProductName->y() + FProductName->height() - FVersion->height());
    FTitlePanel->setFixedSize(FVersion->x() + FVersion->width(), height);
}

void TfrmAbout::CenterOnScreen(const QScreen* screen) {
    if (screen == nullptr)
        return;
    adjustSize();
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TfrmAbout::WaitForResult() {
    if (FResult != TResult::None)
        return;
    QEventLoop loop;
    connect(this, &TfrmAbout::ResultSet, &loop, &QEventLoop::quit);
    // Also ends when the application quits: every event loop is told to leave then.
    loop.exec();
}

bool TfrmAbout::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        SetResult(TResult::Cancel);
    return QDialog::event(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    // Key preview: the box's window sees every key once, before the widget with the focus.
    if (watched == windowHandle() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Alt and Meta combinations are shortcuts, not typed characters.
        if ((key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) == 0)
            for (char32_t character : key->text().toUcs4())
                FormKeyPress(character);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    if (!FKeyPreview && windowHandle() != nullptr) {
        windowHandle()->installEventFilter(this);
        FKeyPreview = true;
    }
    QDialog::showEvent(event);
}

void TfrmAbout::closeEvent(QCloseEvent* event) {
    // The close box only answers; ShowAboutBox fades the box out and closes it.
    event->ignore();
    SetResult(TResult::Cancel);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    // Escape is a typed character like any other here: it brings the About panel back and
    // leaves the box open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmAbout::done(int result) {
    // Whatever would end a dialog only answers; the box stays until ShowAboutBox has faded it.
    SetResult(result == QDialog::Accepted ? TResult::Ok : TResult::Cancel);
}

void TfrmAbout::FormKeyPress(char32_t character) {
    const TEasterEggAction action = FEasterEggsKey.KeyPress(character);
    switch (action.Kind) {
    case TEasterEggAction::TKind::None: break;
    case TEasterEggAction::TKind::ShowAboutPanel: ShowPanel(FAboutPanel); break;
    case TEasterEggAction::TKind::ShowPanel:
        if (QWidget* panel = FEasterEggsForm->Panel(ToQString(action.Panel)))
            ShowPanel(panel);
        break;
    }
}

void TfrmAbout::ShowPanel(QWidget* panel) {
    FHostLayout->removeWidget(FCurrentPanel);
    FCurrentPanel->hide();
    if (FCurrentPanel != FAboutPanel)
        FCurrentPanel->setParent(FEasterEggsForm.get());
    if (panel != FAboutPanel)
        panel->setParent(FHostPanel);
    FHostLayout->addWidget(panel);
    panel->show();
    FCurrentPanel = panel;
}

void TfrmAbout::SetResult(TResult result) {
    if (FResult != TResult::None)
        return;
    FResult = result;
    emit ResultSet();
}

} // namespace orlenta
