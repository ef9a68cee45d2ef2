#include "gui/mainwindow/ExportDialogForm.h"

#include "gui/WidgetNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orlenta {

TExportDialogForm::TExportDialogForm(QWidget* parent, bool discSelected) : TOwnDialog(parent) {
    Named(this, "ExportDialogForm");
    setWindowTitle(tr("Export"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    WholeCatalogueRadioButton =
        Named(new QRadioButton(tr("&Whole catalogue")), "WholeCatalogueRadioButton");
    WholeCatalogueRadioButton->setAccessibleName(tr("Whole catalogue"));
    SelectedDiscRadioButton =
        Named(new QRadioButton(tr("&Selected disc")), "SelectedDiscRadioButton");
    SelectedDiscRadioButton->setAccessibleName(tr("Selected disc"));
    SelectedDiscRadioButton->setEnabled(discSelected);
    WholeCatalogueRadioButton->setChecked(true);
    auto* formatLabel = Named(new QLabel(tr("&Format")), "FormatComboBoxLabel");
    FormatComboBox = Named(new QComboBox, "FormatComboBox");
    FormatComboBox->setAccessibleName(tr("Format"));
    FormatComboBox->addItem(tr("CSV (a row per directory and file)"),
                            static_cast<int>(TExportFormat::Csv));
    FormatComboBox->addItem(QStringLiteral("JSON"), static_cast<int>(TExportFormat::Json));
    FormatComboBox->addItem(tr("Web page (HTML)"), static_cast<int>(TExportFormat::Html));
    formatLabel->setBuddy(FormatComboBox);
    ForSpreadsheetsCheckBox =
        Named(new QCheckBox(tr("For s&preadsheets: no value may become a formula")),
              "ForSpreadsheetsCheckBox");
    ForSpreadsheetsCheckBox->setAccessibleName(tr("For spreadsheets"));
    ForSpreadsheetsCheckBox->setAccessibleDescription(
        tr("Puts an apostrophe before values that begin with =, +, -, @, a tab, a carriage "
           "return or an apostrophe"));
    // Only the CSV form goes to spreadsheets.
    const auto followFormat = [this] {
        ForSpreadsheetsCheckBox->setEnabled(
            static_cast<TExportFormat>(FormatComboBox->currentData().toInt()) ==
            TExportFormat::Csv);
    };
    connect(FormatComboBox, &QComboBox::currentIndexChanged, this, followFormat);
    followFormat();
    layout->addWidget(WholeCatalogueRadioButton);
    layout->addWidget(SelectedDiscRadioButton);
    layout->addWidget(formatLabel);
    layout->addWidget(FormatComboBox);
    layout->addWidget(ForSpreadsheetsCheckBox);
    SetContent(content, QString());
}

TExportRequest TExportDialogForm::Request() const {
    const auto format = static_cast<TExportFormat>(FormatComboBox->currentData().toInt());
    return {SelectedDiscRadioButton->isChecked(), format,
            format == TExportFormat::Csv && ForSpreadsheetsCheckBox->isChecked()};
}

} // namespace orlenta
