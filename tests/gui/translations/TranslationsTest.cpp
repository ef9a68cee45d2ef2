// The window in German and in English: the catalogue built into the program is installed for a
// German locale and none for English, menus, dialogs and messages (the window's own and core's
// fixed sentences) follow, access keys stay unique, and every entry of the catalogue is a
// finished translation that keeps its source's placeholders and access key.

#include "gui/Translations.h"

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "gui/UserPrompts.h"
#include "gui/about/FrmAbout.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/ExportDialogForm.h"
#include "gui/mainwindow/InfoDialogForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/search/SearchDialogForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTreeView>
#include <QXmlStreamReader>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

namespace {

// The access key of a text ("&Datei" gives "d"); empty when it has none.
QString AccessKey(const QString& text) {
    const QKeySequence key = QKeySequence::mnemonic(text);
    return key.isEmpty() ? QString() : key.toString().toLower().remove(u"alt+"_s);
}

// The access keys of the texts that have one, each once; a second use of a key fails the test
// naming both texts.
void ExpectUniqueKeys(const QStringList& texts, const QString& where) {
    QHash<QString, QString> owners;
    for (const QString& text : texts) {
        const QString key = AccessKey(text);
        if (key.isEmpty())
            continue;
        if (owners.contains(key))
            QFAIL(qPrintable(
                u"%1: \"%2\" and \"%3\" share Alt+%4"_s.arg(where, owners[key], text, key)));
        owners.insert(key, text);
    }
}

// The texts of a dialog's buttons and labels, which are where its access keys live.
QStringList DialogTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&dialog))
            texts << button->text();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisibleTo(&dialog))
            texts << label->text();
    return texts;
}

struct TCatalogueEntry {
    QString Context;
    QString Source;
    QString Translation;
    QString Type;
};

QList<TCatalogueEntry> CatalogueEntries() {
    QFile file(QStringLiteral(ORLENTA_CATALOGUE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<TCatalogueEntry> entries;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            entries.append({context, {}, {}, {}});
        } else if (xml.name() == u"source") {
            entries.back().Source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            entries.back().Type = xml.attributes().value(QLatin1StringView("type")).toString();
            entries.back().Translation = xml.readElementText();
        }
    }
    return xml.hasError() ? QList<TCatalogueEntry>{} : entries;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d+|%n"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

} // namespace

class TTranslationsTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void germanWindow() {
        const TTranslations translations(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(translations.Language(), QLocale::German);
        auto form = OpenedForm();

        QCOMPARE(form->windowTitle(), u"Archive - Orlenta"_s);
        QCOMPARE(Child<QMenu>(*form, "FileMenu")->title(), u"&Datei"_s);
        QCOMPARE(Child<QAction>(*form, "FileOpenAction")->text(), u"Ö&ffnen..."_s);
        QCOMPARE(Child<QAction>(*form, "DiscAddAction")->text(), u"&Hinzufügen"_s);
        // The look a command keeps for itself stays the program's own.
        QCOMPARE(Child<QAction>(*form, "DiscAddAction")->property("caption").toString(), u"&Add"_s);
        QCOMPARE(Child<QTreeView>(*form, "FilesListBox")
                     ->model()
                     ->headerData(1, Qt::Horizontal)
                     .toString(),
                 u"Größe"_s);
        ExpectMenusWithUniqueKeys(*form);

        // A new catalogue opens its properties; the second is asked about the first's changes.
        for (int i = 0; i < 2; ++i) {
            TDialogAnswer properties("orlenta::TInfoDialogForm", [](QWidget* dialog) {
                QCOMPARE(dialog->windowTitle(), u"Katalogeigenschaften"_s);
                static_cast<QDialog*>(dialog)->reject();
            });
            if (i == 1)
                FPrompts.Answers.push_back(TMessageAnswer::No);
            Child<QAction>(*form, "FileNewAction")->trigger();
            QVERIFY(properties.Answered());
        }
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(
            FPrompts.Messages.back().Text,
            u"Die Orlenta-Datendatei wurde geändert.\nMöchten Sie die Datei zuerst speichern?"_s);
        Child<QAction>(*form, "DiscRemoveAction")->trigger();
        QCOMPARE(FPrompts.Messages.back().Text, u"Keine Disc ausgewählt."_s);

        // A dialog, with its access keys.
        TDialogAnswer add("orlenta::TAddTreeDialogForm", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), u"Disc hinzufügen"_s);
            QCOMPARE(Child<QPushButton>(*dialog, "AddButton")->text(), u"&Hinzufügen"_s);
            QCOMPARE(Child<QPushButton>(*dialog, "CancelButton")->text(), u"&Abbrechen"_s);
            ExpectUniqueKeys(DialogTexts(*dialog), u"Add Disc"_s);
            static_cast<QDialog*>(dialog)->reject();
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(add.Answered());
        TDialogAnswer exportDialog("orlenta::TExportDialogForm", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), u"Exportieren"_s);
            ExpectUniqueKeys(DialogTexts(*dialog), u"Export"_s);
            static_cast<QDialog*>(dialog)->reject();
        });
        Child<QAction>(*form, "FileExportAction")->trigger();
        QVERIFY(exportDialog.Answered());
        FPrompts.Answers.push_back(TMessageAnswer::No); // closing: the new catalogue is not saved
        QVERIFY(form->close());
    }

    // A fixed sentence of core, translated at the window's edge: a data file that is no DEFLATE
    // stream.
    void germanCoreSentence() {
        const TTranslations translations(QLocale(QLocale::German, QLocale::Germany));
        QFile damaged(FScratch->FilePath(u"damaged.olx"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(64, '\xff'));
        damaged.close();
        auto form = MakeForm(FPrompts, {damaged.fileName()});
        QVERIFY(!FPrompts.Messages.empty());
        QCOMPARE(FPrompts.Messages.front().Text, u"Fehler beim Lesen der Orlenta-Datendatei."_s);
        FPrompts.Messages.clear();
        form->close();
    }

    // Qt's own buttons come from the system's catalogue, when the system has one.
    void germanStandardButtons() {
        const TTranslations translations(QLocale(QLocale::German, QLocale::Germany));
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_de.qm"_s))
            QSKIP("The system has no German catalogue of Qt (qt6-translations-l10n)");
        const auto box =
            CreateMessageBox(nullptr, TMessageKind::Confirmation, u"?"_s, TMessageButtons::YesNo);
        QCOMPARE(box->button(QMessageBox::Yes)->text().remove(u'&'), u"Ja"_s);
        QCOMPARE(box->button(QMessageBox::No)->text().remove(u'&'), u"Nein"_s);
    }

    void englishWindow_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom);
    }
    void englishWindow() {
        QFETCH(QLocale, locale);
        const TTranslations translations(locale);
        QCOMPARE(translations.Language(), QLocale::English);
        auto form = OpenedForm();
        QCOMPARE(Child<QMenu>(*form, "FileMenu")->title(), u"&File"_s);
        QCOMPARE(Child<QAction>(*form, "FileOpenAction")->text(), u"&Open"_s);
        QCOMPARE(Child<QAction>(*form, "DiscAddAction")->text(), u"&Add"_s);
        ExpectMenusWithUniqueKeys(*form);
        TDialogAnswer properties("orlenta::TInfoDialogForm", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), u"Index properties"_s);
            static_cast<QDialog*>(dialog)->reject();
        });
        Child<QAction>(*form, "FileNewAction")->trigger();
        QVERIFY(properties.Answered());
        Child<QAction>(*form, "DiscRemoveAction")->trigger();
        QCOMPARE(FPrompts.Messages.back().Text, u"No disc selected."_s);
        FPrompts.Answers.push_back(TMessageAnswer::No);
        QVERIFY(form->close());
    }

    // Tests, the window state and the stored control settings find controls by name: a name
    // must not follow the language.
    void objectNamesStayInGerman() {
        const QMap<QString, QStringList> english = WindowObjectNames(QLocale::c());
        const QMap<QString, QStringList> german =
            WindowObjectNames(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(english.value(u"InfoDialogForm"_s).contains(u"Memo"_s));
        for (auto window = english.cbegin(); window != english.cend(); ++window) {
            const QStringList inGerman = german.value(window.key());
            QStringList lost;
            for (const QString& name : window.value())
                if (!inGerman.contains(name))
                    lost << name;
            QVERIFY2(inGerman == window.value(),
                     qPrintable(window.key() + u" loses "_s + lost.join(u", "_s)));
        }
    }

    // Every entry is finished, none is left from texts the program no longer has, and each
    // keeps its source's placeholders and, where the source has one, an access key.
    void catalogueEntriesAreWhole() {
        const QList<TCatalogueEntry> entries = CatalogueEntries();
        QVERIFY(!entries.isEmpty());
        for (const TCatalogueEntry& entry : entries) {
            const QString where = entry.Context + u": "_s + entry.Source;
            QVERIFY2(entry.Type.isEmpty(), qPrintable(where + u" is "_s + entry.Type));
            QVERIFY2(!entry.Translation.isEmpty(), qPrintable(where));
            QVERIFY2(Placeholders(entry.Translation) == Placeholders(entry.Source),
                     qPrintable(where));
            QVERIFY2(AccessKey(entry.Translation).isEmpty() == AccessKey(entry.Source).isEmpty(),
                     qPrintable(where));
        }
    }

private:
    // The sorted object names in the main window and in each dialog the program builds, by
    // window, with the catalogue of locale installed.
    QMap<QString, QStringList> WindowObjectNames(const QLocale& locale) {
        const TTranslations translations(locale);
        TUserPrompts prompts;
        auto form = OpenedForm();
        const TInfoDialogForm info(nullptr, {});
        const TDiscDialogForm disc(nullptr, {});
        const TExportDialogForm exportDialog(nullptr, true);
        const TSearchDialogForm search(nullptr);
        const TAddTreeDialogForm add(nullptr, prompts, {});
        const TfrmAbout about;
        QMap<QString, QStringList> names;
        for (const QObject* window : std::initializer_list<const QObject*>{
                 form.get(), &info, &disc, &exportDialog, &search, &add, &about}) {
            QStringList own;
            for (const QObject* child : window->findChildren<QObject*>())
                if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"_s))
                    own << child->objectName();
            own.sort();
            names.insert(window->objectName(), own);
        }
        form->close();
        return names;
    }

    void ExpectMenusWithUniqueKeys(const QMainWindow& form) {
        QStringList titles;
        for (QAction* menuAction : form.menuBar()->actions()) {
            titles << menuAction->text();
            QStringList items;
            for (QAction* action : menuAction->menu()->actions())
                items << action->text();
            ExpectUniqueKeys(items, menuAction->text());
        }
        ExpectUniqueKeys(titles, u"menu bar"_s);
    }
};

QTEST_MAIN(TTranslationsTest)
#include "TranslationsTest.moc"
