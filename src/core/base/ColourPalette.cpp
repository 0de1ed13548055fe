#include "core/base/ColourPalette.h"

namespace brix {

QColor ColourOf(std::uint32_t value, const QColor& automatic) {
    if (value == AutomaticColour) return automatic;
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ValueOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return ColourRef(rgb.red(), rgb.green(), rgb.blue());
}

const std::array<PaletteColour, PaletteCellCount>& PaletteColours() {
    static constexpr std::array<PaletteColour, PaletteCellCount> colours{{
        {ColourRef(0, 0, 0), "Black"},
        {ColourRef(165, 42, 0), "Brown"},
        {ColourRef(0, 64, 64), "Dark Olive Green"},
        {ColourRef(0, 85, 0), "Dark Green"},
        {ColourRef(0, 0, 94), "Dark Teal"},
        {ColourRef(0, 0, 139), "Dark blue"},
        {ColourRef(75, 0, 130), "Indigo"},
        {ColourRef(40, 40, 40), "Dark grey"},

        {ColourRef(139, 0, 0), "Dark red"},
        {ColourRef(255, 104, 32), "Orange"},
        {ColourRef(139, 139, 0), "Dark yellow"},
        {ColourRef(0, 147, 0), "Green"},
        {ColourRef(56, 142, 142), "Teal"},
        {ColourRef(0, 0, 255), "Blue"},
        {ColourRef(123, 123, 192), "Blue-grey"},
        {ColourRef(102, 102, 102), "Grey - 40"},

        {ColourRef(255, 0, 0), "Red"},
        {ColourRef(255, 173, 91), "Light orange"},
        {ColourRef(50, 205, 50), "Lime"},
        {ColourRef(60, 179, 113), "Sea green"},
        {ColourRef(127, 255, 212), "Aqua"},
        {ColourRef(125, 158, 192), "Light blue"},
        {ColourRef(128, 0, 128), "Violet"},
        {ColourRef(127, 127, 127), "Grey - 50"},

        {ColourRef(255, 192, 203), "Pink"},
        {ColourRef(255, 215, 0), "Gold"},
        {ColourRef(255, 255, 0), "Yellow"},
        {ColourRef(0, 255, 0), "Bright green"},
        {ColourRef(64, 224, 208), "Turquoise"},
        {ColourRef(192, 255, 255), "Skyblue"},
        {ColourRef(72, 0, 72), "Plum"},
        {ColourRef(192, 192, 192), "Light grey"},

        {ColourRef(255, 228, 225), "Rose"},
        {ColourRef(210, 180, 140), "Tan"},
        {ColourRef(255, 255, 224), "Light yellow"},
        {ColourRef(152, 251, 152), "Pale green "},
        {ColourRef(175, 238, 238), "Pale turquoise"},
        {ColourRef(104, 131, 139), "Pale blue"},
        {ColourRef(230, 230, 250), "Lavender"},
        {ColourRef(255, 255, 255), "White"},
    }};
    return colours;
}

int CurrentPaletteItem(std::uint32_t current, PaletteItems items) {
    if (current == AutomaticColour && items.HasDefault) return PaletteItem::Default;
    const auto& colours = PaletteColours();
    for (int i = 0; i < PaletteCellCount; ++i)
        if (colours[static_cast<std::size_t>(i)].Value == current) return i;
    return items.HasCustom ? PaletteItem::Custom : PaletteItem::None;
}

namespace {

// One step without skipping missing text items.
int RawStep(int from, int delta) {
    const bool forward = delta > 0;
    switch (from) {
        case PaletteItem::None:
            return forward ? PaletteItem::Default : PaletteItem::Custom;
        case PaletteItem::Default:
            return forward ? 0 : PaletteItem::Custom;
        case PaletteItem::Custom:
            return forward ? PaletteItem::Default : PaletteCellCount - 1;
        default: {
            const int next = from + delta;
            if (next >= PaletteCellCount) return PaletteItem::Custom;
            if (next < 0) return PaletteItem::Default;
            return next;
        }
    }
}

bool Offered(int item, PaletteItems items) {
    if (item == PaletteItem::Default) return items.HasDefault;
    if (item == PaletteItem::Custom) return items.HasCustom;
    return true;
}

}  // namespace

int StepPaletteItem(int from, int delta, PaletteItems items) {
    if (delta == 0) return from;
    int item = RawStep(from, delta);
    // At most both text items are missing: two more steps always reach a cell.
    for (int guard = 0; guard < 2 && !Offered(item, items); ++guard)
        item = RawStep(item, delta > 0 ? 1 : -1);
    return item;
}

std::uint32_t PickedValue(int item, std::uint32_t current) {
    if (item == PaletteItem::Default) return AutomaticColour;
    if (item >= 0 && item < PaletteCellCount)
        return PaletteColours()[static_cast<std::size_t>(item)].Value;
    return current;
}

QPoint PalettePosition(QSize size, const QRect& button, const QRect& workArea) {
    QPoint at(button.left(), button.bottom() + 1);
    if (at.x() + size.width() > workArea.right() + 1) at.setX(workArea.right() + 1 - size.width());
    if (at.x() < workArea.left()) at.setX(workArea.left());
    if (at.y() + size.height() > workArea.bottom() + 1) at.setY(button.top() - size.height());
    return at;
}

QColor CurrentItemBackground(const QColor& menu, const QColor& highlight) {
    const auto blend = [](int m, int h) { return (m * 207 + h * 48) / 256; };
    return QColor(blend(menu.red(), highlight.red()), blend(menu.green(), highlight.green()),
                  blend(menu.blue(), highlight.blue()));
}

}  // namespace brix
