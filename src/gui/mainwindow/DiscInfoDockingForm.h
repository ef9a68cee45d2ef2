#pragma once

// The disc property panel: the eight properties of one disc. The form itself is never shown; each
// host moves its DiscInfoPanel into a panel of its own and decides whether it is editable.

#include "core/catalogue/OrlentaData.h"
#include "core/catalogue/DiscProperties.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace orlenta {

class TDiscInfoDockingForm : public QWidget {
    Q_OBJECT
public:
    explicit TDiscInfoDockingForm(QWidget* parent = nullptr);
    // Releases the panel too, wherever it was moved.
    ~TDiscInfoDockingForm() override;

    bool EnableEdit() const { return FEnableEdit; }
    void SetEnableEdit(bool value);
    // Moves DiscInfoPanel into host, filling it.
    void MoveInto(QWidget* host);

    QWidget* DiscInfoPanel() const { return FDiscInfoPanel; }
    QLineEdit* TitleLabeledEdit = nullptr;
    QLineEdit* CreationDateLabeledEdit = nullptr;
    QLineEdit* VendorLabeledEdit = nullptr;
    QLineEdit* ReadDateLabeledEdit = nullptr;
    QLabel* MediaTypeLabel = nullptr;
    QComboBox* MediaTypeComboBox = nullptr;
    QLineEdit* DirCountLabeledEdit = nullptr;
    QLineEdit* FileCountLabeledEdit = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* DiscMemo = nullptr;

private:
    QPointer<QWidget> FDiscInfoPanel;
    bool FEnableEdit = true;
};

// Shows disc in panel, or empties every field when disc is empty.
void DiscToPanel(const IXMLDiscType& disc, TDiscInfoDockingForm& panel);
// The panel's fields as a disc's properties (the memo's line breaks as CR LF).
TDiscProperties PanelProperties(const TDiscInfoDockingForm& panel);
// Stores every field of panel into disc, the read-only ones included.
void PanelToDisc(const IXMLDiscType& disc, const TDiscInfoDockingForm& panel);

// The text of a memo box with its line breaks as CR LF, the form in which memos are stored.
std::string MemoBoxText(const QPlainTextEdit& memo);
// Shows a stored memo text (lines broken by CR LF, LF or CR) in a memo box.
void SetMemoBoxText(QPlainTextEdit& memo, std::string_view text);

} // namespace orlenta
