// Adding discs from the window: the add-disc dialog on its own, then Disc, Add end to end on real
// directory trees, with the progress window and Stop reading.

#include "MainFormTestSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/reading/DiscReading.h"
#include "gui/SizeAndDateText.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/MainForm.h"
#include "gui/reading/AddTreeDialogForm.h"
#include "gui/reading/ReadingDiscForm.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

using namespace orlenta;
using namespace orlenta::test;

namespace {

QList<TSystemItem> Items(bool withRemovable) {
    QList<TSystemItem> items{
        {QStringLiteral("Computer"), {}, QString::fromLatin1(kComputerItemPath), false},
        {QStringLiteral("File System (/)"), {}, QStringLiteral("/"), false},
        {QStringLiteral("Home"), {}, QDir::homePath(), false}};
    if (withRemovable)
        items.append(
            {QStringLiteral("DATA_DISC (/media/cdrom)"), {}, QStringLiteral("/media/cdrom"), true});
    return items;
}

void MakeFile(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// photos/ with a.jpg, 2022/ (b.jpg, misc/), and readme.txt at the top.
void MakeSmallTree(const QString& root) {
    QDir dir(root);
    QVERIFY(dir.mkpath(QStringLiteral("2022/misc")));
    MakeFile(dir.filePath(QStringLiteral("readme.txt")));
    MakeFile(dir.filePath(QStringLiteral("2022/b.jpg")));
}

// A file of size bytes, last modified at seconds since 1970.
void MakeFile(const QString& path, qint64 size, std::int64_t seconds) {
    MakeFile(path);
    QVERIFY(QFile::resize(path, size));
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

// Fills the dialog as a user would and presses Add.
void ChooseCustomDirectory(QWidget* widget, const QString& path, bool withFiles,
                           const QString& title, bool withSizes = true) {
    auto* dialog = static_cast<TAddTreeDialogForm*>(widget);
    Child<QRadioButton>(*dialog, "CustomDirectoryRadioButton")->click();
    Child<QComboBox>(*dialog, "RootFromHistoryComboBox")->setEditText(path);
    Child<QCheckBox>(*dialog, "IncludeFilenamesCheckBox")->setChecked(withFiles);
    Child<QCheckBox>(*dialog, "RecordSizesCheckBox")->setChecked(withSizes);
    Child<QLineEdit>(*dialog, "TitleLabeledEdit")->setText(title);
    Child<QPushButton>(*dialog, "AddButton")->click();
}

// Counts how often a widget is shown.
class TShowCounter : public QObject {
public:
    explicit TShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++Shown;
        return false;
    }
};

} // namespace

class TAddDiscTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TScratchConfigHome> FConfigHome;
    std::unique_ptr<TScratchWorkingDirectory> FScratch;
    TScriptedPrompts::TState FPrompts;
    // Answers the dialogs' folder picker from FPrompts.
    TScriptedPrompts FAnswers{FPrompts};
    // New discs are read on a day of the tests' choosing, never across a real midnight.
    std::unique_ptr<TFixedClock> FClock;

private slots:
    void init() {
        FConfigHome = std::make_unique<TScratchConfigHome>();
        FScratch = std::make_unique<TScratchWorkingDirectory>();
        FPrompts = {};
        FClock = std::make_unique<TFixedClock>(std::chrono::system_clock::from_time_t(1700000000));
    }
    void cleanup() {
        QCOMPARE(FPrompts.Unexpected, 0);
        FScratch.reset();
        FClock.reset();
    }

