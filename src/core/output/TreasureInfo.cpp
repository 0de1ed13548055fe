#include "core/output/TreasureInfo.h"

#include <algorithm>
#include <span>

#include "core/base/Settings.h"
#include "core/data/MapFilter.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/output/InfoText.h"

namespace brix {

TreasureInfoModel::TreasureInfoModel(const TreasureCatalog& catalog)
    : catalog_(catalog), items_(TreasureItems(catalog)) {
    SelectTreasure(0);
}

void TreasureInfoModel::SelectTreasure(int treasure) {
    // Found by the whole number, never by a prefix of the text: asking for 1 while 10 to 19
    // exist selects treasure 1.
    position_ = PositionOfNumber(items_, treasure);
}

void TreasureInfoModel::SelectPosition(int position) {
    position_ = position >= 0 && position < static_cast<int>(items_.size()) ? position : -1;
}

int TreasureInfoModel::SelectedTreasure() const {
    return position_ >= 0 ? items_[static_cast<std::size_t>(position_)].Number : 0;
}

int TreasureInfoModel::StepTarget(bool forward) const {
    return StepTreasure(catalog_, SelectedTreasure(), forward, &catalog_.Filter());
}

bool TreasureInfoModel::Step(bool forward) {
    const int target = StepTarget(forward);
    if (target < 1) return false;
    SelectTreasure(target);
    return true;
}

std::string TreasureInfoModel::Text() const {
    const Treasure* treasure = catalog_.FindTreasure(SelectedTreasure());
    if (treasure == nullptr) return std::string();
    return BuildTreasureText(catalog_, *treasure, false);
}

IntRect TreasureInfoModel::CloseUpSource() const {
    return TreasureCloseUpSource(catalog_, SelectedTreasure());
}

IntRect TreasureCloseUpSource(const TreasureCatalog& catalog, int treasure) {
    const Treasure* record = catalog.FindTreasure(treasure);
    if (record == nullptr) return IntRect{};
    const QSize multimap = catalog.Drawing.MultimapSize;
    return CenterSourceRect(PanelStyle::Scroll, record->Location.X, record->Location.Y,
                            InfoCloseUpWidth, InfoCloseUpHeight, std::max(0, multimap.width()),
                            std::max(0, multimap.height()));
}

void DrawTreasureCloseUp(QPainter& painter, const TreasureCatalog& catalog, int treasure) {
    constexpr IntRect area{0, 0, InfoCloseUpWidth, InfoCloseUpHeight};
    if (treasure >= 1 && catalog.FindTreasure(treasure) != nullptr) {
        DrawMapPanel(painter, catalog, PanelStyle::Scroll, true, AutomaticColour, area,
                     TreasureCloseUpSource(catalog, treasure), std::span<const int>(&treasure, 1),
                     false, &catalog.Filter(), false);
    } else {
        DrawPanel(painter, catalog.Drawing, PanelStyle::Scroll, true, AutomaticColour, area);
    }
}

void DrawTreasureCloseUp(QPainter& painter, const TreasureCatalog& catalog,
                         const TreasureInfoModel& model) {
    DrawTreasureCloseUp(painter, catalog, model.SelectedTreasure());
}

}  // namespace brix
