#include "gui/reading/RescanChangesForm.h"

#include "gui/reading/TreeChangeModel.h"

#include <QCoreApplication>
#include <QFile>
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

QString FromFileSystemText(const std::string& text) {
    return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

// A word-wrapped label of plain text, hidden while it has none.
QLabel* NoteLabel(const char* objectName, const QString& accessibleName, const std::string& text) {
    auto* label = new QLabel(FromFileSystemText(text));
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAccessibleName(accessibleName);
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
    setObjectName(QStringLiteral("RescanChangesForm"));
    setWindowTitle(tr("Rescan disc"));
    setModal(true);
    setSizeGripEnabled(true);

    IntroLabel = new QLabel(tr("'%1' read again from %2").arg(title, FromFileSystemText(source)));
    IntroLabel->setObjectName(QStringLiteral("IntroLabel"));
    IntroLabel->setTextFormat(Qt::PlainText);
    IntroLabel->setWordWrap(true);
    CountsLabel = new QLabel(ChangeCountsText(difference));
    CountsLabel->setObjectName(QStringLiteral("CountsLabel"));
    CountsLabel->setTextFormat(Qt::PlainText);
    QFont bold = CountsLabel->font();
    bold.setBold(true);
    CountsLabel->setFont(bold);

    WarningLabel = NoteLabel("WarningLabel", tr("Warning"), warning);
    // Red on the window's own background, so that it reads in light and dark themes alike.
    QPalette alarm = WarningLabel->palette();
    alarm.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
    WarningLabel->setPalette(alarm);
    WarningLabel->setFont(bold);
    NotesLabel = NoteLabel("NotesLabel", tr("Notes"), notes);

    ChangesTabWidget = new QTabWidget;
    ChangesTabWidget->setObjectName(QStringLiteral("ChangesTabWidget"));
    ChangesTabWidget->setAccessibleName(tr("Changes"));
    AddedListView =
        AddChangeList(TChangeKind::Added, "AddedListView", tr("Added"), difference.Added);
    RemovedListView =
        AddChangeList(TChangeKind::Removed, "RemovedListView", tr("Removed"), difference.Removed);
    ChangedListView =
        AddChangeList(TChangeKind::Changed, "ChangedListView", tr("Changed"), difference.Changed);
    // The first kind that has any opens.
    for (int i = 0; i < ChangesTabWidget->count(); ++i) {
        if (static_cast<QListView*>(ChangesTabWidget->widget(i))->model()->rowCount() > 0) {
            ChangesTabWidget->setCurrentIndex(i);
            break;
        }
    }

    ApplyNoteLabel =
        new QLabel(tr("Apply puts the new reading in place of the disc's directories and files. "
                      "Its title, vendor, media type, creation date and memo stay."));
    ApplyNoteLabel->setObjectName(QStringLiteral("ApplyNoteLabel"));
    ApplyNoteLabel->setWordWrap(true);

    ApplyButton = new QPushButton(tr("&Apply"));
    ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
    CancelButton = new QPushButton(tr("&Cancel"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    // Enter must not apply a reading that looks like the disc went missing.
    ApplyButton->setDefault(warning.empty());
    ApplyButton->setAutoDefault(warning.empty());
    CancelButton->setDefault(!warning.empty());
    CancelButton->setAutoDefault(!warning.empty());
    connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);

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

QListView* TRescanChangesForm::AddChangeList(TChangeKind kind, const char* objectName,
                                             const QString& caption, std::size_t count) {
    auto* list = new QListView;
    list->setObjectName(QString::fromLatin1(objectName));
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
