#pragma once

#include "core/catalogue/IndexProperties.h"
#include "gui/OwnDialog.h"

class QLineEdit;
class QPlainTextEdit;

namespace orlenta {

// "Index properties": the catalogue's title and memo.
class TInfoDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    // shown: the title and the decoded memo to start from.
    TInfoDialogForm(QWidget* parent, const TIndexProperties& shown);

    // The title and memo as the user left them (the memo's line breaks as CR LF).
    TIndexProperties Values() const;

private:
    QLineEdit* TitleLabeledEdit = nullptr;
    QPlainTextEdit* Memo = nullptr;
};

} // namespace orlenta
