#pragma once

#include "World.h"

namespace brix::gen {

// Splits all land into `count` regions: every land or lake pixel belongs to exactly one
// region, the open sea to none. Borders prefer ridges and rivers, the way counties form.
void CarveRegions(World& world, int count);

}  // namespace brix::gen
