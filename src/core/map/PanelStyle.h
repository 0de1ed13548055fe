#pragma once

namespace brix {

// The frame of a map picture.
enum class PanelStyle { None = 0, DoubleLine = 1, Scroll = 2 };

// Insets between a panel's outer rectangle and its interior.
struct PanelMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

constexpr PanelMargins MarginsOf(PanelStyle style) {
    switch (style) {
        case PanelStyle::DoubleLine:
            return {2, 2, 2, 2};
        case PanelStyle::Scroll:
            return {38, 38, 38, 48};
        case PanelStyle::None:
            break;
    }
    return {0, 0, 0, 0};
}

}  // namespace brix
