#pragma once

// Conversions at the window's edge: the core speaks UTF-8 std::string, Qt speaks QString, and
// paths keep the bytes the file system gave them.

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

namespace orlenta {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

inline std::string ToLocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A path (or a text holding paths) as the file system gave its bytes, for showing.
inline QString FromLocalPath(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace orlenta
