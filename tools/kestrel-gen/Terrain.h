#pragma once

#include <cstdint>
#include <vector>

#include "World.h"

namespace brix::gen {

class Random;

double SmoothStep(double edge0, double edge1, double x);

// Euclidean distance, in cells, from every cell to the nearest cell marked in `feature`
// (exact squared-distance transform, separable over rows and columns).
Grid<float> DistanceTo(const std::vector<std::uint8_t>& feature, int width, int height);

// Labels 4-connected groups of marked cells; unmarked cells get -1. Returns the group sizes.
std::vector<int> LabelGroups(const std::vector<std::uint8_t>& marked, int width, int height,
                             std::vector<int>& labels);

// The point of open sea farthest from any coast and from the map's edges, for the compass
// rose; `room` receives that distance in map pixels.
QPointF FindOpenSea(const World& world, double& room);

// Shapes the land and sea, lakes, rivers, moisture and forest.
void BuildTerrain(World& world, Random& random);

}  // namespace brix::gen
