#include <QApplication>
#include <QColorDialog>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

#include <optional>
#include <vector>

#include "core/base/ColourPalette.h"
#include "ui/dialogs/ColorPickerButton.h"

namespace brix {

class ColorPickerButtonUiTest : public QObject {
    Q_OBJECT

    // A shown window holding one button; the colour chooser answers ChooserAnswer and records
    // what it was started with.
    struct Fixture {
        QWidget Window;
        ColorPickerButton* Button = nullptr;
        std::optional<QColor> ChooserAnswer;
        std::vector<QColor> ChooserStarts;

        explicit Fixture(std::uint32_t colour) {
            auto* layout = new QVBoxLayout(&Window);
            Button = new ColorPickerButton(&Window);
            Button->SetDefaultColour(QColor(148, 24, 0));
            Button->SetColour(colour);
            Button->SetColourChooser([this](QWidget* owner, QColor start) {
                if (owner != Button) qFatal("chooser not owned by the button");
                ChooserStarts.push_back(start);
                return ChooserAnswer;
            });
            layout->addWidget(Button);
            layout->addStretch(1);
            Window.resize(300, 400);
            Window.show();
            if (!QTest::qWaitForWindowExposed(&Window)) qFatal("window not exposed");
        }
        ColourPalettePopup& Drop() {
            Button->DropPalette();
            ColourPalettePopup* palette = Button->Palette();
            if (palette == nullptr || !palette->isVisible()) qFatal("no palette");
            return *palette;
        }
        // The colour painted in the middle of the swatch.
        QColor SwatchPixel() const {
            const QImage image = Button->grab().toImage();
            return image.pixelColor(image.width() / 3, image.height() / 2);
        }
    };

    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

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
            int chooserRuns;
            Qt::MouseButton button = Qt::NoButton;  // pressed and released on red, or outside
            bool onRed = false;
        };
        using K = std::vector<Qt::Key>;
        const std::uint32_t blue = ColourRef(0, 0, 255);
        // clang-format off
        const Row rows[] = {
            {"Red: two rows down from Black", AutomaticColour,
             K{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, {}, 255, 0},
            {"Escape keeps Default", AutomaticColour, K{Qt::Key_Right, Qt::Key_Escape}, {},
             AutomaticColour, 0},
            {"Enter with nothing selected", 255, K{Qt::Key_Return}, {}, 255, 0},
            {"More Colors... cancelled", 255, K{Qt::Key_Left, Qt::Key_Enter}, std::nullopt, 255, 1},
            {"More Colors... confirmed", 255, K{Qt::Key_Left, Qt::Key_Return}, QColor(1, 2, 3),
             ColourRef(1, 2, 3), 1},
            {"Left click on red", blue, {}, {}, 255, 0, Qt::LeftButton, true},
            {"Right click on red", blue, {}, {}, blue, 0, Qt::RightButton, true},
            {"Click outside", blue, {}, {}, blue, 0, Qt::LeftButton, false},
        };
        // clang-format on
        for (const Row& row : rows) {
            Fixture f(row.start);
            f.ChooserAnswer = row.chooserAnswer;
            QSignalSpy changed(f.Button, &ColorPickerButton::ColourChanged);
            ColourPalettePopup& palette = f.Drop();
            for (Qt::Key key : row.keys) QTest::keyClick(&palette, key);
            if (row.button != Qt::NoButton) {
                const QPoint at = row.onRed ? palette.ItemRect(16).center() : QPoint(-20, -20);
                QTest::mousePress(&palette, row.button, {}, at);
                QTest::mouseRelease(&palette, row.button, {}, at);
            }
            Settle();
            QVERIFY2(f.Button->Palette() == nullptr, row.name);
            QVERIFY2(f.Button->Colour() == row.result, row.name);
            QVERIFY2(changed.size() == (row.result != row.start ? 1 : 0), row.name);
            QVERIFY2(static_cast<int>(f.ChooserStarts.size()) == row.chooserRuns, row.name);
            if (row.chooserRuns > 0) QCOMPARE(f.ChooserStarts.front(), QColor(255, 0, 0));
            QCOMPARE(f.SwatchPixel(), ColourOf(row.result, QColor(148, 24, 0)));
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
};

}  // namespace brix

QTEST_MAIN(brix::ColorPickerButtonUiTest)
#include "ColorPickerButtonUiTest.moc"
