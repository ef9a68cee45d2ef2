#include "gui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace orlenta {

TTranslations::TTranslations(const QLocale& locale) {
    for (const QString& name : locale.uiLanguages()) {
        const QLocale language(name);
        // A user who puts English first gets it, even when a language further down the list
        // has a catalogue.
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            return;
        auto own = std::make_unique<QTranslator>();
        if (!own->load(language, QStringLiteral("orlenta"), QStringLiteral("_"),
                       QStringLiteral(":/i18n")))
            continue;
        QCoreApplication::installTranslator(own.get());
        FInstalled.push_back(std::move(own));
        // Without Qt's own catalogue the standard buttons stay English; the rest is translated
        // all the same.
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            FInstalled.push_back(std::move(qt));
        }
        FLanguage = language.language();
        return;
    }
}

TTranslations::~TTranslations() {
    for (const std::unique_ptr<QTranslator>& translator : FInstalled)
        QCoreApplication::removeTranslator(translator.get());
}

} // namespace orlenta
