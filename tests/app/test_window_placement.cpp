// Where a remembered window placement lands on a screen: all of the window
// in sight, whatever the settings file held.

#include "app/window_placement.h"

#include <QtTest>

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void keepOnScreen_data();
    void keepOnScreen();
};

void TestWindowPlacement::keepOnScreen_data()
{
    QTest::addColumn<QRect>("placement");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("expected");  // on a 1280 x 1024 screen, task bar at the left (40 px)
    const QMargins none;
    const QMargins titleBar(4, 30, 4, 4);
    QTest::newRow("inside") << QRect(100, 50, 600, 480) << titleBar << QRect(100, 50, 600, 480);
    QTest::newRow("beyond right and bottom") << QRect(5000, 3000, 600, 480) << none << QRect(680, 544, 600, 480);
    QTest::newRow("under the task bar, above the top") << QRect(-700, -300, 600, 480) << none
                                                       << QRect(40, 0, 600, 480);
    // 9,000,000 twips at 96 dots an inch.
    QTest::newRow("larger than the screen") << QRect(100, 100, 600000, 600000) << none << QRect(40, 0, 1240, 1024);
    QTest::newRow("frame crossing the edges") << QRect(900, 700, 600, 2000) << titleBar << QRect(672, 0, 600, 990);
}

void TestWindowPlacement::keepOnScreen()
{
    QFETCH(QRect, placement);
    QFETCH(QMargins, frame);
    QFETCH(QRect, expected);
    QCOMPARE(app::keepOnScreen(placement, QRect(40, 0, 1240, 1024), frame), expected);
}

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
