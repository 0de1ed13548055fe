#include "Names.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <set>

#include "Random.h"

namespace brix::gen {

namespace {

// Every name below is made up for this world.
const std::vector<std::string> RegionStems = {
    "Abbermoot",   "Brackenholt",  "Corvask",     "Dapplemere",  "Eskerfold",    "Fallowquay",
    "Grimsallow",  "Hollinbrake",  "Ivybarrow",   "Juniper",     "Kestmarrow",   "Lowmarrin",
    "Mossquarry",  "Nettlewhirl",  "Orrisdown",   "Pennywhorl",  "Quorbeck",     "Rushwillow",
    "Saltreave",   "Thimblecairn", "Umberlith",   "Vellinshaw",  "Wickerthorne", "Yarrowgate",
    "Zellingmoor", "Amberlode",    "Brindlecote", "Cobblemoss",  "Drossel",      "Emberquill",
    "Furzeholm",   "Glimmerbeck",  "Harrowdene",  "Inkwater",    "Jessamine",    "Kilnstead",
    "Larkspire",   "Morrowcleft",  "Nimbrel",     "Oxlip",       "Pellingrove",  "Quiverleaf",
    "Ravelstone",  "Sorrelby",     "Tansyhollow", "Ulverkin",    "Vantrell",     "Wendlecroft",
    "Yorlinde",    "Zarrowby",     "Alderquist",  "Blackwattle", "Cindergarth",  "Dorrowhithe",
    "Elvering",    "Fiddlebrook",  "Gannetcliff", "Heronsbight", "Islemarch",    "Jackdaw",
    "Knapweed",    "Lanternfell",  "Mistlewold",  "Norrowby",    "Oakmurrow",    "Pipistrel",
    "Quenchwater", "Rookhallow",   "Scarrowdel",  "Tidewrack",   "Underhew",     "Vesselmoor",
    "Whistlecrag", "Yarnbarrow",   "Zinderlee",   "Amblewick",   "Bittersloe",   "Candlemire",
    "Dewhollow",   "Eelgrave",     "Flintmarch",  "Gloamridge",  "Hobblecairn",  "Isenwold",
    "Jorvel",      "Kettlebeck",   "Loamshire",   "Maplethrum",  "Nodderby",     "Otterstead",
    "Plumbleigh",  "Quagwick",     "Ruddermoor",  "Stilling",    "Thrushcombe",  "Umbrefen",
    "Vinterholt",  "Wrenwater",    "Yellowbriar", "Zoffingham",
};

const std::vector<std::string> TownNames = {
    "Caddlebury", "Wexholm",     "Marrowick", "Tollingford", "Brisketon",     "Pewterby",
    "Hallowquay", "Sallowmouth", "Ketterham", "Dunnock",     "Frawley Cross", "Gorsebridge",
    "Limpetport", "Mallowgate",  "Nethercot", "Oriel Haven", "Pursley",       "Quillon",
    "Redthorne",  "Stoatley",    "Tarnwick",  "Upwold",      "Wainsford",     "Yelverstow",
};

struct Features {
    const char* Setting;
    std::vector<std::string> Names;
};

const std::vector<Features> TreasureFeatures = {
    {"mountain",
     {"Windy Ledge", "Split Boulder", "Goat Track", "Eagle Perch", "Scree Run", "Cold Cairn",
      "Narrow Col", "Cracked Tor", "Frost Shelf", "Echo Crag", "High Saddle", "Hermit's Cave",
      "Fallen Arch", "Raven Ledge", "Ice Cleft", "Lone Spire"}},
    {"hills",
     {"Sheep Fold", "Lone Cairn", "Barrow Mound", "Heather Knoll", "Ring of Stones",
      "Shepherd's Rest", "Old Beacon", "Gorse Hump", "Chalk Horse", "Windmill Knoll", "Badger Sett",
      "Flint Pit", "Sunken Lane", "Watch Mound", "Twin Barrows", "Tumbled Wall"}},
    {"forest",
     {"Hollow Oak", "Mossy Log", "Fern Glade", "Lightning Pine", "Woodcutter's Stump", "Owl Tree",
      "Bramble Ring", "Fallen Beech", "Charcoal Pit", "Toadstool Ring", "Hunter's Blind",
      "Root Cellar", "Deer Lick", "Wolf Den", "Still Pool", "Forked Birch"}},
    {"coast",
     {"Driftwood Heap", "Gull Rock", "Shell Bank", "Wreck Timbers", "Tide Pool", "Seal Cove",
      "Dune Hollow", "Smugglers' Step", "Beacon Post", "Crab Rocks", "Salt Pan", "Net Shed",
      "Cliff Stair", "Kelp Shelf", "Sea Cave", "Anchor Stone"}},
    {"river",
     {"Reed Bank", "Ford Stones", "Heron Pool", "Mill Race", "Otter Bend", "Willow Islet",
      "Stepping Stones", "Eel Trap", "Ferry Post", "Kingfisher Bank", "Weir Pool",
      "Old Bridge Pier", "Rush Meadow", "Boat Slip", "Alder Carr", "Water Gate"}},
    {"lake",
     {"Boathouse", "Lakeside Cairn", "Jetty End", "Reed Island", "Pike Shallows", "Swan Bay",
      "Drowned Oak", "Shore Chapel", "Fisher's Hut", "Lily Cove", "Mud Spit", "Duck Blind"}},
    {"town",
     {"Chapel Yard", "Watch Tower", "Old Gallows", "Tannery Yard", "Toll Gate", "Lime Kiln",
      "Town Well", "Gravel Pit", "Tithe Barn", "Pound Gate"}},
    {"field",
     {"Crossroads Post", "Old Well", "Hay Barn", "Milestone", "Broken Cart", "Scarecrow",
      "Mill Ruin", "Twin Elms", "Rabbit Warren", "Standing Stone", "Dovecote", "Hedge Gap",
      "Wayside Shrine", "Burnt Farm", "Lone Ash", "Cattle Pond"}},
};

const std::vector<std::vector<std::string>> MonsterTiers = {
    {"Mudgrub", "Reed Stalker", "Thistle Imp", "Bog Lurker", "Cave Moth", "Dune Skink"},
    {"Thornhide Boar", "Ash Jackal", "Brambleback", "Lantern Wisp", "Saltcrust Crab",
     "Gravel Gnasher"},
    {"Barrow Shade", "Tallow Ghoul", "Cairn Sentinel", "Mire Hag", "Hollow Stag", "Rime Prowler"},
    {"Ink Drinker", "Vellum Golem", "Brine Serpent", "Dusk Warden", "Cinder Drake",
     "Sorrow Knight"},
    {"Gloom Colossus", "Ember Wyrm", "Tidecaller", "Pale Regent", "Stormhorn", "Bone Choir"},
};

const std::vector<std::string> LevelNames = {
    "Scribbled Sketch",    "Fisher's Chart",        "Pedlar's Map",          "Surveyor's Plan",
    "Smuggler's Chart",    "Privateer's Map",       "Archivist's Folio",     "Warlord's Codex",
    "Astronomer's Scroll", "Exile's Testament",     "Drowned Captain's Log", "Bog Queen's Ledger",
    "Starfallen Atlas",    "Sunken Emperor's Seal", "Eclipse Cartulary",     "Deepstone Palimpsest",
};

std::string Compass(QPointF from, QPointF to) {
    static const char* names[8] = {"east", "south-east", "south", "south-west",
                                   "west", "north-west", "north", "north-east"};
    double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    int octant = static_cast<int>(std::lround(angle / (std::numbers::pi / 4.0)));
    return names[(octant + 8) % 8];
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string RegionName(const RegionPlan& r, const std::string& stem, Random& random) {
    if (r.Island) {
        return random.Unit() < 0.5 ? "Isle of " + stem : stem + " Isle";
    }
    std::vector<std::string> words;
    if (r.Mountain > 0.28)
        words = {"Peaks", "Crags", "Heights", "Spires"};
    else if (r.Lake > 0.05)
        words = {"Lakes", "Waters", "Meres"};
    else if (r.Forest > 0.45)
        words = {"Wood", "Weald", "Thicket", "Greenwood"};
    else if (r.Hills > 0.40)
        words = {"Downs", "Fells", "Uplands", "Knolls"};
    else if (r.Coast > 0.35)
        words = {"Coast", "Shore", "Strand", "Cliffs"};
    else if (r.River > 0.05)
        words = {"Vale", "Fords", "Banks"};
    else
        words = {"Fields", "Meadows", "Plains", "Heath"};
    random.Shuffle(words);
    for (const std::string& w : words) {
        std::string root = Lower(w.substr(0, 4));
        if (Lower(stem).find(root) == std::string::npos) return stem + " " + w;
    }
    return stem;
}

std::string Advice(const World& world, const RegionPlan& r, Random& random) {
    std::vector<std::string> parts;
    if (r.NearestTown >= 0) {
        const Town& town = world.Towns[r.NearestTown];
        const int home =
            world.RegionOf.At(static_cast<int>(town.Centre.x()), static_cast<int>(town.Centre.y()));
        if (home == r.Index)
            parts.push_back(town.Name + " lies within it: rest and restock there between digs.");
        else if (r.Island)
            parts.push_back("Take a boat from " + town.Name + " and land on the " +
                            Compass(r.Centre, town.Centre) + " shore.");
        else
            parts.push_back("Set out from " + town.Name + " and head " +
                            Compass(town.Centre, r.Centre) + ".");
    }
    std::vector<std::string> tips;
    if (r.Mountain > 0.2)
        tips.push_back(
            "Several caches sit on high ledges; climb from the gentler slopes and mind the drops.");
    if (r.Forest > 0.4)
        tips.push_back(
            "The trees hide every landmark, so count the streams you cross to keep your bearings.");
    if (r.Coast > 0.3)
        tips.push_back("Look along the tide line first: many chests lie just above the beach.");
    if (r.River > 0.04)
        tips.push_back(
            "Caches cluster along the river banks, and the fords are the only dry crossings.");
    if (r.Lake > 0.04)
        tips.push_back("The lake shore is soft ground; the markers sit a few paces inland.");
    if (tips.empty())
        tips.push_back(
            "Open country: the caches are easy to reach but guardians spot you from afar.");
    parts.push_back(random.Pick(tips));
    const auto& tier = MonsterTiers[static_cast<std::size_t>(random.Int(0, 2))];
    parts.push_back("Beware of " + random.Pick(tier) + "s after dark.");
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : " ") + p;
    return text;
}

std::string MonsterList(Random& random, std::vector<int> tiers, int count) {
    std::vector<std::string> pool;
    for (int t : tiers) {
        t = std::clamp(t, 0, static_cast<int>(MonsterTiers.size()) - 1);
        for (const std::string& m : MonsterTiers[t])
            if (std::find(pool.begin(), pool.end(), m) == pool.end()) pool.push_back(m);
    }
    random.Shuffle(pool);
    pool.resize(std::min<std::size_t>(pool.size(), static_cast<std::size_t>(count)));
    std::string text;
    for (const std::string& m : pool) text += (text.empty() ? "" : ", ") + m;
    return text;
}

}  // namespace

void NameWorld(World& world, Random& random) {
    std::vector<std::string> towns = TownNames;
    random.Shuffle(towns);
    for (std::size_t i = 0; i < world.Towns.size(); ++i)
        world.Towns[i].Name = i < towns.size() ? towns[i] : towns[i % towns.size()] + " Minor";

    std::vector<std::string> stems = RegionStems;
    random.Shuffle(stems);
    for (std::size_t i = 0; i < world.Regions.size(); ++i) {
        RegionPlan& r = world.Regions[i];
        double best = 1e30;
        for (std::size_t k = 0; k < world.Towns.size(); ++k) {
            double d = std::hypot(world.Towns[k].Centre.x() - r.Centre.x(),
                                  world.Towns[k].Centre.y() - r.Centre.y());
            bool reachable = !r.Island || world.Towns[k].Port;
            if (reachable && d < best) {
                best = d;
                r.NearestTown = static_cast<int>(k);
            }
        }
        r.Name = RegionName(r, stems[i % stems.size()], random);
        if (random.Unit() < 0.45 || r.MaskHitTest) r.Comment = Advice(world, r, random);
    }

    std::vector<std::set<std::string>> used(world.Regions.size());
    for (TreasurePlan& t : world.Treasures) {
        const Features* features = &TreasureFeatures.back();
        for (const Features& f : TreasureFeatures)
            if (t.Setting == f.Setting) features = &f;
        std::vector<std::string> pool = features->Names;
        random.Shuffle(pool);
        std::set<std::string>& taken = used[t.Region - 1];
        std::string name;
        for (const std::string& candidate : pool)
            if (!taken.count(candidate)) {
                name = candidate;
                break;
            }
        if (name.empty()) {
            for (const std::string& candidate : TreasureFeatures.back().Names)
                if (!taken.count(candidate)) {
                    name = candidate;
                    break;
                }
        }
        if (name.empty()) name = pool.front() + " " + std::to_string(t.Index);
        taken.insert(name);
        t.Name = name;
    }

    const int n = world.Settings.LevelCount;
    for (int level = 1; level <= n; ++level) {
        double f = n > 1 ? (level - 1.0) / (n - 1.0) : 0.0;
        LevelPlan plan;
        plan.Index = level;
        plan.Name = LevelNames[static_cast<std::size_t>(level - 1) % LevelNames.size()];
        plan.Cartography = static_cast<int>(std::lround(98.0 * std::pow(f, 0.9)));
        plan.Lockpicking = static_cast<int>(std::lround(95.0 * std::pow(f, 1.1)));
        plan.Gold = static_cast<int>(std::lround(300.0 * std::pow(level, 1.6) / 50.0)) * 50;
        plan.Gems = 2 * level + level * level / 3;
        plan.MagicItems = level == 1 ? 1 : 2 * level - 1;
        plan.Scrolls = level + 2;
        plan.Reagents = 10 * level + 5;
        int tier = static_cast<int>(f * (MonsterTiers.size() - 1) + 0.5);
        plan.WhatSpawns = MonsterList(random, {tier}, level < 3 ? 2 : 3);
        plan.WhatDrops = MonsterList(random, {tier - 1, tier}, 4);
        world.Levels.push_back(plan);
    }

    // A guild's collection of runes to good digging grounds, one book per kind of ground.
    world.LibraryName = "Wayfarers Guild";
    struct Shelf {
        const char* Name;
        std::vector<std::string> Settings;
        bool IslandsOnly;
    };
    const Shelf shelves[] = {{"Coastal Caches", {"coast"}, false},
                             {"Highland Caches", {"mountain", "hills"}, false},
                             {"Island Caches", {}, true}};
    for (const Shelf& shelf : shelves) {
        RuneBookPlan book;
        book.Name = shelf.Name;
        std::set<int> regionsSeen;
        for (const TreasurePlan& t : world.Treasures) {
            if (book.Treasures.size() >= 16) break;
            bool fits = shelf.IslandsOnly ? world.Regions[t.Region - 1].Island
                                          : std::find(shelf.Settings.begin(), shelf.Settings.end(),
                                                      t.Setting) != shelf.Settings.end();
            // One rune per region spreads the book over the world.
            if (fits && regionsSeen.insert(t.Region).second) book.Treasures.push_back(t.Index);
        }
        if (!book.Treasures.empty()) world.RuneBooks.push_back(book);
    }
}

}  // namespace brix::gen
