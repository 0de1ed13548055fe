#pragma once

#include <QPointF>
#include <QRect>

#include <cstdint>
#include <string>
#include <vector>

namespace brix::gen {

// The world spans 5120 × 4096 game units. The coloured overview has one pixel per 4 × 4
// units, the line drawing one pixel per 2 × 2 units. Everything the generator computes lives
// on the overview's pixel grid ("map pixels") unless a name says otherwise.
constexpr int WorldWidth = 5120;
constexpr int WorldHeight = 4096;
constexpr int UnitsPerPixel = 4;
constexpr int MapWidth = WorldWidth / UnitsPerPixel;
constexpr int MapHeight = WorldHeight / UnitsPerPixel;
constexpr int MultimapWidth = WorldWidth / 2;
constexpr int MultimapHeight = WorldHeight / 2;

template <typename T>
struct Grid {
    int Width = 0;
    int Height = 0;
    std::vector<T> Cells;

    Grid() = default;
    Grid(int width, int height, T fill = T())
        : Width(width), Height(height), Cells(static_cast<std::size_t>(width) * height, fill) {}

    T& At(int x, int y) { return Cells[static_cast<std::size_t>(y) * Width + x]; }
    const T& At(int x, int y) const { return Cells[static_cast<std::size_t>(y) * Width + x]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    // Bilinear sample at a continuous position in cell units (cell centres at +0.5).
    double Sample(double x, double y) const;
};

template <typename T>
double Grid<T>::Sample(double x, double y) const {
    x -= 0.5;
    y -= 0.5;
    int x0 = x < 0 ? 0 : (x >= Width - 1 ? Width - 2 : static_cast<int>(x));
    int y0 = y < 0 ? 0 : (y >= Height - 1 ? Height - 2 : static_cast<int>(y));
    double fx = x - x0;
    double fy = y - y0;
    fx = fx < 0 ? 0 : (fx > 1 ? 1 : fx);
    fy = fy < 0 ? 0 : (fy > 1 ? 1 : fy);
    double a = At(x0, y0), b = At(x0 + 1, y0), c = At(x0, y0 + 1), d = At(x0 + 1, y0 + 1);
    return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy;
}

enum class Ground : std::uint8_t { Sea, Land, Lake };

struct Terrain {
    Grid<float> Elevation;   // below 0 under the open sea; land rises to about 1
    Grid<float> WaterLevel;  // surface of lakes; equals Elevation elsewhere on land
    Grid<Ground> Kind;
    Grid<float> Moisture;      // 0 dry .. 1 wet
    Grid<float> Forest;        // tree cover 0 .. 1
    Grid<float> SeaDistance;   // on land: pixels to the nearest open sea
    Grid<float> LandDistance;  // at sea: pixels to the nearest land
    Grid<int> Landmass;        // connected land (lakes included); -1 at sea
    std::vector<int> LandmassArea;
};

struct River {
    std::vector<QPointF> Points;  // map pixels, source first
    std::vector<float> Width;     // map pixels, per point
};

struct Town {
    QPointF Centre;
    double Radius = 4.0;
    int Landmass = -1;
    bool Port = false;
    std::string Name;
    std::uint64_t Look = 0;  // seeds the arrangement of houses
};

struct Road {
    std::vector<QPointF> Points;
    int From = 0;
    int To = 0;
};

struct RegionPlan {
    int Index = 0;
    std::string Name;
    std::string Comment;
    QRect Box;  // map pixels, inclusive-exclusive via QRect's width and height
    bool MaskHitTest = false;
    int Area = 0;  // land pixels, lakes included
    int DryArea = 0;
    QPointF Centre;  // centroid of its land
    double Mountain = 0, Hills = 0, Forest = 0, Coast = 0, Lake = 0, River = 0;
    bool Island = false;  // a landmass of its own
    int NearestTown = -1;
};

struct TreasurePlan {
    int Index = 0;
    int Region = 0;
    int X = 0;  // world units
    int Y = 0;
    int LabelDx = 0;  // world units
    int LabelDy = 0;
    std::string Name;
    std::string Setting;  // the kind of ground it lies in, for names and rune books
};

struct LevelPlan {
    int Index = 0;
    std::string Name;
    int Cartography = 0, Lockpicking = 0, Gold = 0, Gems = 0, MagicItems = 0, Scrolls = 0,
        Reagents = 0;
    std::string WhatSpawns;
    std::string WhatDrops;
};

struct RuneBookPlan {
    std::string Name;
    std::vector<int> Treasures;
};

struct Options {
    std::uint64_t Seed = 0;
    int RegionCount = 48;
    int TreasureCount = 500;
    int LevelCount = 8;
};

struct World {
    Options Settings;
    Terrain Land;
    std::vector<River> Rivers;
    std::vector<Town> Towns;
    std::vector<Road> Roads;
    Grid<int> RegionOf;                   // region Index on land, 0 at sea
    std::vector<RegionPlan> Regions;      // by Index - 1
    std::vector<TreasurePlan> Treasures;  // by Index - 1
    std::vector<LevelPlan> Levels;
    std::string LibraryName;
    std::vector<RuneBookPlan> RuneBooks;
};

}  // namespace brix::gen
