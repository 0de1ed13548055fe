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
    return TreasureCloseUpSource(session_, SelectedTreasure());
}

IntRect TreasureCloseUpSource(const Session& session, int treasure) {
    const Treasure* record = session.GetWorld().FindTreasure(treasure);
    if (record == nullptr) return IntRect{};
    const QSize multimap = session.GetWorld().Drawing.MultimapSize;
    return CenterSourceRect(PanelStyle::Scroll, record->Location.X, record->Location.Y,
                            InfoCloseUpWidth, InfoCloseUpHeight, std::max(0, multimap.width()),
                            std::max(0, multimap.height()));
}

void DrawTreasureCloseUp(QPainter& painter, const Session& session, int treasure) {
    constexpr IntRect area{0, 0, InfoCloseUpWidth, InfoCloseUpHeight};
    if (treasure >= 1 && session.GetWorld().FindTreasure(treasure) != nullptr) {
        DrawMapPanel(painter, session, PanelStyle::Scroll, true, AutomaticColour, area,
                     TreasureCloseUpSource(session, treasure), std::span<const int>(&treasure, 1),
                     false, &session.Filter(), false);
    } else {
        DrawPanel(painter, session.GetWorld().Drawing, PanelStyle::Scroll, true, AutomaticColour,
                  area);
    }
}

void DrawTreasureCloseUp(QPainter& painter, const Session& session,
                         const TreasureInfoModel& model) {
    DrawTreasureCloseUp(painter, session, model.SelectedTreasure());
}

}  // namespace brix
