#include <QImage>
#include <QtTest>

#include "ui/hunt/LevelBarChart.h"

namespace brix {

class LevelBarChartUiTest : public QObject {
    Q_OBJECT

    // The height of the bar drawn around x: the run of bar-coloured pixels in that column.
    static int BarHeight(const QImage& image, int x, QColor bar) {
        int height = 0;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) == bar) ++height;
        return height;
    }

private Q_SLOTS:
    void DescriptionReadsEveryValue() {
        LevelBarChart chart;
        QCOMPARE(chart.accessibleName(), QStringLiteral("Maps per level"));
        QCOMPARE(chart.accessibleDescription(), QStringLiteral("No levels"));
        chart.SetData({1, 2, 5}, {3, 0, 12});
        QCOMPARE(chart.accessibleDescription(),
                 QStringLiteral("level 1: 3, level 2: 0, level 5: 12"));
        chart.SetData({4, 6}, {7});  // a missing count is 0
        QCOMPARE(chart.accessibleDescription(), QStringLiteral("level 4: 7, level 6: 0"));
        QCOMPARE(chart.focusPolicy(), Qt::TabFocus);
    }

    // Bars stand in proportion to the counts, tallest for the most maps, none for no maps.
    void BarsFollowTheCounts() {
        LevelBarChart chart;
        chart.resize(400, 240);
        chart.SetData({1, 2, 5, 7, 8}, {3, 0, 12, 6, 0});
        const QImage image = chart.grab().toImage();
        const QColor bar = chart.palette().color(QPalette::Highlight);
        const int slot = chart.width() / 5;
        std::vector<int> heights;
        for (int i = 0; i < 5; ++i) heights.push_back(BarHeight(image, slot * i + slot / 2, bar));
        QCOMPARE(heights[1], 0);
        QVERIFY(heights[2] > chart.height() / 2);
        QVERIFY(qAbs(heights[0] * 4 - heights[2]) <= 4);
        QVERIFY(qAbs(heights[3] * 2 - heights[2]) <= 2);
        // The bars stay inside the widget and leave room for the labels above and below.
        QVERIFY(heights[2] < chart.height() - 2 * chart.fontMetrics().height());
        // Three maps beside very many still show.
        chart.SetData({1, 2, 5, 7, 8}, {3, 0, 12, 6, 100000});
        QVERIFY(BarHeight(chart.grab().toImage(), slot / 2, bar) >= 2);
    }

    // A larger font (as at 200 % scale) asks for a larger chart, so labels keep their room.
    void SizeFollowsTheFont() {
        LevelBarChart chart;
        chart.SetData({1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8});
        const QSize normal = chart.sizeHint();
        QFont font = chart.font();
        font.setPointSizeF(font.pointSizeF() * 2);
        chart.setFont(font);
        QVERIFY(chart.sizeHint().width() > normal.width() * 3 / 2);
        QVERIFY(chart.sizeHint().height() > normal.height() * 3 / 2);
    }
};

}  // namespace brix

QTEST_MAIN(brix::LevelBarChartUiTest)
#include "LevelBarChartUiTest.moc"
