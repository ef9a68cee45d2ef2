#pragma once

#include "gui/mainwindow/DiscInfoDockingForm.h"
#include "gui/OwnDialog.h"
#include "gui/reading/SystemItemList.h"

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace orlenta {

// "Add Disc": where the disc comes from, whether file names are recorded, and the new disc's
// properties in an editable disc panel. It checks nothing; the add command does.
class TAddTreeDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // The folder picker: (parent, caption, starting directory) -> the chosen directory, or empty
    // when the user cancelled. Tests replace it.
    using TSelectDirectory = std::function<QString(QWidget*, const QString&, const QString&)>;
    static TSelectDirectory SelectDirectory;

    // items: the places to offer; the system's own when not given.
    explicit TAddTreeDialogForm(QWidget* parent, QList<TSystemItem> items = SystemItems());
    ~TAddTreeDialogForm() override;

    // The source directory chosen; empty for a virtual disc or when nothing is chosen.
    QString TreeRoot() const;
    bool IncludeFilenames() const;
    TDiscInfoDockingForm& DiscInfoDockingForm() const { return *FDiscInfoDockingForm; }

    void HandleRadioClick();
    void HandleSelectDirectory();
    void RootFromShellComboBoxChange(int index);

    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* SystemItemRadioButton = nullptr;
    QComboBox* RootFromShellComboBox = nullptr;
    QRadioButton* CustomDirectoryRadioButton = nullptr;
    QComboBox* RootFromHistoryComboBox = nullptr;
    QPushButton* OvcAttachedButtonSource = nullptr;
    QRadioButton* VirtualDiscRadioButton = nullptr;
    QCheckBox* IncludeFilenamesCheckBox = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QWidget* HostPanel = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void SaveControlState();

    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
    QList<TSystemItem> FItems;
};

} // namespace orlenta
