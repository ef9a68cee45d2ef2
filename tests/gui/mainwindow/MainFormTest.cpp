// The main window driven as a user drives it: start-up, busy mode, the file commands with every
// answer of the save prompt, the tree and the file list, errors.

#include "gui/mainwindow/MainForm.h"

#include "MainFormTestSupport.h"
#include "WindowTestSupport.h"
#include "core/base/OrlentaError.h"
#include "core/catalogue/EscapedText.h"
#include "gui/OrlentaApplication.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/CatalogueTreeModel.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/InfoDialogForm.h"
#include "gui/search/FindAllPanel.h"
#include "gui/widgets/DiscInfoDockingForm.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStringListModel>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TMessageAnswer)

class TMainFormTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void startsWithNewCatalogue_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no argument") << QStringList{};
        QTest::newRow("two arguments")
            << QStringList{QStringLiteral("browsing.olx"), QStringLiteral("browsing.olx")};
        QTest::newRow("missing file") << QStringList{QStringLiteral("missing.olx")};
        QTest::newRow("directory") << QStringList{QStringLiteral(".")};
    }
    void startsWithNewCatalogue() {
        QFETCH(QStringList, arguments);
        auto form = MakeForm(FPrompts, arguments);
        QCOMPARE(form->windowTitle(), QStringLiteral("Untitled - Orlenta"));
        QCOMPARE(EnabledActions(*form), IdleActions(false));
        QVERIFY(!form->FileChanged());
        QVERIFY(form->Session().OrlentaFilename().empty());
        QCOMPARE(TreeModel(*form).NodeCount(), 0);
        QCOMPARE(form->Session().XMLIndexData().LastDirectoryID(), std::string_view());
        QVERIFY(form->close());
        QVERIFY(FPrompts.Messages.empty());
    }

    // About shows the box with the window disabled meanwhile; afterwards every command is as it
    // was.
    void aboutShowsTheBoxAndLeavesTheCommandsAsTheyWere() {
        auto form = MakeForm(FPrompts, {FCatalogueFile});
        const QStringList before = EnabledActions(*form);
        bool disabledMeanwhile = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() != u"frmAbout"_s || !window->isVisible() ||
                    window->windowOpacity() < 1.0)
                    continue;
                disabledMeanwhile = !form->isEnabled();
                answer.stop();
                Child<QPushButton>(*window, "OKButton")->click();
            }
        });
        answer.start(20);
        Child<QAction>(*form, "AboutAction")->trigger();
        QVERIFY(disabledMeanwhile);
        QVERIFY(form->isEnabled());
        QCOMPARE(EnabledActions(*form), before);
        QVERIFY(!form->FileChanged());
    }

    // A screen reader names every control that takes the focus.
    void everyControlHasAnAccessibleName() {
        auto form = MakeForm(FPrompts, {FCatalogueFile});
        Child<QAction>(*form, "FindAllAction")->trigger();
        QStringList unnamed;
        for (QWidget* widget : form->findChildren<QWidget*>()) {
            if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus)
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            if (accessible == nullptr || accessible->text(QAccessible::Name).isEmpty())
                unnamed << widget->objectName() + QLatin1Char('/') +
                               QString::fromLatin1(widget->metaObject()->className());
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", ")));
    }

    void layoutAndCommandTable() {
        auto form = MakeForm(FPrompts);
        QCOMPARE(form->minimumSize(), QSize(564, 342));
        for (const char* name :
             {"ActionMainMenuBar", "ActionToolBar", "StatusBar", "TreeView", "Splitter1", "Panel2",
              "DiscHostPanel", "Splitter2", "FilesPanel", "FilesLabel", "FilesListBox",
              "DiscInfoPanel", "TitleLabeledEdit", "MediaTypeComboBox", "DiscMemo", "Splitter3",
              "FindAllDock", "FindAllPanel"})
            QVERIFY2(form->findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        QCOMPARE(Child<QLabel>(*form, "FilesLabel")->text(), QStringLiteral("Files"));
        QCOMPARE(TreeView(*form)->indentation(), 19);

        struct TRow {
            QAction* Action;
            const char* Category;
            const char* Caption;
            const char* Shown;
            int Image;
        };
        const TRow rows[] = {
            {Child<QAction>(*form, "FileNewAction"), "File", "&New", "&New", -1},
            {Child<QAction>(*form, "FileOpenAction"), "File", "&Open", "&Open", 2},
            {Child<QAction>(*form, "FileSaveAction"), "File", "&Save", "&Save", 13},
            {Child<QAction>(*form, "FileSaveAsAction"), "File", "Save As", "S&ave As", -1},
            {Child<QAction>(*form, "FileInfoAction"), "File", "&Properties", "&Properties", 4},
            {Child<QAction>(*form, "FileExitAction"), "File", "E&xit", "E&xit", -1},
            {Child<QAction>(*form, "DiscAddAction"), "Disc", "&Add", "&Add", 7},
            {Child<QAction>(*form, "DiscRemoveAction"), "Disc", "&Remove", "&Remove", 8},
            {Child<QAction>(*form, "DiscRescanAction"), "Disc", "Res&can", "Res&can", 14},
            {Child<QAction>(*form, "DiscInfoAction"), "Disc", "Edit &properties",
             "Edit &properties", 4},
            {Child<QAction>(*form, "SearchAction"), "Disc", "&Search", "S&earch", 9},
            {Child<QAction>(*form, "FindAllAction"), "Disc", "&Find all", "&Find all", 9},
            {Child<QAction>(*form, "AboutAction"), "About", "&About", "&About", 5},
            {Child<QAction>(*form, "DiscStopReadingAction"), "Reading", "&Stop reading",
             "&Stop reading", 6},
        };
        for (const TRow& row : rows) {
            const QString name = row.Action->objectName();
            QCOMPARE(row.Action->property("category").toString(),
                     QString::fromLatin1(row.Category));
            QCOMPARE(row.Action->property("caption").toString(), QString::fromLatin1(row.Caption));
            QCOMPARE(row.Action->text(), QString::fromLatin1(row.Shown));
            QCOMPARE(row.Action->property("imageIndex").isValid()
                         ? row.Action->property("imageIndex").toInt()
                         : -1,
                     row.Image);
            QCOMPARE(row.Action->icon().isNull(), row.Image < 0);
        }
        QCOMPARE(TMainForm::CommandImages().size(), size_t(15));

        auto texts = [](const QList<QAction*>& actions) {
            QStringList result;
            for (QAction* action : actions)
                result << action->objectName();
            return result;
        };
        const QList<QAction*> menus = form->menuBar()->actions();
        QCOMPARE(menus.size(), 3);
        QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
        QCOMPARE(texts(menus[0]->menu()->actions()),
                 (QStringList{u"FileNewAction"_s, u"FileOpenAction"_s, u"FileSaveAction"_s,
                              u"FileSaveAsAction"_s, u"FileInfoAction"_s, u"FileExportAction"_s,
                              u"FileImportListAction"_s, u"FileExitAction"_s}));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Disc"));
        QCOMPARE(texts(menus[1]->menu()->actions()),
                 (QStringList{u"DiscAddAction"_s, u"DiscRemoveAction"_s, u"DiscRescanAction"_s,
                              u"DiscInfoAction"_s, u"SearchAction"_s, u"FindAllAction"_s,
                              u"DuplicatesAction"_s, u"OverlapAction"_s}));
        QCOMPARE(menus[2]->text(), QStringLiteral("&About"));
        QCOMPARE(texts(menus[2]->menu()->actions()), QStringList{u"AboutAction"_s});
        QCOMPARE(texts(Child<QToolBar>(*form, "ActionToolBar")->actions()),
                 (QStringList{u"FileOpenAction"_s, u"FileSaveAction"_s, u"DiscAddAction"_s,
                              u"DiscRemoveAction"_s, u"DiscRescanAction"_s, u"DiscInfoAction"_s,
                              u"SearchAction"_s, u"FindAllAction"_s}));
        QCOMPARE(Child<QToolBar>(*form, "ActionToolBar")->toolButtonStyle(),
                 Qt::ToolButtonTextBesideIcon);
    }

    void busyModeEnablesOnlyStopReading_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("unchanged") << false;
        QTest::newRow("changed") << true;
    }
    void busyModeEnablesOnlyStopReading() {
        QFETCH(bool, changed);
        auto form = MakeForm(FPrompts);
        form->SetFileChanged(changed);
        form->SetBusy(QStringLiteral("Loading datafile..."));
        QCOMPARE(EnabledActions(*form), QStringList{u"DiscStopReadingAction"_s});
        QVERIFY(!Child<TFindAllPanel>(*form, "FindAllPanel")->isEnabled());
        QCOMPARE(Child<QStatusBar>(*form, "StatusBar")->currentMessage(),
                 QStringLiteral("Loading datafile..."));
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // Busy mode does not nest: a second text replaces the first, one empty text ends it.
        form->SetBusy(QStringLiteral("Sorting tree..."));
        form->SetBusy(QString());
        QCOMPARE(EnabledActions(*form), IdleActions(changed));
        QVERIFY(Child<TFindAllPanel>(*form, "FindAllPanel")->isEnabled());
        QVERIFY(Child<QStatusBar>(*form, "StatusBar")->currentMessage().isEmpty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The changed flag rules Save by itself, busy or not.
        form->SetBusy(QStringLiteral("Processing..."));
        form->SetFileChanged(true);
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());
        form->SetBusy(QString());
        form->SetFileChanged(false);
    }

    void opensDataFileOnCommandLine() {
        auto form = OpenedForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Archive - Orlenta"));
        QCOMPARE(form->Session().OrlentaFilename(), ToLocalPath(FCatalogueFile));
        QCOMPARE(EnabledActions(*form), IdleActions(false, true));
        // Sorted once, locale-aware ("alpha disc" before "Zeta", unlike byte order), the first
        // disc of the document selected and expanded by one level.
        QCOMPARE(Texts(*form, TreeModel(*form).TopLevel()),
                 (QStringList{u"alpha disc"_s, u"Zeta"_s}));
        const int zeta = NodeAt(*form, {QStringLiteral("Zeta")});
        QCOMPARE(Texts(*form, TreeModel(*form).Node(zeta).Children),
                 (QStringList{u"Alpha"_s, u"beta"_s}));
        QCOMPARE(SelectedText(*form), QStringLiteral("Zeta"));
        QVERIFY(TreeView(*form)->isExpanded(TreeModel(*form).IndexOfNode(zeta)));
        const int alpha = NodeAt(*form, {QStringLiteral("Zeta"), QStringLiteral("Alpha")});
        QVERIFY(!TreeView(*form)->isExpanded(TreeModel(*form).IndexOfNode(alpha)));
        // Stored order in the list, the disc in the read-only panel.
        QCOMPARE(ListedFiles(*form), (QStringList{u"z1.txt"_s, u"a0.txt"_s}));
        QCOMPARE(PanelTitle(*form), QStringLiteral("Zeta"));
        QCOMPARE(Child<QLineEdit>(DiscPanel(*form), "VendorLabeledEdit")->text(),
                 QStringLiteral("Vendor Z"));
        QVERIFY(Child<QLineEdit>(DiscPanel(*form), "TitleLabeledEdit")->isReadOnly());
        QVERIFY(!Child<QComboBox>(DiscPanel(*form), "MediaTypeComboBox")->isEnabled());
        QVERIFY(Child<QPlainTextEdit>(DiscPanel(*form), "DiscMemo")->isReadOnly());

        // Node data and pictures.
        const QModelIndex discIndex = TreeModel(*form).IndexOfNode(zeta);
        QCOMPARE(discIndex.data(TCatalogueTreeModel::NodeDataRole).toInt(), 1);
        QCOMPARE(discIndex.data(TCatalogueTreeModel::ImageIndexRole).toInt(), 0);
        QCOMPARE(discIndex.data(TCatalogueTreeModel::SelectedIndexRole).toInt(), 1);
        const QModelIndex alphaIndex = TreeModel(*form).IndexOfNode(alpha);
        QCOMPARE(alphaIndex.data(TCatalogueTreeModel::NodeDataRole).toInt(), 3);
        QCOMPARE(alphaIndex.data(TCatalogueTreeModel::ImageIndexRole).toInt(), 2);
        QCOMPARE(alphaIndex.data(TCatalogueTreeModel::SelectedIndexRole).toInt(), 3);
    }

    void clicksFillPanelAndList_data() {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("disc");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("directory") << QStringList{u"Zeta"_s, u"Alpha"_s, u"deep"_s} << u"Zeta"_s
                                   << QStringList{u"d.txt"_s};
        QTest::newRow("directory without file names")
            << QStringList{u"Zeta"_s, u"Alpha"_s} << u"Zeta"_s << QStringList{};
        QTest::newRow("other disc")
            << QStringList{u"alpha disc"_s} << u"alpha disc"_s << QStringList{u"r.txt"_s};
    }
    void clicksFillPanelAndList() {
        QFETCH(QStringList, path);
        QFETCH(QString, disc);
        QFETCH(QStringList, files);
        auto form = OpenedForm();
        TreeView(*form)->expandAll();
        ClickNode(*form, path);
        QCOMPARE(SelectedText(*form), path.back());
        QCOMPARE(ListedFiles(*form), files);
        QCOMPARE(PanelTitle(*form), disc);
        QCOMPARE(ToQString(form->Session().XMLDiscData().Title()), disc);
        QVERIFY(!form->Busy());
    }

    void clickWithoutSelectionEmptiesPanelAndList() {
        auto form = OpenedForm();
        TreeView(*form)->selectionModel()->clearSelection();
        QTest::mouseClick(TreeView(*form)->viewport(), Qt::LeftButton, {},
                          QPoint(5, TreeView(*form)->viewport()->height() - 5));
        QVERIFY(!form->Session().XMLDiscData());
        QVERIFY(PanelTitle(*form).isEmpty());
        QVERIFY(ListedFiles(*form).isEmpty());
    }

    void keyboardMovesCountAsClicks() {
        auto form = OpenedForm();
        TreeView(*form)->setFocus();
        QTest::keyClick(TreeView(*form), Qt::Key_Down); // Zeta -> Alpha
        QCOMPARE(SelectedText(*form), QStringLiteral("Alpha"));
        QTest::keyClick(TreeView(*form), Qt::Key_Down);
        QCOMPARE(SelectedText(*form), QStringLiteral("beta"));
        QCOMPARE(ListedFiles(*form), QStringList{u"b.txt"_s});
    }

    void idInOtherFormIsShownButNotFound() {
        IXMLOrlentaDataType root = BrowsingCatalogue();
        root.Discs().Disc(0).Root().Directories().Directory(0).SetID("002");
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        ClickNode(*form, {QStringLiteral("Zeta"), QStringLiteral("beta")});
        QCOMPARE(SelectedText(*form), QStringLiteral("beta"));
        QVERIFY(ListedFiles(*form).isEmpty());
    }

    // IDs shared by two directories (a file from elsewhere): a click finds the first directory
    // in document order that carries the ID, whichever node was clicked.
    void sharedIdFindsTheFirstDirectory() {
        IXMLOrlentaDataType root = BrowsingCatalogue();
        const IXMLDirectoryType copy = root.Discs().Disc(1).Root().Directories().Add();
        copy.SetName("copy");
        copy.SetID("2");
        WriteDataFile(root, ToLocalPath(FCatalogueFile));
        auto form = OpenedForm();
        ClickNode(*form, {QStringLiteral("alpha disc"), QStringLiteral("copy")});
        QCOMPARE(SelectedText(*form), QStringLiteral("copy"));
        QCOMPARE(ListedFiles(*form), QStringList{QStringLiteral("b.txt")});
        QCOMPARE(PanelTitle(*form), QStringLiteral("Zeta"));
    }

    void invalidIdIsReportedAndWindowStaysUsable() {
        IXMLOrlentaDataType root = BrowsingCatalogue();
        root.Discs().Disc(0).Root().Directories().Directory(1).SetID("3x");
        const QString broken = FScratch->FilePath(QStringLiteral("broken.olx"));
        WriteDataFile(root, ToLocalPath(broken));
        auto form = OpenedForm();
        FPrompts.FileNames = {broken};
        Child<QAction>(*form, "FileOpenAction")->trigger();
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Error);
        QCOMPARE(FPrompts.Messages[0].Text, QStringLiteral("'3x' is not a valid integer value."));
        QVERIFY(!form->Busy());
        QCOMPARE(EnabledActions(*form).size(), IdleActions(false).size());
        QCOMPARE(TreeModel(*form).NodeCount(), 0);
        QVERIFY(ListedFiles(*form).isEmpty());
        QVERIFY(!form->Session().XMLDiscData());
    }

    // Start-up with a file that cannot be read shows why, then works on a new catalogue.
    void unreadableFileOnCommandLine_data() {
        QTest::addColumn<QByteArray>("content"); // empty: a document with another root
        QTest::addColumn<QString>("message");
        QTest::newRow("not deflate") << QByteArray("\xff\xff\xff\xff", 4)
                                     << QStringLiteral("Error reading Orlenta datafile.");
        QTest::newRow("other root") << QByteArray() << QStringLiteral("Interface not supported.");
    }
    void unreadableFileOnCommandLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString path = FScratch->FilePath(QStringLiteral("unreadable.olx"));
        if (content.isEmpty()) {
            // Well-formed and properly compressed, but with another root element.
            IXMLOrlentaDataType root = NewOrlentaData();
            root.XmlNode().set_name("Other");
            WriteDataFile(root, ToLocalPath(path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        auto form = MakeForm(FPrompts, {path});
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Text, message);
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Error);
        QCOMPARE(form->windowTitle(), QStringLiteral("Untitled - Orlenta"));
        QVERIFY(form->Session().OrlentaFilename().empty());
        QVERIFY(!form->FileChanged());
        QCOMPARE(EnabledActions(*form), IdleActions(false));
        // Fully working: a disc can be shown and the catalogue saved under a new name.
        FPrompts.FileNames = {FScratch->FilePath(QStringLiteral("fresh.olx"))};
        Child<QAction>(*form, "FileSaveAction")->setEnabled(true);
        Child<QAction>(*form, "FileSaveAction")->trigger();
        QVERIFY(QFile::exists(FScratch->FilePath(QStringLiteral("fresh.olx"))));
    }

    void newFromMenuOpensIndexProperties() {
        auto form = OpenedForm();
        TDialogAnswer answer1("orlenta::TInfoDialogForm", [](QWidget* dialog) {
            auto* info = static_cast<TInfoDialogForm*>(dialog);
            QCOMPARE(Child<QLineEdit>(*info, "TitleLabeledEdit")->text(),
                     QStringLiteral("Untitled"));
            QVERIFY(Child<QPlainTextEdit>(*info, "Memo")->toPlainText().isEmpty());
            Child<QPushButton>(*info, "Button1")->click();
        });
        Child<QAction>(*form, "FileNewAction")->trigger();
        QVERIFY(FPrompts.Messages.empty()); // unchanged: no prompt
        QCOMPARE(form->windowTitle(), QStringLiteral("Untitled - Orlenta"));
        QVERIFY(form->Session().OrlentaFilename().empty());
        QCOMPARE(TreeModel(*form).NodeCount(), 0);
        QVERIFY(ListedFiles(*form).isEmpty());
        QVERIFY(PanelTitle(*form).isEmpty());
        // Changed even though the dialog was cancelled.
        QVERIFY(form->FileChanged());
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());
    }

    // New, Open and closing ask on a changed catalogue; every answer, with and without a file.
    void savePromptGuardsChanges_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<TMessageAnswer>("answer");
        QTest::addColumn<QString>("saveAsAnswer"); // file name given to Save As, "" cancels
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        for (const char* command : {"new", "open", "close"}) {
            const QString c = QString::fromLatin1(command);
            QTest::addRow("%s: cancel", command)
                << c << true << TMessageAnswer::Cancel << QString() << false << false;
            QTest::addRow("%s: no", command)
                << c << true << TMessageAnswer::No << QString() << true << false;
            QTest::addRow("%s: yes, saved to its file", command)
                << c << true << TMessageAnswer::Yes << QString() << true << true;
            QTest::addRow("%s: yes, saved as", command)
                << c << false << TMessageAnswer::Yes << QStringLiteral("saved-as.olx") << true
                << true;
            QTest::addRow("%s: yes, save as cancelled", command)
                << c << false << TMessageAnswer::Yes << QString() << false << false;
        }
    }
    void savePromptGuardsChanges() {
        QFETCH(QString, command);
        QFETCH(bool, hasFile);
        QFETCH(TMessageAnswer, answer);
        QFETCH(QString, saveAsAnswer);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        auto form = OpenedForm();
        if (!hasFile)
            form->Session().SetOrlentaFilename({});
        // A change: remove the selected disc.
        FPrompts.Answers = {TMessageAnswer::Yes};
        Child<QAction>(*form, "DiscRemoveAction")->trigger();
        QVERIFY(form->FileChanged());
        FPrompts.Messages.clear();

        FPrompts.Answers = {answer};
        if (answer == TMessageAnswer::Yes && !hasFile)
            FPrompts.FileNames = {saveAsAnswer.isEmpty() ? QString()
                                                         : FScratch->FilePath(saveAsAnswer)};
        const QString other = FScratch->FilePath(QStringLiteral("other.olx"));
        if (command == QStringLiteral("open") && goesOn) {
            IXMLOrlentaDataType root = NewOrlentaData();
            root.SetTitle("Other");
            WriteDataFile(root, ToLocalPath(other));
            FPrompts.FileNames.push_back(other);
        }
        // New goes on into the Index properties dialog.
        TDialogAnswer infoAnswer("orlenta::TInfoDialogForm", [](QWidget* dialog) {
            Child<QPushButton>(*dialog, "OkButton")->click();
        });

        bool closed = false;
        if (command == QStringLiteral("new"))
            Child<QAction>(*form, "FileNewAction")->trigger();
        else if (command == QStringLiteral("open"))
            Child<QAction>(*form, "FileOpenAction")->trigger();
        else
            closed = form->close();

        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Confirmation);
        QCOMPARE(FPrompts.Messages[0].Buttons, TMessageButtons::YesNoCancel);
        QCOMPARE(
            FPrompts.Messages[0].Text,
            QStringLiteral("Orlenta datafile has changed.\nDo you want to save this file first?"));
        QCOMPARE(infoAnswer.Answered(), command == QStringLiteral("new") && goesOn);
        if (command == QStringLiteral("close"))
            QCOMPARE(closed, goesOn);
        else if (command == QStringLiteral("new"))
            QCOMPARE(form->windowTitle() == QStringLiteral("Untitled - Orlenta"), goesOn);
        else
            QCOMPARE(form->windowTitle() == QStringLiteral("Other - Orlenta"), goesOn);
        if (!goesOn) {
            QVERIFY(form->FileChanged());
            QCOMPARE(Texts(*form, TreeModel(*form).TopLevel()), QStringList{u"alpha disc"_s});
        }
        // What was saved holds the change: one disc left.
        const QString savedPath =
            hasFile ? FCatalogueFile : FScratch->FilePath(QStringLiteral("saved-as.olx"));
        if (saved) {
            TScriptedPrompts::TState probePrompts;
            auto probe = MakeForm(probePrompts, {savedPath});
            QCOMPARE(probe->Session().XMLIndexData().Discs().Count(), 1);
        } else if (!hasFile) {
            QVERIFY(!QFile::exists(savedPath));
        }
    }

    void saveAsAsksWithTitleAndKeepsCaption() {
        auto form = OpenedForm();
        FPrompts.FileNames = {QString()};
        Child<QAction>(*form, "FileSaveAsAction")->trigger();
        QCOMPARE(FPrompts.FileRequests.size(), size_t(1));
        const TFileDialogRequest& request = FPrompts.FileRequests[0];
        QVERIFY(request.Save);
        QCOMPARE(request.Title, QStringLiteral("Save Orlenta datafile"));
        QCOMPARE(request.DefaultSuffix, QStringLiteral("olx"));
        QVERIFY(request.Filter.startsWith(QStringLiteral("Orlenta datafiles (")));
        QCOMPARE(request.ProposedName, QStringLiteral("Archive.olx"));
        // Cancelled: bound to the same file, unchanged.
        QCOMPARE(form->Session().OrlentaFilename(), ToLocalPath(FCatalogueFile));

        form->SetFileChanged(true);
        const QString copy = FScratch->FilePath(QStringLiteral("copy.olx"));
        FPrompts.FileNames = {copy};
        Child<QAction>(*form, "FileSaveAsAction")->trigger();
        QVERIFY(QFile::exists(copy));
        QCOMPARE(form->Session().OrlentaFilename(), ToLocalPath(copy));
        QVERIFY(!form->FileChanged());
        QVERIFY(!Child<QAction>(*form, "FileSaveAction")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Archive - Orlenta"));

        // Save on a bound catalogue asks nothing.
        form->SetFileChanged(true);
        Child<QAction>(*form, "FileSaveAction")->trigger();
        QCOMPARE(FPrompts.FileRequests.size(), size_t(2));
        QVERIFY(!form->FileChanged());
    }

    void openDialogRequest() {
        auto form = MakeForm(FPrompts);
        FPrompts.FileNames = {QString()};
        Child<QAction>(*form, "FileOpenAction")->trigger();
        QCOMPARE(FPrompts.FileRequests.size(), size_t(1));
        QVERIFY(!FPrompts.FileRequests[0].Save);
        QCOMPARE(FPrompts.FileRequests[0].Title, QStringLiteral("Open Orlenta datafile"));
        QCOMPARE(FPrompts.FileRequests[0].DefaultSuffix, QStringLiteral("olx"));
        QVERIFY(FPrompts.FileRequests[0].ProposedName.isEmpty());
        QCOMPARE(form->windowTitle(), QStringLiteral("Untitled - Orlenta"));
    }

    // A failed Open leaves the open catalogue bound to its own file.
    void failedOpenKeepsUnsavedChangesMarked() {
        auto form = OpenedForm();
        form->SetFileChanged(true);
        const QString failing = FScratch->FilePath(QStringLiteral("junk.olx"));
        QFile file(failing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("junk");
        file.close();
        FPrompts.Answers = {TMessageAnswer::No};
        FPrompts.FileNames = {failing};
        Child<QAction>(*form, "FileOpenAction")->trigger();
        QCOMPARE(FPrompts.Messages.back().Text, QStringLiteral("Error reading Orlenta datafile."));
        QVERIFY(form->FileChanged());
        QVERIFY(Child<QAction>(*form, "FileSaveAction")->isEnabled());
    }

    void failedOpenKeepsOwnFile_data() {
        QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("Cannot open file");
        QTest::newRow("not deflate")
            << QByteArray("junk") << QStringLiteral("Error reading Orlenta datafile.");
    }
    void failedOpenKeepsOwnFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        auto form = OpenedForm();
        const QString failing = FScratch->FilePath(QStringLiteral("failing.olx"));
        if (!content.isEmpty()) {
            QFile file(failing);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        FPrompts.FileNames = {failing};
        Child<QAction>(*form, "FileOpenAction")->trigger();
        QCOMPARE(FPrompts.Messages.size(), size_t(1));
        QVERIFY2(FPrompts.Messages[0].Text.startsWith(message),
                 qPrintable(FPrompts.Messages[0].Text));
        QCOMPARE(form->Session().OrlentaFilename(), ToLocalPath(FCatalogueFile));
        QCOMPARE(form->windowTitle(), QStringLiteral("Archive - Orlenta"));
        QVERIFY(!form->Busy());
        QCOMPARE(Texts(*form, TreeModel(*form).TopLevel()),
                 (QStringList{u"alpha disc"_s, u"Zeta"_s}));
        // Saving now writes the catalogue's own file and leaves the failing one alone.
        form->SetFileChanged(true);
        Child<QAction>(*form, "FileSaveAction")->trigger();
        QFile failingFile(failing);
        if (content.isEmpty()) {
            QVERIFY(!failingFile.exists());
        } else {
            QVERIFY(failingFile.open(QIODevice::ReadOnly));
            QCOMPARE(failingFile.readAll(), content);
        }
    }

    // The file is written when the window closes; the next window opens where this one was.
    void windowComesBackWhereItWasClosed() {
        const QRect placed(50, 60, 700, 500);
        {
            auto form = MakeForm(FPrompts);
            form->setGeometry(placed);
            QTRY_COMPARE(form->geometry(), placed);
            QVERIFY(!QFile::exists(FConfigHome->IniPath()));
            QVERIFY(form->close());
            QVERIFY(FConfigHome->IniBytes().startsWith(
                "[GUI]\nFlags=0\nShowCmd=1\nNormalPos=50,60,750,560\nPixelsPerInch="));
        }
        TMainForm form({}, std::make_unique<TScriptedPrompts>(FPrompts));
        QCOMPARE(form.geometry(), placed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.geometry(), placed);
    }

    // A state file that cannot be written is reported, and neither the dialog nor the window
    // stays open because of it.
    void unwritableStateIsReportedAndNothingStops() {
        const QString blocker = FScratch->FilePath(QStringLiteral("not-a-folder"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker));
        const QString error = QStringLiteral("Unable to write to ") + blocker +
                              QStringLiteral("/orlenta/Orlenta.ini");
        auto form = MakeForm(FPrompts);

        const QString source = FScratch->FilePath(QStringLiteral("source"));
        QVERIFY(QDir().mkpath(source));
        FPrompts.DirectoryNames = {source};
        TDialogAnswer answer("orlenta::TAddTreeDialogForm", [&](QWidget* dialog) {
            Child<QRadioButton>(*dialog, "CustomDirectoryRadioButton")->click();
            Child<QPushButton>(*dialog, "OvcAttachedButtonSource")->click();
            // The browse result is in the box before the error is shown.
            QCOMPARE(Child<QComboBox>(*dialog, "RootFromHistoryComboBox")->currentText(), source);
            QCOMPARE(FPrompts.Messages.size(), size_t(1));
            Child<QPushButton>(*dialog, "CancelButton")->click();
        });
        Child<QAction>(*form, "DiscAddAction")->trigger();
        QVERIFY(answer.Answered());
        QVERIFY(form->close());

        QStringList shown;
        for (const TShownMessage& message : FPrompts.Messages) {
            QCOMPARE(message.Kind, TMessageKind::Error);
            shown << message.Text;
        }
        QCOMPARE(shown, QStringList(3, error + QLatin1Char('.')));
    }

    void applicationErrorHandler() {
        auto form = MakeForm(FPrompts);
        auto* app = qobject_cast<TOrlentaApplication*>(QCoreApplication::instance());
        QVERIFY(app != nullptr);
        app->SetErrorHandler([&form](std::exception_ptr error) { form->HandleException(error); });
        QObject thrower;
        QObject::connect(&thrower, &QObject::objectNameChanged, [&form] {
            form->SetBusy(QStringLiteral("Processing..."));
            throw EOrlentaError("Something broke");
        });
        QTimer::singleShot(0, &thrower, [&thrower] { thrower.setObjectName(QStringLiteral("x")); });
        QTRY_COMPARE(FPrompts.Messages.size(), size_t(1));
        QCOMPARE(FPrompts.Messages[0].Kind, TMessageKind::Error);
        QCOMPARE(FPrompts.Messages[0].Buttons, TMessageButtons::Ok);
        QCOMPARE(FPrompts.Messages[0].Text, QStringLiteral("Something broke."));
        QVERIFY(!form->Busy());
        QCOMPARE(EnabledActions(*form), IdleActions(false));
        app->SetErrorHandler({});
    }
};

int main(int argc, char** argv) {
    TOrlentaApplication application(argc, argv);
    TMainFormTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainFormTest.moc"
