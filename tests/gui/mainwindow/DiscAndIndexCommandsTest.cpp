// The disc and index commands of the main window: editing and removing discs, the catalogue's
// own properties, each with every answer of its dialog.

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "core/catalogue/EscapedText.h"
#include "gui/OrlentaApplication.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/InfoDialogForm.h"
#include "gui/mainwindow/MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <QTextCursor>
#include <QTreeView>
#include <sstream>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TMessageAnswer)

class TDiscAndIndexCommandsTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void editDiscProperties() {
        auto form = OpenedForm();
        // Cancel changes nothing.
        TDialogAnswer answer3("orlenta::TDiscDialogForm", [](QWidget* dialog) {
            auto* disc = static_cast<TDiscDialogForm*>(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Disc properties"));
            Child<QLineEdit>(*disc, "TitleLabeledEdit")->setText(QStringLiteral("changed"));
            Child<QPushButton>(*disc, "Button1")->click();
        });
        Child<QAction>(*form, "DiscInfoAction")->trigger();
        QVERIFY(!form->FileChanged());
        QCOMPARE(form->Session().XMLDiscData().Title(), std::string_view("Zeta"));

        // OK stores what was typed, as typed, and the node moves to its sorted place.
        TDialogAnswer answer4("orlenta::TDiscDialogForm", [](QWidget* dialog) {
            QWidget& panel = *dialog;
            QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text(), QStringLiteral("Zeta"));
            QVERIFY(Child<QComboBox>(panel, "MediaTypeComboBox")->isEnabled());
            QVERIFY(Child<QLineEdit>(panel, "ReadDateLabeledEdit")->isReadOnly());
            QVERIFY(Child<QLineEdit>(panel, "DirCountLabeledEdit")->isReadOnly());
            QVERIFY(Child<QLineEdit>(panel, "FileCountLabeledEdit")->isReadOnly());
            Child<QLineEdit>(panel, "TitleLabeledEdit")->setText(QStringLiteral("Aardvark"));
            Child<QComboBox>(panel, "MediaTypeComboBox")->setEditText(QStringLiteral("BD-R"));
            Child<QPlainTextEdit>(panel, "DiscMemo")
                ->setPlainText(QStringLiteral("first\nsecond\n"));
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*form, "DiscInfoAction")->trigger();
        const IXMLDiscType disc = form->Session().XMLDiscData();
        QCOMPARE(disc.Title(), std::string_view("Aardvark"));
        QCOMPARE(disc.MediaType(), std::string_view("BD-R"));
        QCOMPARE(disc.FileCount(), std::string_view("4"));
        QCOMPARE(std::string(disc.Memo()), EscapeText("first\r\nsecond\r\n"));
        QCOMPARE(Texts(*form, TreeModel(*form).TopLevel()),
                 (QStringList{u"Aardvark"_s, u"alpha disc"_s}));
        QCOMPARE(SelectedText(*form), QStringLiteral("Aardvark"));
        QCOMPARE(PanelTitle(*form), QStringLiteral("Aardvark"));
        QCOMPARE(Child<QPlainTextEdit>(DiscPanel(*form), "DiscMemo")->toPlainText(),
                 QStringLiteral("first\nsecond\n"));
        QVERIFY(form->FileChanged());
    }

    // Where a disc was read from shows read-only in the panel and can be edited in its
    // properties; a disc that never said stays without the attribute, byte for byte.
    void sourceInPanelAndProperties_data() {
        QTest::addColumn<QString>("stored"); // empty: no Source attribute
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("typed");
        QTest::newRow("absent left empty") << u""_s << false << u""_s;
        QTest::newRow("absent typed") << u""_s << true << u"/mnt/new"_s;
        QTest::newRow("kept") << u"/media/usb"_s << false << u""_s;
        QTest::newRow("edited") << u"/media/usb"_s << true << u"/media/usb2"_s;
        QTest::newRow("cleared") << u"/media/usb"_s << true << u""_s;
    }
    void sourceInPanelAndProperties() {
        QFETCH(QString, stored);
        QFETCH(bool, edit);
        QFETCH(QString, typed);
        IXMLOrlentaDataType root = BrowsingCatalogue();
        if (!stored.isEmpty())
            root.Discs().Disc(0).SetSource(ToStdString(stored));
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        auto discXml = [&form] {
            std::ostringstream text;
            form->Session().XMLDiscData().XmlNode().print(text);
            return text.str();
        };
        const std::string before = discXml();
        QLineEdit* panelField = Child<QLineEdit>(DiscPanel(*form), "SourceLabeledEdit");
        QCOMPARE(panelField->text(), stored);
        QVERIFY(panelField->isReadOnly());
        QVERIFY(panelField->isVisible());

        TDialogAnswer answer("orlenta::TDiscDialogForm", [&](QWidget* dialog) {
            QLineEdit* field = Child<QLineEdit>(*dialog, "SourceLabeledEdit");
            QCOMPARE(field->text(), stored);
            QVERIFY(!field->isReadOnly());
            if (edit)
                field->setText(typed);
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*form, "DiscInfoAction")->trigger();
        QVERIFY(answer.Answered());
        const QString expected = edit ? typed : stored;
        const std::optional<std::string_view> source = form->Session().XMLDiscData().Source();
        QCOMPARE(source.has_value(), !expected.isEmpty());
        QCOMPARE(ToQString(source.value_or("")), expected);
        if (!edit)
            QCOMPARE(discXml(), before);
        QCOMPARE(panelField->text(), expected);
    }

    void discCommandsWithoutDisc() {
        auto form = MakeForm(FPrompts);
        for (QAction* action :
             {Child<QAction>(*form, "DiscInfoAction"), Child<QAction>(*form, "DiscRemoveAction")}) {
            FPrompts.Messages.clear();
            action->trigger();
            QCOMPARE(FPrompts.Messages.size(), size_t(1));
            QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Plain);
            QCOMPARE(FPrompts.Messages[0].Buttons, TMessageButtons::Ok);
            QCOMPARE(FPrompts.Messages[0].Text, QStringLiteral("No disc selected."));
        }
        QVERIFY(!form->FileChanged());
    }

