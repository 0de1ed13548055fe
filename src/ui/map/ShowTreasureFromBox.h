#pragma once

class QWidget;

namespace brix {

struct GameRecords;
class MapViewHost;

// Shows the region view with the treasure selected, for a box that stays open beside the main
// window (the find box, the identify window). Switching the main window's view may hand that
// window the activation, now or once the events it posts are handled; a box that was active
// takes it back then, so the user can go on to the next candidate from the keyboard. False,
// doing nothing, for a treasure the records do not hold.
bool ShowTreasureFromBox(QWidget& box, MapViewHost& host, const GameRecords& records, int treasure);

}  // namespace brix
