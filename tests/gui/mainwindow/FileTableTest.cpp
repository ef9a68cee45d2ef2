// The file list as a table of name, size and modification time: document order until a column
// header is clicked, the summary under it, the disc's total in the panel, and catalogues without
// sizes shown with empty cells and left as they were.

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/FileTableModel.h"
#include "gui/mainwindow/MainForm.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <optional>
#include <pugixml.hpp>
#include <sstream>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

namespace {

struct TFile {
    const char* Name;
    std::optional<std::uint64_t> Size;
    std::optional<std::int64_t> Modified;
};

// In document order; the total of the recorded sizes is kTotal.
const TFile kFiles[] = {
    {"b.txt", 2048, 1650000000},
    {"a.txt", 1536000, 1600000000},
    {"C.txt", std::nullopt, std::nullopt},
    {"d.txt", 10, 1700000000},
};
constexpr std::uint64_t kTotal = 2048 + 1536000 + 10;

// One disc, "Sized", whose top directory holds kFiles and a directory "sub" with one file.
IXMLOrlentaDataType SizedCatalogue() {
    IXMLOrlentaDataType root = NewOrlentaData();
    root.SetTitle("Sized");
    root.SetLastDirectoryID("2");
    const IXMLDiscType disc = root.Discs().Add();
    disc.SetTitle("Sized");
    const IXMLDirectoryType top = disc.Root();
    top.SetID("1");
    top.SetSize(kTotal + 5);
    for (const TFile& file : kFiles) {
        const IXMLFilenameType name = top.Filenames().Add();
        name.SetText(file.Name);
        if (file.Size)
            name.SetSize(*file.Size);
        if (file.Modified)
            name.SetModified(*file.Modified);
    }
    const IXMLDirectoryType sub = top.Directories().Add();
    sub.SetName("sub");
    sub.SetID("2");
    sub.SetSize(5);
    const IXMLFilenameType only = sub.Filenames().Add();
    only.SetText("e.txt");
    only.SetSize(5);
    return root;
}

QString Row(const TFile& file) {
    return QString::fromLatin1(file.Name) + QLatin1Char('|') +
           (file.Size ? SizeText(*file.Size) : QString()) + QLatin1Char('|') +
           (file.Modified ? ModifiedText(*file.Modified) : QString());
}

// The rows of kFiles at these document indexes.
QStringList Rows(std::initializer_list<int> order) {
    QStringList rows;
    for (int index : order)
        rows << Row(kFiles[index]);
    return rows;
}

QTreeView* FilesView(const TMainForm& form) {
    return Child<QTreeView>(form, "FilesListBox");
}

// A real click on the header of column.
void ClickHeader(const TMainForm& form, int column) {
    QHeaderView* header = FilesView(form)->header();
    const QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
}

QString Summary(const TMainForm& form) {
    return Child<QLabel>(form, "FilesSummaryLabel")->text();
}

std::string DocumentText(const TMainForm& form) {
    std::ostringstream text;
    form.Session().XMLIndexData().XmlNode().print(text, "", pugi::format_raw);
    return text.str();
}

} // namespace

class TFileTableTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private:
    QString FSizedFile;

    std::unique_ptr<TMainForm> SizedForm() {
        FSizedFile = FScratch->FilePath(u"sized.olx"_s);
        WriteDataFile(SizedCatalogue(), ToLocalPath(FSizedFile));
        return MakeForm(FPrompts, {FSizedFile});
    }

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    // The first disc is selected on opening: its files in document order, sizes and times as
    // the window writes them, the exact size as the size's tool tip.
    void showsSizesAndTimesInDocumentOrder() {
        auto form = SizedForm();
        QTreeView* view = FilesView(*form);
        QCOMPARE(view->accessibleName(), u"Files"_s);
        QVERIFY(!view->rootIsDecorated());
        const QAbstractItemModel& model = *view->model();
        QCOMPARE(model.columnCount(), 3);
        QStringList headers;
        for (int column = 0; column < model.columnCount(); ++column)
            headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{u"Name"_s, u"Size"_s, u"Modified"_s}));
        QCOMPARE(view->header()->sortIndicatorSection(), -1);

        QCOMPARE(TableRows(model), Rows({0, 1, 2, 3}));
        QCOMPARE(model.index(1, 1).data(Qt::ToolTipRole).toString(), ExactSizeText(1536000));
        QVERIFY(model.index(2, 1).data(Qt::ToolTipRole).toString().isEmpty());
        QVERIFY(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight);
        QCOMPARE(Summary(*form), u"4 files, "_s + SizeText(kTotal));

        QLineEdit* total = Child<QLineEdit>(DiscPanel(*form), "TotalSizeLabeledEdit");
        QCOMPARE(total->text(), SizeText(kTotal + 5));
        QCOMPARE(total->toolTip(), ExactSizeText(kTotal + 5));
        QCOMPARE(total->accessibleName(), u"Total size"_s);
        QVERIFY(total->isReadOnly());

        ClickNode(*form, {u"Sized"_s, u"sub"_s});
        QCOMPARE(ListedFiles(*form), QStringList{u"e.txt"_s});
        QCOMPARE(Summary(*form), u"1 file, "_s + SizeText(5));
    }

    // A header sorts by its column, a second click the other way, a third brings back document
    // order. Names compare as the tree's do (locale-aware: C.txt between b and d), what was not
    // recorded comes first, and the selection stays on its file.
    void headerClicksSortByEachColumn_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        QTest::addColumn<QStringList>("descending");
        QTest::newRow("name") << 0 << Rows({1, 0, 2, 3}) << Rows({3, 2, 0, 1});
        QTest::newRow("size") << 1 << Rows({2, 3, 0, 1}) << Rows({1, 0, 3, 2});
        QTest::newRow("modified") << 2 << Rows({2, 1, 0, 3}) << Rows({3, 0, 1, 2});
    }
    void headerClicksSortByEachColumn() {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        QFETCH(QStringList, descending);
        auto form = SizedForm();
        QTreeView* view = FilesView(*form);
        const QAbstractItemModel& model = *view->model();
        view->setCurrentIndex(model.index(0, 0));
        const auto selectedName = [&] {
            const QModelIndexList rows = view->selectionModel()->selectedRows();
            return rows.size() == 1 ? rows.front().data().toString() : QString();
        };

        ClickHeader(*form, column);
        QCOMPARE(TableRows(model), ascending);
        QCOMPARE(selectedName(), u"b.txt"_s);
        ClickHeader(*form, column);
        QCOMPARE(TableRows(model), descending);
        QCOMPARE(selectedName(), u"b.txt"_s);
        // The order chosen stays for the next directory shown.
        ClickNode(*form, {u"Sized"_s, u"sub"_s});
        ClickNode(*form, {u"Sized"_s});
        QCOMPARE(TableRows(model), descending);
        ClickHeader(*form, column);
        QCOMPARE(TableRows(model), Rows({0, 1, 2, 3}));
        QCOMPARE(Summary(*form), u"4 files, "_s + SizeText(kTotal));
    }

    // The disc's properties show the total and leave it as it was.
    void discPropertiesShowTheTotalWithoutEditingIt() {
        auto form = SizedForm();
        QString shown;
        bool readOnly = false;
        TDialogAnswer answer("orlenta::TDiscDialogForm", [&](QWidget* dialog) {
            QLineEdit* total = Child<QLineEdit>(*dialog, "TotalSizeLabeledEdit");
            shown = total->text();
            readOnly = total->isReadOnly();
            Child<QLineEdit>(*dialog, "TitleLabeledEdit")->setText(u"Renamed"_s);
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*form, "DiscInfoAction")->trigger();
        QVERIFY(answer.Answered());
        QCOMPARE(shown, SizeText(kTotal + 5));
        QVERIFY(readOnly);
        const pugi::xml_node root = form->Session().XMLIndexData().Discs().Disc(0).Root().XmlNode();
        QCOMPARE(root.attribute("Size").as_ullong(), kTotal + 5);
        QCOMPARE(Child<QLineEdit>(DiscPanel(*form), "TotalSizeLabeledEdit")->text(),
                 SizeText(kTotal + 5));
    }

    // Files of 2^63 bytes: the summary's total of three stops at the largest number instead of
    // wrapping round to a small one.
    void totalOfTheLargestFilesStopsAtTheLargestNumber() {
        IXMLOrlentaDataType root = NewOrlentaData();
        const IXMLDirectoryType top = root.Discs().Add().Root();
        for (const char* name : {"a", "b", "c"}) {
            const IXMLFilenameType file = top.Filenames().Add();
            file.SetText(name);
            file.SetSize(std::uint64_t{1} << 63);
        }
        TFileTableModel model;
        model.ShowDirectory(top);
        QVERIFY(model.TotalSize() == UINT64_MAX);
        QCOMPARE(FileTableSummary(model), u"3 files, "_s + SizeText(UINT64_MAX));
    }

    // Without recorded sizes the cells and the total stay empty, the summary counts, sorting
    // keeps document order, and browsing adds nothing to the catalogue.
    void catalogueWithoutSizesShowsEmptyCellsAndStaysAsItWas() {
        auto form = OpenedForm();
        const std::string before = DocumentText(*form);
        QCOMPARE(TableRows(*FilesView(*form)->model()),
                 (QStringList{u"z1.txt||"_s, u"a0.txt||"_s}));
        QCOMPARE(Summary(*form), u"2 files"_s);
        QVERIFY(Child<QLineEdit>(DiscPanel(*form), "TotalSizeLabeledEdit")->text().isEmpty());
        for (int column : {1, 2}) {
            ClickHeader(*form, column);
            QCOMPARE(ListedFiles(*form), (QStringList{u"z1.txt"_s, u"a0.txt"_s}));
        }
        TreeView(*form)->expandAll();
        ClickNode(*form, {u"Zeta"_s, u"beta"_s});
        QCOMPARE(TableRows(*FilesView(*form)->model()), QStringList{u"b.txt||"_s});
        ClickNode(*form, {u"Zeta"_s, u"Alpha"_s, u"deep"_s});
        QCOMPARE(Summary(*form), u"1 file"_s);
        QCOMPARE(DocumentText(*form), before);
        QVERIFY(!form->FileChanged());
    }
};

QTEST_MAIN(TFileTableTest)
#include "FileTableTest.moc"
