#pragma once

#include <string>
#include <vector>

#include "core/data/Session.h"
#include "ui/map/MapViewHost.h"

namespace brix::test {

// Regions 1 to 5 on a 2000 × 1600 multimap: region 1 holds treasures 1 and 3, region 2
// treasures 2 and 5, region 3 none. No treasure has a map. Labels measure 10 pixels per digit
// by 12 pixels: a two-digit label centred on E spans (E.x - 11, E.y - 7) to (E.x + 11, E.y + 7).
//
// Region 4 is the hit-test region. Its treasures span world (1000..1700, 800..1412), so its
// map shows the multimap window (473, 376)-(877, 730), and a multimap point q lands on the
// canvas at (q.x - 161, q.y - 340) while tacks are drawn uncorrected (TacksCorrect off), at
// (q.x - 155, q.y - 338) while they are drawn correctly. Head centres in multimap pixels:
//   20 (503, 394)   21 (503, 410)   23 (653, 394)   22 (603, 494)
//   26 (753, 594)   27 (763, 594)   30 (853, 694)   29 (853, 700)
// Treasure 22's label is centred on treasure 23's head: (642, 387)-(664, 401).
//
// Region 5 is wider than its map window (201, 323)-(605, 677): treasure 40's tack falls on the
// side panel right of the close-up (head on the canvas at (270, 207)) and treasure 41's beyond
// the canvas's right edge.
void FillRegionSession(Session& session);

// The program's own pictures, and a white multimap crossed by one black line at y = 500.
// Needs a GUI application.
void LoadRegionPictures(Session& session);

// Gives the current character (a new "Hunter" when there is none) a level-1 map of the
// treasure and recomputes the filter, so the treasure and its region count as having maps.
void GiveMap(Session& session, int treasure);

// Records what the map views ask of their window.
class RecordingHost : public MapViewHost {
public:
    void ShowStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    void ShowReadyText() override { StatusTexts.push_back(ReadyText); }
    void ShowRegionView(int region, int treasure) override {
        Calls.push_back("region " + std::to_string(region) + " " + std::to_string(treasure));
    }
    void ShowTreasureInfo(int treasure) override {
        Calls.push_back("info " + std::to_string(treasure));
    }
    void OpenMapInventory(int treasure, bool adding) override {
        Calls.push_back("inventory " + std::to_string(treasure) + (adding ? " add" : " remove"));
    }

    // What ShowReadyText records, so that an empty text and "Ready" stay apart.
    static constexpr const char* ReadyText = "<Ready>";
    std::vector<std::string> StatusTexts;
    std::vector<std::string> Calls;
};

}  // namespace brix::test
