#pragma once

#include <QImage>

#include "World.h"

namespace brix::gen {

// The coloured overview: relief-shaded land, sea shaded by depth, region borders (unless
// `borders` is off), rivers, roads and towns.
QImage PaintWorld(const World& world, bool borders = true);

}  // namespace brix::gen
