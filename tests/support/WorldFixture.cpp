#include "support/WorldFixture.h"

#include <algorithm>

#include "support/RegionFixture.h"

namespace brix::test {

Region MaskedRegion(int index, QPoint offset, const std::vector<std::string>& rows, bool hitTest) {
    Region region;
    region.Index = index;
    region.Name = "Region " + std::to_string(index);
    region.MaskOffset = {offset.x(), offset.y()};
    region.MaskHitTest = hitTest;
    const int width = static_cast<int>(rows.front().size());
    const int height = static_cast<int>(rows.size());
    region.MaskBytesPerRow = (width + 15) / 16 * 2;
    region.MaskBits.assign(static_cast<std::size_t>(region.MaskBytesPerRow * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (rows[y][x] == '#')
                region.MaskBits[y * region.MaskBytesPerRow + x / 8] |= 0x80 >> (x % 8);
        }
    }
    region.MaskRect = {offset.x(), offset.y(), offset.x() + width, offset.y() + height};
    return region;
}

void SetWorld(Session& session, const QImage& world) {
    session.GetWorld().Drawing.WorldBitmap = world;
    session.GetWorld().Drawing.WorldBitmapSize = world.size();
}

void SetHasMap(Session& session, int region) {
    for (const Treasure& treasure : session.GetWorld().Treasures) {
        if (treasure.Index >= 1 && treasure.Region == region) {
            GiveMap(session, treasure.Index);
            return;
        }
    }
    // A region without treasures gets one in the next free slot.
    Treasure treasure;
    treasure.Index = std::max<int>(1, static_cast<int>(session.GetWorld().Treasures.size()));
    treasure.Region = region;
    treasure.Name = "Cache of region " + std::to_string(region);
    session.GetWorld().StoreTreasure(treasure);
    GiveMap(session, treasure.Index);
}

}  // namespace brix::test
