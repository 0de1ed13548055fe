#pragma once

#include "World.h"

namespace brix::gen {

class Random;

// Names towns, regions and treasures after the ground they lie on, writes hunting advice
// for some regions, and makes up the map levels with their monsters and the rune library.
void NameWorld(World& world, Random& random);

}  // namespace brix::gen