    void dialogStartsWithTheSystemItemChosen() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Disc"));
        QVERIFY(Child<QRadioButton>(dialog, "SystemItemRadioButton")->isChecked());
        QVERIFY(Child<QComboBox>(dialog, "RootFromShellComboBox")->isEnabled());
        QVERIFY(!Child<QComboBox>(dialog, "RootFromHistoryComboBox")->isEnabled());
        QVERIFY(!Child<QPushButton>(dialog, "OvcAttachedButtonSource")->isEnabled());
        QVERIFY(!Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->isChecked());
        // Sizes and dates are recorded for a user who never said otherwise.
        QCheckBox* sizes = Child<QCheckBox>(dialog, "RecordSizesCheckBox");
        QVERIFY(sizes->isChecked());
        QCOMPARE(sizes->text(), QStringLiteral("Record sizes and dates"));
        QCOMPARE(sizes->accessibleName(), QStringLiteral("Record sizes and dates"));
        QVERIFY(dialog.Request().RecordSizes);
        QVERIFY(Child<QPushButton>(dialog, "AddButton")->isDefault());
        QCOMPARE(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->count(), 0);
        QWidget& panel = dialog;
        QVERIFY(!Child<QLineEdit>(panel, "TitleLabeledEdit")->isReadOnly());
        QVERIFY(Child<QLineEdit>(panel, "ReadDateLabeledEdit")->isReadOnly());
        QCOMPARE(Child<QLineEdit>(panel, "ReadDateLabeledEdit")->text(),
                 QString::fromStdString(TodayDateText()));
        QCOMPARE(Child<QLineEdit>(panel, "DirCountLabeledEdit")->text(), QString());
        // No removable volume: the entry after the computer; preselecting prefills nothing.
        QCOMPARE(Child<QComboBox>(dialog, "RootFromShellComboBox")->currentIndex(), 1);
        QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text(), QString());
        QCOMPARE(dialog.Request().TreeRoot, QStringLiteral("/"));

        TAddTreeDialogForm withDisc(nullptr, FAnswers, Items(true));
        QCOMPARE(Child<QComboBox>(withDisc, "RootFromShellComboBox")->currentIndex(), 3);
        QCOMPARE(Child<QLineEdit>(withDisc, "TitleLabeledEdit")->text(), QString());
    }

    void radioButtonsEnableTheirControlsAndChooseTheRoot() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        dialog.show();
        Child<QComboBox>(dialog, "RootFromHistoryComboBox")
            ->setEditText(QStringLiteral("/some where "));
        Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->setChecked(true);

        Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
        QVERIFY(!Child<QComboBox>(dialog, "RootFromShellComboBox")->isEnabled());
        QVERIFY(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->isEnabled());
        QVERIFY(Child<QPushButton>(dialog, "OvcAttachedButtonSource")->isEnabled());
        QCOMPARE(dialog.Request().TreeRoot, QStringLiteral("/some where ")); // not trimmed

        Child<QRadioButton>(dialog, "VirtualDiscRadioButton")->click();
        QVERIFY(!Child<QComboBox>(dialog, "RootFromShellComboBox")->isEnabled());
        QVERIFY(!Child<QComboBox>(dialog, "RootFromHistoryComboBox")->isEnabled());
        QCOMPARE(dialog.Request().TreeRoot, QString());
        QVERIFY(dialog.Request().IncludeFilenames);

        Child<QRadioButton>(dialog, "SystemItemRadioButton")->click();
        QVERIFY(Child<QComboBox>(dialog, "RootFromShellComboBox")->isEnabled());
        QVERIFY(!Child<QPushButton>(dialog, "OvcAttachedButtonSource")->isEnabled());
        Child<QComboBox>(dialog, "RootFromShellComboBox")->setCurrentIndex(-1);
        QCOMPARE(dialog.Request().TreeRoot, QString());

        Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
        Child<QComboBox>(dialog, "RootFromHistoryComboBox")->setEditText(QString());
        QCOMPARE(dialog.Request().TreeRoot, QString());
    }

    void choosingAnEntryPrefillsTheTitle_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("label") << QStringLiteral("MY_PHOTOS_2020 (/media/x)")
                               << QStringLiteral("MY PHOTOS 2020");
        QTest::newRow("kind") << QStringLiteral("Local Disk (/data)")
                              << QStringLiteral("Local Disk");
        QTest::newRow("folder") << QStringLiteral("Pictures") << QString();
        QTest::newRow("first parenthesis") << QStringLiteral("A (B) (/m)") << QStringLiteral("A");
    }
    void choosingAnEntryPrefillsTheTitle() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QList<TSystemItem> items = Items(false);
        items.append({name, {}, QStringLiteral("/tmp"), false});
        TAddTreeDialogForm dialog(nullptr, FAnswers, items);
        Child<QLineEdit>(dialog, "TitleLabeledEdit")->setText(QStringLiteral("typed before"));
        emit Child<QComboBox>(dialog, "RootFromShellComboBox")
            ->activated(static_cast<int>(items.size() - 1));
        QCOMPARE(Child<QLineEdit>(dialog, "TitleLabeledEdit")->text(), title);
    }

    void browsingKeepsEveryConfirmedDirectory() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
        QPushButton* browse = Child<QPushButton>(dialog, "OvcAttachedButtonSource");
        // A text that is no directory: the picker starts nowhere; cancelling empties the text.
        Child<QComboBox>(dialog, "RootFromHistoryComboBox")
            ->setEditText(QStringLiteral("/no/such/directory"));
        FPrompts.DirectoryNames = {QString()};
        browse->click();
        QCOMPARE(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->currentText(), QString());
        QCOMPARE(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->count(), 0);

        const QString here = QDir::currentPath();
        FPrompts.DirectoryNames = {here, here};
        browse->click();
        browse->click();
        QCOMPARE(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->currentText(), here);
        QCOMPARE(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->count(), 2);
        QStringList starts;
        for (const TDirectoryRequest& request : FPrompts.DirectoryRequests)
            starts << request.Start;
        QCOMPARE(starts, (QStringList{QString(), QString(), here}));
        QCOMPARE(FPrompts.DirectoryRequests.front().Caption, QStringLiteral("Select directory"));
    }

    // Add, Cancel and the close box all keep the settings and the history for the next dialog.
    void dialogComesBackAsItWasLeft() {
        const QString archive = FScratch->FilePath(QStringLiteral("archive"));
        const QString photos = FScratch->FilePath(QStringLiteral("photos"));
        QVERIFY(QDir().mkpath(archive));
        QVERIFY(QDir().mkpath(photos));
        {
            TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
            Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
            FPrompts.DirectoryNames = {archive, photos};
            Child<QPushButton>(dialog, "OvcAttachedButtonSource")->click();
            Child<QPushButton>(dialog, "OvcAttachedButtonSource")->click();
            Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->setChecked(true);
            Child<QCheckBox>(dialog, "RecordSizesCheckBox")->setChecked(false);
            TDialogAnswer cancel("orlenta::TAddTreeDialogForm", [](QWidget* shown) {
                Child<QPushButton>(*shown, "CancelButton")->click();
            });
            QCOMPARE(dialog.exec(), int(QDialog::Rejected));
            QVERIFY(!dialog.SaveError());
        }
        const QByteArray ini = FConfigHome->IniBytes();
        QCOMPARE(ini, "[Add]\n"
                      "CustomDirectoryRadioButton.Checked=True\n"
                      "RootFromHistoryComboBox.Text=" +
                          photos.toUtf8() +
                          "\n"
                          "SystemItemRadioButton.Checked=False\n"
                          "IncludeFilenamesCheckBox.Checked=True\n"
                          "VirtualDiscRadioButton.Checked=False\n"
                          "RecordSizesCheckBox.Checked=False\n"
                          "ReadArchivesCheckBox.Checked=False\n"
                          "[Add.RootFromHistoryComboBox.Items]\n"
                          "Count=2\n"
                          "Item0=" +
                          archive.toUtf8() +
                          "\n"
                          "Item1=" +
                          photos.toUtf8() + "\n");

        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->isChecked());
        QVERIFY(!Child<QRadioButton>(dialog, "SystemItemRadioButton")->isChecked());
        QVERIFY(!Child<QComboBox>(dialog, "RootFromShellComboBox")->isEnabled());
        QVERIFY(Child<QComboBox>(dialog, "RootFromHistoryComboBox")->isEnabled());
        QVERIFY(Child<QPushButton>(dialog, "OvcAttachedButtonSource")->isEnabled());
        QVERIFY(Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "RecordSizesCheckBox")->isChecked());
        QVERIFY(!dialog.Request().RecordSizes);
        QComboBox* history = Child<QComboBox>(dialog, "RootFromHistoryComboBox");
        QCOMPARE(history->currentText(), photos);
        QCOMPARE(history->count(), 2);
        QCOMPARE(history->itemText(0), archive);
        QCOMPARE(dialog.Request().TreeRoot, photos);
        // The close box saves as well: the virtual disc is what the next dialog shows.
        Child<QRadioButton>(dialog, "VirtualDiscRadioButton")->click();
        QVERIFY(dialog.close());
        QVERIFY(FConfigHome->IniBytes().contains("VirtualDiscRadioButton.Checked=True\n"));
    }

    // Settings kept before the dialog had the box leave sizes recorded, as for a new user; a
    // stored value that is no Boolean leaves the box as it was designed.
    void storedSettingsWithoutTheSizesBoxRecordThem_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("absent") << QByteArray();
        QTest::newRow("not a Boolean") << QByteArray("RecordSizesCheckBox.Checked=maybe\n");
    }
    void storedSettingsWithoutTheSizesBoxRecordThem() {
        QFETCH(QByteArray, stored);
        QVERIFY(QDir().mkpath(QFileInfo(FConfigHome->IniPath()).path()));
        QFile ini(FConfigHome->IniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Add]\nIncludeFilenamesCheckBox.Checked=True\n"
                  "VirtualDiscRadioButton.Checked=True\n" +
                  stored);
        ini.close();
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        QVERIFY(Child<QRadioButton>(dialog, "VirtualDiscRadioButton")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "RecordSizesCheckBox")->isChecked());
    }

    // A path that is browsed or chosen reaches the add command whole; only typing is limited.
    void customDirectoryKeepsChosenPathsWhole() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
        QComboBox* history = Child<QComboBox>(dialog, "RootFromHistoryComboBox");
        const QString browsed = QStringLiteral("/deep/") + QString(194, QLatin1Char('b'));
        FPrompts.DirectoryNames = {browsed};
        Child<QPushButton>(dialog, "OvcAttachedButtonSource")->click();
        QCOMPARE(dialog.Request().TreeRoot, browsed);

        history->setEditText(QString());
        QTest::keyClicks(history->lineEdit(), QString(130, QLatin1Char('t')));
        QCOMPARE(history->currentText(), QString(128, QLatin1Char('t')));

        history->setCurrentIndex(0);
        QCOMPARE(dialog.Request().TreeRoot, browsed);
    }

    // Leaving the box does not trade typed text for an entry that differs only in case: on Linux
    // /data/photos and /data/Photos are two directories.
    void typedTextKeepsItsCase() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Child<QRadioButton>(dialog, "CustomDirectoryRadioButton")->click();
        FPrompts.DirectoryNames = {QStringLiteral("/data/Photos")};
        Child<QPushButton>(dialog, "OvcAttachedButtonSource")->click();
        QComboBox* history = Child<QComboBox>(dialog, "RootFromHistoryComboBox");
        history->setEditText(QString());
        history->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(history->lineEdit(), QStringLiteral("/data/photos"));
        Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->setFocus(Qt::TabFocusReason);
        QCOMPARE(history->currentText(), QStringLiteral("/data/photos"));
        QCOMPARE(dialog.Request().TreeRoot, QStringLiteral("/data/photos"));
        QCOMPARE(history->count(), 1);
    }

    // Tab goes from the source controls through the disc panel to Add and Cancel.
    void tabOrderFollowsTheDialogsLayout() {
        TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Child<QCheckBox>(dialog, "IncludeFilenamesCheckBox")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 (QStringList{
                     QStringLiteral("RecordSizesCheckBox"), QStringLiteral("ReadArchivesCheckBox"),
                     QStringLiteral("TitleLabeledEdit"), QStringLiteral("CreationDateLabeledEdit"),
                     QStringLiteral("VendorLabeledEdit"), QStringLiteral("ReadDateLabeledEdit"),
                     QStringLiteral("MediaTypeComboBox"), QStringLiteral("DirCountLabeledEdit"),
                     QStringLiteral("FileCountLabeledEdit"), QStringLiteral("TotalSizeLabeledEdit"),
                     QStringLiteral("DiscMemo"), QStringLiteral("AddButton"),
                     QStringLiteral("CancelButton")}));
    }

    void folderPickerOffersNoNewFolder() {
        TUserPrompts prompts;
        bool newFolderHidden = false;
        TDialogAnswer answer("QFileDialog", [&](QWidget* shown) {
            newFolderHidden = Child<QToolButton>(*shown, "newFolderButton")->isHidden();
            QCOMPARE(shown->windowTitle(), QStringLiteral("Select directory"));
            static_cast<QDialog*>(shown)->reject();
        });
        QCOMPARE(
            prompts.DirectoryName(nullptr, QStringLiteral("Select directory"), QDir::currentPath()),
            QString());
        QVERIFY(answer.Answered());
        QVERIFY(newFolderHidden);
    }

    void addsAReadDiscAndSelectsIt() {
        auto form = MakeForm(FPrompts);
        TReadingDiscForm* readingForm = Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        const QString source = FScratch->FilePath(QStringLiteral("source"));
        MakeSmallTree(source);
        TShowCounter progress(readingForm);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            ChooseCustomDirectory(dialog, source, true, QStringLiteral("Holiday"));
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(answer.Answered());

        const IXMLDiscType disc = form->Session().XMLDiscData();
        QVERIFY(disc);
        QCOMPARE(disc.Title(), std::string_view("Holiday"));
        QCOMPARE(disc.DirCount(), std::string_view("2"));
        QCOMPARE(disc.FileCount(), std::string_view("2"));
        QCOMPARE(disc.ReadDate(), std::string_view(TodayDateText()));
        QCOMPARE(disc.Root().ID(), std::string_view("1"));
        QCOMPARE(form->Session().XMLIndexData().LastDirectoryID(), std::string_view("3"));
        QCOMPARE(SelectedText(*form), QStringLiteral("Holiday"));
        QCOMPARE(ListedFiles(*form), QStringList{QStringLiteral("readme.txt")});
        QCOMPARE(Child<QLineEdit>(DiscPanel(*form), "DirCountLabeledEdit")->text(),
                 QStringLiteral("2"));
        QCOMPARE(progress.Shown, 1);
        QCOMPARE(Child<QLabel>(*readingForm, "DiscTitleLabel")->text(), QStringLiteral("Holiday"));
        QVERIFY(Child<QLabel>(*readingForm, "CurrentDirectoryLabel")
                    ->text()
                    .endsWith(QStringLiteral("misc/")));
        QVERIFY(!readingForm->isVisible());
        QVERIFY(form->isEnabled());
        QVERIFY(!form->Busy());
        QVERIFY(form->FileChanged());
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());

        // A second disc, without file names: its IDs follow the first disc's.
        TDialogAnswer second("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            ChooseCustomDirectory(dialog, source + QLatin1Char('/'), false,
                                  QStringLiteral("Again"));
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        const IXMLDiscType again = form->Session().XMLDiscData();
        QCOMPARE(again.Title(), std::string_view("Again"));
        QCOMPARE(again.Root().ID(), std::string_view("4"));
        QCOMPARE(again.DirCount(), std::string_view("2"));
        QCOMPARE(again.FileCount(), std::string_view());
        QCOMPARE(form->Session().XMLIndexData().Discs().Count(), 2);
        QCOMPARE(ListedFiles(*form), QStringList());
    }

    // Looking inside archives: off for a new user; ticked, an archive's folder shows in the tree
    // with its own picture, its files in the list, its entries counted in the disc panel.
    void looksInsideArchivesWhenTicked() {
        {
            TAddTreeDialogForm dialog(nullptr, FAnswers, Items(false));
            QVERIFY(!Child<QCheckBox>(dialog, "ReadArchivesCheckBox")->isChecked());
        }
        const QString source = FScratch->FilePath(QStringLiteral("backups"));
        const QString inside = FScratch->FilePath(QStringLiteral("inside"));
        QVERIFY(QDir().mkpath(inside + QStringLiteral("/docs/sub")));
        QVERIFY(QDir().mkpath(source));
        MakeFile(inside + QStringLiteral("/docs/invoice.pdf"));
        MakeFile(inside + QStringLiteral("/docs/sub/notes.txt"));
        const QString command = QStringLiteral("tar czf '") + source +
                                QStringLiteral("/2023.tgz' -C '") + inside +
                                QStringLiteral("' docs");
        QCOMPARE(std::system(command.toLocal8Bit().constData()), 0);
        auto form = MakeForm(FPrompts);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            Child<QCheckBox>(*dialog, "ReadArchivesCheckBox")->setChecked(true);
            ChooseCustomDirectory(dialog, source, true, QStringLiteral("Backups"));
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(answer.Answered());

        const int archive = NodeAt(*form, {QStringLiteral("Backups"), QStringLiteral("2023.tgz")});
        QVERIFY(archive >= 0);
        QCOMPARE(TreeModel(*form).Node(archive).ImageIndex, 4);
        QCOMPARE(TreeModel(*form)
                     .Node(NodeAt(*form, {QStringLiteral("Backups"), QStringLiteral("2023.tgz"),
                                          QStringLiteral("docs")}))
                     .ImageIndex,
                 2);
        QLineEdit* entries = Child<QLineEdit>(DiscPanel(*form), "ArchiveEntriesLabeledEdit");
        QVERIFY(!entries->isHidden());
        QCOMPARE(entries->text(), QStringLiteral("4"));
        QCOMPARE(Child<QLineEdit>(DiscPanel(*form), "FileCountLabeledEdit")->text(),
                 QStringLiteral("1"));
        ClickNode(*form,
                  {QStringLiteral("Backups"), QStringLiteral("2023.tgz"), QStringLiteral("docs")});
        QCOMPARE(ListedFiles(*form), QStringList{QStringLiteral("invoice.pdf")});
        // The box is kept with the dialog's other values.
        TAddTreeDialogForm again(nullptr, FAnswers, Items(false));
        QVERIFY(Child<QCheckBox>(again, "ReadArchivesCheckBox")->isChecked());
    }

    // The box decides whether sizes and dates are recorded, with file names or without.
    void recordsSizesAndDatesWhenTicked_data() {
        QTest::addColumn<bool>("withFiles");
        QTest::addColumn<bool>("withSizes");
        QTest::newRow("files and sizes") << true << true;
        QTest::newRow("sizes only") << false << true;
        QTest::newRow("files only") << true << false;
    }
    void recordsSizesAndDatesWhenTicked() {
        QFETCH(bool, withFiles);
        QFETCH(bool, withSizes);
        const QString source = FScratch->FilePath(QStringLiteral("sized"));
        QVERIFY(QDir().mkpath(source + QStringLiteral("/sub")));
        const std::int64_t moment = 1600000000;
        MakeFile(source + QStringLiteral("/readme.txt"), 1500, moment);
        MakeFile(source + QStringLiteral("/sub/big.bin"), 3 * 1024 * 1024, moment);
        auto form = MakeForm(FPrompts);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            ChooseCustomDirectory(dialog, source, withFiles, QStringLiteral("Sized"), withSizes);
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(answer.Answered());

        const IXMLDiscType disc = form->Session().XMLDiscData();
        const pugi::xml_node root = disc.Root().XmlNode();
        const std::uint64_t total = 1500 + 3 * 1024 * 1024;
        QCOMPARE(root.attribute("Size").empty(), !withSizes);
        QLineEdit* totalField = Child<QLineEdit>(DiscPanel(*form), "TotalSizeLabeledEdit");
        QCOMPARE(totalField->text(), withSizes ? SizeText(total) : QString());
        QCOMPARE(totalField->toolTip(), withSizes ? ExactSizeText(total) : QString());
        const QString sizeCell = withSizes ? SizeText(1500) : QString();
        const QString timeCell = withSizes ? ModifiedText(moment) : QString();
        const QAbstractItemModel& files = *Child<QTreeView>(*form, "FilesListBox")->model();
        QCOMPARE(TableRows(files), withFiles ? QStringList{QStringLiteral("readme.txt|") +
                                                           sizeCell + QLatin1Char('|') + timeCell}
                                             : QStringList());
        QString summary = withFiles ? QStringLiteral("1 file") : QStringLiteral("0 files");
        if (withFiles && withSizes)
            summary += QStringLiteral(", ") + SizeText(1500);
        QCOMPARE(Child<QLabel>(*form, "FilesSummaryLabel")->text(), summary);
    }

    void virtualDiscNeedsNoProgressWindow() {
        auto form = MakeForm(FPrompts);
        TReadingDiscForm* readingForm = Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        TShowCounter progress(readingForm);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [](QWidget* widget) {
            auto* dialog = static_cast<TAddTreeDialogForm*>(widget);
            Child<QRadioButton>(*dialog, "VirtualDiscRadioButton")->click();
            Child<QLineEdit>(*dialog, "TitleLabeledEdit")->setText(QStringLiteral("Shelf only"));
            Child<QPushButton>(*dialog, "AddButton")->click();
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QCOMPARE(progress.Shown, 0);
        QCOMPARE(form->Session().XMLDiscData().Title(), std::string_view("Shelf only"));
        QCOMPARE(SelectedText(*form), QStringLiteral("Shelf only"));
        QVERIFY(form->FileChanged());
    }

    void cancelAndInvalidDirectoriesChangeNothing_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancel") << QString() << true;
        QTest::newRow("missing") << QStringLiteral("/no/such/place") << false;
        QTest::newRow("a file") << QStringLiteral("file.txt") << false;
        QTest::newRow("computer") << QString::fromLatin1(kComputerItemPath) << false;
    }
    void cancelAndInvalidDirectoriesChangeNothing() {
        QFETCH(QString, source);
        QFETCH(bool, cancel);
        MakeFile(FScratch->FilePath(QStringLiteral("file.txt")));
        auto form = MakeForm(FPrompts);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* widget) {
            auto* dialog = static_cast<TAddTreeDialogForm*>(widget);
            if (cancel)
                Child<QPushButton>(*dialog, "CancelButton")->click();
            else
                ChooseCustomDirectory(widget, source, true, QStringLiteral("x"));
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(answer.Answered());
        QCOMPARE(form->Session().XMLIndexData().Discs().Count(), 0);
        QVERIFY(!form->FileChanged());
        QCOMPARE(form->Session().XMLIndexData().LastDirectoryID(), std::string_view());
        if (cancel) {
            QVERIFY(FPrompts.Messages.empty());
        } else {
            QCOMPARE(FPrompts.Messages.size(), size_t(1));
            QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Information);
            QCOMPARE(FPrompts.Messages[0].Text, QStringLiteral("Invalid directory."));
        }
        QVERIFY(form->isEnabled());
        QVERIFY(!form->Busy());
    }

    void stopReadingKeepsWhatWasRead() {
        auto form = MakeForm(FPrompts);
        TReadingDiscForm* readingForm = Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        const QString source = FScratch->FilePath(QStringLiteral("big"));
        for (int i = 0; i < 60; ++i)
            for (int j = 0; j < 60; ++j)
                QVERIFY(QDir().mkpath(QStringLiteral("%1/d%2/e%3").arg(source).arg(i).arg(j)));
        bool busyWhileReading = false;
        bool mainWindowDisabled = false;
        // Pressed from an event the walk lets run, as a user's click would be.
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            // Stop also works while the start directory is listed; here some must be read first.
            if (!readingForm->isVisible() || form->Session().XMLDiscData().DirCount().empty())
                return;
            stopper.stop();
            busyWhileReading = form->Busy() &&
                               Child<QAction>(*form, "DiscStopReadingAction")->isEnabled() &&
                               !Child<QAction>(*form, "DiscAddAction")->isEnabled() &&
                               !Child<QAction>(*form, "FileSaveAction")->isEnabled();
            mainWindowDisabled = !form->isEnabled() && readingForm->isEnabled();
            QTest::mouseClick(Child<QToolButton>(*readingForm, "StopReadingButton"),
                              Qt::LeftButton);
        });
        stopper.start(1);
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            ChooseCustomDirectory(dialog, source, false, QStringLiteral("Stopped"));
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();

        QVERIFY(busyWhileReading);
        QVERIFY(mainWindowDisabled);
        const IXMLDiscType disc = form->Session().XMLDiscData();
        QCOMPARE(disc.Title(), std::string_view("Stopped"));
        const long long recorded = std::stoll(std::string(disc.DirCount()));
        QVERIFY(recorded > 0);
        QVERIFY(recorded < 60 + 60 * 60);
        QCOMPARE(std::stoll(std::string(form->Session().XMLIndexData().LastDirectoryID())),
                 recorded + 1);
        QCOMPARE(SelectedText(*form), QStringLiteral("Stopped"));
        QVERIFY(form->isEnabled());
        QVERIFY(!readingForm->isVisible());
        QVERIFY(!form->Busy());
        QVERIFY(form->FileChanged());
    }

    void stopReadingAnswersItsAccessKey() {
        auto form = MakeForm(FPrompts);
        TReadingDiscForm* readingForm = Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        QSignalSpy stopped(Child<QAction>(*form, "DiscStopReadingAction"), &QAction::triggered);
        form->SetBusy(QStringLiteral("Reading disc..."));
        readingForm->ShowCentred();
        readingForm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(readingForm));
        QTest::keyClick(readingForm, Qt::Key_S, Qt::AltModifier);
        // The button shows its press for a moment before it acts.
        QTRY_COMPARE(stopped.count(), 1);
        readingForm->hide();
        form->SetBusy(QString());
    }

    void progressWindowLooksAsDesigned() {
        auto form = MakeForm(FPrompts);
        TReadingDiscForm& progress = *Child<TReadingDiscForm>(*form, "ReadingDiscForm");
        QCOMPARE(progress.windowTitle(), QStringLiteral("Reading disc information..."));
        QVERIFY(!(progress.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(Child<QLabel>(progress, "DiscTitleLabel")->font().bold());
        QCOMPARE(Child<QToolButton>(progress, "StopReadingButton")->defaultAction(),
                 Child<QAction>(*form, "DiscStopReadingAction"));
        QVERIFY(!Child<QToolButton>(progress, "StopReadingButton")->icon().isNull());
    }
};

QTEST_MAIN(TAddDiscTest)
#include "AddDiscTest.moc"
