#pragma once

#include <QImage>

#include <memory>
#include <vector>

#include "core/data/GameRecords.h"

namespace brix {

// One treasure whose surroundings on the multimap look like the picture.
struct MapMatch {
    int Treasure = 0;
    // How alike they are, about -1 to 1 (a correlation of the drawings, less a little for a
    // spot far from the picture's centre); MatchThreshold and above counts as a match.
    double Score = 0;
    // The picture's size relative to the multimap's own (2: the picture shows it twice as large).
    double Scale = 1;
};

// Finds which treasure locations a picture of a treasure map shows, by comparing the picture's
// drawing with the multimap around every treasure. The picture's scale may be anything from
// MinScale to MaxScale of the multimap's, its centre up to MaxShift of its size away from the
// spot, turned by a few degrees, blurred, tinted, lightened or darkened; a tack or a cross on
// the spot does not disturb it.
//
// The multimap is prepared once, on the first identification (a pyramid of ink densities);
// the records and the multimap must outlive the matcher and stay unchanged.
class MapPictureMatcher {
public:
    static constexpr double MinScale = 0.5;
    static constexpr double MaxScale = 2.0;
    static constexpr double MaxShift = 0.25;
    // Chosen from the sample world's scores: the right treasure's score is 0.66 or more for 99 %
    // of its close-ups as players capture them (most score above 0.85); crops of the world
    // map and close-ups of places far from any treasure stayed at 0.64 and below.
    static constexpr double MatchThreshold = 0.66;

    MapPictureMatcher(const GameRecords& records, const QImage& multimap);
    ~MapPictureMatcher();
    MapPictureMatcher(const MapPictureMatcher&) = delete;
    MapPictureMatcher& operator=(const MapPictureMatcher&) = delete;

    // Builds the pyramid now unless it is built already; Identify does this itself.
    void Prepare();

    // The best `count` treasures, best first; none for a picture without any drawing (flat,
    // or too small for the coarsest comparison) or a world without treasures or multimap.
    std::vector<MapMatch> Identify(const QImage& picture, int count = 5);

    // True when the best candidate counts as a match.
    static bool Matches(const std::vector<MapMatch>& candidates) {
        return !candidates.empty() && candidates.front().Score >= MatchThreshold;
    }

    struct Pyramid;

private:
    const GameRecords& records_;
    const QImage& multimap_;
    std::unique_ptr<Pyramid> pyramid_;
};

}  // namespace brix
