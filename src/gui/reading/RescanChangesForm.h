#pragma once

#include "core/catalogue/TreeDifference.h"

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QListView;
class QPushButton;
class QTabWidget;

namespace orlenta {

// "Rescan disc": what reading a disc again changed, before anything is replaced. The counts, then
// the added, removed and changed paths, each kind in a list of its own; Apply accepts the dialog,
// Cancel and the close box reject it.
class TRescanChangesForm : public QDialog {
    Q_OBJECT
public:
    // title: the disc's; source: the directory it was read from (bytes as the file system takes
    // them). difference must outlive the dialog. warning: why applying may lose the disc rather
    // than update it (shown above the changes; Cancel is then the default button); notes: what
    // else the user should know of the reading, such as folders that could not be read. Both
    // are texts as core gives them, empty for none.
    TRescanChangesForm(QWidget* parent, const QString& title, const std::string& source,
                       const TTreeDifference& difference, const std::string& warning = {},
                       const std::string& notes = {});

private:
    void CreateSummaryLabels(const QString& title, const std::string& source,
                             const std::string& warning, const std::string& notes);
    void CreateChangeTabs();
    // The note on what Apply keeps, and the row of Apply and Cancel; Cancel is the default when
    // the reading came with a warning.
    QHBoxLayout* CreateButtonRow(bool warned);
    QListView* AddChangeList(TChangeKind kind, const char* objectName, const QString& caption,
                             std::size_t count);

    const TTreeDifference& FDifference;
    QLabel* IntroLabel = nullptr;
    QLabel* CountsLabel = nullptr;
    QLabel* WarningLabel = nullptr;
    QLabel* NotesLabel = nullptr;
    QTabWidget* ChangesTabWidget = nullptr;
    QListView* AddedListView = nullptr;
    QListView* RemovedListView = nullptr;
    QListView* ChangedListView = nullptr;
    QLabel* ApplyNoteLabel = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

// The counts of difference as the command line ends its list: "3 added, 1 removed, 2 changed".
QString ChangeCountsText(const TTreeDifference& difference);

} // namespace orlenta
