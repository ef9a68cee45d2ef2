#pragma once

#include "core/exchange/ExportFile.h"
#include "gui/OwnDialog.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace orlenta {

// What the export dialog hands back.
struct TExportRequest {
    bool SelectedDisc = false; // the selected disc only, else the whole catalogue
    TExportFormat Format = TExportFormat::Csv;
    // CSV: values marked so that a spreadsheet takes none as a formula.
    bool ForSpreadsheets = false;
};

// "Export": the whole catalogue or the selected disc, the format, and for CSV whether it is meant
// for a spreadsheet.
class TExportDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // discSelected: whether there is a selected disc to offer.
    TExportDialogForm(QWidget* parent, bool discSelected);

    TExportRequest Request() const;

private:
    QRadioButton* WholeCatalogueRadioButton = nullptr;
    QRadioButton* SelectedDiscRadioButton = nullptr;
    QComboBox* FormatComboBox = nullptr;
    QCheckBox* ForSpreadsheetsCheckBox = nullptr;
};

} // namespace orlenta
