#pragma once

#include <string>
#include <vector>

#include "core/data/NumberedItems.h"
#include "core/data/Records.h"

class QPainter;

namespace brix {

class Session;

// The close-up map of the Treasure Information window, in pixels.
constexpr int InfoCloseUpWidth = 246;
constexpr int InfoCloseUpHeight = 262;

// What the Treasure Information window shows, without any window: the list of every treasure
// ("%d - %s" in slot order), which of them is selected, its full information text and the
// multimap window of its close-up. Reads the catalogue's treasures, current character and rune
// library, global filter and multimap size; the list is taken once, as the world's treasures
// do not change while the program runs.
class TreasureInfoModel {
public:
    // Lists the treasures and selects the first one (none when there are none).
    explicit TreasureInfoModel(const Session& session);

    const std::vector<NumberedItem>& Items() const { return items_; }

    // Selects the item of that treasure; the first item when no item has it, also for 0 and
    // below. Nothing is selected only while the list is empty.
    void SelectTreasure(int treasure);
    // Selects the item at that list position (the user picked it); a position outside the
    // list selects nothing.
    void SelectPosition(int position);

    // The list position of the selection, -1 for none.
    int SelectedPosition() const { return position_; }
    // The Index of the selected treasure, 0 for none.
    int SelectedTreasure() const;

    // The treasure that Next (forward) or Previous Treasure goes to: the next or previous one
    // by Index, skipping under the global filter's "only treasures with maps" those the current
    // character holds no map of; no wrap-around. 0 when there is none.
    int StepTarget(bool forward) const;
    // Selects the step's treasure; false, changing nothing, when there is none.
    bool Step(bool forward);

    // The selected treasure's full information text; empty while nothing is selected.
    std::string Text() const;
    // The multimap window of the close-up, centred on the selected treasure and kept inside
    // the multimap; empty while nothing is selected.
    IntRect CloseUpSource() const;

private:
    const Session& session_;
    std::vector<NumberedItem> items_;
    int position_ = -1;
};

// The multimap window of a treasure's close-up, centred on it and kept inside the multimap;
// empty for a treasure the catalogue does not hold.
IntRect TreasureCloseUpSource(const Session& session, int treasure);

// Paints the close-up of the treasure into the rectangle (0, 0, InfoCloseUpWidth,
// InfoCloseUpHeight): the scroll with the multimap and the treasure's tack in the colour of
// treasures with or without maps under the global filter, no label; the bare scroll for a
// treasure the catalogue does not hold. The scroll's transparent border leaves what the
// painter's device already holds there.
void DrawTreasureCloseUp(QPainter& painter, const Session& session, int treasure);
// The same for the model's selection.
void DrawTreasureCloseUp(QPainter& painter, const Session& session, const TreasureInfoModel& model);

}  // namespace brix
