// The replay of a recorded page onto an image: the GDI conventions the
// diagrams rely on (half-open fills, opaque text cells with their top-left
// corner at the point, cell heights turned into ems, pen widths).

#include <QImage>
#include <QTest>

#include "app/gui/qt_canvas.h"
#include "diagrams/recording.h"

namespace kalvoro {

class QtCanvasTest : public QObject {
    Q_OBJECT
private slots:
    void fillsAreHalfOpen();
    void linesKeepTheirWidth();
    void textSitsInAnOpaqueCellBelowAndRightOfItsPoint();
    void cellHeightsBecomeEms_data();
    void cellHeightsBecomeEms();
};

namespace {

const QRgb White = qRgb(255, 255, 255);

bool isBlackish(QRgb c)
{
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

}  // namespace

void QtCanvasTest::fillsAreHalfOpen()
{
    RecordingCanvas rc(40, 30);
    rc.fillRect(10, 10, 20, 15, colors::Red);
    rc.fillRect(30, 5, 30, 25, colors::Blue);  // empty: no column at all
    const QImage img = renderRecording(rc.recording());
    QCOMPARE(img.size(), QSize(40, 30));
    QCOMPARE(img.pixel(10, 10), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(19, 14), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(20, 14), White);
    QCOMPARE(img.pixel(19, 15), White);
    QCOMPARE(img.pixel(9, 10), White);
    QCOMPARE(img.pixel(30, 10), White);
}

void QtCanvasTest::linesKeepTheirWidth()
{
    RecordingCanvas rc(100, 60);
    rc.setPen(colors::Red, 1);
    rc.moveTo(10, 20);
    rc.lineTo(90, 20);
    rc.setPen(colors::Blue, 3);
    rc.lineTo(90, 50);  // from where the last line ended
    const QImage img = renderRecording(rc.recording());
    QCOMPARE(img.pixel(50, 20), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(50, 19), White);
    QCOMPARE(img.pixel(50, 21), White);
    for (int x = 89; x <= 91; ++x) QCOMPARE(img.pixel(x, 35), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(88, 35), White);
    QCOMPARE(img.pixel(92, 35), White);
}

void QtCanvasTest::textSitsInAnOpaqueCellBelowAndRightOfItsPoint()
{
    RecordingCanvas rc(120, 60);
    rc.fillRect(0, 0, 120, 60, colors::Green);
    rc.setFont("Times New Roman", 18);
    rc.textOut(20, 10, "MMM");
    const QImage img = renderRecording(rc.recording());
    // Ink only inside the cell, none above or left of the point.
    int inkTop = 1000, inkLeft = 1000, whites = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            const QRgb c = img.pixel(x, y);
            if (isBlackish(c)) {
                inkTop = std::min(inkTop, y);
                inkLeft = std::min(inkLeft, x);
            }
            if (c == White) ++whites;
        }
    QVERIFY(inkTop >= 10 && inkTop < 16);
    QVERIFY(inkLeft >= 20 && inkLeft < 24);
    // The cell's background is opaque white over the green page: about three
    // em-wide capitals by one cell of 18 pixels.
    QCOMPARE(img.pixel(19, 12), qRgb(0, 128, 0));
    QCOMPARE(img.pixel(20, 10), White);
    QVERIFY(whites > 20 * 18);
    QCOMPARE(img.pixel(20, 9), qRgb(0, 128, 0));
    QCOMPARE(img.pixel(20, 31), qRgb(0, 128, 0));
}

void QtCanvasTest::cellHeightsBecomeEms_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("em");
    QTest::newRow("cell 18") << 18 << 16;
    QTest::newRow("cell 15") << 15 << 14;
    QTest::newRow("cell 20") << 20 << 18;
    QTest::newRow("em asked directly") << -20 << 20;
    QTest::newRow("tiny") << 1 << 1;
    QTest::newRow("zero") << 0 << 1;
}

void QtCanvasTest::cellHeightsBecomeEms()
{
    QFETCH(int, cell);
    QFETCH(int, em);
    QCOMPARE(QtCanvas::emForCell(cell), em);
}

}  // namespace kalvoro

int runQtCanvasTests(int argc, char** argv)
{
    kalvoro::QtCanvasTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "qt_canvas_test.moc"
