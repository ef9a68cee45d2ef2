// The About box on its own and as the About command shows it, with a plain main window.

#include "gui/about/AboutBox.h"

#include "WindowTestSupport.h"
#include "core/about/AboutTexts.h"
#include "gui/about/DisabledWindowScope.h"
#include "gui/about/FrmAbout.h"
#include "gui/about/LabelLink.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace orlenta;
using namespace Qt::StringLiterals;

namespace {

const TMakerAddresses kMaker{"https://www.example.org/", "https://www.example.org/software",
                             "example.org"};

std::unique_ptr<TfrmAbout> CreateBox(const char* title = "Orlenta") {
    auto box = std::make_unique<TfrmAbout>();
    box->SetTexts(AboutTexts(title, {0, 4, 0, 161}, 2003, 2025, kMaker), kMaker);
    return box;
}

template <typename T> T* Find(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    // Thrown, the test fails and the others still run.
    if (child == nullptr)
        throw std::runtime_error("no control " + name.toStdString());
    return child;
}

// The widgets of the hidden-panel form, which lives beside the box as a window of its own.
QWidget* EasterEggsForm() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "EasterEggsForm"_L1)
            return widget;
    return nullptr;
}

void Type(TfrmAbout& box, const QString& text) {
    for (QChar character : text)
        QTest::keyClick(box.windowHandle(), character.toLatin1());
}

QString ShownPanel(TfrmAbout& box) {
    auto* host = Find<QWidget>(&box, u"HostPanel"_s);
    QString shown;
    for (QWidget* panel : host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (panel->isVisibleTo(host))
            shown += (shown.isEmpty() ? u""_s : u","_s) + panel->objectName();
    return shown;
}

void Click(QLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
}

void MoveOver(QWidget* widget) {
    const QPointF point = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

bool ShowsAsLink(const QLabel* label) {
    return label->font().underline() &&
           label->palette().color(QPalette::WindowText) == QColor(Qt::blue);
}

bool ShowsPlain(const QLabel* label) {
    return !label->font().underline() &&
           label->palette().color(QPalette::WindowText) == QColor(Qt::black);
}

TfrmAbout* ShownAboutBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<TfrmAbout*>(widget); box != nullptr && box->isVisible())
            return box;
    return nullptr;
}

} // namespace

class TAboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        FConfigHome = std::make_unique<orlenta::test::TScratchConfigHome>();
        FOpened.clear();
        FPreviousOpener = SetLinkOpener([this](const QString& target) { FOpened << target; });
    }
    void cleanup() { SetLinkOpener(std::move(FPreviousOpener)); }

    void productNameSizeAndVersionBesideIt_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("points");
        QTest::newRow("ten characters") << u"Orlenta 10"_s << 18;
        QTest::newRow("eleven characters") << u"Orlenta 11c"_s << 14;
    }
    void productNameSizeAndVersionBesideIt() {
        QFETCH(QString, title);
        QFETCH(int, points);
        auto box = CreateBox(title.toUtf8().constData());
        auto* productName = Find<QLabel>(box.get(), u"ProductName"_s);
        auto* version = Find<QLabel>(box.get(), u"Version"_s);
        QCOMPARE(productName->text(), title);
        QCOMPARE(productName->font().pointSize(), points);
        QVERIFY(productName->font().bold());
        QCOMPARE(productName->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QCOMPARE(version->text(), u"Version 0.4  Build 161"_s);
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        const QRect name = productName->geometry();
        const QRect versionPlace = version->geometry();
        QCOMPARE(versionPlace.left(), name.left() + name.width() + 8);
        QCOMPARE(versionPlace.top() + versionPlace.height(), name.top() + name.height());
    }

    void boxFrameButtonAndLinks() {
        auto box = CreateBox();
        QCOMPARE(box->windowTitle(), u"About"_s);
        QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(box->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(box->windowFlags() & Qt::WindowMaximizeButtonHint));
        auto* ok = Find<QPushButton>(box.get(), u"OKButton"_s);
        QCOMPARE(ok->text(), u"&Ok"_s);
        QVERIFY(ok->isDefault());
        QCOMPARE(Find<QLabel>(box.get(), u"lblEmail"_s)->text(), u"orlenta@example.org"_s);
        QCOMPARE(Find<QLabel>(box.get(), u"lblSite"_s)->text(), u"www.example.org"_s);
        QCOMPARE(Find<QLabel>(box.get(), u"lblSoftware"_s)->text(), u"More freeware and updates"_s);
        for (const char* name : {"lblEmail", "lblSite", "lblSoftware"}) {
            auto* label = Find<QLabel>(box.get(), QString::fromLatin1(name));
            QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(ShowsPlain(label));
        }
        QVERIFY(Find<QLabel>(box.get(), u"NoticeLabel"_s)
                    ->text()
                    .startsWith(QString::fromUtf8("Copyright \u00A9 2003\u20132025")));
    }

    void everyControlHasNamesForTestsAndScreenReaders() {
        auto box = CreateBox();
        QWidget* eggs = EasterEggsForm();
        QVERIFY(eggs != nullptr);
        QList<QWidget*> widgets = box->findChildren<QWidget*>();
        widgets += eggs->findChildren<QWidget*>();
        QVERIFY(widgets.size() > 15);
        for (QWidget* widget : widgets) {
            // Qt's own parts of a text box (viewport, scroll bars) are named by Qt.
            if (widget->objectName().startsWith("qt_"_L1) ||
                widget->parentWidget()->objectName().startsWith("qt_"_L1))
                continue;
            QVERIFY2(!widget->objectName().isEmpty(), widget->metaObject()->className());
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible != nullptr);
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
        }
    }

    void typedSequencesSwitchPanels_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing") << u""_s << u"AboutPanel"_s;
        QTest::newRow("url") << u"url"_s << u"UrlPanel"_s;
        QTest::newRow("upper case") << u"URL"_s << u"UrlPanel"_s;
        QTest::newRow("update") << u"update"_s << u"UpdatePanel"_s;
        QTest::newRow("maker") << u"orla"_s << u"MakerPanel"_s;
        QTest::newRow("digit after url") << u"url1"_s << u"AboutPanel"_s;
        QTest::newRow("blank after url") << u"url "_s << u"AboutPanel"_s;
        QTest::newRow("xurl") << u"xurl"_s << u"AboutPanel"_s;
        QTest::newRow("xurl, digit, url") << u"xurl1url"_s << u"UrlPanel"_s;
        QTest::newRow("url then update") << u"urlupdate"_s << u"UpdatePanel"_s;
        QTest::newRow("url twice") << u"urlurl"_s << u"UrlPanel"_s;
    }
    void typedSequencesSwitchPanels() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto box = CreateBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        const QSize size = box->size();
        Type(*box, typed);
        QCOMPARE(ShownPanel(*box), shown);
        QCOMPARE(box->size(), size);
    }

    void escapeResetsWithoutClosing() {
        auto box = CreateBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        Type(*box, u"url"_s);
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        QCOMPARE(ShownPanel(*box), u"AboutPanel"_s);
        QVERIFY(box->isVisible());
        QCOMPARE(box->Result(), TfrmAbout::TResult::None);
    }

    void hiddenPanelsShowTheMakersAddresses() {
        auto box = CreateBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        Type(*box, u"url"_s);
        auto* memo = Find<QPlainTextEdit>(box.get(), u"UrlMemo"_s);
        QVERIFY(memo->isVisible());
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(memo->document()->blockCount(), 9);
        QCOMPARE(memo->toPlainText(),
                 u"\nInformation:\nhttps://www.example.org/software/orlenta.htm"
                 "\n\nScreenshot:\nhttps://www.example.org/images/"
                 "software_orlenta.jpg\n\nDownload:\n"
                 "https://www.example.org/software/download/orlenta.zip"_s);
        Type(*box, u" update"_s);
        auto* download = Find<QLabel>(box.get(), u"DownloadNowLabel"_s);
        QCOMPARE(download->text(), u"Click here to download the latest version of Orlenta."_s);
        QVERIFY(download->font().bold() && download->font().underline());
        QCOMPARE(download->cursor().shape(), Qt::PointingHandCursor);
    }

    void clickOpensTheTarget_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("target");
        QTest::newRow("mail") << u""_s << u"lblEmail"_s << u"mailto:orlenta@example.org"_s;
        QTest::newRow("site") << u""_s << u"lblSite"_s << u"https://www.example.org/"_s;
        QTest::newRow("software") << u""_s << u"lblSoftware"_s
                                  << u"https://www.example.org/software"_s;
        QTest::newRow("download") << u"update"_s << u"DownloadNowLabel"_s
                                  << u"https://www.example.org/software/download/orlenta.zip"_s;
    }
    void clickOpensTheTarget() {
        QFETCH(QString, typed);
        QFETCH(QString, label);
        QFETCH(QString, target);
        auto box = CreateBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        Type(*box, typed);
        Click(Find<QLabel>(box.get(), label));
        QCOMPARE(FOpened, QStringList{target});
        // Only a click opens: the other labels stay closed links, a text label opens nothing.
        Click(Find<QLabel>(box.get(), u"ProductName"_s));
        QCOMPARE(FOpened.size(), 1);
    }

    void hoverMarksOneLinkAtATime() {
        auto box = CreateBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        auto* mail = Find<QLabel>(box.get(), u"lblEmail"_s);
        auto* site = Find<QLabel>(box.get(), u"lblSite"_s);
        auto* software = Find<QLabel>(box.get(), u"lblSoftware"_s);
        MoveOver(site);
        QVERIFY(ShowsAsLink(site));
        QVERIFY(ShowsPlain(mail) && ShowsPlain(software));
        MoveOver(mail);
        QVERIFY(ShowsAsLink(mail));
        QVERIFY(ShowsPlain(site) && ShowsPlain(software));
        MoveOver(Find<QWidget>(box.get(), u"AboutPanel"_s));
        QVERIFY(ShowsPlain(mail) && ShowsPlain(site) && ShowsPlain(software));
        MoveOver(software);
        Click(software);
        QVERIFY(ShowsPlain(software));
    }

    void showAboutBoxEndsAndEnablesTheMainWindow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("ok button") << u"ok button"_s;
        QTest::newRow("enter") << u"enter"_s;
        QTest::newRow("close box") << u"close box"_s;
        QTest::newRow("deactivation") << u"deactivation"_s;
    }
    void showAboutBoxEndsAndEnablesTheMainWindow() {
        QFETCH(QString, how);
        QMainWindow mainWindow;
        mainWindow.resize(400, 300);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        QWidget other;
        other.setWindowTitle(u"Another window"_s);

        bool mainDisabledMeanwhile = false;
        bool answered = false;
        bool giveUp = false;
        QPointer<TfrmAbout> answeredBox;
        QTimer poll;
        QElapsedTimer clock;
        clock.start();
        connect(&poll, &QTimer::timeout, [&] {
            TfrmAbout* box = ShownAboutBox();
            if (box == nullptr)
                return;
            // A box that does not close as asked is closed by its button, and the test fails.
            if (clock.elapsed() > 10000) {
                giveUp = true;
                box->findChild<QPushButton*>(u"OKButton"_s)->click();
                return;
            }
            // Answered once the fade-in is over.
            if (answered || box->windowOpacity() < 1.0)
                return;
            mainDisabledMeanwhile = !mainWindow.isEnabled();
            answered = true;
            answeredBox = box;
            if (how == "ok button"_L1)
                QTest::mouseClick(box->findChild<QPushButton*>(u"OKButton"_s), Qt::LeftButton);
            else if (how == "enter"_L1)
                QTest::keyClick(box->windowHandle(), Qt::Key_Return);
            else if (how == "close box"_L1)
                box->close();
            else if (how == "deactivation"_L1) {
                other.show();
                other.activateWindow();
            }
        });
        poll.start(5);
        ShowAboutBox(&mainWindow, 2003);
        poll.stop();

        QVERIFY(answered);
        QVERIFY2(!giveUp, "the box did not close");
        QVERIFY(mainDisabledMeanwhile);
        QVERIFY(mainWindow.isEnabled());
        QVERIFY(answeredBox.isNull());
        QVERIFY(ShownAboutBox() == nullptr);
    }

    void mainWindowClosedWhileTheBoxIsOpen() {
        auto* mainWindow = new QMainWindow;
        mainWindow->show();
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (TfrmAbout* box = ShownAboutBox()) {
                poll.stop();
                delete mainWindow;
                mainWindow = nullptr;
                box->findChild<QPushButton*>(u"OKButton"_s)->click();
            }
        });
        poll.start(5);
        ShowAboutBox(mainWindow, 2003);
        QVERIFY(mainWindow == nullptr);
    }

    void disabledWindowIsEnabledAgainAfterAnError() {
        QWidget window;
        try {
            const TDisabledWindowScope disabled(&window);
            QVERIFY(!window.isEnabled());
            throw std::runtime_error("failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(window.isEnabled());
    }

private:
    std::unique_ptr<orlenta::test::TScratchConfigHome> FConfigHome;
    QStringList FOpened;
    TLinkOpener FPreviousOpener;
};

QTEST_MAIN(TAboutBoxTest)
#include "AboutBoxTest.moc"
