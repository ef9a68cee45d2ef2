#pragma once

#include "core/catalogue/DiscProperties.h"
#include "core/state/OvcIniFileStore.h"
#include "gui/OwnDialog.h"
#include "gui/UserPrompts.h"
#include "gui/reading/SystemItemList.h"

#include <exception>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace orlenta {

class TDiscInfoDockingForm;
class THistoryComboBox;
class TOvcComponentState;

// What the add-disc dialog hands back on OK.
struct TAddDiscRequest {
    // The source directory chosen; empty for a virtual disc or when nothing is chosen.
    QString TreeRoot;
    bool IncludeFilenames = false;
    // Whether the files' sizes and times and the directories' totals are recorded.
    bool RecordSizes = false;
    // Whether what archives hold is recorded too (with file names only).
    bool ReadArchives = false;
    // The new disc's properties as the panel shows them.
    TDiscProperties Properties;
};

// "Add Disc": where the disc comes from, whether file names are recorded, and the new disc's
// properties in an editable disc panel. It checks nothing; the add command does. The source
// settings and the history of custom directories come back from the last use: they are read
// when the dialog is made and written after every browse and when it closes, however it closes.
class TAddTreeDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // prompts: where the folder picker is asked; items: the places to offer, the system's own
    // when not given.
    TAddTreeDialogForm(QWidget* parent, TUserPrompts& prompts,
                       QList<TSystemItem> items = SystemItems());
    ~TAddTreeDialogForm() override;

    // The choices and the disc's properties as the user left them.
    TAddDiscRequest Request() const;
    // Why the settings could not be written when the dialog closed; null when they were. The
    // dialog closes all the same, and its owner reports the error.
    std::exception_ptr SaveError() const { return FSaveError; }

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    QGroupBox* CreateSourceGroup();
    void CreateSourceChoices();
    void CreateRecordingChoices();
    QGroupBox* CreateDiscGroup();
    void CreateButtonRow(QWidget* content);
    void OrderSourceTabs();
    void ConnectControls();
    void CreateDiscPanel();
    void PreselectSource();
    void RestoreControlState();
    void HandleRadioClick();
    void HandleSelectDirectory();
    void RootFromShellComboBoxChange(int index);
    QString TreeRoot() const;
    void SaveControlState();

    TUserPrompts& FPrompts;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* SystemItemRadioButton = nullptr;
    QComboBox* RootFromShellComboBox = nullptr;
    QRadioButton* CustomDirectoryRadioButton = nullptr;
    THistoryComboBox* RootFromHistoryComboBox = nullptr;
    QPushButton* OvcAttachedButtonSource = nullptr;
    QRadioButton* VirtualDiscRadioButton = nullptr;
    QCheckBox* IncludeFilenamesCheckBox = nullptr;
    QCheckBox* RecordSizesCheckBox = nullptr;
    QCheckBox* ReadArchivesCheckBox = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QWidget* HostPanel = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* CancelButton = nullptr;
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
    QList<TSystemItem> FItems;
    TOvcIniFileStore FOvcIniFileStore;
    std::unique_ptr<TOvcComponentState> FOvcComponentState;
    std::exception_ptr FSaveError;
};

} // namespace orlenta
