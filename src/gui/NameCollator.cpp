#include "gui/NameCollator.h"

#include <QLocale>

namespace orlenta {

QCollator NameCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

} // namespace orlenta
