#pragma once

#include <string>

namespace brix {

// What the map views need from the window that holds them (the main frame; tests use a
// recorder). Calls arrive on the user-interface thread.
class MapViewHost {
public:
    virtual ~MapViewHost() = default;

    // Shows the text in the status bar's simple mode, an empty text too (a region may have an
    // empty name, and that is what hovering it shows).
    virtual void ShowStatusText(const std::string& text) = 0;
    // Brings back the idle text, "Ready".
    virtual void ShowReadyText() = 0;

    // Shows the region view with that region; treasure -1 asks for its lowest-numbered treasure.
    virtual void ShowRegionView(int region, int treasure) = 0;

    // Entry points of windows and dialogs the region view opens.
    virtual void ShowTreasureInfo(int treasure) = 0;
    virtual void OpenMapInventory(int treasure, bool adding) = 0;
};

}  // namespace brix
