#pragma once

#include <QPointF>

#include <vector>

#include "World.h"

namespace brix::gen {

// Lines where a field crosses `level` (marching squares over cell centres), joined into
// polylines. Points are in grid cell units; closed lines repeat their first point.
std::vector<std::vector<QPointF>> TraceContours(const Grid<float>& field, float level);

}  // namespace brix::gen
