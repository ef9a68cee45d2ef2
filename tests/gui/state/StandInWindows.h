#pragma once

// Small windows that use the window state store the way the program's main window and add-disc
// dialog are meant to: restore after creation and before the first show, save when closing.

#include "core/state/OvcIniFileStore.h"
#include "gui/state/OvcComponentState.h"
#include "gui/state/OvcFormState.h"

#include <QDialog>
#include <QStringList>
#include <QWidget>
#include <memory>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace orlenta {

class THistoryComboBox;

namespace test {

// Every store of a test names this file.
TOvcIniFileStore::TLocator LocatorFor(const QString& path);

// A main window: designed at 600 by 400 in the centre of the screen, its position kept in GUI.
class TStandInMainWindow : public QWidget {
public:
    explicit TStandInMainWindow(const QString& iniPath);
    ~TStandInMainWindow() override;

    bool CanClose = true; // the answer of the unsaved-changes question
    QStringList Errors;   // what the standard error box would have shown
    QRect DesignedGeometry;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TOvcIniFileStore FStore;
    TOvcFormState FFormState;
};

// An add-disc dialog: three source radio buttons, the history box with its browse button and
// the file-names check box, its values kept in Add.
class TStandInAddDialog : public QDialog {
public:
    explicit TStandInAddDialog(const QString& iniPath);

    // What the folder picker answers next (empty: cancelled).
    void Browse(const QString& chosen);

    QRadioButton* SystemItemRadioButton;
    QRadioButton* CustomDirectoryRadioButton;
    QRadioButton* VirtualDiscRadioButton;
    THistoryComboBox* RootFromHistoryComboBox;
    QPushButton* OvcAttachedButtonSource;
    QCheckBox* IncludeFilenamesCheckBox;
    int RadioClicks = 0;
    QStringList Errors;

    void done(int result) override;

private:
    void HandleRadioClick();

    TOvcIniFileStore FStore;
    std::unique_ptr<TOvcComponentState> FComponentState;
};

} // namespace test
} // namespace orlenta
