#include "gui/reading/RescanChangesForm.h"

#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/reading/TreeChangeModel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orlenta {

QString ChangeCountsText(const TTreeDifference& difference) {
    return QCoreApplication::translate("orlenta::TRescanChangesForm",
                                       "%1 added, %2 removed, %3 changed")
        .arg(difference.Added)
        .arg(difference.Removed)
        .arg(difference.Changed);
}

namespace {

// A word-wrapped label of plain text, hidden while it has none. A screen reader reads the text
// itself as its name: a fixed name would hide what it says.
QLabel* NoteLabel(const char* objectName, const std::string& text) {
    auto* label = Named(new QLabel(FromLocalPath(text)), objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setVisible(!text.empty());
    return label;
}

} // namespace

TRescanChangesForm::TRescanChangesForm(QWidget* parent, const QString& title,
                                       const std::string& source, const TTreeDifference& difference,
                                       const std::string& warning, const std::string& notes)
    : QDialog(parent), FDifference(difference) {
    Named(this, "RescanChangesForm");
    setWindowTitle(tr("Rescan disc"));
    setModal(true);
    setSizeGripEnabled(true);

    CreateSummaryLabels(title, source, warning, notes);
    CreateChangeTabs();
    QHBoxLayout* buttons = CreateButtonRow(!warning.empty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(IntroLabel);
    layout->addWidget(CountsLabel);
    layout->addWidget(WarningLabel);
    layout->addWidget(NotesLabel);
    layout->addWidget(ChangesTabWidget, 1);
    layout->addWidget(ApplyNoteLabel);
    layout->addLayout(buttons);
    resize(620, 440);
}

void TRescanChangesForm::CreateSummaryLabels(const QString& title, const std::string& source,
                                             const std::string& warning, const std::string& notes) {
    IntroLabel = Named(new QLabel(tr("'%1' read again from %2").arg(title, FromLocalPath(source))),
                       "IntroLabel");
    IntroLabel->setTextFormat(Qt::PlainText);
    IntroLabel->setWordWrap(true);
    CountsLabel = Named(new QLabel(ChangeCountsText(FDifference)), "CountsLabel");
    CountsLabel->setTextFormat(Qt::PlainText);
    QFont bold = CountsLabel->font();
    bold.setBold(true);
    CountsLabel->setFont(bold);

    WarningLabel = NoteLabel("WarningLabel", warning);
    // Red on the window's own background, so that it reads in light and dark themes alike.
    QPalette alarm = WarningLabel->palette();
    alarm.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
    WarningLabel->setPalette(alarm);
    WarningLabel->setFont(bold);
    NotesLabel = NoteLabel("NotesLabel", notes);
}

void TRescanChangesForm::CreateChangeTabs() {
    ChangesTabWidget = Named(new QTabWidget, "ChangesTabWidget");
    ChangesTabWidget->setAccessibleName(tr("Changes"));
    AddedListView =
        AddChangeList(TChangeKind::Added, "AddedListView", tr("Added"), FDifference.Added);
    RemovedListView =
        AddChangeList(TChangeKind::Removed, "RemovedListView", tr("Removed"), FDifference.Removed);
    ChangedListView =
        AddChangeList(TChangeKind::Changed, "ChangedListView", tr("Changed"), FDifference.Changed);
    // The first kind that has any opens.
    for (int i = 0; i < ChangesTabWidget->count(); ++i) {
        if (static_cast<QListView*>(ChangesTabWidget->widget(i))->model()->rowCount() > 0) {
            ChangesTabWidget->setCurrentIndex(i);
            break;
        }
    }
}

QHBoxLayout* TRescanChangesForm::CreateButtonRow(bool warned) {
    ApplyNoteLabel =
        Named(new QLabel(tr("Apply puts the new reading in place of the disc's directories and "
                            "files. Its title, vendor, media type, creation date and memo stay.")),
              "ApplyNoteLabel");
    ApplyNoteLabel->setWordWrap(true);

    ApplyButton = Named(new QPushButton(tr("&Apply")), "ApplyButton");
    CancelButton = Named(new QPushButton(tr("&Cancel")), "CancelButton");
    // Enter must not apply a reading that looks like the disc went missing.
    ApplyButton->setDefault(!warned);
    ApplyButton->setAutoDefault(!warned);
    CancelButton->setDefault(warned);
    CancelButton->setAutoDefault(warned);
    connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);
    return buttons;
}

QListView* TRescanChangesForm::AddChangeList(TChangeKind kind, const char* objectName,
                                             const QString& caption, std::size_t count) {
    auto* list = Named(new QListView, objectName);
    list->setAccessibleName(caption);
    list->setModel(new TTreeChangeModel(FDifference, kind, list));
    // Rows of one height let the view lay out a million paths without measuring each.
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setIconSize(QSize(16, 16));
    ChangesTabWidget->addTab(list, QStringLiteral("%1 (%2)").arg(caption).arg(count));
    return list;
}

} // namespace orlenta