    void removeDisc_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<TMessageAnswer>("answer");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("yes") << u"Holiday 2004"_s << TMessageAnswer::Yes
                             << u"Remove 'Holiday 2004' from Orlenta?"_s;
        QTest::newRow("quotes doubled")
            << u"Bob's disc"_s << TMessageAnswer::No << u"Remove 'Bob''s disc' from Orlenta?"_s;
        QTest::newRow("empty title") << u""_s << TMessageAnswer::No << u"Remove '' from Orlenta?"_s;
    }
    void removeDisc() {
        QFETCH(QString, title);
        QFETCH(TMessageAnswer, answer);
        QFETCH(QString, prompt);
        IXMLOrlentaDataType root = BrowsingCatalogue();
        root.Discs().Disc(0).SetTitle(ToStdString(title));
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        FPrompts.Answers = {answer};
        Child<QAction>(*form, "DiscRemoveAction")->trigger();
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Confirmation);
        QCOMPARE(FPrompts.Messages[0].Buttons, TMessageButtons::YesNo);
        QCOMPARE(FPrompts.Messages[0].Text, prompt);
        if (answer == TMessageAnswer::Yes) {
            QCOMPARE(form->Session().XMLIndexData().Discs().Count(), 1);
            QCOMPARE(Texts(*form, TreeModel(*form).TopLevel()), QStringList{u"alpha disc"_s});
            QVERIFY(SelectedText(*form).isEmpty());
            QVERIFY(!form->Session().XMLDiscData());
            QVERIFY(PanelTitle(*form).isEmpty());
            QVERIFY(ListedFiles(*form).isEmpty());
            QVERIFY(form->FileChanged());
            // IDs are never handed out again.
            QCOMPARE(form->Session().XMLIndexData().LastDirectoryID(), std::string_view("5"));
        } else {
            QCOMPARE(form->Session().XMLIndexData().Discs().Count(), 2);
            QCOMPARE(SelectedText(*form), title);
            QVERIFY(!form->FileChanged());
        }
    }

    void removeOnlyDiscEmptiesEverything() {
        IXMLOrlentaDataType root = NewOrlentaData();
        root.SetTitle("One");
        const IXMLDiscType disc = root.Discs().Add();
        disc.SetTitle("Only");
        disc.Root().SetID("1");
        disc.Root().Filenames().Add().SetText("f");
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        QCOMPARE(ListedFiles(*form), QStringList{u"f"_s});
        FPrompts.Answers = {TMessageAnswer::Yes};
        Child<QAction>(*form, "DiscRemoveAction")->trigger();
        QCOMPARE(TreeModel(*form).NodeCount(), 0);
        QVERIFY(ListedFiles(*form).isEmpty());
        QVERIFY(PanelTitle(*form).isEmpty());
        QVERIFY(form->FileChanged());
    }

    void indexProperties_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("memo"); // as typed into the box (LF line breaks)
        QTest::addColumn<QString>("storedTitle");
        QTest::addColumn<QString>("storedMemo"); // escaped, CR LF breaks before escaping
        QTest::newRow("unchanged") << u"Archive"_s << u""_s << u"Archive"_s << u""_s;
        QTest::newRow("title trimmed") << u"  My CDs \t"_s << u""_s << u"My CDs"_s << u""_s;
        QTest::newRow("blank title") << u"   "_s << u""_s << u"Untitled"_s << u""_s;
        QTest::newRow("empty title") << u""_s << u""_s << u"Untitled"_s << u""_s;
        QTest::newRow("title kept as typed")
            << u"a \"b\" \\c"_s << u""_s << u"a \"b\" \\c"_s << u""_s;
        QTest::newRow("memo ends with line break")
            << u"T"_s << u"  text  \n  "_s << u"T"_s << ToQString(EscapeText("text  \r\n"));
        QTest::newRow("memo begins with line break")
            << u"T"_s << u"\nx"_s << u"T"_s << ToQString(EscapeText("\r\nx"));
    }
    void indexProperties() {
        QFETCH(QString, title);
        QFETCH(QString, memo);
        QFETCH(QString, storedTitle);
        QFETCH(QString, storedMemo);
        auto form = OpenedForm();
        TDialogAnswer answer5("orlenta::TInfoDialogForm", [title, memo](QWidget* dialog) {
            auto* info = static_cast<TInfoDialogForm*>(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Index properties"));
            QCOMPARE(Child<QLineEdit>(*info, "TitleLabeledEdit")->text(),
                     QStringLiteral("Archive"));
            Child<QLineEdit>(*info, "TitleLabeledEdit")->setText(title);
            Child<QPlainTextEdit>(*info, "Memo")->setPlainText(memo);
            Child<QPushButton>(*info, "OkButton")->click();
        });
        Child<QAction>(*form, "FileInfoAction")->trigger();
        QCOMPARE(ToQString(form->Session().XMLIndexData().Title()), storedTitle);
        QCOMPARE(ToQString(form->Session().XMLIndexData().Memo()), storedMemo);
        QCOMPARE(form->windowTitle(), storedTitle + QStringLiteral(" - Orlenta"));
        QVERIFY(form->FileChanged());
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());
    }

    void indexPropertiesCancelAndStoredEscapes() {
        IXMLOrlentaDataType root = BrowsingCatalogue();
        root.SetMemo("a\\qb");
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        // The close box counts as Cancel: nothing changes.
        TDialogAnswer answer6("orlenta::TInfoDialogForm", [](QWidget* dialog) {
            auto* info = static_cast<TInfoDialogForm*>(dialog);
            Child<QLineEdit>(*info, "TitleLabeledEdit")->setText(QStringLiteral("Other"));
            dialog->close();
        });
        Child<QAction>(*form, "FileInfoAction")->trigger();
        QCOMPARE(form->Session().XMLIndexData().Title(), std::string_view("Archive"));
        QVERIFY(!form->FileChanged());
        // A stored escape that EscapeText never writes is shown decoded; a memo the user did not
        // touch keeps its stored form.
        TDialogAnswer answer7("orlenta::TInfoDialogForm", [](QWidget* dialog) {
            auto* info = static_cast<TInfoDialogForm*>(dialog);
            QCOMPARE(Child<QPlainTextEdit>(*info, "Memo")->toPlainText(),
                     ToQString(UnescapeText("a\\qb")));
            Child<QPushButton>(*info, "OkButton")->click();
        });
        Child<QAction>(*form, "FileInfoAction")->trigger();
        QCOMPARE(std::string(form->Session().XMLIndexData().Memo()), std::string("a\\qb"));
    }

    // OK in either dialog stores a memo the user did not touch exactly as it was, whatever the
    // memo box shows differently; an edited memo keeps the characters the box cannot tell apart.
    void memosComeBackAsTheyWent() {
        const char* const memos[] = {"no\u00a0break", "line\u2028separator", "lone\nfeed",
                                     "lone\rreturn",  "two\r\nlines",        "blank at end "};
        for (const char* memo : memos) {
            IXMLOrlentaDataType root = BrowsingCatalogue();
            const std::string stored = EscapeText(memo);
            root.SetMemo(stored);
            root.Discs().Disc(0).SetMemo(stored);
            WriteDataFile(root, ToLocalPath(FCatalogueFile));
            auto form = OpenedForm();
            auto pressOk = [](QWidget* dialog) {
                Child<QPushButton>(*dialog, "OkButton")->click();
            };
            TDialogAnswer info("orlenta::TInfoDialogForm", pressOk);
            Child<QAction>(*form, "FileInfoAction")->trigger();
            QCOMPARE(std::string(form->Session().XMLIndexData().Memo()), stored);
            TDialogAnswer disc("orlenta::TDiscDialogForm", pressOk);
            Child<QAction>(*form, "DiscInfoAction")->trigger();
            QCOMPARE(std::string(form->Session().XMLDiscData().Memo()), stored);
        }

        IXMLOrlentaDataType root = BrowsingCatalogue();
        root.Discs().Disc(0).SetMemo(EscapeText("a\u00a0b\u2028c"));
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        TDialogAnswer edit("orlenta::TDiscDialogForm", [](QWidget* dialog) {
            auto* memo = Child<QPlainTextEdit>(*dialog, "DiscMemo");
            memo->moveCursor(QTextCursor::End);
            QTest::keyClicks(memo, QStringLiteral("d"));
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, QStringLiteral("e"));
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*form, "DiscInfoAction")->trigger();
        QCOMPARE(std::string(form->Session().XMLDiscData().Memo()),
                 EscapeText("a\u00a0b\u2028cd\r\ne"));
    }

    // An exception that escapes an event handler reaches the error box; busy mode is left.
};

int main(int argc, char** argv) {
    TOrlentaApplication application(argc, argv);
    TDiscAndIndexCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DiscAndIndexCommandsTest.moc"
