#pragma once

#include <QImage>
#include <QPointF>

#include <vector>

#include "World.h"

namespace brix::gen {

// The lines along which two regions meet, as chains of pixel corners (map pixels), smoothed a
// little so that they read as drawn lines rather than pixel steps. The sea and the map's edge
// are no borders; a chain ends where it reaches them or where three regions meet.
std::vector<std::vector<QPointF>> RegionBorderLines(const World& world);

// Paints the region borders onto the overview the way a printed atlas does: a thin dashed line
// in a darker shade of the land under it, never over water.
void PaintRegionBorders(const World& world, QImage& image);

}  // namespace brix::gen
