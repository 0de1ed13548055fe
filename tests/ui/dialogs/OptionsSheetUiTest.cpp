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
            QVERIFY(sheet.isModal());
            auto& pages = test::Find<QTabWidget>(sheet, "Pages");
            QCOMPARE(pages.count(), 2);
            QCOMPARE(pages.tabText(0), QStringLiteral("General"));
            QCOMPARE(pages.tabText(1), QStringLiteral("Display"));
            QCOMPARE(pages.currentIndex(), 0);
            const auto buttons = sheet.findChild<QDialogButtonBox*>()->buttons();
            QCOMPARE(buttons.size(), 2);  // OK and Cancel, no Apply

            struct Box {
                const char* name;
                const char* text;
                bool checked;
            };
            const Box boxes[] = {
                {"TreasureInfoInd",
                 "Allow the treasure information dialog to run independently of the main "
                 "window.",
                 false},
                {"BeautyOverSpeed", "Beauty over speed when drawing.", true},
                {"TacksCorrect",
                 "Draw tacks over the location of the treasure instead of slightly offset (and "
                 "wrong) as Mira displays them. ",
                 false},
            };
            for (const Box& box : boxes) {
                auto& check = test::Find<QCheckBox>(sheet, box.name);
                QCOMPARE(check.isChecked(), box.checked);
                const QString shown =
                    check.text().isEmpty()
                        ? test::Find<QLabel>(sheet, (std::string(box.name) + "Text").c_str()).text()
                        : check.text();
                QCOMPARE(shown, QString::fromLatin1(box.text));
            }

            struct Button {
                const char* name;
                const char* label;
                QColor swatch;
            };
            const Button colourButtons[] = {
                {"WithoutHighLight", "Regions without maps highlight color", QColor(255, 224, 0)},
                {"WithHighLight", "Regions with maps highlight color", QColor(255, 0, 0)},
                {"TackWithoutColor", "Tacks without maps color", QColor(148, 24, 0)},
                {"TackWithColor", "Tacks with maps color", QColor(255, 0, 0)},
            };
            for (const Button& button : colourButtons) {
                auto& picker = test::Find<ColorPickerButton>(sheet, button.name);
                QCOMPARE(picker.Colour(), AutomaticColour);
                QCOMPARE(picker.SwatchColour(), button.swatch);
                QCOMPARE(picker.DefaultText(), QStringLiteral("Default"));
                QCOMPARE(picker.CustomText(), QStringLiteral("More Colors..."));
                auto& label =
                    test::Find<QLabel>(sheet, (std::string(button.name) + "Label").c_str());
                QCOMPARE(label.text(), QString::fromLatin1(button.label));
                QCOMPARE(label.buddy(), &picker);
            }
            sheet.reject();
        });
        QVERIFY(seen);
        QVERIFY(!OptionKeysWritten());
    }

    // OK after changing only the tack colours writes all seven keys; Default writes 4278190080,
    // the palette's "Red" 255. The region map shows the new tack colour at once; Cancel after
    // changing colours leaves the maps, the catalogue and the file as they were.
    void okWritesAndRepaintsCancelDoesNot() {
        catalog_.Display.TackWithoutColor = ColourRef(0, 0, 255);
        const auto frame = Frame();
        frame->ShowRegionView(4, 22);
        auto* view = frame->findChild<RegionMapView*>("RegionMapView");
        QVERIFY(view != nullptr);
        const QImage before = Settled(view);

        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            PickRed(sheet, "TackWithColor");
            PickRed(sheet, "WithHighLight");
            sheet.reject();
        }));
        QCOMPARE(Grab(view), before);
        QCOMPARE(catalog_.Display.TackWithColor, AutomaticColour);
        QCOMPARE(catalog_.Display.WithHighLight, AutomaticColour);
        QVERIFY(!OptionKeysWritten());

        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            PickRed(sheet, "TackWithColor");
            // Default is the first item right of nothing.
            PickWithKeys(sheet, "TackWithoutColor", {Qt::Key_Right, Qt::Key_Return});
            test::Find<QPushButton>(sheet, "Ok").click();
        }));
        const std::string ini = test::ReadFileBytes(IniPath());
        const std::string expected =
            "TreasureInfoInd=0\nBeautyOverSpeed=1\nTacksCorrect=0\n"
            "WithHighLight=4278190080\nWithoutHighLight=4278190080\nTackWithColor=255\n"
            "TackWithoutColor=4278190080\n";
        QString flat = QString::fromStdString(ini).remove('\r');
        QVERIFY2(flat.contains(QString::fromStdString(expected)), qPrintable(flat));
        QCOMPARE(catalog_.Display.TackWithColor, 255u);
        QCOMPARE(catalog_.Display.TackWithoutColor, AutomaticColour);
        QTRY_VERIFY(Grab(view) != before);
        frame->close();
    }

    // The maps follow the other options at once too: the world map's highlight and the tacks'
    // position.
    void mapsFollowAtOnce() {
        const auto frame = Frame();
        auto* world = frame->findChild<WorldMapView*>("WorldMapView");
        QVERIFY(world != nullptr);
        const QImage worldBefore = Settled(world);
        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            PickWithKeys(sheet, "WithHighLight", {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
            PickWithKeys(sheet, "WithoutHighLight", {Qt::Key_Right, Qt::Key_Right, Qt::Key_Return});
            sheet.accept();
        }));
        QCOMPARE(catalog_.Display.WithHighLight, 0u);
        QVERIFY(Grab(world) != worldBefore);

        frame->ShowRegionView(4, 22);
        auto* region = frame->findChild<RegionMapView*>("RegionMapView");
        const QImage regionBefore = Settled(region);
        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            test::Find<QCheckBox>(sheet, "TacksCorrect").setChecked(true);
            test::Find<QCheckBox>(sheet, "BeautyOverSpeed").setChecked(false);
            sheet.accept();
        }));
        QVERIFY(catalog_.Display.TacksCorrect && !catalog_.Display.BeautyOverSpeed);
        const QImage corrected = Grab(region);
        QVERIFY(corrected != regionBefore);
        // Painting straight to the screen draws the same picture as through the off-screen image.
        QVERIFY(RunOptions(*frame, [](OptionsSheet& sheet) {
            test::Find<QCheckBox>(sheet, "BeautyOverSpeed").setChecked(true);
            sheet.accept();
        }));
        QCOMPARE(Grab(region), corrected);
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
