#pragma once

#include <string>

#include "core/data/GameRecords.h"
#include "core/hunt/MapPictureFile.h"
#include "core/hunt/MapPictureMatcher.h"

namespace brix {

// The texts of one candidate as the identify window and the command line show them.
struct MatchTexts {
    std::string Number;
    std::string Name;
    std::string Region;  // empty when the treasure's region is unknown
    std::string Score;   // "83%": the score in hundredths, never below 0
};

MatchTexts DescribeMatch(const GameRecords& records, const MapMatch& match);

// Why a picture cannot be identified, naming it as `name`; empty for a picture that is ready.
std::string PictureProblemText(const MapPicture& picture, const std::string& name);

}  // namespace brix
