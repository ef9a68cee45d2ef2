#pragma once

// The disc property panel: the eight properties of one disc, and where it was read from for the
// hosts that show it. The form itself is never shown; each host moves its DiscInfoPanel into a
// panel of its own and decides whether it is editable.

#include "core/catalogue/DiscProperties.h"
#include "core/catalogue/OrlentaData.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QVBoxLayout;

namespace orlenta {

class TDiscInfoDockingForm : public QWidget {
    Q_OBJECT
public:
    explicit TDiscInfoDockingForm(QWidget* parent = nullptr);
    // Releases the panel too, wherever it was moved.
    ~TDiscInfoDockingForm() override;

    bool EnableEdit() const { return FEnableEdit; }
    void SetEnableEdit(bool value);
    // Whether the Source field shows (hidden until asked for); it is editable with the others.
    void SetSourceShown(bool shown);
    // Moves DiscInfoPanel into host, filling it.
    void MoveInto(QWidget* host);

    QWidget* DiscInfoPanel() const { return FDiscInfoPanel; }
    // The panel's controls in the order the Tab key visits them.
    std::vector<QWidget*> TabOrder() const;

    // Shows properties in the fields, every one whole.
    void ShowProperties(const TDiscProperties& properties);
    // The fields as a disc's properties (the memo's line breaks as CR LF; a source left as it was
    // shown, the bytes it was given).
    TDiscProperties Properties() const;
    // Replaces the title field's text.
    void SetTitle(const QString& title);
    void SetReadDate(const QString& date);
    // Shows the disc's recorded total size; an empty field when there is none. It is not one of
    // the disc's properties: Properties() leaves it out, and no host makes it editable.
    void SetTotalSize(std::optional<std::uint64_t> bytes);
    // Shows how many folders and files the disc's archives hold; the field is there only for a
    // disc read with archives (a count), and hidden for nothing.
    void SetArchiveEntries(std::optional<long long> count);
    void FocusTitle();

private:
    void CreateMediaTypeBox();
    // Directories, files, total size and archive entries side by side.
    QGridLayout* CreateCountsRow();
    void CreateSourceEdit(QGridLayout* grid);
    void CreateMemo(QVBoxLayout* layout);

    QLineEdit* TitleLabeledEdit = nullptr;
    QLineEdit* CreationDateLabeledEdit = nullptr;
    QLineEdit* VendorLabeledEdit = nullptr;
    QLineEdit* ReadDateLabeledEdit = nullptr;
    QLabel* MediaTypeLabel = nullptr;
    QComboBox* MediaTypeComboBox = nullptr;
    QLineEdit* DirCountLabeledEdit = nullptr;
    QLineEdit* FileCountLabeledEdit = nullptr;
    QLineEdit* TotalSizeLabeledEdit = nullptr;
    QLabel* SourceLabel = nullptr;
    QLineEdit* SourceLabeledEdit = nullptr;
    QLineEdit* ArchiveEntriesLabeledEdit = nullptr;
    QWidget* ArchiveEntriesLabel = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* DiscMemo = nullptr;
    QPointer<QWidget> FDiscInfoPanel;
    // The source given to ShowProperties and the text the field showed for it.
    std::string FGivenSource;
    QString FShownSource;
    bool FEnableEdit = true;
};

// Shows disc in panel with its Root's recorded total size, or empties every field when disc is
// empty.
void DiscToPanel(const IXMLDiscType& disc, TDiscInfoDockingForm& panel);

// The text of a memo box with its line breaks as CR LF, the form in which memos are stored.
std::string MemoBoxText(const QPlainTextEdit& memo);
// Shows a stored memo text (lines broken by CR LF, LF or CR) in a memo box.
void SetMemoBoxText(QPlainTextEdit& memo, std::string_view text);

} // namespace orlenta
