// Find all's panel on a catalogue built in the test: typing shows the hits after a pause, the
// ticks and patterns, sorting, activating and copying hits, and following the open catalogue.

#include "gui/search/FindAllPanel.h"

#include "WindowTestSupport.h"
#include "gui/SizeAndDateText.h"
#include "gui/search/FindHitModel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <sstream>

using namespace orlenta;
using namespace orlenta::test;

namespace {

TXMLDirectoryType AddDirectory(const TXMLDirectoryType& parent, const char* name, const char* id) {
    TXMLDirectoryType directory = parent.Directories().Add();
    directory.SetName(name);
    directory.SetID(id);
    return directory;
}

TXMLDiscType AddDisc(const TXMLOrlentaDataType& root, const char* title, const char* rootID) {
    TXMLDiscType disc = root.Discs().Add();
    disc.SetTitle(title);
    disc.Root().SetID(rootID);
    return disc;
}

// Holiday (Root 1): index.html; 2022 (2): beach.jpg, Beach 2.JPG; 2022/beach misc (3);
// photos (4): beach.jpg. Beach Soft's disc "Software" (Root 5): tools (6): setup.exe.
IXMLOrlentaDataType Shelf() {
    IXMLOrlentaDataType root = NewOrlentaData();
    const TXMLDirectoryType holiday = AddDisc(root, "Holiday", "1").Root();
    holiday.Filenames().Add().SetText("index.html");
    const TXMLDirectoryType year = AddDirectory(holiday, "2022", "2");
    year.Filenames().Add().SetText("beach.jpg");
    year.Filenames().Add().SetText("Beach 2.JPG");
    AddDirectory(year, "beach misc", "3");
    AddDirectory(holiday, "photos", "4").Filenames().Add().SetText("beach.jpg");
    const TXMLDiscType software = AddDisc(root, "Software", "5");
    software.SetVendor("Beach Soft");
    AddDirectory(software.Root(), "tools", "6").Filenames().Add().SetText("setup.exe");
    return root;
}

std::string DocumentText(const TXMLNode& root) {
    std::ostringstream text;
    root.OwnerDocument()->Xml().save(text, "", pugi::format_raw);
    return text.str();
}

} // namespace

class TFindAllPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TFindAllPanel> FPanel;
    IXMLOrlentaDataType FRoot;

    QLineEdit* TextEdit() const { return Child<QLineEdit>(*FPanel, "FindTextEdit"); }
    QTableView* HitsView() const { return Child<QTableView>(*FPanel, "FindHitsView"); }
    QString Status() const { return Child<QLabel>(*FPanel, "FindStatusLabel")->text(); }
    QCheckBox* CheckBox(const char* name) const { return Child<QCheckBox>(*FPanel, name); }
    // The listed rows, "Disc|Path|Field" (the columns of sizes and dates left out).
    QStringList Rows() const {
        QStringList rows = TableRows(*HitsView()->model());
        for (QString& row : rows)
            row = row.section(QLatin1Char('|'), 0, TFindHitModel::FieldColumn);
        return rows;
    }
    // Types text as a new search and waits until its hits are listed.
    void Find(const QString& text) {
        TextEdit()->clear();
        QTest::keyClicks(TextEdit(), text);
        Child<QLabel>(*FPanel, "FindStatusLabel")->clear();
        QTRY_VERIFY(!Status().isEmpty());
    }

