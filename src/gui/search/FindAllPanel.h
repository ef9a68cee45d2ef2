#pragma once

// Find all: a text field that searches the open catalogue as one types, ticks for the fields to
// look in, and every hit in a sortable table with its disc, path and field. The window puts it
// where it likes (a dock under the tree), feeds it the open catalogue and its changes, and
// selects a hit in the tree when one is activated. It only reads the catalogue.

#include "core/catalogue/OrlentaData.h"
#include "core/search/FindAll.h"

#include <QWidget>
#include <array>
#include <chrono>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;
class QTimer;

namespace orlenta {

class TFindHitModel;
class TSharedNameIndex;

class TFindAllPanel : public QWidget {
    Q_OBJECT
public:
    // How long typing must pause before the search runs.
    static constexpr std::chrono::milliseconds kTypingPause{250};

    // names: the index shared with the window's other views; the panel makes its own without.
    explicit TFindAllPanel(std::shared_ptr<TSharedNameIndex> names = nullptr,
                           QWidget* parent = nullptr);
    ~TFindAllPanel() override;

    // A catalogue became the open one (New, Open): the text, the hits and the status are
    // cleared. The panel keeps root, and so its document, until the next call.
    void SetCatalogue(const IXMLOrlentaDataType& root);
    // The open catalogue changed (a disc added, removed or edited): the hits are found again,
    // as soon as the panel is shown and enabled. Until then the hits listed stay as they were.
    void CatalogueChanged();
    // The open catalogue, after anything that may have changed it or replaced it (New, Open, a
    // disc added, removed or edited): SetCatalogue when root is another document than the one
    // followed so far, CatalogueChanged when it is the same.
    void FollowCatalogue(const IXMLOrlentaDataType& root);
    // Puts the focus into the text field with its text selected, for typing a new search.
    void FocusText();

    // The search as the controls stand.
    TSearchRequest Request() const;
    // The hit list behind the table, in the table's order.
    const TFindHitModel& Hits() const { return *FModel; }
    // The ID of the directory to select in the tree for hit: the directory that matched or
    // holds the file name that matched; the disc's top directory for its title, vendor or memo.
    std::string DirectoryID(const TFindHit& hit) const;

signals:
    // A hit was double-clicked or Enter was pressed on it.
    void HitActivated(const orlenta::TFindHit& hit);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Returns the text's label, laid out beside it.
    QLabel* CreateTextEdit();
    void CreateFieldCheckBoxes();
    // The fields' ticks in the order they show.
    std::array<QCheckBox*, 5> FieldCheckBoxes() const;
    void CreateHitsView();
    void LayOutControls(QLabel* findLabel);
    void ConnectControls();
    void SearchLater(std::chrono::milliseconds pause);
    // Runs the search now, or as soon as the panel is shown and enabled.
    void Search();
    // Asks for the index when the panel is shown and enabled, so that the first keystroke only
    // searches.
    void BuildIndexLater();
    // Once the panel may read again: the search put off meanwhile, or else the index.
    void CatchUp();
    // Whether the panel may read the catalogue now.
    bool MayRead() const;
    void ShowStatus(int hits, double milliseconds, bool pattern, TMissingValues missing);
    void CopySelectedHits();

    IXMLOrlentaDataType FRoot;
    std::shared_ptr<TSharedNameIndex> FNames;
    bool FPending = false;
    // A search waits for the index to be built.
    bool FWaitingForIndex = false;

    QLineEdit* FTextEdit = nullptr;
    QCheckBox* FInTitleCheckBox = nullptr;
    QCheckBox* FInVendorCheckBox = nullptr;
    QCheckBox* FInMemoCheckBox = nullptr;
    QCheckBox* FInDirectoryCheckBox = nullptr;
    QCheckBox* FInFilenameCheckBox = nullptr;
    QTableView* FHitsView = nullptr;
    QLabel* FStatusLabel = nullptr;
    QAction* FCopyAction = nullptr;
    QTimer* FSearchTimer = nullptr;
    TFindHitModel* FModel = nullptr;
};

} // namespace orlenta

Q_DECLARE_METATYPE(orlenta::TFindHit)
