#include "gui/widgets/DiscInfoDockingForm.h"

#include "core/catalogue/DiscProperties.h"
#include "core/catalogue/TreeCounts.h"
#include "gui/SizeAndDateText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace orlenta {

namespace {

constexpr int kMaxTextLength = 200;

// Limits what the user types without cutting a longer value that the program put there, which
// a fixed QLineEdit::setMaxLength would truncate: the limit follows a longer text down as the
// user shortens it.
void LimitTypedLength(QLineEdit* edit) {
    edit->setMaxLength(kMaxTextLength);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        edit->setMaxLength(std::max<int>(kMaxTextLength, static_cast<int>(text.size())));
    });
}

// Shows text whole in an edit whose typing is limited.
void SetFieldText(QLineEdit* edit, const QString& text) {
    if (text.size() > edit->maxLength())
        edit->setMaxLength(static_cast<int>(text.size()));
    edit->setText(text);
}

QLineEdit* AddLabeledEdit(QGridLayout* grid, int row, int column, const QString& objectName,
                          const QString& caption) {
    auto* label = Named(new QLabel(caption), objectName + QStringLiteral("Label"));
    auto* edit = Named(new QLineEdit, objectName);
    label->setBuddy(edit);
    grid->addWidget(label, row * 2, column);
    grid->addWidget(edit, row * 2 + 1, column);
    return edit;
}

} // namespace

