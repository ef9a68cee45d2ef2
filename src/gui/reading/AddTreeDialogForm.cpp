#include "gui/reading/AddTreeDialogForm.h"

#include "core/base/Clock.h"
#include "core/state/StoredProperties.h"
#include "gui/WidgetNames.h"
#include "gui/state/HistoryComboBox.h"
#include "gui/state/OvcComponentState.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orlenta {

TAddTreeDialogForm::TAddTreeDialogForm(QWidget* parent, TUserPrompts& prompts,
                                       QList<TSystemItem> items)
    : TOwnDialog(parent), FPrompts(prompts), FItems(std::move(items)) {
    Named(this, "AddTreeDialogForm");
    setWindowTitle(tr("Add Disc"));

    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addWidget(CreateSourceGroup());
    contentLayout->addWidget(CreateDiscGroup());
    CreateButtonRow(content);
    OrderSourceTabs();
    ConnectControls();
    // FormCreate: the editable panel with today's read date, and the preselected place.
    CreateDiscPanel();
    PreselectSource();
    // Restored before the dialog shows, so that the enabling follows the restored source.
    RestoreControlState();
}

QGroupBox* TAddTreeDialogForm::CreateSourceGroup() {
    GroupBox1 = Named(new QGroupBox(tr("Source")), "GroupBox1");
    auto* source = new QGridLayout(GroupBox1);
    CreateSourceChoices();
    CreateRecordingChoices();

    source->addWidget(SystemItemRadioButton, 0, 0);
    source->addWidget(RootFromShellComboBox, 0, 1, 1, 2);
    source->addWidget(CustomDirectoryRadioButton, 1, 0);
    auto* attached = new QHBoxLayout;
    attached->setSpacing(0);
    attached->addWidget(RootFromHistoryComboBox);
    attached->addWidget(OvcAttachedButtonSource);
    source->addLayout(attached, 1, 1, 1, 2);
    source->addWidget(VirtualDiscRadioButton, 2, 0, 1, 3);
    auto* recording = new QHBoxLayout;
    recording->addWidget(IncludeFilenamesCheckBox);
    recording->addWidget(RecordSizesCheckBox);
    recording->addWidget(ReadArchivesCheckBox);
    recording->addStretch(1);
    source->addLayout(recording, 3, 0, 1, 3);
    source->setColumnStretch(1, 1);
    return GroupBox1;
}

