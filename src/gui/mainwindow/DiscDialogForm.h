#pragma once

#include "core/catalogue/DiscProperties.h"
#include "gui/OwnDialog.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace orlenta {

class TDiscInfoDockingForm;

// "Disc properties": an editable disc panel with OK and Cancel.
class TDiscDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // shown: the disc's properties to start from; totalSize: the disc's recorded total, shown
    // and never edited.
    TDiscDialogForm(QWidget* parent, const TDiscProperties& shown,
                    std::optional<std::uint64_t> totalSize = std::nullopt);
    ~TDiscDialogForm() override;

    // The properties as the user left them.
    TDiscProperties Properties() const;

private:
    QWidget* HostPanel = nullptr;
    std::unique_ptr<TDiscInfoDockingForm> FDiscInfoDockingForm;
};

} // namespace orlenta
