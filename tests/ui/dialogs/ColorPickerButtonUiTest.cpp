#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <optional>
#include <vector>

#include "core/base/ColourPalette.h"
#include "ui/dialogs/ColorPickerButton.h"

namespace brix {

class ColorPickerButtonUiTest : public QObject {
    Q_OBJECT

    // A shown window holding one button; the colour chooser answers `chooserAnswer` and
    // records what it was started with.
    struct Fixture {
        QWidget Window;
        ColorPickerButton* Button = nullptr;
        std::optional<QColor> ChooserAnswer;
        std::vector<QColor> ChooserStarts;

        explicit Fixture(std::uint32_t colour) {
            auto* layout = new QVBoxLayout(&Window);
            Button = new ColorPickerButton(&Window);
            Button->SetDefaultColour(QColor(148, 24, 0));
            Button->SetDefaultText(QStringLiteral("Default"));
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
    // The swatch shows the default colour for Default, else the value; the palette frames the
    // item holding the value when it opens.
    void swatchAndCurrentItem() {
        struct Row {
            std::uint32_t colour;
            QColor swatch;
            int current;
        };
        const Row rows[] = {
            {AutomaticColour, QColor(148, 24, 0), PaletteItem::Default},
            {255, QColor(255, 0, 0), 16},
            {ColourRef(1, 2, 3), QColor(1, 2, 3), PaletteItem::Custom},  // no palette colour
        };
        for (const Row& row : rows) {
            Fixture f(row.colour);
            QCOMPARE(f.Button->SwatchColour(), row.swatch);
            QCOMPARE(f.SwatchPixel(), row.swatch);
            ColourPalettePopup& palette = f.Drop();
            QCOMPARE(palette.CurrentItem(), row.current);
            QCOMPARE(palette.SelectedItem(), PaletteItem::None);
            QTest::keyClick(&palette, Qt::Key_Escape);
            Settle();
            QVERIFY(f.Button->Palette() == nullptr);
        }
    }

    // The keys of the palette, with the value they leave and whether the colour chooser ran.
    void keyboard() {
        struct Row {
            const char* name;
            std::uint32_t start;
            std::vector<Qt::Key> keys;
            std::optional<QColor> chooserAnswer;
            std::uint32_t result;
            int chooserRuns;
        };
        using K = std::vector<Qt::Key>;
        // clang-format off
        const Row rows[] = {
            {"Red: two rows down from Black", AutomaticColour,
             K{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, {}, 255, 0},
            {"Space chooses too", 255, K{Qt::Key_Right, Qt::Key_Right, Qt::Key_Space}, {}, 0, 0},
            {"Escape keeps the value", 255, K{Qt::Key_Right, Qt::Key_Escape}, {}, 255, 0},
            {"Enter with nothing selected", 255, K{Qt::Key_Return}, {}, 255, 0},
            {"More Colors... cancelled", 255, K{Qt::Key_Left, Qt::Key_Enter}, std::nullopt, 255, 1},
            {"More Colors... confirmed", 255, K{Qt::Key_Left, Qt::Key_Return}, QColor(1, 2, 3),
             ColourRef(1, 2, 3), 1},
        };
        // clang-format on
        for (const Row& row : rows) {
            Fixture f(row.start);
            f.ChooserAnswer = row.chooserAnswer;
            QSignalSpy changed(f.Button, &ColorPickerButton::ColourChanged);
            ColourPalettePopup& palette = f.Drop();
            for (Qt::Key key : row.keys) QTest::keyClick(&palette, key);
            Settle();
            QVERIFY2(f.Button->Palette() == nullptr, row.name);
            QVERIFY2(f.Button->Colour() == row.result, row.name);
            QVERIFY2(changed.size() == (row.result != row.start ? 1 : 0), row.name);
            QVERIFY2(static_cast<int>(f.ChooserStarts.size()) == row.chooserRuns, row.name);
            if (row.chooserRuns > 0) QCOMPARE(f.ChooserStarts.front(), QColor(255, 0, 0));
        }
    }

    // The pointer: a release on a cell chooses it; a right click and a click outside change
    // nothing. The cells are named for the tooltips.
    void mouse() {
        struct Row {
            const char* name;
            std::function<void(ColourPalettePopup&)> act;
            std::uint32_t result;
        };
        const auto clickAt = [](Qt::MouseButton button,
                                std::function<QPoint(ColourPalettePopup&)> at) {
            return [button, at](ColourPalettePopup& p) {
                QTest::mousePress(&p, button, {}, at(p));
                QTest::mouseRelease(&p, button, {}, at(p));
            };
        };
        const auto red = [](ColourPalettePopup& p) { return p.ItemRect(16).center(); };
        const Row rows[] = {
            {"left click on Red", clickAt(Qt::LeftButton, red), 255},
            {"right click on Red", clickAt(Qt::RightButton, red), ColourRef(0, 0, 255)},
            {"click outside",
             clickAt(Qt::LeftButton, [](ColourPalettePopup&) { return QPoint(-20, -20); }),
             ColourRef(0, 0, 255)},
        };
        for (const Row& row : rows) {
            Fixture f(ColourRef(0, 0, 255));
            ColourPalettePopup& palette = f.Drop();
            QCOMPARE(palette.ItemName(16), QStringLiteral("Red"));
            QCOMPARE(palette.ItemName(35), QStringLiteral("Pale green "));
            QCOMPARE(palette.ItemName(PaletteItem::Custom), QStringLiteral("More Colors..."));
            row.act(palette);
            Settle();
            QVERIFY2(f.Button->Palette() == nullptr, row.name);
            QVERIFY2(f.Button->Colour() == row.result, row.name);
        }
    }
};

}  // namespace brix

QTEST_MAIN(brix::ColorPickerButtonUiTest)
#include "ColorPickerButtonUiTest.moc"
