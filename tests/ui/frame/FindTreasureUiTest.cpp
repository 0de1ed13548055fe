#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "support/RecordingMessages.h"
#include "support/Records.h"
#include "support/RegionFixture.h"
#include "ui/dialogs/FindTreasureDialog.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/RegionMapView.h"

namespace brix {

// The find box as the main frame opens it; the ranking itself is pinned by the core tests.
class FindTreasureUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;
    test::RecordingMessages messages_;
    std::unique_ptr<MainFrame> frame_;

    FindTreasureDialog* Box() { return frame_->findChild<FindTreasureDialog*>(); }
    QLineEdit* Field() { return Box()->findChild<QLineEdit*>("FindText"); }
    QTreeWidget* List() { return Box()->findChild<QTreeWidget*>("FindResults"); }
    RegionMapView* RegionView() { return frame_->findChild<RegionMapView*>(); }

    void Type(const QString& text) {
        Field()->clear();
        QTest::keyClicks(Field(), text);
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        test::ResetSession(session_);
        session_.GetPrefs().Paths.SettingsPath = dir_.filePath("brix-tools.ini").toStdString();
        for (int r = 1; r <= 2; ++r) {
            Region region;
            region.Index = r;
            region.Name = r == 1 ? "Greenhollow" : "Saltmarsh";
            session_.GetWorld().StoreRegion(region);
        }
        const char* names[] = {"Under the lone oak", "Oakheart Hollow",
                               "<b>Smugglers</b> & \"Sons\""};
        const IntPoint places[] = {{1000, 900}, {1100, 950}, {2600, 1550}};
        for (int i = 0; i < 3; ++i) {
            Treasure treasure;
            treasure.Index = i + 1;
            treasure.Region = i < 2 ? 1 : 2;
            treasure.Name = names[i];
            treasure.Location = places[i];
            session_.GetWorld().StoreTreasure(treasure);
        }
        test::LoadRegionPictures(session_);
        frame_ = std::make_unique<MainFrame>(session_, messages_);
        QVERIFY(frame_->Create());
        frame_->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    }

    void cleanup() { frame_.reset(); }

    void keyboardTakesTheFoundTreasureToTheRegionView() {
        QVERIFY(frame_->ExecuteCommand(Command::FindTreasure));
        FindTreasureDialog* box = Box();
        box->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(box));

        // Names are shown as they are, markup and all; Enter with nothing found does nothing.
        Type("<b>");
        QCOMPARE(List()->topLevelItem(0)->text(1), QString("<b>Smugglers</b> & \"Sons\""));
        QCOMPARE(List()->topLevelItem(0)->text(2), QString("Saltmarsh"));
        Type("no such place");
        QCOMPARE(List()->topLevelItemCount(), 0);
        QTest::keyClick(Field(), Qt::Key_Return);
        QVERIFY(!frame_->IsRegionViewActive());

        // Down moves into the list; Enter on a row shows that treasure, and the box stays open.
        Type("oak");  // 2, then 1
        QTRY_VERIFY(Field()->hasFocus());
        QTest::keyClick(Field(), Qt::Key_Down);
        QVERIFY(List()->hasFocus());
        QTest::keyClick(List(), Qt::Key_Down);
        QCOMPARE(List()->currentItem()->text(0), QString("1"));
        QTest::keyClick(List(), Qt::Key_Return);
        QVERIFY(frame_->IsRegionViewActive());
        QCOMPARE(RegionView()->ShownRegion(), 1);
        QCOMPARE(RegionView()->SelectedTreasure(), 1);
        QVERIFY(box->isVisible());

        // Escape closes; the command brings the same box back.
        QTest::keyClick(List(), Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        frame_->ExecuteCommand(Command::FindTreasure);
        QCOMPARE(frame_->findChildren<FindTreasureDialog*>().size(), 1);
        QVERIFY(box->isVisible());
        // It goes with the main window: left open, it would outlive the window it serves.
        frame_->close();
        QVERIFY(!box->isVisible());
    }
};

}  // namespace brix

QTEST_MAIN(brix::FindTreasureUiTest)
#include "FindTreasureUiTest.moc"
