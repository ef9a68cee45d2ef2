#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orlenta {

class TOvcIniFileStore;

// Keeps chosen control values of a dialog in its section of the profile file. Each entry of the
// stored-property list is "Control.Property", the control found by its objectName: Checked of a
// check box or radio button, Text of a combo box or line edit, Items of a combo box (in a section
// of its own). Entries whose control or property does not exist are skipped.
class TOvcComponentState {
public:
    TOvcComponentState(QWidget& form, TOvcIniFileStore& storage, QString section,
                       QStringList storedProperties);

    const QStringList& StoredProperties() const { return FStoredProperties; }
    // Drops the entries whose control does not exist (any more).
    void UpdateStoredProperties();

    // Reads the values into the controls, entry by entry. Never fails: an error leaves the
    // values read before it and the designed values of the rest. A radio button read as
    // checked is clicked, so its group and the dialog's handling follow.
    void RestoreState();
    // Writes the values, entry by entry; nothing before the first RestoreState. Throws "Unable
    // to write to %s" when the file cannot be written.
    void SaveState();
    bool Restored() const { return FRestored; }

private:
    QWidget& FForm;
    TOvcIniFileStore& FStorage;
    QString FSection;
    QStringList FStoredProperties;
    bool FRestored = false;
};

} // namespace orlenta
