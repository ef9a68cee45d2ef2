#pragma once

#include <QComboBox>
#include <QStringList>
#include <string>
#include <vector>

namespace orlenta {

// An editable combo box with a history of directories. The list's top holds the recently used
// entries (copies, the newest first, at most three, a line under the last of them while the list
// is dropped down); below them the plain entries in the order they were added. Typed text is
// limited to kMaxTypedLength characters, while a path that is chosen, browsed or restored is kept
// whole. Completion and matching compare names exactly: on Linux /data/photos and /data/Photos
// are two directories. Typed text never becomes an entry.
class THistoryComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kMaxTypedLength = 128;

    explicit THistoryComboBox(QWidget* parent = nullptr);

    // The whole list as shown, the recently-used part included: what is saved.
    QStringList Items() const;
    // Replaces the list by plain entries and forgets what was recently used; the text stays.
    void SetItems(const QStringList& items);
    // How many entries at the top form the recently-used part.
    int RecentCount() const { return static_cast<int>(FRecent.size()); }

    void hidePopup() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The entry whose text the box shows as its selection, or -1.
    int ShownEntry() const;
    // Records the entry at index as the most recently used and shows the list that results.
    void RecordUse(int index, bool fromDropDown);
    void DropDownClosed();

    std::vector<std::string> FRecent;
    bool FPicked = false;  // the shown entry was chosen in the list, not typed
    bool FTyped = false;   // the user edited the text since the list was set
    bool FLeaving = false; // the focus is leaving the box
};

} // namespace orlenta
