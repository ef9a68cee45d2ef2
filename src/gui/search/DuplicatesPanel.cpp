#include "gui/search/DuplicatesPanel.h"

#include "core/catalogue/SizeAndDate.h"
#include "gui/SizeAndDateText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/search/CopyKeyFilter.h"
#include "gui/search/DuplicateGroupModel.h"
#include "gui/search/SharedNameIndex.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <chrono>

namespace orlenta {

TDuplicatesPanel::TDuplicatesPanel(std::shared_ptr<TSharedNameIndex> names, QWidget* parent)
    : QWidget(parent), FNames(names ? std::move(names) : std::make_shared<TSharedNameIndex>()) {
    Named(this, "DuplicatesPanel");
    setAccessibleName(tr("Duplicates"));

    // Made in tab order: the minimum size, then the groups.
    QLabel* minSizeLabel = CreateMinSizeEdit();
    CreateGroupsView();
    FStatusLabel = Named(new QLabel(this), "DuplicatesStatusLabel");
    FStatusLabel->setAccessibleName(tr("Duplicates status"));
    LayOutControls(minSizeLabel);
    ConnectControls();
}

QLabel* TDuplicatesPanel::CreateMinSizeEdit() {
    auto* minSizeLabel = new QLabel(tr("&Minimum size (bytes)"), this);
    FMinSizeEdit = Named(new QLineEdit(QStringLiteral("1"), this), "DuplicatesMinSizeEdit");
    FMinSizeEdit->setAccessibleName(tr("Minimum size in bytes"));
    FMinSizeEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,19}")), this));
    FMinSizeEdit->setToolTip(
        tr("Files with a recorded size below it are left out; empty files always are"));
    minSizeLabel->setBuddy(FMinSizeEdit);
    return minSizeLabel;
}

void TDuplicatesPanel::CreateGroupsView() {
    FModel = new TDuplicateGroupModel(this);
    FGroupsView = Named(new QTreeView(this), "DuplicatesView");
    FGroupsView->setAccessibleName(tr("Duplicate files"));
    FGroupsView->setModel(FModel);
    FGroupsView->setUniformRowHeights(true);
    FGroupsView->setAllColumnsShowFocus(true);
    FGroupsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    FGroupsView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FGroupsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FGroupsView->setTextElideMode(Qt::ElideMiddle);
    // A copy's row activates; a group's row opens and closes as in any tree.
    FGroupsView->setExpandsOnDoubleClick(true);
    QHeaderView* header = FGroupsView->header();
    // The name or path first and wide, the disc's title last taking what is left: the dock is
    // as narrow as the tree.
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    header->resizeSection(TDuplicateGroupModel::NameColumn, digit * 26);
    for (const int column : {TDuplicateGroupModel::SizeColumn, TDuplicateGroupModel::WastedColumn})
        header->resizeSection(column,
                              fontMetrics().horizontalAdvance(QStringLiteral("1023.9 MB")) + 12);
    header->resizeSection(
        TDuplicateGroupModel::CopiesColumn,
        fontMetrics().horizontalAdvance(
            FModel->headerData(TDuplicateGroupModel::CopiesColumn, Qt::Horizontal).toString()) +
            16);
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    FGroupsView->setSortingEnabled(true);

    FCopyAction = Named(new QAction(tr("&Copy"), this), "DuplicatesCopyAction");
    FCopyAction->setShortcut(QKeySequence::Copy);
    FCopyAction->setShortcutContext(Qt::WidgetShortcut);
    FGroupsView->addAction(FCopyAction);
    FGroupsView->setContextMenuPolicy(Qt::ActionsContextMenu);
    FGroupsView->installEventFilter(new TCopyKeyFilter(this, FCopyAction));
}

void TDuplicatesPanel::LayOutControls(QLabel* minSizeLabel) {
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(minSizeLabel);
    sizeRow->addWidget(FMinSizeEdit);
    sizeRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(sizeRow);
    layout->addWidget(FGroupsView, 1);
    layout->addWidget(FStatusLabel);
}

