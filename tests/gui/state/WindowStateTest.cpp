// The window state store on small stand-in windows: the main window's place, the add-disc
// dialog's values and history, and the history box itself.

#include "StandInWindows.h"
#include "WindowTestSupport.h"
#include "gui/state/HistoryComboBox.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace orlenta;
using namespace orlenta::test;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray GuiSection(const QRect& normal, int pixelsPerInch, int showCmd = 1) {
    return "[GUI]\nFlags=0\nShowCmd=" + QByteArray::number(showCmd) +
           "\nNormalPos=" + QByteArray::number(normal.x()) + "," + QByteArray::number(normal.y()) +
           "," + QByteArray::number(normal.x() + normal.width()) + "," +
           QByteArray::number(normal.y() + normal.height()) +
           "\nPixelsPerInch=" + QByteArray::number(pixelsPerInch) + "\nColor=-16777201\n";
}

int ScreenPixelsPerInch() {
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

QStringList Items(const THistoryComboBox* box) {
    return box->Items();
}

// A window to type into the history box and to move the focus away from it.
struct TBoxWindow {
    QWidget Window;
    THistoryComboBox* Box = new THistoryComboBox;
    QLineEdit* Other = new QLineEdit;

    TBoxWindow() {
        auto* layout = new QVBoxLayout(&Window);
        layout->addWidget(Box);
        layout->addWidget(Other);
        Box->setAccessibleName(QStringLiteral("History"));
        Other->setAccessibleName(QStringLiteral("Other"));
        Window.show();
        Window.activateWindow();
        Active = QTest::qWaitForWindowActive(&Window);
    }
    bool Active = false;
    void Enter() { Box->setFocus(Qt::TabFocusReason); }
    void Leave() { Other->setFocus(Qt::TabFocusReason); }
};

} // namespace

class TWindowStateTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        // Every store here names FIni; this keeps a window that did not from the user's files.
        FConfigHome = std::make_unique<TScratchConfigHome>();
        FDirectory = std::make_unique<QTemporaryDir>();
        FIni = FDirectory->filePath(QStringLiteral("Orlenta.ini"));
    }

    void FirstStartCreatesTheFileOnlyAtClose() {
        QRect normal;
        {
            TStandInMainWindow window(FIni);
            QCOMPARE(window.geometry(), window.DesignedGeometry);
            window.show();
            QVERIFY(!QFile::exists(FIni));
            normal = window.geometry();
            QVERIFY(window.close());
            QVERIFY(window.Errors.isEmpty());
        }
        QCOMPARE(ReadFile(FIni), GuiSection(normal, ScreenPixelsPerInch()));
    }

    void ReopensWhereItWasClosed() {
        const QRect saved(40, 30, 500, 300);
        {
            TStandInMainWindow window(FIni);
            window.show();
            window.setGeometry(saved);
            QTRY_COMPARE(window.geometry(), saved);
            window.close();
        }
        TStandInMainWindow window(FIni);
        QCOMPARE(window.geometry(), saved);
        window.show();
        QCOMPARE(window.geometry(), saved);
    }

    void MaximizedCloseReopensNormalAtTheNormalRectangle() {
        QRect normal;
        {
            TStandInMainWindow window(FIni);
            normal = window.geometry();
            window.showMaximized();
            QTRY_VERIFY(window.isMaximized());
            QTRY_VERIFY(window.geometry() != normal);
            window.close();
        }
        QCOMPARE(ReadFile(FIni), GuiSection(normal, ScreenPixelsPerInch(), 3));
        TStandInMainWindow window(FIni);
        window.show();
        QVERIFY(!window.isMaximized());
        QCOMPARE(window.geometry(), normal);
    }

    void KeepsTheDesignedPlaceForAnotherDensityOrABadPosition_data() {
        QTest::addColumn<QByteArray>("gui");
        QTest::addColumn<bool>("designed");
        const QByteArray density = QByteArray::number(ScreenPixelsPerInch());
        QTest::newRow("another density")
            << "[GUI]\nNormalPos=10,10,400,300\nPixelsPerInch=" +
                   QByteArray::number(ScreenPixelsPerInch() + 24) + "\n"
            << true;
        QTest::newRow("right not after left")
            << "[GUI]\nNormalPos=500,10,400,300\nPixelsPerInch=" + density + "\n"
            << true;
        QTest::newRow("no NormalPos") << QByteArray("[GUI]\nShowCmd=3\n") << true;
        QTest::newRow("two numbers") << QByteArray("[GUI]\nNormalPos=20, 30\n") << false;
    }

    void KeepsTheDesignedPlaceForAnotherDensityOrABadPosition() {
        QFETCH(QByteArray, gui);
        QFETCH(bool, designed);
        WriteFile(FIni, gui);
        TStandInMainWindow window(FIni);
        if (designed) {
            QCOMPARE(window.geometry(), window.DesignedGeometry);
        } else {
            // The missing right and bottom are the window's own: left plus width, top plus height.
            const QRect& before = window.DesignedGeometry;
            QCOMPARE(window.geometry(),
                     QRect(QPoint(20, 30), QPoint(before.right(), before.bottom())));
        }
    }

    void RefusedCloseWritesNothingAndDestructionSaves() {
        {
            TStandInMainWindow window(FIni);
            window.show();
            window.CanClose = false;
            QVERIFY(!window.close());
            QVERIFY(!QFile::exists(FIni));
        }
        QVERIFY(ReadFile(FIni).startsWith("[GUI]\nFlags=0\nShowCmd=1\nNormalPos="));
    }

    void AFailedSaveIsShownAndTheWindowClosesAllTheSame() {
        WriteFile(FDirectory->filePath(QStringLiteral("file")), "");
        const QString blocked = FDirectory->filePath(QStringLiteral("file/Orlenta.ini"));
        TStandInMainWindow window(blocked);
        window.show();
        QVERIFY(window.close());
        QCOMPARE(window.Errors, QStringList{QStringLiteral("Unable to write to ") + blocked});

        TStandInAddDialog dialog(blocked);
        dialog.CustomDirectoryRadioButton->click();
        QVERIFY_THROWS_EXCEPTION(std::exception, dialog.Browse(QStringLiteral("/data")));
        QCOMPARE(dialog.RootFromHistoryComboBox->currentText(), QStringLiteral("/data"));
        dialog.reject();
        QCOMPARE(dialog.Errors.size(), 1);
    }

    void TheWorkedExampleComesOutByteForByte() {
        {
            TStandInAddDialog dialog(FIni);
            dialog.CustomDirectoryRadioButton->click();
            dialog.Browse(QStringLiteral("/media/archive"));
            dialog.Browse(QStringLiteral("/data/photos"));
            dialog.IncludeFilenamesCheckBox->setChecked(true);
            dialog.accept();
        }
        QRect normal;
        {
            TStandInMainWindow window(FIni);
            window.show();
            normal = window.geometry();
            window.close();
        }
        QCOMPARE(ReadFile(FIni), "[Add]\n"
                                 "CustomDirectoryRadioButton.Checked=True\n"
                                 "RootFromHistoryComboBox.Text=/data/photos\n"
                                 "SystemItemRadioButton.Checked=False\n"
                                 "IncludeFilenamesCheckBox.Checked=True\n"
                                 "VirtualDiscRadioButton.Checked=False\n"
                                 "[Add.RootFromHistoryComboBox.Items]\n"
                                 "Count=2\n"
                                 "Item0=/media/archive\n"
                                 "Item1=/data/photos\n" +
                                     GuiSection(normal, ScreenPixelsPerInch()));

        TStandInAddDialog dialog(FIni);
        QVERIFY(dialog.CustomDirectoryRadioButton->isChecked());
        QVERIFY(!dialog.SystemItemRadioButton->isChecked());
        QVERIFY(dialog.RootFromHistoryComboBox->isEnabled());
        QVERIFY(dialog.IncludeFilenamesCheckBox->isChecked());
        QCOMPARE(dialog.RootFromHistoryComboBox->currentText(), QStringLiteral("/data/photos"));
        QCOMPARE(Items(dialog.RootFromHistoryComboBox),
                 (QStringList{QStringLiteral("/media/archive"), QStringLiteral("/data/photos")}));
        QCOMPARE(dialog.RootFromHistoryComboBox->RecentCount(), 0);
    }

    void CancelAndTheCloseBoxStillSaveTheDialog() {
        {
            TStandInAddDialog dialog(FIni);
            dialog.VirtualDiscRadioButton->click();
            dialog.reject();
        }
        {
            TStandInAddDialog dialog(FIni);
            QVERIFY(dialog.VirtualDiscRadioButton->isChecked());
            QVERIFY(!dialog.SystemItemRadioButton->isChecked());
            QCOMPARE(dialog.RadioClicks, 1);
            dialog.show();
            dialog.CustomDirectoryRadioButton->click();
            QVERIFY(dialog.close());
        }
        TStandInAddDialog dialog(FIni);
        QVERIFY(dialog.CustomDirectoryRadioButton->isChecked());
        QVERIFY(!dialog.VirtualDiscRadioButton->isChecked());
        QVERIFY(dialog.RootFromHistoryComboBox->isEnabled());
    }

    void BrowsingTwiceToOneDirectoryKeepsBoth() {
        TStandInAddDialog dialog(FIni);
        dialog.CustomDirectoryRadioButton->click();
        dialog.Browse(QStringLiteral("/data"));
        dialog.Browse(QStringLiteral("/data"));
        dialog.Browse(QString()); // cancelled: nothing added
        QVERIFY(ReadFile(FIni).endsWith(
            "[Add.RootFromHistoryComboBox.Items]\nCount=2\nItem0=/data\nItem1=/data\n"));
    }

    void APickedEntryIsSavedWithItsRecentCopy() {
        WriteFile(FIni, "[Add]\nCustomDirectoryRadioButton.Checked=True\n"
                        "[Add.RootFromHistoryComboBox.Items]\n"
                        "Count=2\nItem0=/media/archive\nItem1=/data/photos\n");
        TStandInAddDialog dialog(FIni);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        THistoryComboBox* box = dialog.RootFromHistoryComboBox;
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        const QRect row = view->visualRect(view->model()->index(1, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_COMPARE(box->count(), 3);
        QCOMPARE(box->currentText(), QStringLiteral("/data/photos"));
        QCOMPARE(box->currentIndex(), 2);
        dialog.accept();
        QVERIFY(ReadFile(FIni).endsWith("[Add.RootFromHistoryComboBox.Items]\nCount=3\n"
                                        "Item0=/data/photos\nItem1=/media/archive\n"
                                        "Item2=/data/photos\n"));
    }

    void TheTextIsTrimmedButEntriesKeepTheirBlanks() {
        const QString path = QStringLiteral("/data/with blank ");
        {
            TStandInAddDialog dialog(FIni);
            dialog.CustomDirectoryRadioButton->click();
            dialog.Browse(path);
            dialog.accept();
        }
        const QByteArray file = ReadFile(FIni);
        QVERIFY(file.contains("RootFromHistoryComboBox.Text=/data/with blank\n"));
        QVERIFY(file.contains("Item0=/data/with blank \n"));
        TStandInAddDialog dialog(FIni);
        QCOMPARE(dialog.RootFromHistoryComboBox->currentText(), QStringLiteral("/data/with blank"));
        QCOMPARE(Items(dialog.RootFromHistoryComboBox), QStringList{path});
    }

    void AnEmptyHistoryRemovesItsSection() {
        WriteFile(FIni, "[Add.RootFromHistoryComboBox.Items]\nCount=0\nItem0=/data\n"
                        "[Other]\nKey=kept\n");
        {
            TStandInAddDialog dialog(FIni);
            QCOMPARE(dialog.RootFromHistoryComboBox->count(), 0);
            dialog.accept();
        }
        const QByteArray file = ReadFile(FIni);
        QVERIFY(!file.contains("RootFromHistoryComboBox.Items]"));
        QVERIFY(file.startsWith("[Other]\nKey=kept\n[Add]\n"));
    }

    void UnreadableValuesLeaveTheDesignedOnes() {
        WriteFile(FIni, "[Add]\nCustomDirectoryRadioButton.Checked=Maybe\n"
                        "IncludeFilenamesCheckBox.Checked= tRUE \n"
                        "RootFromHistoryComboBox.Text=\t/data \n"
                        "[Add.RootFromHistoryComboBox.Items]\nCount=many\nItem0=/data\n");
        TStandInAddDialog dialog(FIni);
        QVERIFY(dialog.SystemItemRadioButton->isChecked());
        QVERIFY(!dialog.CustomDirectoryRadioButton->isChecked());
        QVERIFY(dialog.IncludeFilenamesCheckBox->isChecked());
        QCOMPARE(dialog.RootFromHistoryComboBox->currentText(), QStringLiteral("/data"));
        QCOMPARE(dialog.RootFromHistoryComboBox->count(), 0);
    }

    void PathsOutsideAsciiComeBackUnchanged() {
        const QString path = QStringLiteral("/data/Fotos f\u00FCr Oma/\u65E5\u672C");
        {
            TStandInAddDialog dialog(FIni);
            dialog.CustomDirectoryRadioButton->click();
            dialog.Browse(path);
            dialog.accept();
        }
        for (const char byte : ReadFile(FIni))
            QVERIFY(byte == '\n' || (byte >= 0x20 && byte <= 0x7E));
        TStandInAddDialog dialog(FIni);
        QCOMPARE(dialog.RootFromHistoryComboBox->currentText(), path);
        QCOMPARE(Items(dialog.RootFromHistoryComboBox), QStringList{path});
    }

    void TypedTextIsLimitedButChosenPathsStayWhole() {
        TBoxWindow window;
        QVERIFY(window.Active);
        window.Enter();
        THistoryComboBox* box = window.Box;
        QTest::keyClicks(box, QString(130, QLatin1Char('a')));
        QCOMPARE(box->currentText().size(), 128);

        box->lineEdit()->clear();
        box->lineEdit()->insert(QString(200, QLatin1Char('p'))); // as a paste does
        QCOMPARE(box->currentText(), QString(128, QLatin1Char('p')));

        const QString browsed = QLatin1Char('/') + QString(199, QLatin1Char('b'));
        box->setEditText(browsed);
        QCOMPARE(box->currentText(), browsed);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_X);
        QCOMPARE(box->currentText(), browsed);
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->currentText(), browsed.left(199));

        const QString chosen = QLatin1Char('/') + QString(299, QLatin1Char('c'));
        box->addItem(chosen);
        box->setCurrentIndex(box->count() - 1);
        QCOMPARE(box->currentText(), chosen);
    }

    void CompletionAndMatchingCompareNamesExactly() {
        TBoxWindow window;
        QVERIFY(window.Active);
        THistoryComboBox* box = window.Box;
        box->SetItems({QStringLiteral("/data/Photos")});
        window.Enter();
        QTest::keyClicks(box, QStringLiteral("/data/P"));
        QCOMPARE(box->currentText(), QStringLiteral("/data/Photos"));

        box->lineEdit()->clear();
        QTest::keyClicks(box, QStringLiteral("/data/photos"));
        window.Leave();
        QCOMPARE(box->currentText(), QStringLiteral("/data/photos"));
        QCOMPARE(box->count(), 1);
    }

    void LeavingTheBoxRecordsOnlyAChosenOrTypedEntry() {
        TBoxWindow window;
        QVERIFY(window.Active);
        THistoryComboBox* box = window.Box;
        box->SetItems({QStringLiteral("/a"), QStringLiteral("/b")});
        box->setEditText(QStringLiteral("/b")); // as restored
        window.Enter();
        window.Leave();
        window.Enter();
        window.Leave();
        QCOMPARE(Items(box), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));

        window.Enter();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, QStringLiteral("/a"));
        window.Leave();
        QCOMPARE(Items(box),
                 (QStringList{QStringLiteral("/a"), QStringLiteral("/a"), QStringLiteral("/b")}));
        QCOMPARE(box->currentText(), QStringLiteral("/a"));
        QCOMPARE(box->RecentCount(), 1);
    }

    void ALineSeparatesTheRecentPartWhileDroppedDown() {
        TBoxWindow window;
        QVERIFY(window.Active);
        THistoryComboBox* box = window.Box;
        box->SetItems({QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")});
        box->setCurrentIndex(2);
        box->showPopup();
        box->hidePopup();
        QTRY_COMPARE(box->RecentCount(), 1);
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        const QImage image = view->viewport()->grab().toImage();
        const auto bottomColour = [&](int row) {
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            return image.pixelColor(rect.center().x(), rect.bottom()).rgb();
        };
        const QRgb line = view->palette().color(QPalette::Mid).rgb();
        QCOMPARE(bottomColour(0), line);
        QVERIFY(bottomColour(1) != line);
        QVERIFY(bottomColour(2) != line);
        box->hidePopup();
    }

private:
    std::unique_ptr<TScratchConfigHome> FConfigHome;
    std::unique_ptr<QTemporaryDir> FDirectory;
    QString FIni;
};

QTEST_MAIN(TWindowStateTest)
#include "WindowStateTest.moc"
