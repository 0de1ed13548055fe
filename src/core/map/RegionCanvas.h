#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/data/Records.h"

class QPainter;

namespace brix {

class Session;

// The region map's fixed canvas: the map scroll on the right, and on the left the selected
// treasure's title, a close-up scroll and its coordinates, each centred in the side panel.
namespace RegionLayout {
constexpr int CanvasWidth = 760;
constexpr int CanvasHeight = 440;
constexpr int SidePanelWidth = 280;
constexpr int TitleWidth = 211;
constexpr int TitleHeight = 50;
constexpr int CloseUpWidth = 246;
constexpr int CloseUpHeight = 262;
constexpr int CoordinatesWidth = 276;
constexpr int CoordinatesHeight = 50;
// Space between the title box and the close-up.
constexpr int TitleGap = 10;

constexpr int CentredLeft(int width) {
    return (SidePanelWidth - width) / 2;
}
constexpr int CloseUpTop = (CanvasHeight - CloseUpHeight) / 2;
constexpr int TitleTop = CloseUpTop - TitleHeight - TitleGap;
// The coordinates box sits as far above the bottom edge as the title box sits below the top.
constexpr int CoordinatesBottom = CanvasHeight - TitleTop;

constexpr IntRect SidePanel{0, 0, SidePanelWidth, CanvasHeight};
constexpr IntRect MapArea{SidePanelWidth, 0, CanvasWidth, CanvasHeight};
constexpr IntRect TitleBox{CentredLeft(TitleWidth), TitleTop, CentredLeft(TitleWidth) + TitleWidth,
                           TitleTop + TitleHeight};
constexpr IntRect CloseUp{CentredLeft(CloseUpWidth), CloseUpTop,
                          CentredLeft(CloseUpWidth) + CloseUpWidth, CloseUpTop + CloseUpHeight};
constexpr IntRect CoordinatesBox{
    CentredLeft(CoordinatesWidth), CoordinatesBottom - CoordinatesHeight,
    CentredLeft(CoordinatesWidth) + CoordinatesWidth, CoordinatesBottom};
}  // namespace RegionLayout

// The colour of everything on the region canvas that is not map or frame (0x00BBGGRR).
constexpr std::uint32_t ParchmentColour = 0x0094CCE8u;

// The longest treasure name the title above the close-up shows, in characters.
constexpr int MaxTitleCharacters = 127;

// What the region view shows and which treasure is selected, without any window. Reads the
// catalogue's treasures, display settings, drawing resources and global filter; label geometry
// must have been computed.
class RegionCanvas {
public:
    explicit RegionCanvas(const Session& session);

    // Called with a canvas rectangle whenever part of the picture has changed.
    std::function<void(const IntRect&)> Invalidate;

    // Shows a region. treasure -1 selects its lowest-numbered treasure, 0 none, and any other
    // number that treasure when it lies in the region, otherwise the lowest-numbered one.
    void ShowRegion(int region, int treasure);

    // Selects the treasure when it lies in the shown region, nothing for 0, and otherwise the
    // region's lowest-numbered treasure (none when the region has no treasure).
    void SelectTreasure(int treasure);

    int CurrentRegion() const { return currentRegion_; }
    int SelectedTreasure() const { return selectedTreasure_; }
    // The shown region's treasures in drawing order.
    const std::vector<int>& RegionTreasures() const { return regionTreasures_; }
    // The multimap windows of the map scroll and of the close-up.
    const IntRect& SourceRect() const { return sourceRect_; }
    const IntRect& CloseUpSource() const { return closeUpSource_; }

    // The region's treasure under a canvas point: a label first (only those that are drawn),
    // else the tack whose head centre lies nearest and closer than 8 pixels; 0 for none.
    int HitTestTreasure(QPoint canvasPoint) const;

    // The treasure under the pointer and the one the left button went down on; 0 for none.
    int HoverTreasure() const { return hoverTreasure_; }
    int PressedTreasure() const { return pressedTreasure_; }
    // Hit-tests the pointer's place; true when the treasure under it changed.
    bool MovePointer(QPoint canvasPoint);
    // The pointer has left the view, or its place is no longer known.
    void ForgetPointer() { hoverTreasure_ = 0; }
    void PressButton(QPoint canvasPoint) { pressedTreasure_ = HitTestTreasure(canvasPoint); }
    // Selects the treasure under the point when the button went down on that same treasure.
    void ReleaseButton(QPoint canvasPoint);

    // The lowest Index among the region's treasures, 0 when it has none.
    int LowestTreasure() const;

    // The treasure that Treasure Information opens: the selected one, else the lowest.
    int InformationTreasure() const;

    // Whether a step to the next (forward) or previous region or treasure, in Index order and
    // honouring the global filter, finds one.
    bool CanStepRegion(bool forward) const;
    bool CanStepTreasure(bool forward) const;
    // Carries the step out: a region shows with its lowest-numbered treasure selected; a treasure
    // of another region shows that region. A step that finds nothing changes nothing.
    void StepRegion(bool forward);
    void StepTreasure(bool forward);

    // The text of the title box, empty without a selection.
    std::string TitleText() const;
    // The text of the coordinates box, empty without a selection.
    std::string CoordinatesText() const;

    const Session& GetSession() const { return session_; }

private:
    void InvalidateRect(const IntRect& rect) const;

    const Session& session_;
    int currentRegion_ = 0;
    std::vector<int> regionTreasures_;
    IntRect sourceRect_;
    int selectedTreasure_ = 0;
    IntRect closeUpSource_;
    int hoverTreasure_ = 0;
    int pressedTreasure_ = 0;
};

// Paints the canvas, then fills with parchment whatever of `clientArea` (in canvas coordinates)
// lies right of or below it. The painter's coordinates are canvas coordinates.
void DrawRegionCanvas(QPainter& painter, const RegionCanvas& canvas, const QRect& clientArea);

}  // namespace brix
