#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

#include "core/base/ColourPalette.h"
#include "core/base/Commands.h"
#include "core/data/TreasureCatalog.h"
#include "support/ModalDialogs.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "support/TestFiles.h"
#include "support/Widgets.h"
#include "support/WorldFixture.h"
#include "ui/dialogs/ColorPickerButton.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/TreasureInfoWindow.h"
#include "ui/map/WorldMapView.h"

namespace brix {

class OptionsSheetUiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TreasureCatalog catalog_;
    test::RecordingMessages messages_;

    std::string IniPath() const { return dir_.filePath("brix-tools.ini").toStdString(); }

    std::unique_ptr<MainFrame> Frame() {
        auto frame = std::make_unique<MainFrame>(catalog_, messages_);
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

    // Picks a palette item on the named colour button with the keys.
    static void PickWithKeys(OptionsSheet& sheet, const char* button,
                             std::initializer_list<Qt::Key> keys) {
        auto& picker = test::Find<ColorPickerButton>(sheet, button);
        picker.DropPalette();
        for (Qt::Key key : keys) QTest::keyClick(picker.Palette(), key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Black is two steps right of nothing (the default item comes first); Red two rows below.
    static void PickRed(OptionsSheet& sheet, const char* button) {
        PickWithKeys(sheet, button,
                     {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    }

    static QImage Grab(QWidget* view) { return view->grab().toImage(); }
    // The view's picture once the window's layout has settled (the scroll bars come and go
    // while the frame takes its size).
    static QImage Settled(QWidget* view) {
        QImage last = Grab(view);
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            QImage next = Grab(view);
            if (next == last) break;
            last = std::move(next);
        }
        return last;
    }

    // Whether any of the seven option keys is in the settings file (others, such as the
    // current character, are written elsewhere).
    bool OptionKeysWritten() const {
        const std::string ini = test::ReadFileBytes(IniPath());
        for (const char* key :
             {"TreasureInfoInd", "BeautyOverSpeed", "TacksCorrect", "WithHighLight",
              "WithoutHighLight", "TackWithColor", "TackWithoutColor"})
            if (ini.find(key) != std::string::npos) return true;
        return false;
    }

    // The open Treasure Information windows.
    static QList<TreasureInfoWindow*> InfoWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<TreasureInfoWindow*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<TreasureInfoWindow*>(widget)) windows << window;
        return windows;
    }

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        QFile::remove(QString::fromStdString(IniPath()));
        catalog_ = TreasureCatalog();
        catalog_.Paths.SettingsPath = IniPath();
        test::FillRegionCatalog(catalog_);
        test::LoadRegionPictures(catalog_);
        // A world map on which region 1 has a mask, so its highlight can be seen.
        QImage world(400, 300, QImage::Format_RGB32);
        world.fill(qRgb(90, 120, 150));
        test::SetWorld(catalog_, world);
        const Region masked = test::MaskedRegion(
            1, QPoint(20, 20), std::vector<std::string>(40, std::string(60, '#')));
        Region* region = catalog_.FindRegion(1);
        region->MaskOffset = masked.MaskOffset;
        region->MaskRect = masked.MaskRect;
        region->MaskBits = masked.MaskBits;
        region->MaskBytesPerRow = masked.MaskBytesPerRow;
        catalog_.FindOrAddCharacter("Ann");
        catalog_.SetCurrentCharacter(&catalog_.Characters[0]);
        test::GiveMap(catalog_, 22);
        catalog_.Display = catalog_.SettingsFile().ReadDisplaySettings();
        messages_ = test::RecordingMessages();
    }

    // A first run: the texts, the pages in order, the defaults and the four default swatches.
    void firstRunShowsTheDefaults() {
        const auto frame = Frame();
        QVERIFY(frame->Action(Command::Options)->isEnabled());
        const bool seen = RunOptions(*frame, [&](OptionsSheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Brix Tools"));
            QCOMPARE(sheet.parentWidget(), frame.get());
            auto& pages = test::Find<QTabWidget>(sheet, "Pages");
            QCOMPARE(pages.tabText(0) + "," + pages.tabText(1), QStringLiteral("General,Display"));
            QCOMPARE(pages.currentIndex(), 0);
            QCOMPARE(sheet.findChild<QDialogButtonBox*>()->buttons().size(), 2);  // no Apply

            // Check boxes: name, text (the wrapped ones on their buddy label), ticked.
            const std::tuple<const char*, const char*, bool> boxes[] = {
                {"TreasureInfoInd",
                 "Allow the treasure information dialog to run independently of the main window.",
                 false},
                {"BeautyOverSpeed", "Beauty over speed when drawing.", true},
                {"TacksCorrect",
                 "Draw tacks over the location of the treasure instead of slightly offset (and "
                 "wrong) as Mira displays them. ",
                 false},
            };
            for (const auto& [name, text, checked] : boxes) {
                auto& box = test::Find<QCheckBox>(sheet, name);
                auto* label = sheet.findChild<QLabel*>(QString::fromLatin1(name) + "Text");
                QCOMPARE(label != nullptr ? label->text() : box.text(), QString::fromLatin1(text));
                QVERIFY(label == nullptr || label->buddy() == &box);
                QCOMPARE(box.isChecked(), checked);
            }
            // Colour buttons: name, label, swatch while Default.
            const std::tuple<const char*, const char*, QColor> buttons[] = {
                {"WithoutHighLight", "Regions without maps highlight color", QColor(255, 224, 0)},
                {"WithHighLight", "Regions with maps highlight color", QColor(255, 0, 0)},
                {"TackWithoutColor", "Tacks without maps color", QColor(148, 24, 0)},
                {"TackWithColor", "Tacks with maps color", QColor(255, 0, 0)},
            };
            for (const auto& [name, text, swatch] : buttons) {
                auto& picker = test::Find<ColorPickerButton>(sheet, name);
                QCOMPARE(picker.Colour(), AutomaticColour);
                QCOMPARE(picker.SwatchColour(), swatch);
                QCOMPARE(picker.DefaultText() + "|" + picker.CustomText(),
                         QStringLiteral("Default|More Colors..."));
                auto& label = test::Find<QLabel>(sheet, (std::string(name) + "Label").c_str());
                QCOMPARE(label.text(), QString::fromLatin1(text));
                QCOMPARE(label.buddy(), &picker);
            }
            sheet.reject();
        });
        QVERIFY(seen);
        QVERIFY(!OptionKeysWritten());
    }

    // After each OK the shown map draws with the new values (the repaint request itself is the
    // core's change notification, tested there) and the file holds all seven keys
    // (also when only the tack colours changed: Default 4278190080, the palette's "Red" 255);
    // Cancel after changing colours leaves the map, the catalogue and the file alone.
    void mapsFollowOkNotCancel() {
        catalog_.Display.TackWithoutColor = ColourRef(0, 0, 255);
        const auto frame = Frame();
        using Act = std::function<void(OptionsSheet&)>;
        const auto check = [](OptionsSheet& sheet, const char* name, bool on) {
            test::Find<QCheckBox>(sheet, name).setChecked(on);
        };
        struct Step {
            const char* name;
            bool region;
            Act act;
            bool repainted;
            const char* keys;  // what the file then holds, in order; null: no option key
        };
        const Step steps[] = {
            {"colours changed, then Cancel", true,
             [](OptionsSheet& s) {
                 PickRed(s, "TackWithColor");
                 PickRed(s, "WithHighLight");
                 s.reject();
             },
             false, nullptr},
            {"tack colours only", true,
             [](OptionsSheet& s) {
                 PickRed(s, "TackWithColor");
                 PickWithKeys(s, "TackWithoutColor", {Qt::Key_Right, Qt::Key_Return});  // Default
                 test::Find<QPushButton>(s, "Ok").click();
             },
             true,
             "TreasureInfoInd=0\nBeautyOverSpeed=1\nTacksCorrect=0\nWithHighLight=4278190080\n"
             "WithoutHighLight=4278190080\nTackWithColor=255\nTackWithoutColor=4278190080\n"},
            {"tacks over the location, painted straight", true,
             [&](OptionsSheet& s) {
                 check(s, "TacksCorrect", true);
                 check(s, "BeautyOverSpeed", false);
                 s.accept();
             },
             true, "BeautyOverSpeed=0\nTacksCorrect=1\n"},
            // The off-screen image shows the very same picture.
            {"through the off-screen image again", true,
             [&](OptionsSheet& s) {
                 check(s, "BeautyOverSpeed", true);
                 s.accept();
             },
             false, "BeautyOverSpeed=1\nTacksCorrect=1\n"},
            {"region highlights black", false,
             [](OptionsSheet& s) {
                 for (const char* name : {"WithHighLight", "WithoutHighLight"})
                     PickWithKeys(s, name, {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
                 s.accept();
             },
             true, "WithHighLight=0\nWithoutHighLight=0\nTackWithColor=255\n"},
        };
        for (const Step& step : steps) {
            if (step.region)
                frame->ShowRegionView(4, 22);
            else
                frame->ShowWorldView();
            QWidget* view = step.region ? static_cast<QWidget*>(frame->findChild<RegionMapView*>())
                                        : frame->findChild<WorldMapView*>();
            const QImage before = Settled(view);
            QVERIFY(RunOptions(*frame, step.act));
            QVERIFY2((Grab(view) != before) == step.repainted, step.name);
            if (step.keys == nullptr) {
                QVERIFY2(!OptionKeysWritten(), step.name);
                QCOMPARE(OptionsOf(catalog_.Display),
                         OptionsOf(DisplaySettings{{},
                                                   AutomaticColour,
                                                   AutomaticColour,
                                                   AutomaticColour,
                                                   ColourRef(0, 0, 255)}));
            } else {
                const QString ini =
                    QString::fromStdString(test::ReadFileBytes(IniPath())).remove('\r');
                QVERIFY2(ini.contains(QString::fromLatin1(step.keys)), qPrintable(ini));
                QCOMPARE(OptionsOf(catalog_.SettingsFile().ReadDisplaySettings()),
                         OptionsOf(catalog_.Display));
            }
        }
        frame->close();
    }

    // Turning independence off while the independent window is open closes it on OK.
    void independenceOffClosesTheWindow() {
        catalog_.Display.TreasureInfoInd = true;
        const auto frame = Frame();
        frame->ShowTreasureInfo(22);
        QCOMPARE(InfoWindows().size(), 1);
        QPointer<TreasureInfoWindow> window = InfoWindows().first();
        QVERIFY(window->isVisible());
        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            auto& box = test::Find<QCheckBox>(sheet, "TreasureInfoInd");
            QVERIFY(box.isChecked());
            // A click on the wrapped text toggles the box.
            QTest::mouseClick(&test::Find<QLabel>(sheet, "TreasureInfoIndText"), Qt::LeftButton);
            QVERIFY(!box.isChecked());
            sheet.accept();
        }));
        QVERIFY(InfoWindows().isEmpty());
        QVERIFY(window.isNull() || !window->isVisible());
        QCOMPARE(catalog_.SettingsFile().TreasureInfoInd(), false);
        frame->close();
    }

