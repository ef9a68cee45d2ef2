#pragma once

#include "gui/mainwindow/DiscInfoDockingForm.h"
#include "gui/OwnDialog.h"

#include <memory>

class QGroupBox;

namespace orlenta {

// "Disc properties": an editable disc panel with OK and Cancel.
class TDiscDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    explicit TDiscDialogForm(QWidget* parent);
    ~TDiscDialogForm() override;

    TDiscInfoDockingForm& DiscInfoDockingForm() const { return *FDiscInfoDockingForm; }
    QWidget* HostPanel = nullptr;

private:
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
};

} // namespace orlenta
