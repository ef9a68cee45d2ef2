#pragma once

#include <QDialog>

class QPushButton;

namespace orlenta {

// The frame the program's own dialogs share: fixed size, a close box and no minimise or maximise
// box, OK the default button, Escape does not cancel, the close box counts as Cancel.
class TOwnDialog : public QDialog {
    Q_OBJECT
public:
    explicit TOwnDialog(QWidget* parent);

protected:
    // The row of OkButton ("&Ok") and Button1 ("&Cancel") under content, in a panel named
    // buttonsPanelName (empty: no name).
    void SetContent(QWidget* content, const QString& buttonsPanelName);
    void keyPressEvent(QKeyEvent* event) override;

    QPushButton* OkButton = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace orlenta
