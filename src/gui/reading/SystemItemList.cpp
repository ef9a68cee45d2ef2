#include "gui/reading/SystemItemList.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

namespace orlenta {

namespace {

// File systems that hold no user data worth cataloguing.
bool IsPseudoFileSystem(const QByteArray& type) {
    static const QList<QByteArray> pseudo = {
        "proc",        "sysfs",          "devtmpfs", "devpts",    "tmpfs",    "cgroup",
        "cgroup2",     "pstore",         "bpf",      "tracefs",   "debugfs",  "securityfs",
        "configfs",    "fusectl",        "mqueue",   "hugetlbfs", "autofs",   "binfmt_misc",
        "efivarfs",    "rpc_pipefs",     "nsfs",     "overlay",   "squashfs", "ramfs",
        "fuse.portal", "fuse.gvfsd-fuse"};
    return pseudo.contains(type);
}

bool IsRemovableVolume(const QStorageInfo& volume) {
    const QByteArray type = volume.fileSystemType();
    const QString root = volume.rootPath();
    return type == "iso9660" || type == "udf" || volume.device().startsWith("/dev/sr") ||
           root.startsWith(QStringLiteral("/media/")) ||
           root.startsWith(QStringLiteral("/run/media/"));
}

QString VolumeKind(const QStorageInfo& volume) {
    const QByteArray type = volume.fileSystemType();
    if (type == "iso9660" || type == "udf")
        return QCoreApplication::translate("SystemItemList", "Optical Disc");
    if (IsRemovableVolume(volume))
        return QCoreApplication::translate("SystemItemList", "Removable Disk");
    if (volume.isRoot())
        return QCoreApplication::translate("SystemItemList", "File System");
    if (type.startsWith("nfs") || type == "cifs" || type == "smb3" || type.startsWith("fuse.sshfs"))
        return QCoreApplication::translate("SystemItemList", "Network Drive");
    return QCoreApplication::translate("SystemItemList", "Local Disk");
}

TSystemItem VolumeItem(const QStorageInfo& volume, const QFileIconProvider& icons) {
    TSystemItem item;
    const QString label = volume.name();
    item.DisplayName = (label.isEmpty() ? VolumeKind(volume) : label) + QStringLiteral(" (") +
                       volume.rootPath() + QLatin1Char(')');
    item.Path = volume.rootPath();
    item.IsRemovableMedium = IsRemovableVolume(volume);
    item.Icon = item.IsRemovableMedium ? QApplication::style()->standardIcon(QStyle::SP_DriveCDIcon)
                                       : icons.icon(QFileIconProvider::Drive);
    return item;
}

} // namespace

QList<TSystemItem> SystemItems() {
    QFileIconProvider icons;
    QList<TSystemItem> items;
    items.append({QCoreApplication::translate("SystemItemList", "Computer"),
                  icons.icon(QFileIconProvider::Computer), QString::fromLatin1(kComputerItemPath),
                  false});

    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !IsPseudoFileSystem(volume.fileSystemType()))
            items.append(VolumeItem(volume, icons));
    }

    const QStandardPaths::StandardLocation folders[] = {
        QStandardPaths::HomeLocation,      QStandardPaths::DesktopLocation,
        QStandardPaths::DocumentsLocation, QStandardPaths::DownloadLocation,
        QStandardPaths::MusicLocation,     QStandardPaths::PicturesLocation,
        QStandardPaths::MoviesLocation};
    for (const auto location : folders) {
        const QString path = QStandardPaths::writableLocation(location);
        // Unset user folders fall back to the home folder; list each folder once.
        if (path.isEmpty() || !QDir(path).exists())
            continue;
        const bool listed =
            std::any_of(items.cbegin(), items.cend(),
                        [&path](const TSystemItem& item) { return item.Path == path; });
        if (listed)
            continue;
        items.append({QStandardPaths::displayName(location), icons.icon(QFileIconProvider::Folder),
                      path, false});
    }
    return items;
}

QString TitleFromDisplayName(const QString& displayName) {
    const qsizetype end = displayName.indexOf(QStringLiteral(" ("));
    if (end < 0)
        return {};
    QString title = displayName.left(end);
    title.replace(QLatin1Char('_'), QLatin1Char(' '));
    return title;
}

} // namespace orlenta
