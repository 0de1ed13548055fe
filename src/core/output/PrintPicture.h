#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <map>
#include <span>
#include <utility>

#include "core/data/MapFilter.h"
#include "core/map/PanelStyle.h"

class QPainter;
class QRectF;

namespace brix {

class Session;

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
//
// For devices that keep images as objects (PDF), a picture is also available as layers that
// give the same pixels: the empty panel and the multimap tiles are shared by every item and so
// stored once per document, and only the item's tacks and labels are its own.
class PrintPictures {
public:
    PrintPictures(const Session& session, const MapFilter& filter, PrintPictureStyle style,
                  QSize size);

    // The close-up of one treasure with its tack and no label; valid until the next call.
    const QImage& ForTreasure(const Treasure& treasure);
    // The map of one region with all its tacks and labels; valid until the next call.
    const QImage& ForRegion(const Region& region);

    // The empty panel: one image (and so one cache key) for the whole job.
    const QImage& Background() const { return background_; }

    // Paints the last picture as its layers, stretched onto `target`.
    void DrawLayers(QPainter& painter, const QRectF& target);

private:
    void Draw(int centreX, int centreY, std::span<const int> treasures, bool labels);
    // The multimap's black pixels in one tile, opaque, on a transparent ground.
    const QImage& Tile(int column, int row);

    const Session& session_;
    const MapFilter& filter_;
    PrintPictureStyle style_;
    QRect inner_;
    QImage background_;
    QImage picture_;
    QRect source_;  // the multimap window of the last picture
    QImage own_;    // what the last picture adds to the panel and the map; may be null
    QPoint ownAt_;  // where that lies in the picture
    std::map<std::pair<int, int>, QImage> tiles_;
    std::map<QByteArray, QImage> owned_;  // every distinct own part so far, by its pixels
};

// The pixels of the picture inside `within` that differ from the background, opaque, on a
// transparent ground, cut to the smallest rectangle holding them (its place in `at`); null when
// there are none. Drawn over the background at `at` it gives the picture again.
QImage PictureOverlay(const QImage& picture, const QImage& background, const QRect& within,
                      QPoint& at);

}  // namespace brix
