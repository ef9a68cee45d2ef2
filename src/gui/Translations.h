#pragma once

// The window in the user's language: the program's own catalogue, built into the program, and
// Qt's (the standard buttons of message boxes, the file dialogs) from the system when it has it.
// English is the program's own language and needs neither.

#include <QLocale>
#include <memory>
#include <vector>

class QTranslator;

namespace orlenta {

// Installs the catalogues for the first of locale's languages (QLocale::system() honours
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG) that the program speaks, for as long as the object
// lives. Windows take their texts when they are made: install before making them.
class TTranslations {
public:
    explicit TTranslations(const QLocale& locale);
    ~TTranslations();
    TTranslations(const TTranslations&) = delete;
    TTranslations& operator=(const TTranslations&) = delete;

    // The language installed; English when the program's own texts stay.
    QLocale::Language Language() const { return FLanguage; }

private:
    QLocale::Language FLanguage = QLocale::English;
    std::vector<std::unique_ptr<QTranslator>> FInstalled;
};

} // namespace orlenta