    // Tab walks the Display page in layout order; Enter is OK even on a colour button;
    // Escape is Cancel.
    void tabEnterEscape() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            OptionsSheet sheet(QStringLiteral("Brix Tools"), DisplayOptions());
            sheet.show();
            QVERIFY(QTest::qWaitForWindowActive(&sheet));
            test::Find<QTabWidget>(sheet, "Pages").setCurrentIndex(1);
            auto& beauty = test::Find<QCheckBox>(sheet, "BeautyOverSpeed");
            beauty.setFocus();
            const QList<QWidget*> expected{
                &test::Find<QCheckBox>(sheet, "TacksCorrect"),
                &test::Find<ColorPickerButton>(sheet, "WithoutHighLight"),
                &test::Find<ColorPickerButton>(sheet, "WithHighLight"),
                &test::Find<ColorPickerButton>(sheet, "TackWithoutColor"),
                &test::Find<ColorPickerButton>(sheet, "TackWithColor"),
            };
            QCOMPARE(test::TabWalk(5), expected);
            beauty.setChecked(false);
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(!sheet.isVisible());
            QCOMPARE(sheet.result(),
                     key == Qt::Key_Return ? int(QDialog::Accepted) : int(QDialog::Rejected));
            QVERIFY(test::Find<ColorPickerButton>(sheet, "TackWithColor").Palette() == nullptr);
            QCOMPARE(sheet.Options().BeautyOverSpeed, false);
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::OptionsSheetUiTest)
#include "OptionsSheetUiTest.moc"
