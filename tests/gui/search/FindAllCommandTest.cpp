// Find all in the main window: Ctrl+F opens the panel under the tree, typing lists the hits, an
// activated hit is selected in the tree without a prompt, and the list follows the catalogue
// through additions, edits, removals, New and Open without touching the unsaved-changes mark.

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "core/reading/DiscReading.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscCommands.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/FindHitModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace orlenta;
using namespace orlenta::test;

class TFindAllCommandTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> FForm;

    TFindAllPanel* Panel() const { return Child<TFindAllPanel>(*FForm, "FindAllPanel"); }
    QDockWidget* Dock() const { return Child<QDockWidget>(*FForm, "FindAllDock"); }
    QLineEdit* TextEdit() const { return Child<QLineEdit>(*Panel(), "FindTextEdit"); }
    QTableView* HitsView() const { return Child<QTableView>(*Panel(), "FindHitsView"); }
    QString Status() const { return Child<QLabel>(*Panel(), "FindStatusLabel")->text(); }
    // The listed rows, "Disc|Path|Field" (the columns of sizes and dates left out).
    QStringList Rows() const {
        QStringList rows = TableRows(*HitsView()->model());
        for (QString& row : rows)
            row = row.section(QLatin1Char('|'), 0, TFindHitModel::FieldColumn);
        return rows;
    }
    // Opens Find all with Ctrl+F and types text as a new search.
    void Find(const QString& text) {
        QTest::keyClick(FForm.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), TextEdit());
        QTest::keyClicks(TextEdit(), text);
    }
    // Double-clicks the row.
    void Activate(int row) {
        QTableView* view = HitsView();
        const QRect cell = view->visualRect(view->model()->index(row, TFindHitModel::PathColumn));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

private slots:
    void initTestCase() { UseKnownCollation(); }

    void init() {
        SetUp();
        FForm = OpenedForm();
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }

    void cleanup() { TearDown(&FForm); }

    void ctrlFOpensThePanelUnderTheTreeAndTypingListsEveryHit() {
        QVERIFY(!Dock()->isVisible());
        QCOMPARE(Child<QSplitter>(*FForm, "Splitter3")->indexOf(TreeView(*FForm)), 0);
        QCOMPARE(Child<QSplitter>(*FForm, "Splitter3")->indexOf(Dock()), 1);
        Find(QStringLiteral("alpha"));
        QVERIFY(Dock()->isVisible());
        QTRY_COMPARE(Rows(), (QStringList{QStringLiteral("Zeta|/Alpha|Directory name"),
                                          QStringLiteral("alpha disc|/|Title")}));
        QVERIFY2(Status().startsWith(QStringLiteral("2 hits in ")), qPrintable(Status()));

        // Ctrl+F again selects the text for the next search.
        TreeView(*FForm)->setFocus();
        Find(QStringLiteral("*.txt"));
        QCOMPARE(TextEdit()->text(), QStringLiteral("*.txt"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 5);

        // The close box hides the panel; the command brings it back as it was.
        Dock()->close();
        QVERIFY(!Dock()->isVisible());
        Child<QAction>(*FForm, "FindAllAction")->trigger();
        QVERIFY(Dock()->isVisible());
        QCOMPARE(HitsView()->model()->rowCount(), 5);
    }

    void anActivatedHitIsSelectedInTheTreeWithoutAPrompt_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("saved") << false;
        QTest::newRow("unsaved") << true;
    }
    void anActivatedHitIsSelectedInTheTreeWithoutAPrompt() {
        QFETCH(bool, changed);
        FForm->SetFileChanged(changed);
        Find(QStringLiteral("d.txt"));
        QTRY_COMPARE(Rows(), QStringList{QStringLiteral("Zeta|/Alpha/deep/d.txt|Filename")});
        Activate(0);
        QCOMPARE(SelectedText(*FForm), QStringLiteral("deep"));
        QCOMPARE(ListedFiles(*FForm), QStringList{QStringLiteral("d.txt")});
        QCOMPARE(PanelTitle(*FForm), QStringLiteral("Zeta"));
        const int alpha = NodeAt(*FForm, {QStringLiteral("Zeta"), QStringLiteral("Alpha")});
        QVERIFY(TreeView(*FForm)->isExpanded(TreeModel(*FForm).IndexOfNode(alpha)));
        // The user goes on in the list where they were.
        QCOMPARE(QApplication::focusWidget(), HitsView());

        // Enter on a hit in a disc's own fields selects the disc.
        TextEdit()->clear();
        QTest::keyClicks(TextEdit(), QStringLiteral("alpha"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 2);
        HitsView()->setFocus();
        HitsView()->setCurrentIndex(HitsView()->model()->index(1, 0));
        QTest::keyClick(HitsView(), Qt::Key_Return);
        QCOMPARE(SelectedText(*FForm), QStringLiteral("alpha disc"));
        QCOMPARE(ListedFiles(*FForm), QStringList{QStringLiteral("r.txt")});
        QCOMPARE(PanelTitle(*FForm), QStringLiteral("alpha disc"));

        QVERIFY(FPrompts.Messages.empty());
        QCOMPARE(FForm->FileChanged(), changed);
    }

    void theListFollowsAddedEditedAndRemovedDiscs() {
        Find(QStringLiteral("alpha"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 2);

        // Zeta is selected since the catalogue was opened.
        TDialogAnswer edit("orlenta::TDiscDialogForm", [](QWidget* dialog) {
            Child<QLineEdit>(*dialog, "TitleLabeledEdit")->setText(QStringLiteral("Alphabet"));
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*FForm, "DiscInfoAction")->trigger();
        QVERIFY(edit.Answered());
        QTRY_COMPARE(Rows(), (QStringList{QStringLiteral("Alphabet|/|Title"),
                                          QStringLiteral("Alphabet|/Alpha|Directory name"),
                                          QStringLiteral("alpha disc|/|Title")}));

        ClickNode(*FForm, {QStringLiteral("alpha disc")});
        FPrompts.Answers = {TMessageAnswer::Yes};
        Child<QAction>(*FForm, "DiscRemoveAction")->trigger();
        QTRY_COMPARE(Rows(), (QStringList{QStringLiteral("Alphabet|/|Title"),
                                          QStringLiteral("Alphabet|/Alpha|Directory name")}));

        // A disc read from a directory, the panel disabled with the window while it is read.
        const QString source = FScratch->FilePath(QStringLiteral("source"));
        QVERIFY(QDir().mkpath(source + QStringLiteral("/alphas")));
        QFile file(source + QStringLiteral("/alphas/ALPHA.TXT"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool disabledWhileRead = false;
        TDialogAnswer add("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            Child<QRadioButton>(*dialog, "CustomDirectoryRadioButton")->click();
            Child<QComboBox>(*dialog, "RootFromHistoryComboBox")->setEditText(source);
            Child<QCheckBox>(*dialog, "IncludeFilenamesCheckBox")->setChecked(true);
            Child<QLineEdit>(*dialog, "TitleLabeledEdit")->setText(QStringLiteral("Read"));
            Child<QPushButton>(*dialog, "AddButton")->click();
        });
        TDiscReading& reading = Child<TDiscCommands>(*FForm, "DiscCommands")->DiscReading();
        const auto shownDirectory = reading.OnDirectoryFound;
        reading.OnDirectoryFound = [&, shownDirectory](std::string_view directory) {
            disabledWhileRead = !Panel()->isEnabled();
            shownDirectory(directory);
        };
        Child<QAction>(*FForm, "DiscAddAction")->trigger();
        QVERIFY(add.Answered());
        QVERIFY(disabledWhileRead);
        QTRY_COMPARE(Rows(), (QStringList{QStringLiteral("Alphabet|/|Title"),
                                          QStringLiteral("Alphabet|/Alpha|Directory name"),
                                          QStringLiteral("Read|/alphas|Directory name"),
                                          QStringLiteral("Read|/alphas/ALPHA.TXT|Filename")}));
        QVERIFY(Panel()->isEnabled());
    }

    void newAndOpenClearTheList() {
        Find(QStringLiteral("alpha"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 2);

        TDialogAnswer info("orlenta::TInfoDialogForm", [](QWidget* dialog) { dialog->close(); });
        Child<QAction>(*FForm, "FileNewAction")->trigger();
        QVERIFY(info.Answered());
        QCOMPARE(TextEdit()->text(), QString());
        QCOMPARE(HitsView()->model()->rowCount(), 0);
        QCOMPARE(Status(), QString());
        QTest::keyClicks(TextEdit(), QStringLiteral("alpha"));
        QTRY_COMPARE(Status().left(8), QStringLiteral("No hits "));
        QVERIFY(FForm->FileChanged()); // as New leaves it

        FPrompts.Answers = {TMessageAnswer::No}; // do not save the new catalogue
        FPrompts.FileNames = {FCatalogueFile};
        Child<QAction>(*FForm, "FileOpenAction")->trigger();
        QCOMPARE(TextEdit()->text(), QString());
        QCOMPARE(HitsView()->model()->rowCount(), 0);
        QTest::keyClicks(TextEdit(), QStringLiteral("alpha"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 2);
        QVERIFY(!FForm->FileChanged());
    }
};

QTEST_MAIN(TFindAllCommandTest)
#include "FindAllCommandTest.moc"