TDiscInfoDockingForm::TDiscInfoDockingForm(QWidget* parent) : QWidget(parent) {
    Named(this, "DiscInfoDockingForm");
    FDiscInfoPanel = Named(new QWidget(this), "DiscInfoPanel");
    auto* layout = new QVBoxLayout(FDiscInfoPanel);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    // Created in tab order: Title, Creation date, Vendor, Read date, Media type, Directories,
    // Files, Total size, Source, Memo.
    TitleLabeledEdit = AddLabeledEdit(grid, 0, 0, QStringLiteral("TitleLabeledEdit"), tr("Title"));
    CreationDateLabeledEdit =
        AddLabeledEdit(grid, 0, 1, QStringLiteral("CreationDateLabeledEdit"), tr("Creation date"));
    VendorLabeledEdit =
        AddLabeledEdit(grid, 1, 0, QStringLiteral("VendorLabeledEdit"), tr("Vendor"));
    ReadDateLabeledEdit =
        AddLabeledEdit(grid, 1, 1, QStringLiteral("ReadDateLabeledEdit"), tr("Read date"));
    CreateMediaTypeBox();
    QGridLayout* countsRow = CreateCountsRow();
    grid->addWidget(MediaTypeLabel, 4, 0);
    grid->addWidget(MediaTypeComboBox, 5, 0);
    grid->addLayout(countsRow, 4, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    CreateSourceEdit(grid);
    CreateMemo(layout);

    for (QLineEdit* edit : {TitleLabeledEdit, VendorLabeledEdit, MediaTypeComboBox->lineEdit()})
        LimitTypedLength(edit);
    for (QLineEdit* edit :
         {ReadDateLabeledEdit, DirCountLabeledEdit, FileCountLabeledEdit, TotalSizeLabeledEdit})
        edit->setReadOnly(true);

    const std::vector<QWidget*> tabOrder = TabOrder();
    for (size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    SetEnableEdit(true);
}

void TDiscInfoDockingForm::CreateMediaTypeBox() {
    MediaTypeLabel = Named(new QLabel(tr("Media type")), "MediaTypeLabel");
    MediaTypeComboBox = Named(new QComboBox, "MediaTypeComboBox");
    // The value is the text, not a list index: any typed text is kept.
    MediaTypeComboBox->setEditable(true);
    MediaTypeComboBox->setInsertPolicy(QComboBox::NoInsert);
    MediaTypeComboBox->addItems({QStringLiteral("CD-ROM"), QStringLiteral("CD-R"),
                                 QStringLiteral("CD-RW"), QStringLiteral("DVD"),
                                 QStringLiteral("DVD+R"), QStringLiteral("DVD+RW"),
                                 QStringLiteral("DVD-R"), QStringLiteral("DVD-RW")});
    MediaTypeComboBox->setCurrentIndex(-1);
    // The edit inside the box takes the focus; a screen reader names it as the box.
    MediaTypeComboBox->lineEdit()->setAccessibleName(tr("Media type"));
    MediaTypeLabel->setBuddy(MediaTypeComboBox);
}

QGridLayout* TDiscInfoDockingForm::CreateCountsRow() {
    auto* countsRow = new QGridLayout;
    countsRow->setContentsMargins(0, 0, 0, 0);
    DirCountLabeledEdit =
        AddLabeledEdit(countsRow, 0, 0, QStringLiteral("DirCountLabeledEdit"), tr("Directories"));
    FileCountLabeledEdit =
        AddLabeledEdit(countsRow, 0, 1, QStringLiteral("FileCountLabeledEdit"), tr("Files"));
    TotalSizeLabeledEdit =
        AddLabeledEdit(countsRow, 0, 2, QStringLiteral("TotalSizeLabeledEdit"), tr("Total size"));
    TotalSizeLabeledEdit->setAccessibleName(tr("Total size"));
    ArchiveEntriesLabeledEdit = AddLabeledEdit(
        countsRow, 0, 3, QStringLiteral("ArchiveEntriesLabeledEdit"), tr("In archives"));
    ArchiveEntriesLabeledEdit->setAccessibleName(tr("Entries in archives"));
    ArchiveEntriesLabeledEdit->setReadOnly(true);
    ArchiveEntriesLabel = countsRow->itemAtPosition(0, 3)->widget();
    SetArchiveEntries(std::nullopt);
    return countsRow;
}

void TDiscInfoDockingForm::CreateSourceEdit(QGridLayout* grid) {
    SourceLabel = Named(new QLabel(tr("Source")), "SourceLabel");
    SourceLabeledEdit = Named(new QLineEdit, "SourceLabeledEdit");
    SourceLabeledEdit->setAccessibleName(tr("Source"));
    SourceLabel->setBuddy(SourceLabeledEdit);
    grid->addWidget(SourceLabel, 6, 0, 1, 2);
    grid->addWidget(SourceLabeledEdit, 7, 0, 1, 2);
    SetSourceShown(false);
}

void TDiscInfoDockingForm::CreateMemo(QVBoxLayout* layout) {
    Label1 = Named(new QLabel(tr("Memo")), "Label1");
    DiscMemo = Named(new QPlainTextEdit, "DiscMemo");
    DiscMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DiscMemo->setTabChangesFocus(true);
    Label1->setBuddy(DiscMemo);
    layout->addWidget(Label1);
    layout->addWidget(DiscMemo, 1);
}

TDiscInfoDockingForm::~TDiscInfoDockingForm() {
    delete FDiscInfoPanel.data();
}

std::vector<QWidget*> TDiscInfoDockingForm::TabOrder() const {
    return {TitleLabeledEdit,
            CreationDateLabeledEdit,
            VendorLabeledEdit,
            ReadDateLabeledEdit,
            MediaTypeComboBox,
            DirCountLabeledEdit,
            FileCountLabeledEdit,
            TotalSizeLabeledEdit,
            ArchiveEntriesLabeledEdit,
            SourceLabeledEdit,
            DiscMemo};
}

void TDiscInfoDockingForm::MoveInto(QWidget* host) {
    auto* layout = host->layout();
    if (layout == nullptr) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    FDiscInfoPanel->setParent(host);
    layout->addWidget(FDiscInfoPanel);
    FDiscInfoPanel->show();
}

void TDiscInfoDockingForm::SetEnableEdit(bool value) {
    FEnableEdit = value;
    for (QLineEdit* edit :
         {TitleLabeledEdit, CreationDateLabeledEdit, VendorLabeledEdit, SourceLabeledEdit})
        edit->setReadOnly(!value);
    DiscMemo->setReadOnly(!value);
    MediaTypeComboBox->setEnabled(value);
    // Without editing the combo box is a plain text field: no drop-down button to suggest a
    // choice. The always read-only fields look like a dialog's background only where the
    // others can be edited, so that they stand apart.
    // Styling the box itself as well is what makes the edit field take the arrow's place.
    MediaTypeComboBox->setStyleSheet(
        value ? QString()
              : QStringLiteral("QComboBox { border: 1px solid palette(mid); border-radius: 2px;"
                               " padding: 1px 3px; background: palette(window); }"
                               " QComboBox::drop-down { width: 0px; border: none; }"
                               " QComboBox::down-arrow { image: none; width: 0px; height: 0px; }"));
    const QPalette::ColorRole background = value ? QPalette::Button : QPalette::Base;
    for (QLineEdit* edit : {ReadDateLabeledEdit, DirCountLabeledEdit, FileCountLabeledEdit,
                            TotalSizeLabeledEdit, ArchiveEntriesLabeledEdit}) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, QPalette().color(background));
        edit->setPalette(palette);
    }
}

void TDiscInfoDockingForm::SetSourceShown(bool shown) {
    SourceLabel->setVisible(shown);
    SourceLabeledEdit->setVisible(shown);
}

