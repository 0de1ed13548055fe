#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include <functional>
#include <memory>

#include "core/base/ColourPalette.h"
#include "core/base/Commands.h"
#include "core/data/Session.h"
#include "support/ModalDialogs.h"
#include "support/RegionFixture.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "support/WorldFixture.h"
#include "ui/dialogs/ColorPickerButton.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {

using test::Find;

class OptionsSheetUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;

    std::string IniPath() const { return temp_.Path("brix-tools.ini"); }

    std::unique_ptr<MainFrame> Frame() {
        auto frame = std::make_unique<MainFrame>(session_, temp_.Messages);
        if (!frame->Create()) qFatal("frame not created");
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get())) qFatal("frame not exposed");
        return frame;
    }

    // Runs the Options command; `act` works the sheet and ends it.
    static bool RunOptions(MainFrame& frame, const std::function<void(OptionsSheet&)>& act) {
        auto seen = test::WhenDialogShown<OptionsSheet>(act);
        frame.ExecuteCommand(Command::Options);
        return *seen;
    }

    // The palette's own keys and clicks are the colour button's test; here the value is set.
    static void PickRed(OptionsSheet& sheet, const char* button) {
        Find<ColorPickerButton>(sheet, button).SetColour(ColourRef(255, 0, 0));
    }

    // The view's picture once the frame's layout has settled (scroll bars come and go).
    static QImage Settled(QWidget* view) {
        QImage last = view->grab().toImage();
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            QImage next = view->grab().toImage();
            if (next == last) break;
            last = std::move(next);
        }
        return last;
    }

private Q_SLOTS:
    void init() {
        QFile::remove(QString::fromStdString(IniPath()));
        temp_.Reset();
        test::FillRegionSession(session_);
        test::LoadRegionPictures(session_);
        QImage world(400, 300, QImage::Format_RGB32);
        world.fill(qRgb(90, 120, 150));
        test::SetWorld(session_, world);
        session_.GetUser().FindOrAddCharacter("Ann");
        session_.SetCurrentCharacter(&session_.GetUser().Characters[0]);
        test::GiveMap(session_, 22);
        session_.GetPrefs().Display = session_.SettingsFile().ReadDisplaySettings();
    }

    // Escape after changing colours leaves the map, the catalogue and the file alone; after OK
    // the shown map draws with the new values and the file holds them (also when only the tack
    // colours changed).
    void mapFollowsOkNotCancel() {
        session_.GetPrefs().Display.TackWithoutColor = ColourRef(0, 0, 255);
        const DisplayOptions before = OptionsOf(session_.GetPrefs().Display);
        const auto frame = Frame();
        frame->ShowRegionView(4, 22);
        auto* view = frame->findChild<RegionMapView*>();
        QImage shown = Settled(view);
        QVERIFY(RunOptions(*frame, [&](OptionsSheet& s) {
            QCOMPARE(s.parentWidget(), frame.get());
            PickRed(s, "TackWithColor");
            PickRed(s, "WithHighLight");
            QTest::keyClick(&s, Qt::Key_Escape);
        }));
        QVERIFY(view->grab().toImage() == shown);
        QVERIFY(!QFileInfo::exists(QString::fromStdString(IniPath())) ||
                test::ReadFileBytes(IniPath()).find("TackWithColor") == std::string::npos);
        QCOMPARE(OptionsOf(session_.GetPrefs().Display), before);

        shown = Settled(view);
        QVERIFY(RunOptions(*frame, [](OptionsSheet& s) {
            PickRed(s, "TackWithColor");
            Find<ColorPickerButton>(s, "TackWithoutColor").SetColour(AutomaticColour);
            Find<QPushButton>(s, "Ok").click();
        }));
        QVERIFY(view->grab().toImage() != shown);
        QCOMPARE(session_.GetPrefs().Display.TackWithColor, ColourRef(255, 0, 0));
        QCOMPARE(OptionsOf(session_.SettingsFile().ReadDisplaySettings()),
                 OptionsOf(session_.GetPrefs().Display));
        frame->close();
    }

    // Turning independence off while the independent window is open closes it on OK.
    void independenceOffClosesTheWindow() {
        session_.GetPrefs().Display.TreasureInfoInd = true;
        const auto frame = Frame();
        frame->ShowTreasureInfo(22);
        QPointer<TreasureInfoWindow> window;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* info = qobject_cast<TreasureInfoWindow*>(widget)) window = info;
        QVERIFY(window && window->isVisible());
        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            auto& box = Find<QCheckBox>(sheet, "TreasureInfoInd");
            QVERIFY(box.isChecked());
            // A click on the wrapped text toggles the box.
            QTest::mouseClick(&Find<QLabel>(sheet, "TreasureInfoIndText"), Qt::LeftButton);
            QVERIFY(!box.isChecked());
            sheet.accept();
        }));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull() || !window->isVisible());
        QCOMPARE(session_.SettingsFile().TreasureInfoInd(), false);
        frame->close();
    }
};

}  // namespace brix

QTEST_MAIN(brix::OptionsSheetUiTest)
#include "OptionsSheetUiTest.moc"
