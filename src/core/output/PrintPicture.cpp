#include "core/output/PrintPicture.h"

#include <QPainter>

#include "core/data/TreasureCatalog.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"

namespace brix {

namespace {

constexpr std::uint32_t WhiteRef = 0x00FFFFFFu;

}  // namespace

PrintPictures::PrintPictures(const TreasureCatalog& catalog, const MapFilter& filter,
                             PrintPictureStyle style, QSize size)
    : catalog_(catalog), filter_(filter), style_(style) {
    background_ = QImage(size, QImage::Format_RGB32);
    background_.fill(Qt::white);
    QPainter painter(&background_);
    DrawPanel(painter, catalog.Drawing, style.Style, style.Fill, WhiteRef,
              IntRect{0, 0, size.width(), size.height()});
}

const QImage& PrintPictures::ForTreasure(const Treasure& treasure) {
    const int list[] = {treasure.Index};
    Draw(treasure.Location.X, treasure.Location.Y, list, false);
    return picture_;
}

const QImage& PrintPictures::ForRegion(const Region& region) {
    const RegionTreasureList list = BuildRegionTreasureList(catalog_, region.Index);
    Draw(list.CentreX, list.CentreY, list.Treasures, true);
    return picture_;
}

void PrintPictures::Draw(int centreX, int centreY, std::span<const int> treasures, bool labels) {
    const QSize size = background_.size();
    const QSize multimap = catalog_.Drawing.MultimapSize;
    const IntRect source = CenterSourceRect(style_.Style, centreX, centreY, size.width(),
                                            size.height(), multimap.width(), multimap.height());
    const PanelMargins m = MarginsOf(style_.Style);
    const IntRect inner{m.Left, m.Top, size.width() - m.Right, size.height() - m.Bottom};
    picture_ = background_.copy();
    QPainter painter(&picture_);
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setClipRect(
        QRect(inner.Left, inner.Top, inner.Right - inner.Left, inner.Bottom - inner.Top));
    // The panel is drawn already: only the map, the tacks and the labels go onto the interior.
    DrawMapPanel(painter, catalog_, PanelStyle::None, false, AutomaticColour, inner, source,
                 treasures, labels, &filter_, style_.Monochrome);
}

QImage PictureOverlay(const QImage& picture, const QImage& background) {
    if (picture.size() != background.size()) return picture;
    QImage overlay(picture.size(), QImage::Format_ARGB32);
    bool any = false;
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const QRgb* ground = reinterpret_cast<const QRgb*>(background.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const bool differs = in[x] != ground[x];
            out[x] = differs ? (in[x] | 0xFF000000u) : 0u;
            any = any || differs;
        }
    }
    return any ? overlay : QImage();
}

}  // namespace brix
