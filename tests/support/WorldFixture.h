#pragma once

#include <QImage>
#include <QPoint>

#include <string>
#include <vector>

#include "core/data/Session.h"

namespace brix::test {

// A region whose mask is drawn as text: '#' inside the region, '.' outside. Rows are padded
// to a multiple of 2 bytes, as overlay bitmaps are.
Region MaskedRegion(int index, QPoint offset, const std::vector<std::string>& rows,
                    bool hitTest = false);

// Makes `world` the catalogue's world bitmap.
void SetWorld(Session& session, const QImage& world);

// Gives the current character a map of one of the region's treasures (a new treasure when it
// has none), so the region counts as having maps in the global filter.
void SetHasMap(Session& session, int region);

}  // namespace brix::test
