#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <vector>

#include "core/base/ColourPalette.h"
#include "core/base/Commands.h"
#include "support/ModalDialogs.h"
#include "support/RegionFixture.h"
#include "support/TempSession.h"
#include "support/Widgets.h"
#include "support/WorldFixture.h"
#include "ui/dialogs/ColorPickerButton.h"
#include "ui/dialogs/OptionsSheet.h"
#include "ui/frame/MainFrame.h"
#include "ui/map/RegionMapView.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {

using test::Find;

// The colour button, and the Options sheet made of such buttons.
class OptionsSheetUiTest : public QObject {
    Q_OBJECT

    test::TempSession temp_;
    Session& session_ = temp_.Sess;

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
    // The keys and clicks on the palette, with the value they leave (the swatch paints it, or
    // the default colour for Default) and whether the colour chooser ran. A release on a cell
    // chooses it; a right click and a click outside change nothing.
    void keysAndClicks() {
        struct Row {
            const char* name;
            std::uint32_t start;
            std::vector<Qt::Key> keys;
            std::optional<QColor> chooserAnswer;
            std::uint32_t result;
            bool chooserRan;
            Qt::MouseButton button = Qt::NoButton;  // pressed and released on red, or outside
            bool onRed = false;
        };
        using K = std::vector<Qt::Key>;
        const std::uint32_t blue = ColourRef(0, 0, 255);
        // clang-format off
        const Row rows[] = {
            {"Red: two rows down from Black", AutomaticColour,
             K{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, {}, 255, false},
            {"Escape keeps Default", AutomaticColour, K{Qt::Key_Right, Qt::Key_Escape}, {},
             AutomaticColour, false},
            {"More Colors... cancelled", 255, K{Qt::Key_Left, Qt::Key_Enter}, std::nullopt, 255, true},
            {"More Colors... confirmed", 255, K{Qt::Key_Left, Qt::Key_Return}, QColor(1, 2, 3),
             ColourRef(1, 2, 3), true},
            {"Left click on red", blue, {}, {}, 255, false, Qt::LeftButton, true},
            {"Right click on red", blue, {}, {}, blue, false, Qt::RightButton, true},
            {"Click outside", blue, {}, {}, blue, false, Qt::LeftButton, false},
        };
        // clang-format on
        for (const Row& row : rows) {
            ColorPickerButton button;
            button.SetDefaultColour(QColor(148, 24, 0));
            button.SetColour(row.start);
            std::vector<QColor> chooserStarts;
            button.SetColourChooser([&](QWidget*, QColor start) {
                chooserStarts.push_back(start);
                return row.chooserAnswer;
            });
            button.show();
            QVERIFY(QTest::qWaitForWindowExposed(&button));
            QSignalSpy changed(&button, &ColorPickerButton::ColourChanged);
            button.DropPalette();
            ColourPalettePopup* palette = button.Palette();
            QVERIFY2(palette && palette->isVisible(), row.name);
            for (Qt::Key key : row.keys) QTest::keyClick(palette, key);
            if (row.button != Qt::NoButton) {
                const QPoint at = row.onRed ? palette->ItemRect(16).center() : QPoint(-20, -20);
                QTest::mousePress(palette, row.button, {}, at);
                QTest::mouseRelease(palette, row.button, {}, at);
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY2(button.Palette() == nullptr, row.name);
            QVERIFY2(button.Colour() == row.result, row.name);
            QVERIFY2(changed.size() == (row.result != row.start ? 1 : 0), row.name);
            // The chooser starts from the colour of the highlighted cell, red.
            QVERIFY2(chooserStarts == std::vector<QColor>(row.chooserRan, QColor(255, 0, 0)),
                     row.name);
            const QImage swatch = button.grab().toImage();
            QCOMPARE(swatch.pixelColor(swatch.width() / 3, swatch.height() / 2),
                     ColourOf(row.result, QColor(148, 24, 0)));
        }
    }

    // "More Colors..." runs Qt's dialog with custom colours of this run alone: white at the
    // start even when another Qt program saved some, kept from one opening to the next, and
    // never written into Qt's settings shared by every Qt program. (The first use of Qt's colour
    // dialog in this process must be here, so that it reads the file written below.)
    void customColoursStayWithTheRun() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const QString shared = dir.filePath("QtProject.conf");
        const QRgb red = QColor(Qt::red).rgba();
        QSettings(shared, QSettings::IniFormat).setValue("Qt/customColors/0", red);

        std::vector<QColor> seen;
        const auto answerWith = [&seen](QColor colour) {
            QTimer::singleShot(0, [&seen, colour] {
                auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                if (dialog == nullptr) qFatal("no colour dialog");
                seen.push_back(QColorDialog::customColor(0));
                QColorDialog::setCustomColor(0, colour);  // what "Add to Custom Colors" does
                dialog->setCurrentColor(colour);
                dialog->accept();
            });
        };
        answerWith(Qt::green);
        QCOMPARE(ColorPickerButton::SystemChooser()(nullptr, Qt::blue),
                 std::optional<QColor>(QColor(Qt::green)));
        answerWith(Qt::yellow);
        ColorPickerButton::SystemChooser()(nullptr, Qt::blue);
        QCOMPARE(seen, (std::vector<QColor>{QColor(Qt::white), QColor(Qt::green)}));
        QCOMPARE(QSettings(shared, QSettings::IniFormat).value("Qt/customColors/0").toUInt(), red);
    }

    // OK through the Options command: the shown map draws with the new tack colour, the file
    // holds the new values, and turning independence off (a click on the wrapped text toggles
    // its box) closes the open independent window.
    void okRedrawsSavesAndClosesTheIndependentWindow() {
        test::FillRegionSession(session_);
        test::LoadRegionPictures(session_);
        QImage world(400, 300, QImage::Format_RGB32);
        world.fill(qRgb(90, 120, 150));
        test::SetWorld(session_, world);
        session_.SetCurrentCharacter(session_.GetUser().FindOrAddCharacter("Ann"));
        test::GiveMap(session_, 22);
        session_.GetPrefs().Display.TreasureInfoInd = true;
        MainFrame frame(session_, temp_.Messages);
        QVERIFY(frame.Create());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.ShowRegionView(4, 22);
        auto* view = frame.findChild<RegionMapView*>();
        const QImage shown = Settled(view);
        frame.ShowTreasureInfo(22);
        QPointer<TreasureInfoWindow> window;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* info = qobject_cast<TreasureInfoWindow*>(widget)) window = info;
        QVERIFY(window && window->isVisible());

        auto seen = test::WhenDialogShown<OptionsSheet>([](OptionsSheet& sheet) {
            Find<ColorPickerButton>(sheet, "TackWithColor").SetColour(ColourRef(255, 0, 0));
            QTest::mouseClick(&Find<QLabel>(sheet, "TreasureInfoIndText"), Qt::LeftButton);
            QVERIFY(!Find<QCheckBox>(sheet, "TreasureInfoInd").isChecked());
            test::Click(sheet, "Ok");
        });
        frame.ExecuteCommand(Command::Options);
        QVERIFY(*seen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(view->grab().toImage() != shown);
        QCOMPARE(session_.GetPrefs().Display.TackWithColor, ColourRef(255, 0, 0));
        QCOMPARE(OptionsOf(session_.SettingsFile().ReadDisplaySettings()),
                 OptionsOf(session_.GetPrefs().Display));
        QCOMPARE(session_.SettingsFile().TreasureInfoInd(), false);
        QVERIFY(window.isNull() || !window->isVisible());
    }
};

}  // namespace brix

QTEST_MAIN(brix::OptionsSheetUiTest)
#include "OptionsSheetUiTest.moc"