void TAddTreeDialogForm::CreateSourceChoices() {
    SystemItemRadioButton = Named(new QRadioButton(tr("System item")), "SystemItemRadioButton");
    RootFromShellComboBox = Named(new QComboBox, "RootFromShellComboBox");
    RootFromShellComboBox->setMaxVisibleItems(8);
    RootFromShellComboBox->setMinimumContentsLength(32);
    RootFromShellComboBox->setAccessibleName(tr("System item"));
    for (const TSystemItem& item : FItems)
        RootFromShellComboBox->addItem(item.Icon, item.DisplayName, item.Path);
    CustomDirectoryRadioButton =
        Named(new QRadioButton(tr("Custom directory")), "CustomDirectoryRadioButton");
    RootFromHistoryComboBox = Named(new THistoryComboBox, "RootFromHistoryComboBox");
    RootFromHistoryComboBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    RootFromHistoryComboBox->setAccessibleName(tr("Custom directory"));
    OvcAttachedButtonSource =
        Named(new QPushButton(QStringLiteral("...")), "OvcAttachedButtonSource");
    OvcAttachedButtonSource->setAutoDefault(false);
    OvcAttachedButtonSource->setAccessibleName(tr("Select directory"));
    OvcAttachedButtonSource->setFixedWidth(
        OvcAttachedButtonSource->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    VirtualDiscRadioButton =
        Named(new QRadioButton(tr("Virtual disc (don't read info)")), "VirtualDiscRadioButton");
}

void TAddTreeDialogForm::CreateRecordingChoices() {
    IncludeFilenamesCheckBox =
        Named(new QCheckBox(tr("Include filenames (larger datafile)")), "IncludeFilenamesCheckBox");
    // Ticked until the user says otherwise: the stored state, when there is one, replaces it.
    RecordSizesCheckBox = Named(new QCheckBox(tr("Record sizes and dates")), "RecordSizesCheckBox");
    RecordSizesCheckBox->setAccessibleName(tr("Record sizes and dates"));
    RecordSizesCheckBox->setChecked(true);
    // Off until the user ticks it: listing every archive's headers costs reading time.
    ReadArchivesCheckBox = Named(new QCheckBox(tr("Look inside archives")), "ReadArchivesCheckBox");
    ReadArchivesCheckBox->setAccessibleName(tr("Look inside archives"));
}

QGroupBox* TAddTreeDialogForm::CreateDiscGroup() {
    GroupBox2 = Named(new QGroupBox(tr("Disc")), "GroupBox2");
    auto* discLayout = new QVBoxLayout(GroupBox2);
    HostPanel = Named(new QWidget, "HostPanel");
    discLayout->addWidget(HostPanel);
    return GroupBox2;
}

void TAddTreeDialogForm::CreateButtonRow(QWidget* content) {
    SetContent(content, QStringLiteral("ButtonsPanel"));
    AddButton = Named(OkButton, "AddButton");
    AddButton->setText(tr("&Add"));
    CancelButton = Named(Button1, "CancelButton");
}

void TAddTreeDialogForm::OrderSourceTabs() {
    // The tab order follows the table of controls: source choices, file names, the disc, buttons.
    setTabOrder(SystemItemRadioButton, RootFromShellComboBox);
    setTabOrder(RootFromShellComboBox, CustomDirectoryRadioButton);
    setTabOrder(CustomDirectoryRadioButton, RootFromHistoryComboBox);
    setTabOrder(RootFromHistoryComboBox, OvcAttachedButtonSource);
    setTabOrder(OvcAttachedButtonSource, VirtualDiscRadioButton);
    setTabOrder(VirtualDiscRadioButton, IncludeFilenamesCheckBox);
    setTabOrder(IncludeFilenamesCheckBox, RecordSizesCheckBox);
    setTabOrder(RecordSizesCheckBox, ReadArchivesCheckBox);
}

void TAddTreeDialogForm::ConnectControls() {
    for (QRadioButton* radio :
         {SystemItemRadioButton, CustomDirectoryRadioButton, VirtualDiscRadioButton})
        connect(radio, &QRadioButton::clicked, this, &TAddTreeDialogForm::HandleRadioClick);
    connect(OvcAttachedButtonSource, &QPushButton::clicked, this,
            &TAddTreeDialogForm::HandleSelectDirectory);
    // activated is the user's choice only: the preselection must not prefill the title.
    connect(RootFromShellComboBox, &QComboBox::activated, this,
            &TAddTreeDialogForm::RootFromShellComboBoxChange);
}

void TAddTreeDialogForm::CreateDiscPanel() {
    FDiscInfoDockingForm = std::make_unique<TDiscInfoDockingForm>();
    FDiscInfoDockingForm->MoveInto(HostPanel);
    // Moved in after the buttons were made, the panel's controls would come after them.
    QWidget* previous = ReadArchivesCheckBox;
    for (QWidget* control : FDiscInfoDockingForm->TabOrder()) {
        setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, AddButton);
    setTabOrder(AddButton, CancelButton);
    FDiscInfoDockingForm->SetEnableEdit(true);
    FDiscInfoDockingForm->SetReadDate(QString::fromStdString(TodayDateText()));
}

void TAddTreeDialogForm::PreselectSource() {
    SystemItemRadioButton->setChecked(true);
    int preselected = FItems.size() > 1 ? 1 : (FItems.isEmpty() ? -1 : 0);
    for (int i = 0; i < FItems.size(); ++i) {
        if (FItems[i].IsRemovableMedium) {
            preselected = i;
            break;
        }
    }
    RootFromShellComboBox->setCurrentIndex(preselected);
    HandleRadioClick();
}

void TAddTreeDialogForm::RestoreControlState() {
    QStringList storedProperties;
    for (const std::string& property : AddDialogStoredProperties())
        storedProperties.append(QString::fromStdString(property));
    FOvcComponentState = std::make_unique<TOvcComponentState>(
        *this, FOvcIniFileStore, QString::fromLatin1(kAddDialogSection), storedProperties);
    FOvcComponentState->RestoreState();
}

TAddTreeDialogForm::~TAddTreeDialogForm() = default;

void TAddTreeDialogForm::changeEvent(QEvent* event) {
    // State restored from the previous use must show in the enabling as soon as the dialog does.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        HandleRadioClick();
    TOwnDialog::changeEvent(event);
}

void TAddTreeDialogForm::HandleRadioClick() {
    RootFromShellComboBox->setEnabled(SystemItemRadioButton->isChecked());
    RootFromHistoryComboBox->setEnabled(CustomDirectoryRadioButton->isChecked());
    OvcAttachedButtonSource->setEnabled(CustomDirectoryRadioButton->isChecked());
}

QString TAddTreeDialogForm::TreeRoot() const {
    if (SystemItemRadioButton->isChecked()) {
        const int index = RootFromShellComboBox->currentIndex();
        return index < 0 ? QString() : RootFromShellComboBox->itemData(index).toString();
    }
    if (CustomDirectoryRadioButton->isChecked())
        return RootFromHistoryComboBox->currentText();
    return {};
}

TAddDiscRequest TAddTreeDialogForm::Request() const {
    TAddDiscRequest request;
    request.TreeRoot = TreeRoot();
    request.IncludeFilenames = IncludeFilenamesCheckBox->isChecked();
    request.RecordSizes = RecordSizesCheckBox->isChecked();
    // Archives are listed as the files of their folder, so only with file names.
    request.ReadArchives = request.IncludeFilenames && ReadArchivesCheckBox->isChecked();
    request.Properties = FDiscInfoDockingForm->Properties();
    return request;
}

void TAddTreeDialogForm::RootFromShellComboBoxChange(int index) {
    if (index < 0)
        return;
    FDiscInfoDockingForm->SetTitle(TitleFromDisplayName(RootFromShellComboBox->itemText(index)));
}

void TAddTreeDialogForm::HandleSelectDirectory() {
    QString start = RootFromHistoryComboBox->currentText();
    if (start.isEmpty() || !QDir(start).exists())
        start.clear();
    const QString chosen = FPrompts.DirectoryName(this, tr("Select directory"), start);
    if (!chosen.isEmpty()) {
        start = QDir::toNativeSeparators(chosen);
        // The history keeps every confirmed choice, repeats included.
        RootFromHistoryComboBox->addItem(start);
    }
    RootFromHistoryComboBox->setEditText(start);
    // Reported here rather than thrown: an exception must not unwind through Qt's handling of
    // the click. The chosen directory stays in the box all the same.
    try {
        SaveControlState();
    } catch (...) {
        ShowErrorBox(FPrompts, this, std::current_exception());
    }
}

void TAddTreeDialogForm::SaveControlState() {
    FOvcComponentState->UpdateStoredProperties();
    FOvcComponentState->SaveState();
}

void TAddTreeDialogForm::done(int result) {
    // Add, Cancel and the close box all pass here. A setting that cannot be written must not
    // keep the dialog open.
    try {
        FOvcComponentState->SaveState();
    } catch (...) {
        FSaveError = std::current_exception();
    }
    TOwnDialog::done(result);
}

} // namespace orlenta