namespace {

// The text a memo box was given and the text it showed for it, kept on the box: what it shows is
// not always what it was given (a lone LF or CR shows as a line break like CR LF), and a memo
// nobody edited must come back as it went in.
constexpr const char* kGivenMemoProperty = "orlentaGivenMemo";
constexpr const char* kShownMemoProperty = "orlentaShownMemo";

} // namespace

std::string MemoBoxText(const QPlainTextEdit& memo) {
    const QVariant given = memo.property(kGivenMemoProperty);
    if (given.isValid() &&
        memo.property(kShownMemoProperty).toString() == memo.document()->toRawText())
        return given.toByteArray().toStdString();
    // The raw text keeps no-break spaces and line separators, which toPlainText() would turn into
    // blanks and line feeds; lines are the document's blocks, split by paragraph separators.
    QString text = memo.document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), QStringLiteral("\r\n"));
    return ToStdString(text);
}

void SetMemoBoxText(QPlainTextEdit& memo, std::string_view text) {
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo.setPlainText(shown);
    memo.setProperty(kGivenMemoProperty,
                     QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    memo.setProperty(kShownMemoProperty, memo.document()->toRawText());
}

void TDiscInfoDockingForm::ShowProperties(const TDiscProperties& properties) {
    SetFieldText(VendorLabeledEdit, ToQString(properties.Vendor));
    SetFieldText(TitleLabeledEdit, ToQString(properties.Title));
    SetFieldText(MediaTypeComboBox->lineEdit(), ToQString(properties.MediaType));
    CreationDateLabeledEdit->setText(ToQString(properties.CreationDate));
    ReadDateLabeledEdit->setText(ToQString(properties.ReadDate));
    DirCountLabeledEdit->setText(ToQString(properties.DirCount));
    FileCountLabeledEdit->setText(ToQString(properties.FileCount));
    SetMemoBoxText(*DiscMemo, properties.Memo);
    FGivenSource = properties.Source;
    FShownSource = ToQString(properties.Source);
    SetFieldText(SourceLabeledEdit, FShownSource);
    // A long path is cut off by the field: the tip shows it whole.
    SourceLabeledEdit->setToolTip(FShownSource);
    SourceLabeledEdit->setCursorPosition(0);
}

TDiscProperties TDiscInfoDockingForm::Properties() const {
    TDiscProperties properties;
    properties.Vendor = ToStdString(VendorLabeledEdit->text());
    properties.Title = ToStdString(TitleLabeledEdit->text());
    properties.MediaType = ToStdString(MediaTypeComboBox->currentText());
    properties.CreationDate = ToStdString(CreationDateLabeledEdit->text());
    properties.ReadDate = ToStdString(ReadDateLabeledEdit->text());
    properties.DirCount = ToStdString(DirCountLabeledEdit->text());
    properties.FileCount = ToStdString(FileCountLabeledEdit->text());
    properties.Memo = MemoBoxText(*DiscMemo);
    // Not what the field shows but what it was given, unless edited: the text the window shows
    // need not give the stored bytes back.
    properties.Source = SourceLabeledEdit->text() == FShownSource
                            ? FGivenSource
                            : ToStdString(SourceLabeledEdit->text());
    return properties;
}

void TDiscInfoDockingForm::SetTitle(const QString& title) {
    TitleLabeledEdit->setText(title);
}

void TDiscInfoDockingForm::SetReadDate(const QString& date) {
    ReadDateLabeledEdit->setText(date);
}

void TDiscInfoDockingForm::SetTotalSize(std::optional<std::uint64_t> bytes) {
    TotalSizeLabeledEdit->setText(bytes ? SizeText(*bytes) : QString());
    TotalSizeLabeledEdit->setToolTip(bytes ? ExactSizeText(*bytes) : QString());
}

void TDiscInfoDockingForm::SetArchiveEntries(std::optional<long long> count) {
    ArchiveEntriesLabeledEdit->setText(count ? QString::number(*count) : QString());
    ArchiveEntriesLabeledEdit->setVisible(count.has_value());
    ArchiveEntriesLabel->setVisible(count.has_value());
}

void TDiscInfoDockingForm::FocusTitle() {
    TitleLabeledEdit->setFocus();
}

void DiscToPanel(const IXMLDiscType& disc, TDiscInfoDockingForm& panel) {
    panel.ShowProperties(ReadDiscProperties(disc));
    panel.SetTotalSize(DiscTotalSize(disc));
    panel.SetArchiveEntries(DiscArchiveEntries(disc));
}

} // namespace orlenta
