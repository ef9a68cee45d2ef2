// Duplicates and Overlap in the main window: the panel under the tree lists the groups with
// their copies, sorts them, selects an activated copy's directory in the tree and follows a
// removed disc; it reads the name index Find all reads; the overlap dialog shows the selected
// disc's shares.

#include "MainFormTestSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/search/DuplicateGroupModel.h"
#include "gui/search/DuplicatesPanel.h"
#include "gui/search/FindAllPanel.h"
#include "gui/search/FindHitModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace orlenta;
using namespace orlenta::test;

namespace {

// photo.jpg three times over two discs, big.iso twice on Backup, notes.txt once per disc.
constexpr const char* kCatalogueXml =
    R"(<?xml version="1.0"?><OrlentaData Title="Shelf"><Discs>)"
    R"(<Disc Title="Holiday"><Root ID="1"><Filenames><Filename Text="photo.jpg" Size="2000"/>)"
    R"(<Filename Text="notes.txt" Size="10"/></Filenames><Directories>)"
    R"(<Directory Name="copy" ID="2"><Filenames><Filename Text="photo.jpg" Size="2000"/>)"
    R"(</Filenames></Directory></Directories></Root></Disc>)"
    R"(<Disc Title="Backup"><Root ID="3"><Filenames><Filename Text="photo.jpg" Size="2000"/>)"
    R"(<Filename Text="notes.txt" Size="10"/><Filename Text="big.iso" Size="5000"/>)"
    R"(</Filenames><Directories><Directory Name="iso" ID="4"><Filenames>)"
    R"(<Filename Text="big.iso" Size="5000"/></Filenames></Directory></Directories>)"
    R"(</Root></Disc></Discs></OrlentaData>)";

} // namespace

class TDuplicatesCommandTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private:
    std::unique_ptr<TMainForm> FForm;

    TDuplicatesPanel* Panel() const { return Child<TDuplicatesPanel>(*FForm, "DuplicatesPanel"); }
    QTreeView* View() const { return Child<QTreeView>(*Panel(), "DuplicatesView"); }
    // The group rows, "Name|Size|Copies|Wasted".
    QStringList Groups() const {
        QStringList rows;
        for (QString row : TableRows(*View()->model()))
            rows << row.section(QLatin1Char('|'), 0, TDuplicateGroupModel::WastedColumn);
        return rows;
    }
    // The copy rows of a group row, "Path|Disc".
    QStringList Copies(int groupRow) const {
        const QAbstractItemModel& model = *View()->model();
        const QModelIndex group = model.index(groupRow, 0);
        QStringList rows;
        for (int row = 0; row < model.rowCount(group); ++row)
            rows << model.index(row, TDuplicateGroupModel::NameColumn, group).data().toString() +
                        QLatin1Char('|') +
                        model.index(row, TDuplicateGroupModel::DiscColumn, group).data().toString();
        return rows;
    }
    void ShowPanel() {
        Child<QAction>(*FForm, "DuplicatesAction")->trigger();
        QTRY_VERIFY(!Panel()->Searching() && View()->model()->rowCount() > 0);
    }

