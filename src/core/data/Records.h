#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Geometry.h"

namespace brix {

constexpr int MaxLevels = 16;
constexpr int MaxRegions = 100;
constexpr int MaxTreasures = 1000;
constexpr int MaxRunesPerBook = 16;

// Every record with Index 0 is an empty slot; walks over the indexed arrays skip it.
struct Level {
    int Index = 0;
    int Cartography = 0;
    int Lockpicking = 0;
    int Gold = 0;
    int Gems = 0;
    int MagicItems = 0;
    int Scrolls = 0;
    int Reagents = 0;
    std::string Name;
    std::string WhatSpawns;
    std::string WhatDrops;
};

struct Region {
    int Index = 0;
    IntPoint MaskOffset;
    bool MaskHitTest = false;
    std::string Name;
    std::string Comment;
    // Filled when the region masks are loaded; empty until then.
    IntRect MaskRect;
    std::vector<std::uint8_t> MaskBits;
    int MaskBytesPerRow = 0;
};

struct Treasure {
    int Index = 0;
    int Region = 0;
    IntPoint Location;
    IntPoint LabelOffset;
    std::string Name;
    // Derived from Location and LabelOffset, in multimap coordinates.
    IntRect LabelRect;
    IntLine LeaderLine;
};

struct MapCounts {
    int Index = 0;
    std::array<int, MaxLevels> Counts{};
    bool operator==(const MapCounts&) const = default;
};

struct Character {
    std::string Name;
    std::vector<MapCounts> Entries;
    bool operator==(const Character&) const = default;
};

struct RuneBook {
    std::string Name;
    std::vector<int> Treasures;  // at most MaxRunesPerBook
    bool operator==(const RuneBook&) const = default;
};

struct RuneLibrary {
    bool Permanent = false;
    std::string Name;
    std::vector<RuneBook> RuneBooks;
    bool operator==(const RuneLibrary&) const = default;
};

// The highest level (1..16) with a count above 0, or 0 when the entry holds no map.
int LastLevelHeld(const MapCounts& entry);

}  // namespace brix