void TDuplicatesPanel::ConnectControls() {
    auto* typingTimer = new QTimer(this);
    typingTimer->setSingleShot(true);
    typingTimer->setInterval(250);
    connect(typingTimer, &QTimer::timeout, this, &TDuplicatesPanel::Search);
    connect(FMinSizeEdit, &QLineEdit::textChanged, typingTimer, qOverload<>(&QTimer::start));
    connect(FGroupsView, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (const TDuplicateCopy* copy = FModel->Copy(index))
            emit CopyActivated(*copy);
    });
    connect(FCopyAction, &QAction::triggered, this, &TDuplicatesPanel::CopySelectedRows);
    connect(FNames.get(), &TSharedNameIndex::Ready, this, [this] {
        if (FWaitingForIndex)
            Search();
    });
}

TDuplicatesPanel::~TDuplicatesPanel() {
    if (FWorker.joinable())
        FWorker.join();
}

void TDuplicatesPanel::FollowCatalogue(const IXMLOrlentaDataType& root) {
    FRoot = root;
    FNames->Follow(root);
    FWaitingForIndex = false;
    // A search still running found groups of the catalogue as it was.
    ++FGeneration;
    Search();
}

std::uint64_t TDuplicatesPanel::MinSize() const {
    const std::string text = ToStdString(FMinSizeEdit->text());
    return ParseByteCount(text.c_str()).value_or(1);
}

std::string TDuplicatesPanel::DirectoryID(const TDuplicateCopy& copy) const {
    const TNameIndex* index = FModel->Index();
    return index != nullptr ? std::string(index->DirectoryID(copy.Directory)) : std::string();
}

void TDuplicatesPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (FPending)
        QTimer::singleShot(0, this, &TDuplicatesPanel::Search);
}

void TDuplicatesPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && FPending)
        QTimer::singleShot(0, this, &TDuplicatesPanel::Search);
}

void TDuplicatesPanel::Search() {
    // Hidden, nobody looks; disabled, the catalogue may be half-way through a change (a disc
    // being read lets events run); searching, the running search comes back first.
    if (!MayRead() || !FRoot || FWorker.joinable()) {
        FPending = true;
        FWaitingForIndex = false;
        return;
    }
    FPending = false;
    // The time the status gives runs from the first ask, the index's build included.
    if (!FWaitingForIndex)
        FAskedAt = std::chrono::steady_clock::now();
    FStatusLabel->setText(tr("Looking for duplicates..."));
    const std::shared_ptr<const TNameIndex> index = FNames->Request();
    FWaitingForIndex = !index;
    if (!index)
        return;
    const unsigned generation = ++FGeneration;
    FWorker = std::thread(
        [this, index, options = TDuplicateOptions{MinSize()}, generation, start = FAskedAt] {
            TDuplicates duplicates = FindDuplicates(*index, options);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            // The panel waits for this thread before it goes, so it is still there.
            QMetaObject::invokeMethod(
                this,
                [this, index, duplicates = std::move(duplicates), ms, generation]() mutable {
                    Found(index, std::move(duplicates), ms, generation);
                },
                Qt::QueuedConnection);
        });
}

void TDuplicatesPanel::Found(std::shared_ptr<const TNameIndex> index, TDuplicates duplicates,
                             double ms, unsigned generation) {
    FWorker.join();
    if (generation == FGeneration && !FPending) {
        std::uint64_t wasted = 0;
        for (const TDuplicateGroup& group : duplicates.Groups)
            wasted = SaturatingAdd(wasted, group.Wasted);
        const int groups = static_cast<int>(duplicates.Groups.size());
        FModel->SetGroups(std::move(index), std::move(duplicates));
        const QString count = groups == 0   ? tr("No duplicates")
                              : groups == 1 ? tr("1 group")
                                            : tr("%1 groups").arg(QLocale().toString(groups));
        const QString waste = wasted > 0 ? tr(", %1 wasted").arg(SizeText(wasted)) : QString();
        FStatusLabel->setText(
            tr("%1%2 in %3 ms").arg(count, waste, QLocale().toString(std::max(1.0, ms), 'f', 0)));
    }
    if (FPending)
        Search();
}

void TDuplicatesPanel::CopySelectedRows() {
    const QModelIndexList rows = FGroupsView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(ToQString(FModel->Lines(rows)));
}

} // namespace orlenta
