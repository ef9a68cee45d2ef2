// The disc property panel on its own: its media types, how long a title may grow, and which
// fields editing opens.

#include "gui/widgets/DiscInfoDockingForm.h"

#include "WindowTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace orlenta;
using namespace orlenta::test;
using namespace Qt::StringLiterals;

class TDiscInfoDockingFormTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsAndEditing() {
        TDiscInfoDockingForm panel;
        QStringList items;
        for (int i = 0; i < Child<QComboBox>(panel, "MediaTypeComboBox")->count(); ++i)
            items << Child<QComboBox>(panel, "MediaTypeComboBox")->itemText(i);
        QCOMPARE(items, (QStringList{u"CD-ROM"_s, u"CD-R"_s, u"CD-RW"_s, u"DVD"_s, u"DVD+R"_s,
                                     u"DVD+RW"_s, u"DVD-R"_s, u"DVD-RW"_s}));

        // A longer stored value is shown whole; typing stops at 200 characters, deleting works.
        const QString longTitle(250, QLatin1Char('t'));
        IXMLOrlentaDataType root = NewOrlentaData();
        const IXMLDiscType disc = root.Discs().Add();
        disc.SetTitle(longTitle.toStdString());
        DiscToPanel(disc, panel);
        QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text(), longTitle);
        // A disc without a recorded total shows none, and showing it gives it no Root.
        QVERIFY(Child<QLineEdit>(panel, "TotalSizeLabeledEdit")->text().isEmpty());
        QVERIFY(!disc.XmlNode().child("Root"));
        Child<QLineEdit>(panel, "TitleLabeledEdit")->setFocus();
        Child<QLineEdit>(panel, "TitleLabeledEdit")->end(false);
        QTest::keyClick(Child<QLineEdit>(panel, "TitleLabeledEdit"), Qt::Key_X);
        QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text().size(), 250);
        QTest::keyClick(Child<QLineEdit>(panel, "TitleLabeledEdit"), Qt::Key_Backspace);
        QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text().size(), 249);
        Child<QLineEdit>(panel, "TitleLabeledEdit")->clear();
        QTest::keyClicks(Child<QLineEdit>(panel, "TitleLabeledEdit"),
                         QString(205, QLatin1Char('a')));
        QCOMPARE(Child<QLineEdit>(panel, "TitleLabeledEdit")->text().size(), 200);

        // The Source field shows only where a host asks for it, editable with the others.
        QVERIFY(Child<QLineEdit>(panel, "SourceLabeledEdit")->isHidden());
        panel.SetSourceShown(true);
        QVERIFY(!Child<QLineEdit>(panel, "SourceLabeledEdit")->isHidden());
        QVERIFY(!Child<QLineEdit>(panel, "SourceLabeledEdit")->isReadOnly());

        panel.SetEnableEdit(false);
        for (QLineEdit* edit : {Child<QLineEdit>(panel, "TitleLabeledEdit"),
                                Child<QLineEdit>(panel, "SourceLabeledEdit"),
                                Child<QLineEdit>(panel, "CreationDateLabeledEdit"),
                                Child<QLineEdit>(panel, "VendorLabeledEdit"),
                                Child<QLineEdit>(panel, "ReadDateLabeledEdit"),
                                Child<QLineEdit>(panel, "DirCountLabeledEdit"),
                                Child<QLineEdit>(panel, "FileCountLabeledEdit")})
            QVERIFY2(edit->isReadOnly(), qPrintable(edit->objectName()));
        QVERIFY(Child<QPlainTextEdit>(panel, "DiscMemo")->isReadOnly());
        QVERIFY(!Child<QComboBox>(panel, "MediaTypeComboBox")->isEnabled());
        panel.SetEnableEdit(true);
        QVERIFY(!Child<QLineEdit>(panel, "TitleLabeledEdit")->isReadOnly());
        QVERIFY(Child<QLineEdit>(panel, "ReadDateLabeledEdit")->isReadOnly());
        QVERIFY(Child<QLineEdit>(panel, "TotalSizeLabeledEdit")->isReadOnly());
        QVERIFY(Child<QComboBox>(panel, "MediaTypeComboBox")->isEnabled());
    }
};

QTEST_MAIN(TDiscInfoDockingFormTest)
#include "DiscInfoDockingFormTest.moc"
