#include "core/map/RegionCanvas.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <span>

#include "core/base/Strings.h"
#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"

namespace brix {
namespace {

// A click counts for a tack when it lies closer than this to the centre of the tack's head.
constexpr long long TackHitRadius = 8;

// Cuts UTF-8 text after `limit` characters, never inside one.
std::string CutToCharacters(std::string text, int limit) {
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (characters == limit) {
            text.resize(i);
            break;
        }
        ++characters;
    }
    return text;
}

void Fill(QPainter& painter, int left, int top, int right, int bottom, std::uint32_t colour) {
    if (right <= left || bottom <= top) return;
    painter.fillRect(QRect(left, top, right - left, bottom - top),
                     QColor::fromRgb(RgbFromColourRef(colour)));
}

}  // namespace

RegionCanvas::RegionCanvas(const Session& session) : session_(session) {}

void RegionCanvas::InvalidateRect(const IntRect& rect) const {
    if (Invalidate) Invalidate(rect);
}

void RegionCanvas::ShowRegion(int region, int treasure) {
    currentRegion_ = region;
    RegionTreasureList list = BuildRegionTreasureList(session_.GetWorld(), region);
    regionTreasures_ = std::move(list.Treasures);
    const QSize multimap = session_.GetWorld().Drawing.MultimapSize;
    sourceRect_ = CenterSourceRect(PanelStyle::Scroll, list.CentreX, list.CentreY,
                                   RegionLayout::MapArea.Right - RegionLayout::MapArea.Left,
                                   RegionLayout::MapArea.Bottom - RegionLayout::MapArea.Top,
                                   std::max(0, multimap.width()), std::max(0, multimap.height()));
    SelectTreasure(treasure);
    hoverTreasure_ = 0;
    InvalidateRect(RegionLayout::MapArea);
}

void RegionCanvas::SelectTreasure(int treasure) {
    if (treasure == 0) {
        selectedTreasure_ = 0;
    } else if (std::find(regionTreasures_.begin(), regionTreasures_.end(), treasure) !=
               regionTreasures_.end()) {
        selectedTreasure_ = treasure;
    } else {
        selectedTreasure_ = LowestTreasure();
    }
    const Treasure* selected = session_.GetWorld().FindTreasure(selectedTreasure_);
    if (selectedTreasure_ >= 1 && selected != nullptr) {
        const QSize multimap = session_.GetWorld().Drawing.MultimapSize;
        closeUpSource_ =
            CenterSourceRect(PanelStyle::Scroll, selected->Location.X, selected->Location.Y,
                             RegionLayout::CloseUpWidth, RegionLayout::CloseUpHeight,
                             std::max(0, multimap.width()), std::max(0, multimap.height()));
    }
    InvalidateRect(RegionLayout::SidePanel);
    InvalidateRect(RegionLayout::MapArea);
}

bool RegionCanvas::MovePointer(QPoint canvasPoint) {
    const int hover = HitTestTreasure(canvasPoint);
    if (hover == hoverTreasure_) return false;
    hoverTreasure_ = hover;
    return true;
}

void RegionCanvas::ReleaseButton(QPoint canvasPoint) {
    const int released = HitTestTreasure(canvasPoint);
    if (released >= 1 && released == pressedTreasure_) SelectTreasure(released);
}

int RegionCanvas::LowestTreasure() const {
    if (regionTreasures_.empty()) return 0;
    return *std::min_element(regionTreasures_.begin(), regionTreasures_.end());
}

int RegionCanvas::InformationTreasure() const {
    return selectedTreasure_ != 0 ? selectedTreasure_ : LowestTreasure();
}

