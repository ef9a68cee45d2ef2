#include "gui/mainwindow/ExportDialogForm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orlenta {

TExportDialogForm::TExportDialogForm(QWidget* parent, bool discSelected) : TOwnDialog(parent) {
    setObjectName(QStringLiteral("ExportDialogForm"));
    setWindowTitle(tr("Export"));
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    WholeCatalogueRadioButton = new QRadioButton(tr("&Whole catalogue"));
    WholeCatalogueRadioButton->setObjectName(QStringLiteral("WholeCatalogueRadioButton"));
    WholeCatalogueRadioButton->setAccessibleName(tr("Whole catalogue"));
    SelectedDiscRadioButton = new QRadioButton(tr("&Selected disc"));
    SelectedDiscRadioButton->setObjectName(QStringLiteral("SelectedDiscRadioButton"));
    SelectedDiscRadioButton->setAccessibleName(tr("Selected disc"));
    SelectedDiscRadioButton->setEnabled(discSelected);
    WholeCatalogueRadioButton->setChecked(true);
    auto* formatLabel = new QLabel(tr("&Format"));
    formatLabel->setObjectName(QStringLiteral("FormatComboBoxLabel"));
    FormatComboBox = new QComboBox;
    FormatComboBox->setObjectName(QStringLiteral("FormatComboBox"));
    FormatComboBox->setAccessibleName(tr("Format"));
    FormatComboBox->addItem(tr("CSV (a row per directory and file)"),
                            static_cast<int>(TExportFormat::Csv));
    FormatComboBox->addItem(QStringLiteral("JSON"), static_cast<int>(TExportFormat::Json));
    FormatComboBox->addItem(tr("Web page (HTML)"), static_cast<int>(TExportFormat::Html));
    formatLabel->setBuddy(FormatComboBox);
    layout->addWidget(WholeCatalogueRadioButton);
    layout->addWidget(SelectedDiscRadioButton);
    layout->addWidget(formatLabel);
    layout->addWidget(FormatComboBox);
    SetContent(content, QString());
}

TExportRequest TExportDialogForm::Request() const {
    return {SelectedDiscRadioButton->isChecked(),
            static_cast<TExportFormat>(FormatComboBox->currentData().toInt())};
}

} // namespace orlenta
