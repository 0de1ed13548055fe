#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include <string>
#include <vector>

#include "data/TreasureCatalog.h"
#include "frame/CommandIds.h"
#include "map/MapGeometry.h"
#include "map/MapImages.h"
#include "map/MapViewHost.h"
#include "map/Pictures.h"
#include "map/RegionMapView.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

class RecordingHost : public MapViewHost {
public:
    void SetStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    void ShowRegionView(int region, int treasure) override {
        Calls.push_back("region " + std::to_string(region) + " " + std::to_string(treasure));
    }
    void ShowTreasureInfo(int treasure) override {
        Calls.push_back("info " + std::to_string(treasure));
    }
    void OpenMapInventory(int treasure, bool adding) override {
        Calls.push_back("inventory " + std::to_string(treasure) + (adding ? " add" : " remove"));
    }

    std::vector<std::string> StatusTexts;
    std::vector<std::string> Calls;
};

void FixedMeasure(const std::string& text, int& width, int& height) {
    width = 10 * static_cast<int>(text.size());
    height = 12;
}

// Region 4 shows the multimap window (473, 376)-(877, 730); with tacks drawn uncorrected a
// multimap point q lands on the canvas at (q.x - 161, q.y - 340). Canvas points of note:
//   (342, 54) head of treasure 20      (342, 70) head of treasure 21
//   (342, 62) 8 pixels from both        (492, 54) treasure 22's label, over treasure 23's head
// Region 1 holds treasures 1 and 3, region 2 treasure 2; region 3 is empty.
void FillCatalog(TreasureCatalog& catalog) {
    DrawingResources& drawing = catalog.Drawing;
    drawing.ScrollBitmap = LoadScrollBitmap();
    drawing.ScrollMask = MakeTransparencyMask(drawing.ScrollBitmap, TransparencyKey);
    drawing.ScrollSize = drawing.ScrollBitmap.size();
    drawing.TackBitmap = LoadTackBitmap();
    drawing.TackMask = MakeTransparencyMask(drawing.TackBitmap, TransparencyKey);
    drawing.TackSize = drawing.TackBitmap.size();
    drawing.TackHeadMask = NormalizeMonochrome(LoadTackHeadMask());
    drawing.LeaderPen = MakeLeaderPen();
    drawing.LabelFont = MakeLabelFont();
    QImage multimap(2000, 1600, QImage::Format_Mono);
    multimap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    multimap.fill(1);
    for (int i = 0; i < 1600; ++i) multimap.setPixel(i, i, 0);
    drawing.MultimapBitmap = multimap;
    drawing.MultimapSize = multimap.size();

    for (int r = 1; r <= 4; ++r) {
        Region region;
        region.Index = r;
        catalog.StoreRegion(region);
    }
    struct Row {
        int Index;
        int Region;
        IntPoint Location;
        IntPoint LabelOffset;
    };
    const Row rows[] = {
        {1, 1, {300, 500}, {0, 0}},      {3, 1, {320, 300}, {0, 0}},
        {2, 2, {800, 600}, {0, 0}},      {20, 4, {1000, 800}, {0, 0}},
        {21, 4, {1000, 832}, {0, 0}},    {22, 4, {1200, 1000}, {100, -200}},
        {23, 4, {1300, 800}, {0, 0}},    {26, 4, {1500, 1200}, {0, 0}},
        {29, 4, {1700, 1412}, {40, 40}}, {30, 4, {1700, 1400}, {0, 0}},
    };
    for (const Row& row : rows) {
        Treasure t;
        t.Index = row.Index;
        t.Region = row.Region;
        t.Location = row.Location;
        t.LabelOffset = row.LabelOffset;
        t.Name = "Cache " + std::to_string(row.Index);
        ComputeLabelGeometry(t, FixedMeasure);
        catalog.StoreTreasure(t);
    }
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint point,
               Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, QPointF(point), target->mapToGlobal(QPointF(point)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class RegionMapViewUiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        catalog_ = TreasureCatalog();
        FillCatalog(catalog_);
        host_ = RecordingHost();
        messages_ = test::RecordingMessages();
    }

    void clickSelects_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("selected");
        QTest::newRow("a click on a tack")
            << QPoint(342, 54) << QPoint(343, 55) << int(Qt::LeftButton) << 20;
        QTest::newRow("press on one tack, release on another")
            << QPoint(342, 54) << QPoint(342, 70) << int(Qt::LeftButton) << 0;
        QTest::newRow("between two tacks")
            << QPoint(342, 62) << QPoint(342, 62) << int(Qt::LeftButton) << 0;
        QTest::newRow("a label over another tack")
            << QPoint(492, 54) << QPoint(492, 54) << int(Qt::LeftButton) << 22;
        QTest::newRow("the right button")
            << QPoint(342, 54) << QPoint(342, 54) << int(Qt::RightButton) << 0;
    }

    void clickSelects() {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(int, button);
        QFETCH(int, selected);
        RegionMapView view(catalog_, host_, messages_);
        view.resize(800, 480);
        view.ShowRegion(4, 0);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const auto mouseButton = static_cast<Qt::MouseButton>(button);
        SendMouse(view.viewport(), QEvent::MouseButtonPress, press, mouseButton);
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, release, mouseButton);
        QCOMPARE(view.Canvas().SelectedTreasure(), selected);
    }

    void releaseWithoutPressSelectsNothing() {
        RegionMapView view(catalog_, host_, messages_);
        view.resize(800, 480);
        view.ShowRegion(4, 0);
        view.show();
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, QPoint(342, 54));
        QCOMPARE(view.Canvas().SelectedTreasure(), 0);
        // Once a click is over, a stray release on another tack changes nothing.
        SendMouse(view.viewport(), QEvent::MouseButtonPress, QPoint(342, 54));
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, QPoint(342, 54));
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, QPoint(342, 70));
        QCOMPARE(view.Canvas().SelectedTreasure(), 20);
    }

    void hoverStatusTexts() {
        RegionMapView view(catalog_, host_, messages_);
        view.resize(800, 480);
        view.ShowRegion(4, -1);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        host_.StatusTexts.clear();
        QWidget* viewport = view.viewport();

        SendMouse(viewport, QEvent::MouseMove, QPoint(342, 54));
        SendMouse(viewport, QEvent::MouseMove, QPoint(343, 54));  // the same tack
        QCOMPARE(viewport->cursor().shape(), Qt::BitmapCursor);
        SendMouse(viewport, QEvent::MouseMove, QPoint(492, 54));
        SendMouse(viewport, QEvent::MouseMove, QPoint(300, 300));
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
        SendMouse(viewport, QEvent::MouseMove, QPoint(310, 300));  // still nothing
        SendMouse(viewport, QEvent::MouseMove, QPoint(342, 70));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(viewport, &leave);
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);

        const std::vector<std::string> expected = {
            "Treasure 20 - Cache 20", "Treasure 22 - Cache 22", "", "Treasure 21 - Cache 21", ""};
        QCOMPARE(host_.StatusTexts, expected);
    }

    void commandsGoToTheHost_data() {
        QTest::addColumn<int>("region");
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QString>("call");
        QTest::newRow("information on the selection")
            << 4 << 22 << Command::TreasureInformation << true << "info 22";
        QTest::newRow("information without a selection: the lowest")
            << 4 << 0 << Command::TreasureInformation << true << "info 20";
        QTest::newRow("information in an empty region")
            << 3 << -1 << Command::TreasureInformation << true << "info 0";
        QTest::newRow("got a map") << 4 << 22 << Command::GotAMap << true << "inventory 22 add";
        QTest::newRow("completed a map")
            << 4 << 29 << Command::CompletedAMap << true << "inventory 29 remove";
        QTest::newRow("got a map without a selection")
            << 4 << 0 << Command::GotAMap << true << "inventory 0 add";
        QTest::newRow("navigation is the view's own")
            << 4 << 22 << Command::NextTreasure << true << "";
        QTest::newRow("world is the frame's") << 4 << 22 << Command::World << false << "";
        QTest::newRow("filter is the frame's") << 4 << 22 << Command::Filter << false << "";
        QTest::newRow("print is the frame's") << 4 << 22 << Command::Print << false << "";
    }

    void commandsGoToTheHost() {
        QFETCH(int, region);
        QFETCH(int, request);
        QFETCH(int, command);
        QFETCH(bool, handled);
        QFETCH(QString, call);
        RegionMapView view(catalog_, host_, messages_);
        view.ShowRegion(region, request);
        QCOMPARE(view.HandleCommand(command), handled);
        std::vector<std::string> expected;
        if (!call.isEmpty()) expected.push_back(call.toStdString());
        QCOMPARE(host_.Calls, expected);
    }

    void copyPutsTheSelectedTreasureOnTheClipboard() {
        RegionMapView view(catalog_, host_, messages_);
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        view.ShowRegion(4, 0);
        QVERIFY(view.HandleCommand(Command::Copy));
        QCOMPARE(clipboard->text(), QStringLiteral("before"));
        QVERIFY(!view.IsCommandEnabled(Command::Copy));
        view.ShowRegion(4, 29);
        QVERIFY(view.IsCommandEnabled(Command::Copy));
        QVERIFY(view.HandleCommand(Command::Copy));
        QVERIFY(clipboard->text().contains(QStringLiteral("Cache 29")));
        QVERIFY(messages_.Shown.empty());
        QVERIFY(host_.Calls.empty());
    }

    void scrollingMovesTheCanvas() {
        RegionMapView view(catalog_, host_, messages_);
        view.resize(400, 300);
        view.ShowRegion(4, 0);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QScrollBar* horizontal = view.horizontalScrollBar();
        QScrollBar* vertical = view.verticalScrollBar();
        QCOMPARE(horizontal->maximum(), 760 - view.viewport()->width());
        QCOMPARE(vertical->maximum(), 440 - view.viewport()->height());
        QCOMPARE(horizontal->singleStep(), 7);
        QCOMPARE(horizontal->pageStep(), 76);
        QCOMPARE(vertical->singleStep(), 4);
        QCOMPARE(vertical->pageStep(), 44);

        horizontal->setValue(100);
        vertical->setValue(20);
        QCOMPARE(view.ScrollOffset(), QPoint(100, 20));
        SendMouse(view.viewport(), QEvent::MouseButtonPress, QPoint(242, 34));
        SendMouse(view.viewport(), QEvent::MouseButtonRelease, QPoint(242, 34));
        QCOMPARE(view.Canvas().SelectedTreasure(), 20);

        // A view larger than the canvas does not scroll.
        view.resize(900, 600);
        QCOMPARE(horizontal->maximum(), 0);
        QCOMPARE(vertical->maximum(), 0);
        QCOMPARE(view.ScrollOffset(), QPoint(0, 0));
    }

    void bothPaintingWaysGiveThePicture_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("scrollX");
        QTest::addColumn<int>("scrollY");
        QTest::newRow("larger than the canvas") << QSize(900, 560) << 0 << 0;
        QTest::newRow("scrolled") << QSize(500, 300) << 20 << 10;
    }

    void bothPaintingWaysGiveThePicture() {
        QFETCH(QSize, size);
        QFETCH(int, scrollX);
        QFETCH(int, scrollY);
        RegionMapView view(catalog_, host_, messages_);
        view.resize(size);
        view.ShowRegion(4, 22);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.horizontalScrollBar()->setValue(scrollX);
        view.verticalScrollBar()->setValue(scrollY);

        catalog_.Display.BeautyOverSpeed = true;
        const QImage beauty =
            view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        catalog_.Display.BeautyOverSpeed = false;
        const QImage speed =
            view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(beauty.size(), view.viewport()->size());
        QCOMPARE(beauty, speed);

        // The canvas scrolled by the offset: the title box's top-left frame corner is black.
        const QPoint corner = QPoint(34, 29) - QPoint(scrollX, scrollY);
        if (beauty.rect().contains(corner)) QCOMPARE(beauty.pixel(corner), qRgb(0, 0, 0));
        // Beyond the canvas: parchment.
        const QRgb parchment = qRgb(232, 204, 148);
        const QPoint last(beauty.width() - 1, beauty.height() - 1);
        for (const QPoint p : {QPoint(last.x(), 10), QPoint(10, last.y()), last}) {
            if (p.x() + scrollX >= 760 || p.y() + scrollY >= 440)
                QCOMPARE(beauty.pixel(p), parchment);
        }
    }

private:
    TreasureCatalog catalog_;
    RecordingHost host_;
    test::RecordingMessages messages_;
};

}  // namespace brix

QTEST_MAIN(brix::RegionMapViewUiTest)
#include "RegionMapViewUiTest.moc"
