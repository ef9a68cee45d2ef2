// Message boxes, the program's own dialog frame, and the disc properties dialog that hosts the disc
// panel.

#include "WindowTestSupport.h"
#include "gui/UserPrompts.h"
#include "gui/mainwindow/DiscDialogForm.h"
#include "gui/mainwindow/InfoDialogForm.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TMessageKind)
Q_DECLARE_METATYPE(TMessageButtons)

class TDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TScratchConfigHome> FConfigHome;

private slots:
    void init() { FConfigHome = std::make_unique<TScratchConfigHome>(); }

    void errorTextGetsFullStop_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"Interface not supported"_s << u"Interface not supported."_s;
        QTest::newRow("digit") << u"line 12"_s << u"line 12."_s;
        QTest::newRow("full stop") << u"Done."_s << u"Done."_s;
        QTest::newRow("closing quote") << u"Cannot open \"x\""_s << u"Cannot open \"x\""_s;
        QTest::newRow("question mark") << u"Why?"_s << u"Why?."_s;
        QTest::newRow("non-ASCII letter")
            << QString::fromUtf8("Fehler ä") << QString::fromUtf8("Fehler ä.");
        QTest::newRow("empty") << u""_s << u""_s;
    }
    void errorTextGetsFullStop() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ErrorMessageText(text), shown);
    }

    void messageBoxKindsAndButtons_data() {
        QTest::addColumn<TMessageKind>("kind");
        QTest::addColumn<TMessageButtons>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("escapeButton");
        QTest::newRow("error") << TMessageKind::Error << TMessageButtons::Ok
                               << int(QMessageBox::Critical) << int(QMessageBox::Ok)
                               << int(QMessageBox::Ok);
        QTest::newRow("plain") << TMessageKind::Plain << TMessageButtons::Ok
                               << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
                               << int(QMessageBox::Ok);
        QTest::newRow("information")
            << TMessageKind::Information << TMessageButtons::Ok << int(QMessageBox::Information)
            << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("yes no") << TMessageKind::Confirmation << TMessageButtons::YesNo
                                << int(QMessageBox::Question) << int(QMessageBox::Yes)
                                << int(QMessageBox::No);
        QTest::newRow("yes no cancel")
            << TMessageKind::Confirmation << TMessageButtons::YesNoCancel
            << int(QMessageBox::Question) << int(QMessageBox::Yes) << int(QMessageBox::Cancel);
    }
    void messageBoxKindsAndButtons() {
        QFETCH(TMessageKind, kind);
        QFETCH(TMessageButtons, buttons);
        QFETCH(int, icon);
        QFETCH(int, defaultButton);
        QFETCH(int, escapeButton);
        auto box = CreateMessageBox(nullptr, kind, QStringLiteral("text"), buttons);
        QCOMPARE(box->windowTitle(), QStringLiteral("Orlenta"));
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(int(box->standardButton(box->defaultButton())), defaultButton);
        QCOMPARE(int(box->standardButton(box->escapeButton())), escapeButton);
    }

    // The real boxes: Escape gives the escape button's answer.
    void escapeAnswersRealBox_data() {
        QTest::addColumn<TMessageButtons>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("ok") << TMessageButtons::Ok << int(TMessageAnswer::Ok);
        QTest::newRow("yes no") << TMessageButtons::YesNo << int(TMessageAnswer::No);
        QTest::newRow("yes no cancel")
            << TMessageButtons::YesNoCancel << int(TMessageAnswer::Cancel);
    }
    void escapeAnswersRealBox() {
        QFETCH(TMessageButtons, buttons);
        QFETCH(int, answer);
        TDialogAnswer answer1("QMessageBox",
                              [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
        TUserPrompts prompts;
        QCOMPARE(
            int(prompts.Message(nullptr, TMessageKind::Confirmation, QStringLiteral("?"), buttons)),
            answer);
    }

    // The program's own dialogs: Escape does nothing, Enter is OK, the close box is Cancel.
    void ownDialogFrame() {
        TInfoDialogForm dialog(nullptr, {});
        QVERIFY(Child<QPushButton>(dialog, "OkButton")->isDefault());
        QCOMPARE(Child<QPushButton>(dialog, "OkButton")->text(), QStringLiteral("&Ok"));
        QCOMPARE(Child<QPushButton>(dialog, "Button1")->text(), QStringLiteral("&Cancel"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));

        TDialogAnswer answer2("orlenta::TInfoDialogForm", [](QWidget* shown) {
            QCOMPARE(QApplication::focusWidget(), Child<QLineEdit>(*shown, "TitleLabeledEdit"));
            QTest::keyClick(shown, Qt::Key_Escape);
            QVERIFY(shown->isVisible());
            QTest::keyClick(Child<QLineEdit>(*shown, "TitleLabeledEdit"), Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));

        TDialogAnswer answer3("orlenta::TInfoDialogForm", [](QWidget* shown) { shown->close(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    }

    void discPanelHosts() {
        TDiscDialogForm dialog(nullptr, {});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Disc properties"));
        QCOMPARE(Child<QWidget>(dialog, "DiscInfoPanel")->parentWidget(),
                 Child<QWidget>(dialog, "HostPanel"));
        QVERIFY(!Child<QLineEdit>(dialog, "TitleLabeledEdit")->isReadOnly());
        // Tab runs through the panel's fields, moved in after the buttons were made, then to the
        // buttons and back to the first field.
        QStringList tabOrder;
        QWidget* first = Child<QLineEdit>(dialog, "TitleLabeledEdit");
        for (QWidget* widget = first; tabOrder.size() < 20;) {
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
                tabOrder << widget->objectName();
            widget = widget->nextInFocusChain();
            if (widget == first)
                break;
        }
        QCOMPARE(tabOrder, (QStringList{u"TitleLabeledEdit"_s, u"CreationDateLabeledEdit"_s,
                                        u"VendorLabeledEdit"_s, u"ReadDateLabeledEdit"_s,
                                        u"MediaTypeComboBox"_s, u"DirCountLabeledEdit"_s,
                                        u"FileCountLabeledEdit"_s, u"TotalSizeLabeledEdit"_s,
                                        u"ArchiveEntriesLabeledEdit"_s, u"SourceLabeledEdit"_s,
                                        u"DiscMemo"_s, u"OkButton"_s, u"Button1"_s}));
    }
};

QTEST_MAIN(TDialogsTest)
#include "DialogsTest.moc"
