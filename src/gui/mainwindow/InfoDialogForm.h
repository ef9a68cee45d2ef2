#pragma once

#include "gui/OwnDialog.h"

class QLineEdit;
class QPlainTextEdit;

namespace orlenta {

// "Index properties": the catalogue's title and memo.
class TInfoDialogForm : public TOwnDialog {
    Q_OBJECT
public:
    explicit TInfoDialogForm(QWidget* parent);

    QLineEdit* TitleLabeledEdit = nullptr;
    QPlainTextEdit* Memo = nullptr;
};

} // namespace orlenta
