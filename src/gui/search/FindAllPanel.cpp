#include "gui/search/FindAllPanel.h"

#include "gui/SizeAndDateText.h"
#include "gui/WidgetNames.h"
#include "gui/WindowText.h"
#include "gui/search/CopyKeyFilter.h"
#include "gui/search/FindHitModel.h"
#include "gui/search/SharedNameIndex.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace orlenta {

namespace {

QCheckBox* NewCheckBox(QWidget* parent, TSearchField field, const char* name) {
    auto* box = Named(new QCheckBox(FindFieldCaption(field), parent), name);
    box->setAccessibleName(QCoreApplication::translate("orlenta::TFindAllPanel", "Find in %1")
                               .arg(FindFieldCaption(field)));
    box->setChecked(true);
    return box;
}

} // namespace

TFindAllPanel::TFindAllPanel(std::shared_ptr<TSharedNameIndex> names, QWidget* parent)
    : QWidget(parent), FNames(names ? std::move(names) : std::make_shared<TSharedNameIndex>()) {
    Named(this, "FindAllPanel");
    setAccessibleName(tr("Find all"));

    // Made in tab order: the text, the ticks, the hits.
    QLabel* findLabel = CreateTextEdit();
    CreateFieldCheckBoxes();
    CreateHitsView();
    FStatusLabel = Named(new QLabel(this), "FindStatusLabel");
    LayOutControls(findLabel);
    ConnectControls();
}

QLabel* TFindAllPanel::CreateTextEdit() {
    auto* findLabel = new QLabel(tr("&Find"), this);
    FTextEdit = Named(new QLineEdit(this), "FindTextEdit");
    FTextEdit->setAccessibleName(tr("Find"));
    FTextEdit->setPlaceholderText(tr("Part of a name, or a pattern such as *.pdf"));
    FTextEdit->setClearButtonEnabled(true);
    //: The words size: and modified: are typed as they stand in every language.
    FTextEdit->setToolTip(
        tr("Words such as size:>10M, size:<700k, modified:>2020-01-01 or modified:<2021-06 keep "
           "the hits whose recorded size (k, M, G, T: units of 1024) or modification date (local "
           "time) passes them"));
    // The field's own clear button has no name for a screen reader to announce.
    for (QToolButton* button : FTextEdit->findChildren<QToolButton*>())
        button->setAccessibleName(tr("Clear"));
    findLabel->setBuddy(FTextEdit);
    return findLabel;
}

void TFindAllPanel::CreateFieldCheckBoxes() {
    FInTitleCheckBox = NewCheckBox(this, TSearchField::Title, "FindInTitleCheckBox");
    FInVendorCheckBox = NewCheckBox(this, TSearchField::Vendor, "FindInVendorCheckBox");
    FInMemoCheckBox = NewCheckBox(this, TSearchField::Memo, "FindInMemoCheckBox");
    FInDirectoryCheckBox = NewCheckBox(this, TSearchField::Directory, "FindInDirectoryCheckBox");
    FInFilenameCheckBox = NewCheckBox(this, TSearchField::Filename, "FindInFilenameCheckBox");
}

std::array<QCheckBox*, 5> TFindAllPanel::FieldCheckBoxes() const {
    return {FInTitleCheckBox, FInVendorCheckBox, FInMemoCheckBox, FInDirectoryCheckBox,
            FInFilenameCheckBox};
}

void TFindAllPanel::CreateHitsView() {
    FModel = new TFindHitModel(this);
    FHitsView = Named(new QTableView(this), "FindHitsView");
    FHitsView->setAccessibleName(tr("Hits"));
    FHitsView->setModel(FModel);
    FHitsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    FHitsView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FHitsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FHitsView->setShowGrid(false);
    FHitsView->setWordWrap(false);
    FHitsView->setTextElideMode(Qt::ElideMiddle);
    FHitsView->verticalHeader()->hide();
    FHitsView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FHitsView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = FHitsView->horizontalHeader();
    header->setSectionResizeMode(TFindHitModel::PathColumn, QHeaderView::Stretch);
    header->resizeSection(TFindHitModel::DiscColumn,
                          fontMetrics().horizontalAdvance(QLatin1Char('x')) * 14);
    header->resizeSection(
        TFindHitModel::FieldColumn,
        fontMetrics().horizontalAdvance(FindFieldCaption(TSearchField::Directory)) + 16);
    header->resizeSection(TFindHitModel::SizeColumn,
                          fontMetrics().horizontalAdvance(QStringLiteral("1023.9 MB")) + 16);
    header->resizeSection(TFindHitModel::ModifiedColumn,
                          fontMetrics().horizontalAdvance(ModifiedText(0)) + 24);
    // Unsorted until a column is clicked: the hits come in the order of the command line.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    FHitsView->setSortingEnabled(true);

    FCopyAction = Named(new QAction(tr("&Copy"), this), "FindCopyAction");
    FCopyAction->setShortcut(QKeySequence::Copy);
    FCopyAction->setShortcutContext(Qt::WidgetShortcut);
    FHitsView->addAction(FCopyAction);
    FHitsView->setContextMenuPolicy(Qt::ActionsContextMenu);
    FHitsView->installEventFilter(new TCopyKeyFilter(this, FCopyAction));
}

void TFindAllPanel::LayOutControls(QLabel* findLabel) {
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(findLabel);
    textRow->addWidget(FTextEdit, 1);
    // Three ticks a row: the panel sits in a dock as narrow as the tree.
    auto* ticks = new QGridLayout;
    int tick = 0;
    for (QCheckBox* box : FieldCheckBoxes()) {
        ticks->addWidget(box, tick / 3, tick % 3);
        ++tick;
    }
    ticks->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(textRow);
    layout->addLayout(ticks);
    layout->addWidget(FHitsView, 1);
    layout->addWidget(FStatusLabel);
}

