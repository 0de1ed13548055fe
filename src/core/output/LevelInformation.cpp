#include "core/output/LevelInformation.h"

#include "core/output/InfoText.h"

namespace brix {

LevelInformation::LevelInformation(const GameRecords& records, int initialLevel)
    : Levels(LevelItems(records)),
      InitialPosition(PositionOfNumber(Levels, initialLevel)),
      records_(records) {}

std::string LevelInformation::TextOf(int level) const {
    const Level* found = records_.FindLevel(level);
    return found != nullptr ? BuildLevelText(*found, false) : std::string();
}

}  // namespace brix
