#include "core/hunt/MatchTexts.h"

#include <algorithm>
#include <cmath>

#include "core/base/Strings.h"

namespace brix {

MatchTexts DescribeMatch(const GameRecords& records, const MapMatch& match) {
    MatchTexts texts;
    texts.Number = std::to_string(match.Treasure);
    const int percent = std::max(0, static_cast<int>(std::lround(match.Score * 100)));
    texts.Score = FormatText(LoadString(StringId::IdentifyScoreFormat), {percent});
    const Treasure* treasure = records.FindTreasure(match.Treasure);
    if (treasure == nullptr) return texts;
    texts.Name = treasure->Name;
    if (const Region* region = records.FindRegion(treasure->Region)) texts.Region = region->Name;
    return texts;
}

std::string PictureProblemText(const MapPicture& picture, const std::string& name) {
    const int width = picture.ClaimedSize.width();
    const int height = picture.ClaimedSize.height();
    switch (picture.Status) {
        case PictureStatus::Ready:
            return std::string();
        case PictureStatus::Unreadable:
            return FormatText(LoadString(StringId::IdentifyUnreadable), {name});
        case PictureStatus::TooLarge:
            return FormatText(LoadString(StringId::IdentifyTooLarge), {name, width, height});
        case PictureStatus::TooSmall:
            return FormatText(LoadString(StringId::IdentifyTooSmall), {name, width, height});
    }
    return std::string();
}

}  // namespace brix
