#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "core/base/Commands.h"
#include "core/base/ToolbarLayout.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/MapGeometry.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "ui/dialogs/FindTreasureDialog.h"
#include "ui/frame/MainFrame.h"
#include "ui/frame/MainToolbar.h"
#include "ui/map/RegionMapView.h"

namespace brix {

// The find box as the main frame opens it: what each kind of query puts first, and how the
// keyboard and the mouse take a found treasure to the region view.
class FindTreasureUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;
    std::unique_ptr<MainFrame> frame_;

    FindTreasureDialog* Box() { return frame_->findChild<FindTreasureDialog*>(); }
    QLineEdit* Field() { return Box()->findChild<QLineEdit*>("FindText"); }
    QTreeWidget* List() { return Box()->findChild<QTreeWidget*>("FindResults"); }
    RegionMapView* RegionView() { return frame_->findChild<RegionMapView*>(); }

    // Press, release, double-click and release, as the window system delivers them.
    static void DoubleClick(QWidget* target, QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                              held, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }

    void Type(const QString& text) {
        Field()->clear();
        QTest::keyClicks(Field(), text);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        catalog_ = TreasureCatalog();
        catalog_.Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        const char* regions[] = {"Greenhollow", "Saltmarsh"};
        for (int r = 1; r <= 2; ++r) {
            Region region;
            region.Index = r;
            region.Name = regions[r - 1];
            catalog_.StoreRegion(region);
        }
        const struct {
            int Index, Region;
            const char* Name;
            IntPoint Location;
        } treasures[] = {
            {1, 1, "Under the lone oak", {1000, 900}},
            {2, 1, "Oakheart Hollow", {1100, 950}},
            {3,
             2,
             "\xC3\x89"
             "boulis du ch\xC3\xA2teau",
             {2500, 1500}},
            {4, 2, "<b>Smugglers</b> & \"Sons\"", {2600, 1550}},
            {14, 2, "Tide pool", {2700, 1600}},
        };
        for (const auto& t : treasures) {
            Treasure treasure;
            treasure.Index = t.Index;
            treasure.Region = t.Region;
            treasure.Name = t.Name;
            treasure.Location = t.Location;
            catalog_.StoreTreasure(treasure);
        }
        test::LoadRegionPictures(catalog_);
        frame_ = std::make_unique<MainFrame>(catalog_, messages_);
        QVERIFY(frame_->Create());
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }

    void cleanup() { frame_.reset(); }

    // Ctrl+F in the Edit menu, offered for the toolbar but not on it by default; what each
    // kind of query puts first.
    void firstRowAnswersEachKindOfQuery() {
        QAction* find = frame_->Action(Command::FindTreasure);
        QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QVERIFY(FindToolbarCommand(Command::FindTreasure) != nullptr);
        QVERIFY(!frame_->findChild<MainToolbar*>("MainToolbar")->actions().contains(find));
        QVERIFY(frame_->ExecuteCommand(Command::FindTreasure));
        QVERIFY(Box() != nullptr && Box()->isVisible());
        const QString sextant14 = QString::fromStdString(SextantText(2700, 1600));
        struct Row {
            QString Typed;
            QStringList First;  // number, name, region, coordinates
            bool Distance;      // the distance column is shown
        };
        const Row rows[] = {
            {"14", {"14", "Tide pool", "Saltmarsh", sextant14}, false},
            {"oak", {"2", "Oakheart Hollow", "Greenhollow"}, false},
            {"CHATEAU", {"3", "\u00C9boulis du ch\u00E2teau", "Saltmarsh"}, false},
            {"<b>", {"4", "<b>Smugglers</b> & \"Sons\"", "Saltmarsh"}, false},
            {QStringLiteral("10 53 N 82 45 E"), {"3"}, true},
            {sextant14, {"14"}, true},
        };
        for (const Row& row : rows) {
            Type(row.Typed);
            QTreeWidget* list = List();
            QVERIFY2(list->topLevelItemCount() > 0, qPrintable(row.Typed));
            const QTreeWidgetItem* first = list->topLevelItem(0);
            for (int column = 0; column < row.First.size(); ++column)
                QCOMPARE(first->text(column), row.First[column]);
            QCOMPARE(!list->isColumnHidden(4), row.Distance);
            if (row.Distance) QVERIFY(first->text(4).endsWith('\''));
        }
        Type("no such place");
        QCOMPARE(List()->topLevelItemCount(), 0);
        // Enter with nothing found does nothing.
        QTest::keyClick(Field(), Qt::Key_Return);
        QVERIFY(!frame_->IsRegionViewActive());
    }

    void enterAndDoubleClickShowTheTreasure() {
        frame_->ExecuteCommand(Command::FindTreasure);
        FindTreasureDialog* box = Box();
        box->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(box));

        // Enter in the field takes the best match.
        Type("oakheart");
        QTest::keyClick(Field(), Qt::Key_Return);
        QVERIFY(frame_->IsRegionViewActive());
        QCOMPARE(RegionView()->ShownRegion(), 1);
        QCOMPARE(RegionView()->SelectedTreasure(), 2);
        // The box stays open and keeps the keyboard for the next candidate.
        QVERIFY(box->isVisible());
        QTRY_VERIFY(Field()->hasFocus());

        // Down moves into the list, Up on its first row back to the field; Enter on a row.
        Type(QStringLiteral("10 53 N 82 45 E"));  // 3, then 4 nearest
        QTest::keyClick(Field(), Qt::Key_Down);
        QVERIFY(List()->hasFocus());
        QCOMPARE(List()->currentItem(), List()->topLevelItem(0));
        QTest::keyClick(List(), Qt::Key_Up);
        QVERIFY(Field()->hasFocus());
        QTest::keyClick(Field(), Qt::Key_Down);
        QTest::keyClick(List(), Qt::Key_Down);
        QCOMPARE(List()->currentItem()->text(0), QString("4"));
        QTest::keyClick(List(), Qt::Key_Return);
        QCOMPARE(RegionView()->ShownRegion(), 2);
        QCOMPARE(RegionView()->SelectedTreasure(), 4);

        // A double-click on another region's treasure.
        Type("oak");
        QTreeWidgetItem* lone = List()->topLevelItem(1);
        QCOMPARE(lone->text(0), QString("1"));
        const QPoint at = List()->visualItemRect(lone).center();
        DoubleClick(List()->viewport(), at);
        QCOMPARE(RegionView()->ShownRegion(), 1);
        QCOMPARE(RegionView()->SelectedTreasure(), 1);

        // Escape closes; the command brings the same box back with its text selected.
        QTest::keyClick(List(), Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        frame_->ExecuteCommand(Command::FindTreasure);
        QCOMPARE(frame_->findChildren<FindTreasureDialog*>().size(), 1);
        QVERIFY(box->isVisible());
        QCOMPARE(Field()->selectedText(), QString("oak"));
        // It goes with the main window: left open, it would outlive the window it serves.
        frame_->close();
        QVERIFY(!box->isVisible());
    }
};

}  // namespace brix

QTEST_MAIN(brix::FindTreasureUiTest)
#include "FindTreasureUiTest.moc"
