#pragma once

#include "core/search/CatalogueSearch.h"
#include "gui/OwnDialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace orlenta {

// "Search": the keyword and the fields to look in. It has no behaviour of its own; a new one
// starts from the default ticks.
class TSearchDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    explicit TSearchDialogForm(QWidget* parent);

    // The request as the user left it: the keyword exactly as typed.
    TSearchRequest Request() const;

private:
    QGroupBox* GroupBox2 = nullptr;
    QWidget* HostPanel = nullptr;
    QLineEdit* SearchTextEdit = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* SearchInTitleCheckBox = nullptr;
    QCheckBox* SearchInVendorCheckBox = nullptr;
    QCheckBox* SearchInMemoCheckBox = nullptr;
    QCheckBox* SearchInDirectoryCheckBox = nullptr;
    QCheckBox* SearchInFilenameCheckBox = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace orlenta
