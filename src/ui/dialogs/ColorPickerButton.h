#pragma once

#include <QColor>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

#include "core/base/ColourPalette.h"

namespace brix {

class ColourPalettePopup;

// A push button that chooses a colour: it shows the current colour as a swatch beside a
// drop-down arrow, and pressing it drops a palette of a default item, 40 named cells and a
// "More Colors..." item that opens the colour chooser. The value is kept as the settings file
// stores it (AutomaticColour for the default item); the button keeps no settings of its own.
class ColorPickerButton : public QPushButton {
    Q_OBJECT
public:
    // The system colour chooser, replaceable so that tests never block on it: given the owner
    // and the starting colour, the chosen colour or nothing when cancelled.
    using ColourChooser = std::function<std::optional<QColor>(QWidget* owner, QColor start)>;

    // The default: Qt's colour dialog, with 16 custom colours kept for the run only.
    static ColourChooser SystemChooser();

    explicit ColorPickerButton(QWidget* parent = nullptr);
    ~ColorPickerButton() override;

    std::uint32_t Colour() const { return colour_; }
    void SetColour(std::uint32_t colour);
    // What the swatch shows while the value is AutomaticColour.
    QColor DefaultColour() const { return defaultColour_; }
    void SetDefaultColour(const QColor& colour);
    // The texts of the top and bottom items; an empty text removes the item.
    void SetDefaultText(const QString& text) { defaultText_ = text; }
    void SetCustomText(const QString& text) { customText_ = text; }
    const QString& DefaultText() const { return defaultText_; }
    const QString& CustomText() const { return customText_; }
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    // The colour the swatch shows now.
    QColor SwatchColour() const;
    // The open palette, or null.
    ColourPalettePopup* Palette() const { return palette_; }
    // Drops the palette (what pressing the button does).
    void DropPalette();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // The value changed through the palette or the colour chooser.
    void ColourChanged(std::uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PaletteClosed(int item, bool ok);

    std::uint32_t colour_ = AutomaticColour;
    QColor defaultColour_;
    QString defaultText_;
    QString customText_;
    ColourChooser chooser_;
    QPointer<ColourPalettePopup> palette_;
};

// The palette window a ColorPickerButton drops: a pop-up that keeps the pointer and the keys
// while it is open. It ends with Chosen(item, true) for a picked item, or (item, false) when
// it was dismissed (Escape, a right click, a click outside, a release on no item).
class ColourPalettePopup : public QWidget {
    Q_OBJECT
public:
    ColourPalettePopup(std::uint32_t current, const QString& defaultText, const QString& customText,
                       QWidget* parent);

    int CurrentItem() const { return current_; }
    int SelectedItem() const { return selected_; }
    // The item's rectangle in the window; empty for none or a missing item.
    QRect ItemRect(int item) const;
    int ItemAt(QPoint point) const;
    // The name shown for the item (a cell's colour name, or the item's text).
    QString ItemName(int item) const;

Q_SIGNALS:
    void Chosen(int item, bool ok);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Select(int item);
    void End(bool ok);
    void DrawItem(QPainter& painter, int item);

    QString defaultText_;
    QString customText_;
    PaletteItems items_;
    int current_ = PaletteItem::None;
    int selected_ = PaletteItem::None;
    QRect defaultRect_;
    QRect cellsRect_;
    QRect customRect_;
    bool ended_ = false;
};

}  // namespace brix
