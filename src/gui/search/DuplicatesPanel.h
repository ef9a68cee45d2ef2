#pragma once

// Duplicates: the files of the open catalogue that stand more than once, as groups with their
// copies, and a minimum size. The window puts it in a dock under the tree, feeds it the open
// catalogue and its changes, and selects a copy's directory in the tree when one is activated.
// It only reads the catalogue.
//
// The catalogue is read into the name index the window's views share, in slices between events;
// the groups are then found from that copy on a thread of their own, so that typing and clicking
// go on while they are.

#include "core/catalogue/OrlentaData.h"
#include "core/search/Duplicates.h"

#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

class QAction;
class QLabel;
class QLineEdit;
class QTreeView;

namespace orlenta {

class TDuplicateGroupModel;
class TSharedNameIndex;

class TDuplicatesPanel : public QWidget {
    Q_OBJECT
public:
    // names: the index shared with the window's other views; the panel makes its own without.
    explicit TDuplicatesPanel(std::shared_ptr<TSharedNameIndex> names = nullptr,
                              QWidget* parent = nullptr);
    // Waits for a search still running.
    ~TDuplicatesPanel() override;

    // The open catalogue, after anything that may have changed it or replaced it: the groups
    // are found again as soon as the panel is shown and enabled.
    void FollowCatalogue(const IXMLOrlentaDataType& root);
    // The smallest size the minimum-size field gives (1 when it is empty or not a number).
    std::uint64_t MinSize() const;
    const TDuplicateGroupModel& Groups() const { return *FModel; }
    // Whether groups are being found, or the index they are found in built.
    bool Searching() const { return FWorker.joinable() || FWaitingForIndex; }
    // The ID of the directory holding a copy.
    std::string DirectoryID(const TDuplicateCopy& copy) const;

signals:
    // A copy was double-clicked or Enter was pressed on it.
    void CopyActivated(const orlenta::TDuplicateCopy& copy);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Returns the edit's label, laid out beside it.
    QLabel* CreateMinSizeEdit();
    void CreateGroupsView();
    void LayOutControls(QLabel* minSizeLabel);
    void ConnectControls();
    // Finds the groups now, or as soon as the panel is shown and enabled.
    void Search();
    void Found(std::shared_ptr<const TNameIndex> index, TDuplicates duplicates, double ms,
               unsigned generation);
    bool MayRead() const { return isVisible() && isEnabled(); }
    void CopySelectedRows();

    IXMLOrlentaDataType FRoot;
    std::shared_ptr<TSharedNameIndex> FNames;
    bool FPending = false;
    bool FWaitingForIndex = false;
    std::chrono::steady_clock::time_point FAskedAt;
    // Counts the searches started; a result of an earlier one is dropped.
    unsigned FGeneration = 0;
    std::thread FWorker;

    QLineEdit* FMinSizeEdit = nullptr;
    QTreeView* FGroupsView = nullptr;
    QLabel* FStatusLabel = nullptr;
    QAction* FCopyAction = nullptr;
    TDuplicateGroupModel* FModel = nullptr;
};

} // namespace orlenta

Q_DECLARE_METATYPE(orlenta::TDuplicateCopy)
