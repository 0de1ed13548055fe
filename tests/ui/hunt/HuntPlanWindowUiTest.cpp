#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <string>
#include <vector>

#include "core/hunt/HuntPlan.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "ui/hunt/HuntPlanWindow.h"
#include "ui/hunt/LevelBarChart.h"

namespace brix {

class HuntPlanWindowUiTest : public QObject {
    Q_OBJECT

    test::TempSession ts_;
    Session& session_ = ts_.Sess;
    test::RecordingMessages& messages_ = ts_.Messages;
    test::RecordingHost host_;
    std::shared_ptr<const HuntPlan> route_;

    std::unique_ptr<HuntPlanWindow> Open() {
        auto window = std::make_unique<HuntPlanWindow>(session_, host_, messages_);
        window->SetRouteListener(
            [this](std::shared_ptr<const HuntPlan> plan) { route_ = std::move(plan); });
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qFatal("window not active");
        return window;
    }

    // The plan table's rows as "step treasure counts".
    static QStringList PlanRows(const HuntPlanWindow& window) {
        const auto& table = test::Find<QTreeWidget>(window, "PlanTable");
        QStringList rows;
        for (int i = 0; i < table.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = table.topLevelItem(i);
            rows << item->text(0) + " " + item->text(3) + " " + item->text(6);
        }
        return rows;
    }

    static void SelectStop(HuntPlanWindow& window, const QString& treasureText) {
        auto& table = test::Find<QTreeWidget>(window, "PlanTable");
        const auto found = table.findItems(treasureText, Qt::MatchExactly, 3);
        if (found.size() != 1) qFatal("no single row for the treasure");
        table.setCurrentItem(found.front());
    }

private Q_SLOTS:
    // A small world: three treasures of regions 1 and 2, levels 1 to 3, a library whose one book
    // lists the far treasure. Ann (current) holds maps of treasures 1 and 2; Bea of 3.
    void init() {
        ts_.Reset();
        QFile::remove(QString::fromStdString(ts_.Path("brix-tools.ini")));
        World& world = session_.GetWorld();
        test::AddLevels(world, {1, 2, 3});
        test::AddTreasures(world, {1, 2}, 1);
        test::AddTreasures(world, {3}, 2);
        world.FindTreasure(1)->Location = {1000, 1000};
        world.FindTreasure(2)->Location = {1300, 1400};  // 500 from treasure 1
        world.FindTreasure(3)->Location = {4000, 3000};
        RuneLibrary library;
        library.Name = "Main";
        library.RuneBooks = {{"Home", {3}}};
        session_.SetCurrentRuneLibrary(
            &session_.GetUser().RuneLibraries[session_.AddRuneLibrary(library)]);
        for (int map = 0; map < 2; ++map) session_.ChangeMapCount("Bea", 3, 1, true);
        session_.ChangeMapCount("Ann", 1, 1, true);
        session_.ChangeMapCount("Ann", 2, 2, true);
        session_.ChangeMapCount("Ann", 2, 3, true);
        session_.UndoStack().clear();
        host_ = test::RecordingHost();
        route_ = nullptr;
    }

    // The plan and the map's route follow recorded maps, "Completed" (the level is the core's)
    // and undo, the shown levels and the current character.
    void planFollowsTheSession() {
        const auto window = Open();
        QCOMPARE(PlanRows(*window), (QStringList{"1 2 - Spot 2 L2=1, L3=1", "2 1 - Spot 1 L1=1"}));
        session_.ChangeMapCount("Ann", 3, 2, true);
        QCOMPARE(PlanRows(*window), (QStringList{"1 3 - Spot 3 L2=1", "2 2 - Spot 2 L2=1, L3=1",
                                                 "3 1 - Spot 1 L1=1"}));
        QCOMPARE(route_->Stops.size(), std::size_t{3});

        SelectStop(*window, "2 - Spot 2");
        auto& completed = test::Find<QPushButton>(*window, "Completed");
        completed.click();
        QCOMPARE(PlanRows(*window).at(1), QString("2 2 - Spot 2 L3=1"));
        QCOMPARE(test::Find<QTreeWidget>(*window, "PlanTable").currentItem()->text(3),
                 QString("2 - Spot 2"));  // the row stays on its treasure
        session_.UndoStack().undo();
        QCOMPARE(PlanRows(*window).at(1), QString("2 2 - Spot 2 L2=1, L3=1"));

        MapFilter filter = session_.Filter();
        filter.LevelFilterOn = true;
        filter.ShownLevels.fill(0);
        filter.ShownLevels[0] = 1;
        session_.SetFilterOptions(filter);
        QCOMPARE(PlanRows(*window), (QStringList{"1 1 - Spot 1 L1=1"}));
        completed.click();
        QVERIFY(PlanRows(*window).isEmpty());
        QVERIFY(!completed.isEnabled());
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);  // Bea
        QCOMPARE(PlanRows(*window), (QStringList{"1 3 - Spot 3 L1=2"}));
    }