int RegionCanvas::HitTestTreasure(QPoint canvasPoint) const {
    // Tacks and labels that spill over the side panel or past the canvas are painted over
    // there, so only the map area can pick a treasure.
    const IntRect& map = RegionLayout::MapArea;
    if (canvasPoint.x() < map.Left || canvasPoint.x() >= map.Right || canvasPoint.y() < map.Top ||
        canvasPoint.y() >= map.Bottom)
        return 0;
    const PanelMargins margins = MarginsOf(PanelStyle::Scroll);
    const long long innerLeft = RegionLayout::MapArea.Left + margins.Left;
    const long long innerTop = RegionLayout::MapArea.Top + margins.Top;
    // Tacks and labels are drawn shifted by the correction; undo it before comparing.
    const IntPoint correction =
        ApplyTackCorrection({0, 0}, session_.GetPrefs().Display.TacksCorrect);
    const long long px = canvasPoint.x() - innerLeft - correction.X;
    const long long py = canvasPoint.y() - innerTop - correction.Y;

    // Labels lie on top of the tacks, so they are tried first. A label that is not drawn
    // cannot be clicked.
    const long long qx = sourceRect_.Left + px;
    const long long qy = sourceRect_.Top + py;
    const MapFilter& filter = session_.Filter();
    for (const int index : regionTreasures_) {
        const Treasure* treasure = session_.GetWorld().FindTreasure(index);
        if (treasure == nullptr) continue;
        if (filter.OnlyLabelsWithMaps && !filter.TreasureFlag(index)) continue;
        if (treasure->LeaderLine.X1 == 0 && treasure->LeaderLine.Y1 == 0) continue;
        const IntRect& label = treasure->LabelRect;
        if (label.Left <= qx && qx < label.Right && label.Top <= qy && qy < label.Bottom)
            return index;
    }

    // Every tack counts, whatever the filter; the nearest head wins, the earlier on a tie.
    const long long tx = px - TackHeadCentre.X;
    const long long ty = py - TackHeadCentre.Y;
    int best = 0;
    long long bestDistance = TackHitRadius * TackHitRadius;
    for (const int index : regionTreasures_) {
        const Treasure* treasure = session_.GetWorld().FindTreasure(index);
        if (treasure == nullptr) continue;
        const long long dx =
            tx - (treasure->Location.X / 2 - static_cast<long long>(sourceRect_.Left));
        const long long dy =
            ty - (treasure->Location.Y / 2 - static_cast<long long>(sourceRect_.Top));
        // Far-off points are passed over before squaring, which could overflow.
        if (std::llabs(dx) >= TackHitRadius || std::llabs(dy) >= TackHitRadius) continue;
        const long long distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    return best;
}

bool RegionCanvas::CanStepRegion(bool forward) const {
    return brix::StepRegion(session_.GetWorld(), currentRegion_, forward, &session_.Filter()) >= 1;
}

bool RegionCanvas::CanStepTreasure(bool forward) const {
    return brix::StepTreasure(session_.GetWorld(), selectedTreasure_, forward,
                              &session_.Filter()) >= 1;
}

void RegionCanvas::StepRegion(bool forward) {
    const int region =
        brix::StepRegion(session_.GetWorld(), currentRegion_, forward, &session_.Filter());
    if (region >= 1) ShowRegion(region, -1);
}

void RegionCanvas::StepTreasure(bool forward) {
    const int index =
        brix::StepTreasure(session_.GetWorld(), selectedTreasure_, forward, &session_.Filter());
    const Treasure* treasure = session_.GetWorld().FindTreasure(index);
    if (treasure == nullptr) return;
    if (treasure->Region != currentRegion_)
        ShowRegion(treasure->Region, index);
    else
        SelectTreasure(index);
}

std::string RegionCanvas::TitleText() const {
    const Treasure* treasure = session_.GetWorld().FindTreasure(selectedTreasure_);
    if (selectedTreasure_ == 0 || treasure == nullptr) return std::string();
    // The limit is the name's own, so a long name never loses the number in front of it.
    return FormatText("%d - %s",
                      {selectedTreasure_, CutToCharacters(treasure->Name, MaxTitleCharacters)});
}

std::string RegionCanvas::CoordinatesText() const {
    const Treasure* treasure = session_.GetWorld().FindTreasure(selectedTreasure_);
    if (selectedTreasure_ == 0 || treasure == nullptr) return std::string();
    return SextantText(treasure->Location.X, treasure->Location.Y, 128);
}

void DrawRegionCanvas(QPainter& painter, const RegionCanvas& canvas, const QRect& clientArea) {
    using namespace RegionLayout;
    const Session& session = canvas.GetSession();
    const DrawingResources& drawing = session.GetWorld().Drawing;
    const MapFilter* filter = &session.Filter();

    painter.save();
    // Labels are backed with parchment and written in black.
    painter.setBackground(QColor::fromRgb(RgbFromColourRef(ParchmentColour)));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QColor(Qt::black));

    DrawMapPanel(painter, session, PanelStyle::Scroll, true, ParchmentColour, MapArea,
                 canvas.SourceRect(), canvas.RegionTreasures(), true, filter, false);
    // Tacks and labels near the map's left edge may have spilled over; the side panel covers
    // them.
    Fill(painter, SidePanel.Left, SidePanel.Top, SidePanel.Right, SidePanel.Bottom,
         ParchmentColour);
    DrawTextPanel(painter, drawing, PanelStyle::DoubleLine, true, ParchmentColour, TitleBox,
                  canvas.TitleText());
    const int selected = canvas.SelectedTreasure();
    if (selected != 0) {
        DrawMapPanel(painter, session, PanelStyle::Scroll, true, ParchmentColour, CloseUp,
                     canvas.CloseUpSource(), std::span<const int>(&selected, 1), false, filter,
                     false);
    } else {
        DrawPanel(painter, drawing, PanelStyle::Scroll, true, ParchmentColour, CloseUp);
    }
    DrawTextPanel(painter, drawing, PanelStyle::DoubleLine, true, ParchmentColour, CoordinatesBox,
                  canvas.CoordinatesText());

    // Beyond the canvas, including whatever labels spilled past its right and bottom edges.
    const int clientRight = clientArea.x() + clientArea.width();
    const int clientBottom = clientArea.y() + clientArea.height();
    if (clientRight > CanvasWidth)
        Fill(painter, CanvasWidth, 0, clientRight, clientBottom, ParchmentColour);
    if (clientBottom > CanvasHeight)
        Fill(painter, 0, CanvasHeight, CanvasWidth, clientBottom, ParchmentColour);
    painter.restore();
}

}  // namespace brix
