#pragma once

#include <QImage>
#include <QSize>

#include <span>

#include "core/data/MapFilter.h"
#include "core/map/PanelStyle.h"

namespace brix {

class TreasureCatalog;

// How one map option of the print dialog draws its picture.
struct PrintPictureStyle {
    PanelStyle Style = PanelStyle::None;
    bool Fill = false;
    bool Monochrome = false;
    int PixelsPerInch = 0;  // picture pixels per inch on paper
};

// The item pictures of one print job, all of one size and style. Every picture starts as a copy
// of the same empty panel (frame and interior); the map, the tacks and the labels are drawn
// clipped to the interior, so that nothing lands on the frame.
class PrintPictures {
public:
    PrintPictures(const TreasureCatalog& catalog, const MapFilter& filter, PrintPictureStyle style,
                  QSize size);

    // The empty panel: one image (and so one cache key) for the whole job.
    const QImage& Background() const { return background_; }

    // The close-up of one treasure with its tack and no label; valid until the next call.
    const QImage& ForTreasure(const Treasure& treasure);
    // The map of one region with all its tacks and labels; valid until the next call.
    const QImage& ForRegion(const Region& region);

private:
    void Draw(int centreX, int centreY, std::span<const int> treasures, bool labels);

    const TreasureCatalog& catalog_;
    const MapFilter& filter_;
    PrintPictureStyle style_;
    QImage background_;
    QImage picture_;
};

// The pixels of the picture that differ from the background, opaque, on a transparent ground;
// null when there are none. Drawn over the background it gives the picture again.
QImage PictureOverlay(const QImage& picture, const QImage& background);

}  // namespace brix