private slots:
    void initTestCase() { UseKnownCollation(); }

    void init() {
        SetUp();
        const std::string file = FScratch->LocalPath(QStringLiteral("shelf.olx"));
        WriteFileBytes(file, RawDeflateBytes(kCatalogueXml));
        FForm = MakeForm(FPrompts, {QString::fromStdString(file)});
        QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    }

    void cleanup() { TearDown(&FForm); }

    void thePanelListsTheGroupsUnderTheTreeAndSortsThem() {
        QDockWidget* dock = Child<QDockWidget>(*FForm, "DuplicatesDock");
        QVERIFY(!dock->isVisible());
        ShowPanel();
        QVERIFY(dock->isVisible());
        QCOMPARE(Child<QSplitter>(*FForm, "Splitter3")->indexOf(dock), 2);
        QCOMPARE(Groups(), (QStringList{QStringLiteral("big.iso|4.9 kB|2|4.9 kB"),
                                        QStringLiteral("photo.jpg|2.0 kB|3|3.9 kB"),
                                        QStringLiteral("notes.txt|10 bytes|2|10 bytes")}));
        QCOMPARE(Copies(1), (QStringList{QStringLiteral("/photo.jpg|Holiday"),
                                         QStringLiteral("/copy/photo.jpg|Holiday"),
                                         QStringLiteral("/photo.jpg|Backup")}));
        QVERIFY(Child<QLabel>(*Panel(), "DuplicatesStatusLabel")
                    ->text()
                    .startsWith(QStringLiteral("3 groups, ")));

        View()->sortByColumn(TDuplicateGroupModel::NameColumn, Qt::AscendingOrder);
        QCOMPARE(Groups().join(QLatin1Char(' ')).count(QStringLiteral("|")), 9);
        QCOMPARE(Groups()[0].section(QLatin1Char('|'), 0, 0), QStringLiteral("big.iso"));
        QCOMPARE(Groups()[1].section(QLatin1Char('|'), 0, 0), QStringLiteral("notes.txt"));
        View()->sortByColumn(TDuplicateGroupModel::CopiesColumn, Qt::DescendingOrder);
        QCOMPARE(Groups()[0].section(QLatin1Char('|'), 0, 0), QStringLiteral("photo.jpg"));
        QCOMPARE(Copies(0).size(), 3);
        View()->sortByColumn(TDuplicateGroupModel::WastedColumn, Qt::AscendingOrder);
        QCOMPARE(Groups()[0].section(QLatin1Char('|'), 0, 0), QStringLiteral("notes.txt"));

        // The minimum size leaves the small files out.
        QLineEdit* minSize = Child<QLineEdit>(*Panel(), "DuplicatesMinSizeEdit");
        minSize->selectAll();
        QTest::keyClicks(minSize, QStringLiteral("2001"));
        QTRY_COMPARE(View()->model()->rowCount(), 1);

        // Ctrl+C copies the selected rows as orlenta-cli lists them.
        View()->setFocus();
        View()->setCurrentIndex(View()->model()->index(0, 0));
        QTest::keyClick(View(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            QGuiApplication::clipboard()->text(),
            QStringLiteral("1\t5000\t1\tBackup\t/big.iso\n1\t5000\t1\tBackup\t/iso/big.iso\n"));
    }

    void anActivatedCopyIsSelectedInTheTreeAndARemovedDiscLeavesTheList() {
        ShowPanel();
        const QModelIndex photo = View()->model()->index(1, 0);
        View()->expand(photo);
        View()->setFocus();
        View()->setCurrentIndex(View()->model()->index(1, 0, photo));
        QTest::keyClick(View(), Qt::Key_Return);
        QCOMPARE(SelectedText(*FForm), QStringLiteral("copy"));
        QCOMPARE(PanelTitle(*FForm), QStringLiteral("Holiday"));
        QCOMPARE(QApplication::focusWidget(), View());
        QVERIFY(FPrompts.Messages.empty());

        // Holiday is selected now: remove it.
        FPrompts.Answers = {TMessageAnswer::Yes};
        Child<QAction>(*FForm, "DiscRemoveAction")->trigger();
        QTRY_COMPARE(Groups(), (QStringList{QStringLiteral("big.iso|4.9 kB|2|4.9 kB")}));
    }

    void findAllAndDuplicatesReadOneIndexAndANewOneAfterAChange() {
        ShowPanel();
        auto* find = Child<TFindAllPanel>(*FForm, "FindAllPanel");
        QTest::keyClick(FForm.get(), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(Child<QLineEdit>(*find, "FindTextEdit"), QStringLiteral("photo"));
        QTRY_COMPARE(find->Hits().HitCount(), 3);
        const TNameIndex* shared = Panel()->Groups().Index();
        QVERIFY(shared != nullptr);
        QCOMPARE(find->Hits().Index(), shared);

        ClickNode(*FForm, {QStringLiteral("Holiday")});
        FPrompts.Answers = {TMessageAnswer::Yes};
        Child<QAction>(*FForm, "DiscRemoveAction")->trigger();
        QTRY_COMPARE(find->Hits().HitCount(), 1);
        QTRY_COMPARE(Groups(), (QStringList{QStringLiteral("big.iso|4.9 kB|2|4.9 kB")}));
        QCOMPARE(find->Hits().Index(), Panel()->Groups().Index());
        QVERIFY(find->Hits().Index()->DiscCount() == 1);
    }

    void overlapShowsTheSelectedDiscsShares() {
        ClickNode(*FForm, {QStringLiteral("Holiday")});
        QStringList rows;
        QString summary;
        TDialogAnswer answer("orlenta::TOverlapDialog", [&](QWidget* dialog) {
            summary = Child<QLabel>(*dialog, "OverlapSummaryLabel")->text();
            auto* table = Child<QTreeWidget>(*dialog, "OverlapView");
            for (int row = 0; row < table->topLevelItemCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    cells << table->topLevelItem(row)->text(column);
                rows << cells.join(QLatin1Char('|'));
            }
            Child<QPushButton>(*dialog, "CloseButton")->click();
        });
        Child<QAction>(*FForm, "OverlapAction")->trigger();
        QTRY_VERIFY(answer.Answered());
        QCOMPARE(rows, (QStringList{QStringLiteral("1|Backup|3|3.9 kB|100.0%|100.0%"),
                                    QStringLiteral("*|All other discs|3|3.9 kB|100.0%|100.0%")}));
        QVERIFY2(summary.contains(QStringLiteral(
                     "100.0% of its files (100.0% of its bytes) are on other discs.")),
                 qPrintable(summary));
    }
};

QTEST_MAIN(TDuplicatesCommandTest)
#include "DuplicatesCommandTest.moc"
