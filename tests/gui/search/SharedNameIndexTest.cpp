// The name index the window's views share: not built until asked for, then in slices that stop
// while the window is busy, handed out again until the catalogue changes, then built anew of
// the document as it stands without waiting to be asked.

#include "gui/search/SharedNameIndex.h"

#include "core/catalogue/OrlentaData.h"

#include <QSignalSpy>
#include <QTest>

using namespace orlenta;

class TSharedNameIndexTest : public QObject {
    Q_OBJECT

private slots:
    void buildsInSlicesPausedWhileBusyAndAnewAfterAChange() {
        IXMLOrlentaDataType root = NewOrlentaData();
        for (const char* title : {"One", "Two", "Three"})
            root.Discs().Add().SetTitle(title);
        TSharedNameIndex names;
        QSignalSpy ready(&names, &TSharedNameIndex::Ready);
        names.Follow(root);
        QTest::qWait(20);
        QVERIFY(!names.Building());
        names.SetBusy(true);
        QVERIFY(!names.Request());
        QTest::qWait(50);
        QVERIFY(names.Building());
        QCOMPARE(ready.count(), 0);

        names.SetBusy(false);
        QTRY_COMPARE(ready.count(), 1);
        const std::shared_ptr<const TNameIndex> index = names.Request();
        QVERIFY(index != nullptr);
        QCOMPARE(index->DiscCount(), 3u);
        QCOMPARE(names.Request(), index);

        // Asked for once, it is built again after a change without being asked.
        root.Discs().Add().SetTitle("Four");
        names.Follow(root);
        QVERIFY(names.Building());
        QTRY_COMPARE(ready.count(), 2);
        QCOMPARE(names.Request()->DiscCount(), 4u);
        QCOMPARE(names.Request()->Disc(3).Title, std::string("Four"));
        QCOMPARE(index->DiscCount(), 3u); // the old one lives on for whoever holds it
    }
};

QTEST_MAIN(TSharedNameIndexTest)
#include "SharedNameIndexTest.moc"
