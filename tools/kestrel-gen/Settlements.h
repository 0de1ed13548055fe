#pragma once

#include <QImage>

#include <vector>

#include "World.h"

namespace brix::gen {

class Random;

// Marks every map pixel within `reach` of the polylines (drawn on a scratch image).
std::vector<std::uint8_t> RasterizeLines(const std::vector<std::vector<QPointF>>& lines,
                                         double reach);

// Founds towns on good sites (harbours, river banks, lake shores) and joins the towns of each
// landmass by roads that avoid steep ground.
void FoundTowns(World& world, Random& random, int count);

}  // namespace brix::gen