void TFindAllPanel::ConnectControls() {
    FSearchTimer = new QTimer(this);
    FSearchTimer->setSingleShot(true);
    connect(FSearchTimer, &QTimer::timeout, this, &TFindAllPanel::Search);
    connect(FNames.get(), &TSharedNameIndex::Ready, this, [this] {
        if (FWaitingForIndex)
            Search();
    });
    connect(FTextEdit, &QLineEdit::textChanged, this, [this] { SearchLater(kTypingPause); });
    connect(FTextEdit, &QLineEdit::returnPressed, this,
            [this] { SearchLater(std::chrono::milliseconds(0)); });
    for (QCheckBox* box : FieldCheckBoxes())
        connect(box, &QCheckBox::toggled, this,
                [this] { SearchLater(std::chrono::milliseconds(0)); });
    connect(FHitsView, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit HitActivated(FModel->Hit(index.row()));
    });
    connect(FCopyAction, &QAction::triggered, this, &TFindAllPanel::CopySelectedHits);
}

TFindAllPanel::~TFindAllPanel() = default;

void TFindAllPanel::SetCatalogue(const IXMLOrlentaDataType& root) {
    FRoot = root;
    FNames->Follow(root);
    FPending = false;
    FTextEdit->clear();
    FSearchTimer->stop();
    FModel->Clear();
    FStatusLabel->clear();
    BuildIndexLater();
}

void TFindAllPanel::CatalogueChanged() {
    FNames->Follow(FRoot);
    if (!FTextEdit->text().isEmpty())
        SearchLater(std::chrono::milliseconds(0));
    else
        BuildIndexLater();
}

void TFindAllPanel::FollowCatalogue(const IXMLOrlentaDataType& root) {
    // The panel holds its document alive, so a new document never has the old one's address.
    if (root.Document() != FRoot.Document())
        SetCatalogue(root);
    else
        CatalogueChanged();
}

void TFindAllPanel::FocusText() {
    FTextEdit->setFocus(Qt::ShortcutFocusReason);
    FTextEdit->selectAll();
}

TSearchRequest TFindAllPanel::Request() const {
    TSearchRequest request;
    request.Text = ToStdString(FTextEdit->text());
    request.InTitle = FInTitleCheckBox->isChecked();
    request.InVendor = FInVendorCheckBox->isChecked();
    request.InMemo = FInMemoCheckBox->isChecked();
    request.InDirectory = FInDirectoryCheckBox->isChecked();
    request.InFilename = FInFilenameCheckBox->isChecked();
    request.Wildcards = true;
    request.SizeDateFilters = true;
    return request;
}

std::string TFindAllPanel::DirectoryID(const TFindHit& hit) const {
    const TNameIndex* index = FModel->Index();
    return index != nullptr ? std::string(index->DirectoryID(hit.Directory)) : std::string();
}

void TFindAllPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CatchUp();
}

void TFindAllPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled())
        CatchUp();
}

bool TFindAllPanel::MayRead() const {
    // Hidden, nobody looks; disabled, the catalogue may be half-way through a change (a disc
    // being read lets events run).
    return isVisible() && isEnabled();
}

void TFindAllPanel::CatchUp() {
    if (FPending)
        SearchLater(std::chrono::milliseconds(0));
    else
        BuildIndexLater();
}

void TFindAllPanel::BuildIndexLater() {
    if (FRoot && MayRead())
        FNames->Request();
}

void TFindAllPanel::SearchLater(std::chrono::milliseconds pause) {
    FSearchTimer->start(pause);
}

void TFindAllPanel::Search() {
    FSearchTimer->stop();
    FWaitingForIndex = false;
    if (!MayRead()) {
        FPending = true;
        return;
    }
    FPending = false;
    const TSearchRequest request = Request();
    if (request.Text.empty() || !FRoot) {
        FModel->Clear();
        FStatusLabel->clear();
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    // The hits keep the index they point into until new ones replace them.
    const std::shared_ptr<const TNameIndex> index = FNames->Request();
    if (!index) {
        FWaitingForIndex = true;
        return;
    }
    FModel->SetHits(index, FindAll(*index, request));
    const double milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // A filter on values that are not there finds nothing, which the status explains; the
    // check searches again, so it runs only then.
    const TMissingValues missing =
        FModel->HitCount() == 0 ? MissingValues(*index, request) : TMissingValues::None;
    ShowStatus(FModel->HitCount(), milliseconds,
               TSearchText(SplitFilters(request.Text).Name, request.Wildcards).IsPattern(),
               missing);
}

void TFindAllPanel::ShowStatus(int hits, double milliseconds, bool pattern,
                               TMissingValues missing) {
    const QString count = hits == 0   ? tr("No hits")
                          : hits == 1 ? tr("1 hit")
                                      : tr("%1 hits").arg(QLocale().toString(hits));
    QString reason;
    if (missing == TMissingValues::InCatalogue)
        reason = tr(". No sizes or dates are recorded in this catalogue.");
    else if (missing == TMissingValues::InNameHits)
        reason = tr(". No sizes or dates are recorded for the names found.");
    FStatusLabel->setText(
        tr("%1 in %2 ms").arg(count, QLocale().toString(std::max(1.0, milliseconds), 'f', 0)) +
        (pattern ? tr(" (pattern)") : QString()) + reason);
}

void TFindAllPanel::CopySelectedHits() {
    std::vector<int> rows;
    for (const QModelIndex& index : FHitsView->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(ToQString(FModel->HitLines(rows)));
}

} // namespace orlenta
