#pragma once

#include <QImage>

#include "World.h"

namespace brix::gen {

// The coloured overview: relief-shaded land, sea shaded by depth, rivers, roads and towns.
QImage PaintWorld(const World& world);

}  // namespace brix::gen
