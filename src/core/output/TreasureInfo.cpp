#include "core/output/TreasureInfo.h"

#include <algorithm>
#include <span>

#include "core/base/Settings.h"
#include "core/data/MapFilter.h"
#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/output/InfoText.h"

namespace brix {

TreasureInfoModel::TreasureInfoModel(const Session& session)
    : session_(session), items_(TreasureItems(session.GetWorld())) {
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
    return StepTreasure(session_.GetWorld(), SelectedTreasure(), forward, &session_.Filter());
}

bool TreasureInfoModel::Step(bool forward) {
    const int target = StepTarget(forward);
    if (target < 1) return false;
    SelectTreasure(target);
    return true;
}

std::string TreasureInfoModel::Text() const {
    const Treasure* treasure = session_.GetWorld().FindTreasure(SelectedTreasure());
    if (treasure == nullptr) return std::string();
    return BuildTreasureText(session_, *treasure, false);
}

IntRect TreasureInfoModel::CloseUpSource() const {
    const Treasure* treasure = session_.GetWorld().FindTreasure(SelectedTreasure());
    if (treasure == nullptr) return IntRect{};
    const QSize multimap = session_.GetWorld().Drawing.MultimapSize;
    return CenterSourceRect(PanelStyle::Scroll, treasure->Location.X, treasure->Location.Y,
                            InfoCloseUpWidth, InfoCloseUpHeight, std::max(0, multimap.width()),
                            std::max(0, multimap.height()));
}

void DrawTreasureCloseUp(QPainter& painter, const Session& session,
                         const TreasureInfoModel& model) {
    constexpr IntRect area{0, 0, InfoCloseUpWidth, InfoCloseUpHeight};
    const int selected = model.SelectedTreasure();
    if (selected >= 1) {
        DrawMapPanel(painter, session, PanelStyle::Scroll, true, AutomaticColour, area,
                     model.CloseUpSource(), std::span<const int>(&selected, 1), false,
                     &session.Filter(), false);
    } else {
        DrawPanel(painter, session.GetWorld().Drawing, PanelStyle::Scroll, true, AutomaticColour,
                  area);
    }
}

}  // namespace brix
