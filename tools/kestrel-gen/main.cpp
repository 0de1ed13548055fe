// Builds the sample world archive "kestrel.zip": data.xml, world.bmp, multimap.bmp and one
// overlay per region. The same seed always gives the same bytes.
//
// Usage: kestrel-gen [--seed N] [--max] [--no-borders] OUTPUT.zip

#include <QImage>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Archive.h"
#include "DataXml.h"
#include "MultimapPainter.h"
#include "Names.h"
#include "Random.h"
#include "Regions.h"
#include "Settlements.h"
#include "Terrain.h"
#include "Treasures.h"
#include "World.h"
#include "WorldPainter.h"

namespace {

using namespace brix::gen;

constexpr std::uint64_t DefaultSeed = 6;

int Usage(const char* message) {
    std::fprintf(stderr,
                 "kestrel-gen: %s\n"
                 "usage: kestrel-gen [--seed N] [--max] [--no-borders] OUTPUT.zip\n"
                 "  --seed N      world seed (default %llu)\n"
                 "  --max         the largest archive: 100 regions, 1000 treasures, 16 levels\n"
                 "  --no-borders  no region borders on the world picture\n",
                 message, static_cast<unsigned long long>(DefaultSeed));
    return 2;
}

bool ParseSeed(const std::string& text, std::uint64_t& seed) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return false;
    seed = value;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    options.Seed = DefaultSeed;
    bool borders = true;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--seed") {
            if (++i >= argc || !ParseSeed(argv[i], options.Seed))
                return Usage("--seed needs a number");
        } else if (arg == "--max") {
            options.RegionCount = 100;
            options.TreasureCount = 1000;
            options.LevelCount = 16;
        } else if (arg == "--no-borders") {
            borders = false;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(("unknown option " + arg).c_str());
        } else if (output.empty()) {
            output = arg;
        } else {
            return Usage("only one output file");
        }
    }
    if (output.empty()) return Usage("no output file");
    // Find out now, not after seconds of work, whether the output can be written at all.
    if (std::FILE* probe = std::fopen((output + ".part").c_str(), "wb")) {
        std::fclose(probe);
        std::remove((output + ".part").c_str());
    } else {
        std::fprintf(stderr, "kestrel-gen: cannot write %s.part\n", output.c_str());
        return 1;
    }

    auto started = std::chrono::steady_clock::now();
    World world;
    world.Settings = options;
    // Each stage draws from its own stream, so --max shares the default world's land.
    Random root(options.Seed);
    Random terrainRandom = root.Fork(), townRandom = root.Fork(), treasureRandom = root.Fork(),
           nameRandom = root.Fork();
    BuildTerrain(world, terrainRandom);
    FoundTowns(world, townRandom, options.RegionCount > 60 ? 18 : 14);
    CarveRegions(world, options.RegionCount);
    BuryTreasures(world, treasureRandom, options.TreasureCount);
    PlaceLabels(world, options.RegionCount > 60 ? 6 : 3);
    NameWorld(world, nameRandom);

    if (static_cast<int>(world.Regions.size()) != options.RegionCount ||
        static_cast<int>(world.Treasures.size()) != options.TreasureCount) {
        std::fprintf(stderr,
                     "kestrel-gen: made %zu regions and %zu treasures instead of %d and %d\n",
                     world.Regions.size(), world.Treasures.size(), options.RegionCount,
                     options.TreasureCount);
        return 1;
    }

    std::vector<Member> members;
    std::string xml = WriteDataXml(world);
    members.push_back({"data.xml", QByteArray(xml.data(), static_cast<qsizetype>(xml.size()))});
    members.push_back({"world.bmp", EncodeBmp(PaintWorld(world, borders))});
    members.push_back({"multimap.bmp", EncodeBmp(ToMonochrome(DrawMultimap(world)))});
    for (const RegionPlan& region : world.Regions) {
        members.push_back({"world_overlay_" + std::to_string(region.Index) + ".bmp",
                           EncodeBmp(RegionMask(world, region))});
    }
    std::string error;
    if (!WriteArchive(output, members, error)) {
        std::fprintf(stderr, "kestrel-gen: %s\n", error.c_str());
        return 1;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("kestrel-gen: wrote %s (%zu regions, %zu treasures, %zu levels) in %.1f s\n",
                output.c_str(), world.Regions.size(), world.Treasures.size(), world.Levels.size(),
                seconds);
    return 0;
}
