// The application icon: Qt can draw it (the SVG plugins are there) at the sizes the desktop asks
// for, and at 16 px the card and the disc are still where they are drawn, the disc's hole shows
// and the corner stays empty.

#include "gui/ApplicationIcon.h"

#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QTest>

using namespace Qt::StringLiterals;

class TApplicationIconTest : public QObject {
    Q_OBJECT

private slots:
    void drawsAtEverySize_data() {
        QTest::addColumn<int>("size");
        for (const int size : {16, 22, 32, 48, 64, 128, 256})
            QTest::addRow("%d px", size) << size;
    }
    void drawsAtEverySize() {
        QFETCH(int, size);
        QVERIFY2(QImageReader::supportedImageFormats().contains("svg"),
                 "Qt's SVG plugins are missing (libqt6svg6)");
        const QIcon icon = orlenta::ApplicationIcon();
        const QImage image = icon.pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // Points on the 16-pixel grid, scaled: the card's paper, the disc's surface, the hole
        // in the disc, and the empty corner above the disc.
        const auto at = [&](double x, double y) {
            return image.pixelColor(int(x * size / 16), int(y * size / 16));
        };
        QCOMPARE(at(3.5, 11.5).alpha(), 255);
        QVERIFY(at(3.5, 11.5).lightness() > 200);
        QCOMPARE(at(13.5, 8.5).alpha(), 255);
        // Below 32 px the hole and its rim share pixels: it shows as a dark dot.
        if (size >= 32)
            QVERIFY(at(11, 11).alpha() < 64);
        else
            QVERIFY(at(11, 11).lightness() < at(13.5, 8.5).lightness() - 60);
        QCOMPARE(at(15.5, 0.5).alpha(), 0);
    }
};

QTEST_MAIN(TApplicationIconTest)
#include "ApplicationIconTest.moc"