    // Enter shows the treasure's region with it selected; Ctrl+C copies the shown page; the
    // route goes to the map only while the box is ticked and the window open.
    void rowsCopyAndRoute() {
        const auto window = Open();
        auto& table = test::Find<QTreeWidget>(*window, "PlanTable");
        table.setFocus();
        SelectStop(*window, "2 - Spot 2");
        QTest::keyClick(&table, Qt::Key_Return);
        QCOMPARE(host_.Calls, (std::vector<std::string>{"region 1 2"}));
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString::fromStdString(HuntPlanText(window->Plan())));

        auto& showRoute = test::Find<QCheckBox>(*window, "ShowRoute");
        showRoute.setChecked(false);
        QVERIFY(route_ == nullptr);
        showRoute.setChecked(true);
        QVERIFY(route_ != nullptr);
        window->close();
        QVERIFY(route_ == nullptr);
        // A change while closed reaches the window when it opens again.
        session_.ChangeMapCount("Ann", 3, 1, true);
        window->show();
        QCOMPARE(route_->Stops.size(), std::size_t{3});
    }

    // One row per character and a total row, copied with Ctrl+C; the current one marked in bold
    // and for a screen reader, the chart following it; sorting keeps the total last.
    void collectionPage() {
        const auto window = Open();
        auto& table = test::Find<QTreeWidget>(*window, "CollectionTable");
        test::Find<QTabWidget>(*window, "HuntPlanPages").setCurrentIndex(1);
        table.setFocus();
        QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);  // the shown page
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Character\tL1\tL2\tL3\tTotal\r\n"
                                "Bea\t2\t0\t0\t2\r\n"
                                "Ann\t1\t1\t1\t3\r\n"
                                "Total\t3\t1\t1\t5\r\n"));
        QCOMPARE(table.topLevelItem(1)->data(0, Qt::AccessibleTextRole).toString(),
                 QString("Ann (current)"));
        auto& chart = test::Find<LevelBarChart>(*window, "LevelChart");
        QCOMPARE(chart.Counts(), (std::vector<long long>{1, 1, 1}));

        table.header()->sectionClicked(4);
        table.header()->sectionClicked(4);  // by total, falling
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);
        QCOMPARE(chart.Counts(), (std::vector<long long>{2, 0, 0}));
        QCOMPARE(table.topLevelItem(1)->text(0), QString("Bea"));
        QVERIFY(table.topLevelItem(1)->font(0).bold());
        QVERIFY(!table.topLevelItem(0)->font(0).bold());
        QCOMPARE(table.topLevelItem(2)->text(0), QString("Total"));
    }

    // The chart on its own: a screen reader hears every value; bars stand in proportion to the
    // counts inside the room the labels leave, none for no maps, and three beside many show.
    void levelChart() {
        LevelBarChart chart;
        QCOMPARE(chart.accessibleDescription(), QStringLiteral("No levels"));
        chart.SetData({4, 6}, {7});  // a missing count is 0
        QCOMPARE(chart.accessibleDescription(), QStringLiteral("level 4: 7, level 6: 0"));

        chart.resize(400, 240);
        const QColor bar = chart.palette().color(QPalette::Highlight);
        const auto heights = [&chart, &bar](const std::vector<long long>& counts) {
            chart.SetData({1, 2, 5, 7}, counts);
            const QImage image = chart.grab().toImage();
            std::vector<int> heights(4);
            for (int y = 0; y < image.height(); ++y)
                for (int i = 0; i < 4; ++i) heights[i] += image.pixelColor(100 * i + 50, y) == bar;
            return heights;
        };
        const std::vector<int> shown = heights({3, 0, 12, 6});
        QCOMPARE(shown[1], 0);
        QVERIFY(shown[2] > chart.height() / 2);
        QVERIFY(shown[2] < chart.height() - 2 * chart.fontMetrics().height());
        QVERIFY(qAbs(shown[0] * 4 - shown[2]) <= 4);
        QVERIFY(qAbs(shown[3] * 2 - shown[2]) <= 2);
        QVERIFY(heights({3, 0, 12, 100000})[0] >= 2);
    }
};

}  // namespace brix

QTEST_MAIN(brix::HuntPlanWindowUiTest)
#include "HuntPlanWindowUiTest.moc"
