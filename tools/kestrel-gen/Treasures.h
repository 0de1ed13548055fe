#pragma once

#include "World.h"

namespace brix::gen {

class Random;

// Buries `count` treasures on dry land, each well inside its region and clear of water,
// roads and towns, spread out so that tacks do not crowd; numbers run region by region.
void BuryTreasures(World& world, Random& random, int count);

// Chooses every treasure's label offset so that within a region no label covers another
// label or any tack, and leader lines do not run through them. `unlabelled` treasures with
// the most awkward labels are left without one.
void PlaceLabels(World& world, int unlabelled);

}  // namespace brix::gen
