#pragma once

#include "core/catalogue/DiscProperties.h"
#include "gui/OwnDialog.h"

#include <memory>

namespace orlenta {

class TDiscInfoDockingForm;

// "Disc properties": an editable disc panel with OK and Cancel.
class TDiscDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // shown: the disc's properties to start from.
    TDiscDialogForm(QWidget* parent, const TDiscProperties& shown);
    ~TDiscDialogForm() override;

    // The properties as the user left them.
    TDiscProperties Properties() const;

private:
    QWidget* HostPanel = nullptr;
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
};

} // namespace orlenta