private slots:
    void init() {
        FRoot = Shelf();
        FPanel = std::make_unique<TFindAllPanel>();
        FPanel->resize(700, 400);
        FPanel->SetCatalogue(FRoot);
        FPanel->show();
        QVERIFY(QTest::qWaitForWindowExposed(FPanel.get()));
    }
    void cleanup() { FPanel.reset(); }

    void typingListsEveryHitAfterAPause() {
        QElapsedTimer typing;
        typing.start();
        QTest::keyClicks(TextEdit(), QStringLiteral("beach"));
        if (typing.elapsed() < TFindAllPanel::kTypingPause.count())
            QCOMPARE(HitsView()->model()->rowCount(), 0); // still typing
        QTRY_COMPARE(HitsView()->model()->rowCount(), 5);
        QCOMPARE(Rows(), (QStringList{
                             QStringLiteral("Holiday|/2022/beach.jpg|Filename"),
                             QStringLiteral("Holiday|/2022/Beach 2.JPG|Filename"),
                             QStringLiteral("Holiday|/2022/beach misc|Directory name"),
                             QStringLiteral("Holiday|/photos/beach.jpg|Filename"),
                             QStringLiteral("Software|/|Vendor"),
                         }));
        QVERIFY2(Status().startsWith(QStringLiteral("5 hits in ")), qPrintable(Status()));
        QVERIFY(Status().endsWith(QStringLiteral(" ms")));

        Find(QStringLiteral("nothing like it"));
        QCOMPARE(HitsView()->model()->rowCount(), 0);
        QVERIFY(Status().startsWith(QStringLiteral("No hits in ")));
    }

    void ticksAndPatternsChooseTheHits() {
        Find(QStringLiteral("beach"));
        CheckBox("FindInFilenameCheckBox")->click();
        CheckBox("FindInVendorCheckBox")->click();
        QTRY_COMPARE(Rows(),
                     QStringList{QStringLiteral("Holiday|/2022/beach misc|Directory name")});
        QCOMPARE(FPanel->Request().InFilename, false);

        CheckBox("FindInFilenameCheckBox")->click();
        Find(QStringLiteral("*.JPG"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 3);
        QVERIFY2(Status().endsWith(QStringLiteral("ms (pattern)")), qPrintable(Status()));
        Find(QStringLiteral("?each*"));
        QTRY_COMPARE(HitsView()->model()->rowCount(), 4);
    }

    void headersSortAndAThirdClickRestoresTheOrderFound() {
        Find(QStringLiteral("e"));
        const QStringList found = Rows();
        QHeaderView* header = HitsView()->horizontalHeader();
        const auto click = [&](int section) {
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
        };
        click(TFindHitModel::PathColumn);
        QCOMPARE(Rows().mid(0, 4), (QStringList{
                                       QStringLiteral("Software|/|Title"),
                                       QStringLiteral("Software|/|Vendor"),
                                       QStringLiteral("Holiday|/index.html|Filename"),
                                       QStringLiteral("Holiday|/2022/Beach 2.JPG|Filename"),
                                   }));
        click(TFindHitModel::PathColumn);
        QCOMPARE(Rows().front(), QStringLiteral("Software|/tools/setup.exe|Filename"));
        click(TFindHitModel::PathColumn);
        QCOMPARE(Rows(), found);

        // A new search keeps the order chosen.
        click(TFindHitModel::DiscColumn);
        click(TFindHitModel::DiscColumn);
        Find(QStringLiteral("beach"));
        QCOMPARE(Rows().front(), QStringLiteral("Software|/|Vendor"));
    }

    void doubleClickAndEnterActivateAHit() {
        Find(QStringLiteral("beach"));
        QSignalSpy activated(FPanel.get(), &TFindAllPanel::HitActivated);
        QTableView* view = HitsView();
        const QRect second = view->visualRect(view->model()->index(1, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(activated.count(), 1);
        const auto hit = activated.takeFirst().front().value<TFindHit>();
        QCOMPARE(hit.Field, TSearchField::Filename);
        QCOMPARE(FPanel->DirectoryID(hit), std::string("2"));

        view->setCurrentIndex(view->model()->index(4, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(FPanel->DirectoryID(activated.takeFirst().front().value<TFindHit>()),
                 std::string("5")); // the vendor hit selects the disc
    }

    void copyPutsTheSelectedHitsOnTheClipboardAsTheCommandLinePrintsThem() {
        Find(QStringLiteral("beach"));
        QTableView* view = HitsView();
        view->setFocus();
        view->selectionModel()->select(view->model()->index(4, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->selectionModel()->select(view->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("0\tHoliday\tfilename\t/2022/beach.jpg\n"
                                "1\tSoftware\tvendor\t/\n"));
    }

    void followsTheCatalogueAndLeavesItUntouched() {
        const std::string before = DocumentText(FRoot);
        Find(QStringLiteral("beach"));
        QCOMPARE(DocumentText(FRoot), before);

        // A disc added: found again once the panel is enabled (as after busy mode).
        FPanel->setEnabled(false);
        AddDirectory(AddDisc(FRoot, "Added", "7").Root(), "beach house", "8");
        FPanel->FollowCatalogue(FRoot);
        QTest::qWait(50);
        QCOMPARE(HitsView()->model()->rowCount(), 5);
        FPanel->setEnabled(true);
        QTRY_COMPARE(HitsView()->model()->rowCount(), 6);
        QCOMPARE(Rows().back(), QStringLiteral("Added|/beach house|Directory name"));

        // A disc removed while the panel is hidden: found again when shown.
        FPanel->hide();
        FRoot.Discs().Remove(FRoot.Discs().Disc(0));
        FPanel->CatalogueChanged();
        QTest::qWait(50);
        FPanel->show();
        QTRY_COMPARE(Rows(), (QStringList{QStringLiteral("Software|/|Vendor"),
                                          QStringLiteral("Added|/beach house|Directory name")}));

        // Another catalogue opened: nothing is left of the last search.
        FPanel->FollowCatalogue(Shelf());
        QCOMPARE(TextEdit()->text(), QString());
        QCOMPARE(HitsView()->model()->rowCount(), 0);
        QCOMPARE(Status(), QString());
        Find(QStringLiteral("setup"));
        QCOMPARE(Rows(), QStringList{QStringLiteral("Software|/tools/setup.exe|Filename")});
    }

    void manyHitsAreListedAPageAtATime() {
        IXMLOrlentaDataType root = NewOrlentaData();
        const TXMLFilenamesType files = AddDisc(root, "Many", "1").Root().Filenames();
        const int count = 2 * TFindHitModel::kPageSize + 10;
        for (int i = 0; i < count; ++i)
            files.Add().SetText("file " + std::to_string(i) + ".txt");
        FPanel->SetCatalogue(root);
        Find(QStringLiteral("file"));
        QCOMPARE(FPanel->Hits().HitCount(), count);
        QCOMPARE(HitsView()->model()->rowCount(), TFindHitModel::kPageSize);
        QVERIFY2(Status().startsWith(QLocale().toString(count) + QStringLiteral(" hits")),
                 qPrintable(Status()));
        HitsView()->scrollToBottom();
        QTRY_COMPARE(HitsView()->model()->rowCount(), 2 * TFindHitModel::kPageSize);
    }

    void sizesAndDatesShowInTheirColumnsSortAndFilter() {
        // Sizes on the Holiday disc only: over 4 GiB, a few bytes, none; the directories' totals.
        const TXMLDirectoryType holiday = FRoot.Discs().Disc(0).Root();
        holiday.SetSize(5368709220);
        const TXMLDirectoryType year = holiday.Directories().Directory(0);
        year.SetSize(5368709120);
        year.SetModified(1600000000);
        year.Filenames().Filename(0).SetSize(5368709120);
        year.Filenames().Filename(0).SetModified(1640995200); // 2022-01-01T00:00:00Z
        year.Filenames().Filename(1).SetSize(0);
        FPanel->SetCatalogue(FRoot);
        const std::string before = DocumentText(FRoot);

        QAbstractItemModel& model = *HitsView()->model();
        QCOMPARE(model.headerData(TFindHitModel::SizeColumn, Qt::Horizontal).toString(),
                 QStringLiteral("Size"));
        QCOMPARE(model.headerData(TFindHitModel::ModifiedColumn, Qt::Horizontal).toString(),
                 QStringLiteral("Modified"));
        Find(QStringLiteral("beach"));
        const QStringList sizes{SizeText(5368709120), SizeText(0), QString(), QString(), QString()};
        const auto column = [&](int column, int role = Qt::DisplayRole) {
            QStringList cells;
            for (int row = 0; row < model.rowCount(); ++row)
                cells << model.index(row, column).data(role).toString();
            return cells;
        };
        QCOMPARE(column(TFindHitModel::SizeColumn), sizes);
        QCOMPARE(column(TFindHitModel::SizeColumn, Qt::ToolTipRole).front(),
                 ExactSizeText(5368709120));
        QCOMPARE(
            column(TFindHitModel::ModifiedColumn),
            (QStringList{ModifiedText(1640995200), QString(), QString(), QString(), QString()}));
        QCOMPARE(model.index(0, TFindHitModel::SizeColumn)
                     .data(Qt::TextAlignmentRole)
                     .value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);

        // Sorted by number, not by text; hits without a size come first.
        QHeaderView* header = HitsView()->horizontalHeader();
        const auto click = [&](int section) {
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
        };
        click(TFindHitModel::SizeColumn);
        QCOMPARE(column(TFindHitModel::SizeColumn),
                 (QStringList{QString(), QString(), QString(), SizeText(0), SizeText(5368709120)}));
        click(TFindHitModel::SizeColumn);
        QCOMPARE(column(TFindHitModel::SizeColumn).front(), SizeText(5368709120));
        click(TFindHitModel::SizeColumn);

        // Filters: the hits whose values pass, the disc fields standing for the top directory.
        Find(QStringLiteral("beach size:>4G"));
        QCOMPARE(Rows(), QStringList{QStringLiteral("Holiday|/2022/beach.jpg|Filename")});
        Find(QStringLiteral("size:>4G"));
        QCOMPARE(Rows(), (QStringList{QStringLiteral("Holiday|/|Directory name"),
                                      QStringLiteral("Holiday|/2022|Directory name"),
                                      QStringLiteral("Holiday|/2022/beach.jpg|Filename")}));
        // No hits, and why.
        Find(QStringLiteral("setup size:>1"));
        QCOMPARE(model.rowCount(), 0);
        QVERIFY2(Status().endsWith(QStringLiteral("No sizes or dates are recorded for the names "
                                                  "found.")),
                 qPrintable(Status()));
        FPanel->SetCatalogue(Shelf());
        Find(QStringLiteral("*.jpg size:>1"));
        QCOMPARE(model.rowCount(), 0);
        QVERIFY2(Status().startsWith(QStringLiteral("No hits in ")), qPrintable(Status()));
        QVERIFY2(Status().endsWith(QStringLiteral(" ms (pattern). No sizes or dates are recorded "
                                                  "in this catalogue.")),
                 qPrintable(Status()));
        QCOMPARE(DocumentText(FRoot), before);
    }

    void everyControlHasANameForTestsAndForScreenReaders() {
        const QList<QWidget*> controls{TextEdit(),
                                       HitsView(),
                                       CheckBox("FindInTitleCheckBox"),
                                       CheckBox("FindInVendorCheckBox"),
                                       CheckBox("FindInMemoCheckBox"),
                                       CheckBox("FindInDirectoryCheckBox"),
                                       CheckBox("FindInFilenameCheckBox")};
        QStringList captions;
        for (QWidget* control : controls) {
            QVERIFY(control != nullptr);
            QVERIFY(!control->accessibleName().isEmpty());
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                QVERIFY(box->isChecked()); // every field, unlike the Search dialog
                captions << box->text();
            }
        }
        QCOMPARE(captions, (QStringList{QStringLiteral("Title"), QStringLiteral("Vendor"),
                                        QStringLiteral("Memo"), QStringLiteral("Directory name"),
                                        QStringLiteral("Filename")}));
        // What a screen reader announces for every button, the text field's own clear button
        // too, which shows once there is text.
        QTest::keyClicks(TextEdit(), QStringLiteral("x"));
        for (QAbstractButton* button : FPanel->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || button->width() == 0) // the table's corner, for one
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
            QVERIFY(accessible != nullptr);
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                     button->metaObject()->className());
        }
    }
};

QTEST_MAIN(TFindAllPanelTest)
#include "FindAllPanelTest.moc"
