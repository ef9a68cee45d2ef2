#pragma once

#include <QIcon>
#include <QList>
#include <QString>

namespace orlenta {

// One entry of the add-disc dialog's list of places to read a disc from.
struct TSystemItem {
    QString DisplayName;
    QIcon Icon;
    // A directory path, or for the computer itself an identifier that names no directory.
    QString Path;
    // An optical or removable volume: the entry the dialog preselects.
    bool IsRemovableMedium = false;
};

// The identifier of the computer entry; it is not a directory, so reading it is refused.
inline constexpr const char* kComputerItemPath = "computer:///";

// The computer, then the mounted real file systems ("LABEL (MOUNT POINT)", the kind of volume
// where there is no label), then the user's standard folders that exist.
QList<TSystemItem> SystemItems();

// The disc title an entry suggests: its display name before " (", with "_" as blanks; empty
// when the name has no " (".
QString TitleFromDisplayName(const QString& displayName);

} // namespace orlenta
