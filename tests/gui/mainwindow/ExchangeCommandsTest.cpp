// File, Export... and File, Import file list... in the main window.

#include "MainFormTestSupport.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "gui/WindowText.h"
#include "gui/mainwindow/MainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

class TExchangeCommandsTest : public QObject, private TBrowsingWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { UseKnownCollation(); }
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void exportTheSelectedDisc() {
        auto form = OpenedForm();
        const std::string selected(form->Session().XMLDiscData().Title());
        const QString path = QDir::current().absoluteFilePath(u"out.json"_s);
        FPrompts.FileNames.push_back(path);
        TDialogAnswer answer("orlenta::TExportDialogForm", [](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), u"Export"_s);
            QVERIFY(Child<QRadioButton>(*dialog, "WholeCatalogueRadioButton")->isChecked());
            Child<QRadioButton>(*dialog, "SelectedDiscRadioButton")->setChecked(true);
            Child<QComboBox>(*dialog, "FormatComboBox")->setCurrentIndex(1);
            for (const char* name : {"SelectedDiscRadioButton", "FormatComboBox"})
                QVERIFY(!Child<QWidget>(*dialog, name)->accessibleName().isEmpty());
            if (const QByteArray shot = qgetenv("ORLENTA_SCREENSHOT"); !shot.isEmpty())
                dialog->grab().save(QString::fromLocal8Bit(shot));
            Child<QPushButton>(*dialog, "OkButton")->click();
        });
        Child<QAction>(*form, "FileExportAction")->trigger();
        QVERIFY(answer.Answered());
        QCOMPARE(FPrompts.FileRequests.back().DefaultSuffix, u"json"_s);
        QVERIFY(FPrompts.FileRequests.back().Save);
        const std::string json = ReadFileBytes(ToLocalPath(path));
        QVERIFY(json.rfind("{\"title\":", 0) == 0);
        QVERIFY(json.find("\"title\":\"" + selected + "\"") != std::string::npos);
        QCOMPARE(json.find("\"index\":", json.find("\"index\":") + 1), std::string::npos);
        QVERIFY(!form->FileChanged());
    }

    // The check box's name and state, its effect on the file, and the catalogue refused as the
    // file to write.
    void exportForSpreadsheets() {
        auto form = OpenedForm();
        form->Session().XMLDiscData().SetTitle("=1+1");
        const std::string catalogue = ReadFileBytes(ToLocalPath(FCatalogueFile));
        const auto exportCsv = [&](const QString& path) {
            FPrompts.FileNames.push_back(path);
            TDialogAnswer answer("orlenta::TExportDialogForm", [](QWidget* dialog) {
                auto* box = Child<QCheckBox>(*dialog, "ForSpreadsheetsCheckBox");
                QCOMPARE(box->accessibleName(), u"For spreadsheets"_s);
                QVERIFY(!box->isChecked());
                QVERIFY(box->isEnabled());
                auto* format = Child<QComboBox>(*dialog, "FormatComboBox");
                format->setCurrentIndex(1);
                QVERIFY(!box->isEnabled());
                format->setCurrentIndex(0);
                box->setChecked(true);
                Child<QPushButton>(*dialog, "OkButton")->click();
            });
            Child<QAction>(*form, "FileExportAction")->trigger();
            QVERIFY(answer.Answered());
        };
        FPrompts.Answers.push_back(TMessageAnswer::Ok);
        exportCsv(FCatalogueFile);
        QCOMPARE(FPrompts.Messages.back().Text, u"Cannot create file \""_s + FCatalogueFile +
                                                    u"\". It is the catalogue being exported."_s);
        QCOMPARE(ReadFileBytes(ToLocalPath(FCatalogueFile)), catalogue);

        const QString path = QDir::current().absoluteFilePath(u"out.csv"_s);
        exportCsv(path);
        const std::string csv = ReadFileBytes(ToLocalPath(path));
        QVERIFY(csv.find("\r\n0,'=1+1,directory,,") != std::string::npos);
    }

    void importAFileList() {
        auto form = OpenedForm();
        const int before = form->Session().XMLIndexData().Discs().Count();
        // A malformed line: the error box names it and nothing is added.
        WriteFileBytes("broken.csv", "path,size\r\na.txt,1\r\nb.txt,many\r\n");
        FPrompts.FileNames.push_back(QDir::current().absoluteFilePath(u"broken.csv"_s));
        FPrompts.Answers.push_back(TMessageAnswer::Ok);
        Child<QAction>(*form, "FileImportListAction")->trigger();
        QVERIFY(FPrompts.Messages.back().Text.startsWith(u"Line 3 of "_s));
        QCOMPARE(form->Session().XMLIndexData().Discs().Count(), before);
        QVERIFY(!form->FileChanged());

        WriteFileBytes("holiday photos.csv", "Full Path,Size\r\n/p/day1/a.jpg,5\r\n/p/b.jpg,7\r\n");
        FPrompts.FileNames.push_back(QDir::current().absoluteFilePath(u"holiday photos.csv"_s));
        Child<QAction>(*form, "FileImportListAction")->trigger();
        QCOMPARE(form->Session().XMLIndexData().Discs().Count(), before + 1);
        QCOMPARE(form->Session().XMLDiscData().Title(), std::string_view("holiday photos"));
        QCOMPARE(SelectedText(*form), u"holiday photos"_s);
        QCOMPARE(PanelTitle(*form), u"holiday photos"_s);
        QCOMPARE(ListedFiles(*form), QStringList{u"b.jpg"_s});
        QVERIFY(form->FileChanged());
    }
};

QTEST_MAIN(TExchangeCommandsTest)
#include "ExchangeCommandsTest.moc"
