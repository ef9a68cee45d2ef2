#include "StandInWindows.h"

#include "core/state/StoredProperties.h"
#include "gui/state/HistoryComboBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace orlenta::test {

TOvcIniFileStore::TLocator LocatorFor(const QString& path) {
    const std::string file = path.toStdString();
    return [file](const std::string&) { return file; };
}

TStandInMainWindow::TStandInMainWindow(const QString& iniPath)
    : FStore(LocatorFor(iniPath)),
      FFormState(*this, FStore, QString::fromLatin1(kFormStateSection)) {
    setMinimumSize(300, 200);
    resize(600, 400);
    DesignedGeometry = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                           QGuiApplication::primaryScreen()->availableGeometry());
    setGeometry(DesignedGeometry);
    FFormState.RestoreState();
}

TStandInMainWindow::~TStandInMainWindow() {
    if (!FFormState.SaveDue())
        return;
    try {
        FFormState.SaveState();
    } catch (const std::exception& error) {
        Errors.append(QString::fromUtf8(error.what()));
    }
}

void TStandInMainWindow::closeEvent(QCloseEvent* event) {
    if (!CanClose) {
        event->ignore();
        return;
    }
    try {
        FFormState.SaveState();
    } catch (const std::exception& error) {
        Errors.append(QString::fromUtf8(error.what()));
    }
    event->accept();
}

TStandInAddDialog::TStandInAddDialog(const QString& iniPath) : FStore(LocatorFor(iniPath)) {
    const auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setAccessibleName(QString::fromLatin1(name));
        return widget;
    };
    auto* layout = new QVBoxLayout(this);
    SystemItemRadioButton =
        named(new QRadioButton(QStringLiteral("System item")), "SystemItemRadioButton");
    CustomDirectoryRadioButton =
        named(new QRadioButton(QStringLiteral("Custom directory")), "CustomDirectoryRadioButton");
    RootFromHistoryComboBox = named(new THistoryComboBox, "RootFromHistoryComboBox");
    OvcAttachedButtonSource =
        named(new QPushButton(QStringLiteral("...")), "OvcAttachedButtonSource");
    VirtualDiscRadioButton =
        named(new QRadioButton(QStringLiteral("Virtual disc")), "VirtualDiscRadioButton");
    IncludeFilenamesCheckBox =
        named(new QCheckBox(QStringLiteral("Include filenames")), "IncludeFilenamesCheckBox");
    for (QWidget* widget : std::initializer_list<QWidget*>{
             SystemItemRadioButton, CustomDirectoryRadioButton, RootFromHistoryComboBox,
             OvcAttachedButtonSource, VirtualDiscRadioButton, IncludeFilenamesCheckBox})
        layout->addWidget(widget);
    for (QRadioButton* radio :
         {SystemItemRadioButton, CustomDirectoryRadioButton, VirtualDiscRadioButton})
        connect(radio, &QRadioButton::clicked, this, [this] { HandleRadioClick(); });
    SystemItemRadioButton->setChecked(true);
    HandleRadioClick();
    RadioClicks = 0;

    QStringList properties;
    for (const std::string& entry : AddDialogStoredProperties())
        properties.append(QString::fromStdString(entry));
    FComponentState = std::make_unique<TOvcComponentState>(
        *this, FStore, QString::fromLatin1(kAddDialogSection), properties);
    FComponentState->RestoreState();
}

void TStandInAddDialog::HandleRadioClick() {
    ++RadioClicks;
    RootFromHistoryComboBox->setEnabled(CustomDirectoryRadioButton->isChecked());
    OvcAttachedButtonSource->setEnabled(CustomDirectoryRadioButton->isChecked());
}

void TStandInAddDialog::Browse(const QString& chosen) {
    QString start = RootFromHistoryComboBox->currentText();
    if (!chosen.isEmpty()) {
        start = chosen;
        RootFromHistoryComboBox->addItem(start);
    }
    RootFromHistoryComboBox->setEditText(start);
    FComponentState->UpdateStoredProperties();
    FComponentState->SaveState();
}

void TStandInAddDialog::done(int result) {
    try {
        FComponentState->SaveState();
    } catch (const std::exception& error) {
        Errors.append(QString::fromUtf8(error.what()));
    }
    QDialog::done(result);
}

} // namespace orlenta::test
