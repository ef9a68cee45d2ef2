#include "gui/SizeAndDateText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

namespace orlenta {

QString SizeText(std::uint64_t bytes) {
    return QLocale().formattedDataSize(static_cast<qint64>(bytes), 1,
                                       QLocale::DataSizeTraditionalFormat);
}

QString ExactSizeText(std::uint64_t bytes) {
    return QCoreApplication::translate("SizeAndDateText", "%1 bytes")
        .arg(QLocale().toString(static_cast<qulonglong>(bytes)));
}

QString ModifiedText(std::int64_t seconds) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds).toLocalTime(),
                              QLocale::ShortFormat);
}

} // namespace orlenta
