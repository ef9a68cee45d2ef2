// Disc, Rescan end to end on real directory trees: the changes dialog with Apply and Cancel, the
// message when nothing changed, Stop reading, and the folder picker for a disc that does not say
// where it was read from.

#include "MainFormTestSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/base/Clock.h"
#include "core/catalogue/DiscProperties.h"
#include "core/reading/DiscReading.h"
#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/reading/RescanChangesForm.h"
#include "gui/search/FindAllPanel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>

using namespace orlenta;
using namespace orlenta::test;

namespace {

constexpr std::int64_t kMoment = 1600000000;

// A file of size bytes, last modified at kMoment.
void MakeFile(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QFile::resize(path, size));
    const timespec times[2] = {{kMoment, 0}, {kMoment, 0}};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

// The disc's element as the data file would hold it.
std::string DiscXml(const IXMLDiscType& disc) {
    std::ostringstream text;
    disc.XmlNode().print(text);
    return text.str();
}

// The paths a list of the changes dialog shows, top to bottom.
QStringList ListedPaths(const QWidget& dialog, const char* list) {
    const QAbstractItemModel& model = *Child<QListView>(dialog, list)->model();
    QStringList paths;
    for (int row = 0; row < model.rowCount(); ++row)
        paths << model.index(row, 0).data().toString();
    return paths;
}

} // namespace

class TRescanDiscTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private:
    QString FSource;
    std::unique_ptr<TFixedClock> FClock;

    // A catalogue of one disc "Holiday" read from FSource with file names, sizes and dates on
    // 2023-11-14, with a vendor and a memo; the window opened on it. FSource holds readme.txt
    // (10 bytes) and 2022/b.jpg.
    std::unique_ptr<TMainForm> FormOnReadDisc(bool withSource = true) {
        FSource = FScratch->FilePath(QStringLiteral("source"));
        QDir().mkpath(FSource + QStringLiteral("/2022"));
        MakeFile(FSource + QStringLiteral("/readme.txt"), 10);
        MakeFile(FSource + QStringLiteral("/2022/b.jpg"), 2000);
        TSilentHost host;
        TCatalogueSession session(host);
        session.NewCatalogue();
        TDiscReading reading(session);
        reading.SetRecordSizes(true);
        // Title, vendor, media type, creation date, read date, counts, memo, source.
        const TDiscProperties properties{"Holiday", "Me",           "", "", "2023-11-14", "",
                                         "",        "kept\r\nsafe", ""};
        reading.AddDisc(ToLocalPath(FSource), true, properties);
        if (!withSource)
            session.XMLDiscData().XmlNode().remove_attribute("Source");
        WriteDataFile(session.XMLIndexData(), ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        ClickNode(*form, {QStringLiteral("Holiday")});
        return form;
    }

    QAction* Rescan(const TMainForm& form) { return Child<QAction>(form, "DiscRescanAction"); }

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() {
        SetUp();
        // Rescans happen on a later day than the reading.
        FClock = std::make_unique<TFixedClock>(std::chrono::system_clock::from_time_t(1750000000));
    }
    void cleanup() {
        TearDown();
        FClock.reset();
    }

    void applyPutsTheNewReadingInPlaceKeepingWhatTheUserWrote() {
        auto form = FormOnReadDisc();
        QVERIFY(Rescan(*form)->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        // Find all lists what it finds in the catalogue as it is now.
        QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
        auto* findPanel = Child<TFindAllPanel>(*form, "FindAllPanel");
        QTest::keyClicks(Child<QLineEdit>(*findPanel, "FindTextEdit"), QStringLiteral("new"));
        const QAbstractItemModel& hits = *Child<QTableView>(*findPanel, "FindHitsView")->model();
        QTRY_COMPARE(hits.rowCount(), 0);

        MakeFile(FSource + QStringLiteral("/2022/new.jpg"), 5);
        MakeFile(FSource + QStringLiteral("/readme.txt"), 25);
        QString intro, counts;
        QStringList added, removed, changed;
        int openTab = -1;
        TDialogAnswer answer("orlenta::TRescanChangesForm", [&](QWidget* dialog) {
            intro = Child<QLabel>(*dialog, "IntroLabel")->text();
            counts = Child<QLabel>(*dialog, "CountsLabel")->text();
            added = ListedPaths(*dialog, "AddedListView");
            removed = ListedPaths(*dialog, "RemovedListView");
            changed = ListedPaths(*dialog, "ChangedListView");
            openTab = Child<QTabWidget>(*dialog, "ChangesTabWidget")->currentIndex();
            Child<QPushButton>(*dialog, "ApplyButton")->click();
        });
        Rescan(*form)->trigger();
        QVERIFY(answer.Answered());
        QCOMPARE(intro, QStringLiteral("'Holiday' read again from ") + FSource);
        QCOMPARE(counts, QStringLiteral("1 added, 0 removed, 1 changed"));
        QCOMPARE(added, QStringList{QStringLiteral("/2022/new.jpg")});
        QCOMPARE(removed, QStringList());
        QCOMPARE(changed, QStringList{QStringLiteral("/readme.txt")});
        QCOMPARE(openTab, 0);
        QVERIFY(FPrompts.Messages.empty());

        const IXMLDiscType disc = form->Session().XMLDiscData();
        QCOMPARE(disc.Title(), std::string_view("Holiday"));
        QCOMPARE(disc.Vendor(), std::string_view("Me"));
        QCOMPARE(ReadDiscProperties(disc).Memo, std::string("kept\r\nsafe"));
        QCOMPARE(std::string(disc.Source().value_or("(none)")), ToLocalPath(FSource));
        QCOMPARE(disc.ReadDate(), std::string_view(TodayDateText()));
        QCOMPARE(disc.FileCount(), std::string_view("3"));
        QCOMPARE(SelectedText(*form), QStringLiteral("Holiday"));
        QCOMPARE(PanelTitle(*form), QStringLiteral("Holiday"));
        QCOMPARE(TableRows(*Child<QTreeView>(*form, "FilesListBox")->model()),
                 QStringList{QStringLiteral("readme.txt|") + SizeText(25) + QLatin1Char('|') +
                             ModifiedText(kMoment)});
        ClickNode(*form, {QStringLiteral("Holiday"), QStringLiteral("2022")});
        QCOMPARE(ListedFiles(*form),
                 (QStringList{QStringLiteral("b.jpg"), QStringLiteral("new.jpg")}));
        QTRY_COMPARE(hits.rowCount(), 1);
        QVERIFY(form->FileChanged());
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());
        QVERIFY(!form->Busy());
    }

    // Cancel in the changes dialog, and Stop reading while the disc is read again: the disc stays
    // as it was, byte for byte, and the catalogue unchanged.
    void cancelAndStopLeaveTheDiscAsItWas_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("cancel") << false;
        QTest::newRow("stop") << true;
    }
    void cancelAndStopLeaveTheDiscAsItWas() {
        QFETCH(bool, stop);
        auto form = FormOnReadDisc();
        const std::string before = DiscXml(form->Session().XMLDiscData());
        const std::string lastId(form->Session().XMLIndexData().LastDirectoryID());
        // Enough directories that the walk lets events run before it is through.
        for (int i = 0; i < 40; ++i)
            for (int j = 0; j < 40; ++j)
                QVERIFY(QDir().mkpath(QStringLiteral("%1/d%2/e%3").arg(FSource).arg(i).arg(j)));
        auto* progress = Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        bool busyWhileReading = false;
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            if (!progress->isVisible())
                return;
            stopper.stop();
            busyWhileReading = form->Busy() && !form->isEnabled() && !Rescan(*form)->isEnabled() &&
                               Child<QAction>(*form, "DiscStopReadingAction")->isEnabled();
            QTest::mouseClick(Child<QToolButton>(*progress, "StopReadingButton"), Qt::LeftButton);
        });
        // Due at once: the first turn the reading gives the window clicks Stop, however fast the
        // walk is.
        if (stop)
            stopper.start(0);
        TDialogAnswer answer("orlenta::TRescanChangesForm", [](QWidget* dialog) {
            Child<QPushButton>(*dialog, "CancelButton")->click();
        });
        Rescan(*form)->trigger();

        QCOMPARE(answer.Answered(), !stop);
        QCOMPARE(busyWhileReading, stop);
        QCOMPARE(DiscXml(form->Session().XMLDiscData()), before);
        QCOMPARE(form->Session().XMLIndexData().LastDirectoryID(), std::string_view(lastId));
        QVERIFY(!form->FileChanged());
        QVERIFY(FPrompts.Messages.empty());
        QVERIFY(!progress->isVisible());
        QVERIFY(form->isEnabled());
        QVERIFY(!form->Busy());
        QVERIFY(Rescan(*form)->isEnabled());
        QCOMPARE(SelectedText(*form), QStringLiteral("Holiday"));
    }

    void nothingChangedSaysSoAndKeepsTheReadDate() {
        auto form = FormOnReadDisc();
        const std::string before = DiscXml(form->Session().XMLDiscData());
        Rescan(*form)->trigger();
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Information);
        QCOMPARE(FPrompts.Messages[0].Text,
                 QStringLiteral("Nothing changed: 'Holiday' is up to date."));
        QCOMPARE(form->Session().XMLDiscData().ReadDate(), std::string_view("2023-11-14"));
        QCOMPARE(DiscXml(form->Session().XMLDiscData()), before);
        QVERIFY(!form->FileChanged());
    }

    // A disc that does not say where it was read from asks for a folder; cancelling does nothing,
    // and the folder picked is where the disc is read from from then on.
    void withoutSourceTheFolderPickerAsks() {
        auto form = FormOnReadDisc(false);
        const std::string before = DiscXml(form->Session().XMLDiscData());
        FPrompts.DirectoryNames = {QString()};
        Rescan(*form)->trigger();
        QCOMPARE(FPrompts.DirectoryRequests.size(), size_t(1));
        QCOMPARE(FPrompts.DirectoryRequests[0].Caption,
                 QStringLiteral("Select the directory to read 'Holiday' from"));
        QCOMPARE(DiscXml(form->Session().XMLDiscData()), before);
        QVERIFY(!form->FileChanged());

        QVERIFY(QFile::remove(FSource + QStringLiteral("/2022/b.jpg")));
        FPrompts.DirectoryNames = {FSource};
        TDialogAnswer answer("orlenta::TRescanChangesForm", [](QWidget* dialog) {
            QCOMPARE(ListedPaths(*dialog, "RemovedListView"),
                     QStringList{QStringLiteral("/2022/b.jpg")});
            QCOMPARE(Child<QTabWidget>(*dialog, "ChangesTabWidget")->currentIndex(), 1);
            Child<QPushButton>(*dialog, "ApplyButton")->click();
        });
        Rescan(*form)->trigger();
        QVERIFY(answer.Answered());
        const IXMLDiscType disc = form->Session().XMLDiscData();
        QCOMPARE(std::string(disc.Source().value_or("(none)")), ToLocalPath(FSource));
        QCOMPARE(disc.FileCount(), std::string_view("1"));
        QVERIFY(form->FileChanged());
    }

    // An emptied folder (an unmounted disc's mount point) is no reason to empty the disc: the
    // dialog warns above its lists, Enter cancels, and Apply asks once more; No keeps the disc.
    void readingThatWouldEmptyTheDiscWarnsAndAsksTwice_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void readingThatWouldEmptyTheDiscWarnsAndAsksTwice() {
        QFETCH(bool, confirmed);
        auto form = FormOnReadDisc();
        const std::string before = DiscXml(form->Session().XMLDiscData());
        QVERIFY(QDir(FSource + QStringLiteral("/2022")).removeRecursively());
        QVERIFY(QFile::remove(FSource + QStringLiteral("/readme.txt")));
        QString warning;
        bool warningShown = false;
        bool cancelIsDefault = false;
        TDialogAnswer answer("orlenta::TRescanChangesForm", [&](QWidget* dialog) {
            auto* label = Child<QLabel>(*dialog, "WarningLabel");
            warning = label->text();
            warningShown = label->isVisible();
            cancelIsDefault = Child<QPushButton>(*dialog, "CancelButton")->isDefault() &&
                              !Child<QPushButton>(*dialog, "ApplyButton")->isDefault();
            Child<QPushButton>(*dialog, "ApplyButton")->click();
        });
        FPrompts.Answers = {confirmed ? TMessageAnswer::Yes : TMessageAnswer::No};
        Rescan(*form)->trigger();
        QVERIFY(answer.Answered());
        QCOMPARE(warning, QStringLiteral("The folder \"") + FSource +
                              QStringLiteral("\" is empty: applying would remove all 2 files and "
                                             "1 folder of the disc. Is the disc mounted?"));
        QVERIFY(warningShown);
        QVERIFY(cancelIsDefault);
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Confirmation);
        const IXMLDiscType disc = form->Session().XMLDiscData();
        if (!confirmed) {
            QCOMPARE(DiscXml(disc), before);
            QVERIFY(!form->FileChanged());
        } else {
            QCOMPARE(disc.FileCount(), std::string_view(""));
            QVERIFY(form->FileChanged());
        }
    }

    void rescanNeedsASelectedDiscOutsideBusyMode() {
        auto form = MakeForm(FPrompts);
        QVERIFY(!Rescan(*form)->isEnabled());
        form = FormOnReadDisc();
        QVERIFY(Rescan(*form)->isEnabled());
        form->SetBusy(QStringLiteral("Processing..."));
        QVERIFY(!Rescan(*form)->isEnabled());
        form->SetBusy(QString());
        QVERIFY(Rescan(*form)->isEnabled());
    }
};

QTEST_MAIN(TRescanDiscTest)
#include "RescanDiscTest.moc"
