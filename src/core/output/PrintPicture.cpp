#include "core/output/PrintPicture.h"

#include <QPainter>
#include <QRectF>

#include <algorithm>

#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"

namespace brix {

namespace {

constexpr std::uint32_t WhiteRef = 0x00FFFFFFu;
// Multimap tiles are kept for the whole job (a PDF refers to each one stored image); this size
// keeps a tile small enough to build in passing and an item down to about four of them.
constexpr int TileSize = 256;

}  // namespace

PrintPictures::PrintPictures(const Session& session, const MapFilter& filter,
                             PrintPictureStyle style, QSize size)
    : session_(session), filter_(filter), style_(style) {
    const PanelMargins m = MarginsOf(style.Style);
    inner_ =
        QRect(m.Left, m.Top, size.width() - m.Left - m.Right, size.height() - m.Top - m.Bottom);
    background_ = QImage(size, QImage::Format_RGB32);
    background_.fill(Qt::white);
    QPainter painter(&background_);
    DrawPanel(painter, session.GetWorld().Drawing, style.Style, style.Fill, WhiteRef,
              IntRect{0, 0, size.width(), size.height()});
}

const QImage& PrintPictures::ForTreasure(const Treasure& treasure) {
    const int list[] = {treasure.Index};
    Draw(treasure.Location.X, treasure.Location.Y, list, false);
    return picture_;
}

const QImage& PrintPictures::ForRegion(const Region& region) {
    const RegionTreasureList list = BuildRegionTreasureList(session_.GetWorld(), region.Index);
    Draw(list.CentreX, list.CentreY, list.Treasures, true);
    return picture_;
}

void PrintPictures::Draw(int centreX, int centreY, std::span<const int> treasures, bool labels) {
    const QSize size = background_.size();
    const QSize multimap = session_.GetWorld().Drawing.MultimapSize;
    const IntRect source = CenterSourceRect(style_.Style, centreX, centreY, size.width(),
                                            size.height(), multimap.width(), multimap.height());
    source_ = QRect(QPoint(source.Left, source.Top), QPoint(source.Right - 1, source.Bottom - 1));
    const IntRect inner{inner_.left(), inner_.top(), inner_.right() + 1, inner_.bottom() + 1};
    // The panel is drawn already: only the map, then the tacks and the labels, go onto the
    // interior. The map alone is kept aside, so that the item's own part can be told apart.
    auto draw = [&](QImage& image, std::span<const int> list) {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setBackground(Qt::white);
        painter.setClipRect(inner_);
        DrawMapPanel(painter, session_, PanelStyle::None, false, AutomaticColour, inner, source,
                     list, labels, &filter_, style_.Monochrome);
    };
    QImage map = background_.copy();
    draw(map, {});
    picture_ = map.copy();
    draw(picture_, treasures);
    own_ = PictureOverlay(picture_, map, inner_, ownAt_);
    // Most items add the same few pixels (one tack on open parchment); handing the device the
    // image it has seen before lets a PDF store it once.
    if (!own_.isNull()) {
        QByteArray key(reinterpret_cast<const char*>(own_.constBits()), own_.sizeInBytes());
        key.prepend(QByteArray::number(own_.width()) + 'x');
        auto [seen, added] = owned_.try_emplace(std::move(key), own_);
        if (!added) own_ = seen->second;
    }
}

const QImage& PrintPictures::Tile(int column, int row) {
    QImage& tile = tiles_[{column, row}];
    if (tile.isNull()) {
        const QImage& multimap = session_.GetWorld().Drawing.MultimapBitmap;
        const QRect part =
            QRect(column * TileSize, row * TileSize, TileSize, TileSize) & multimap.rect();
        tile = multimap.copy(part).convertToFormat(QImage::Format_Indexed8);
        // Dark entries stand for the pen (black), light ones for "leave the paper".
        QList<QRgb> colours = tile.colorTable();
        for (QRgb& colour : colours)
            colour = qGray(colour) >= 128 ? qRgba(0, 0, 0, 0) : qRgb(0, 0, 0);
        tile.setColorTable(colours);
    }
    return tile;
}

void PrintPictures::DrawLayers(QPainter& painter, const QRectF& target) {
    const double sx = target.width() / background_.width();
    const double sy = target.height() / background_.height();
    auto onPage = [&](const QRect& r) {
        return QRectF(target.left() + r.left() * sx, target.top() + r.top() * sy, r.width() * sx,
                      r.height() * sy);
    };
    painter.drawImage(target, background_);
    const QImage& multimap = session_.GetWorld().Drawing.MultimapBitmap;
    // The picture draws a one-bit multimap only; so do its layers.
    const QRect window = multimap.depth() == 1 ? source_ & multimap.rect() : QRect();
    if (!window.isEmpty()) {
        painter.save();
        painter.setClipRect(onPage(inner_), Qt::IntersectClip);
        // Multimap point q lands on the picture at q - source + interior top-left.
        const QPoint shift = inner_.topLeft() - source_.topLeft();
        for (int row = window.top() / TileSize; row <= window.bottom() / TileSize; ++row) {
            for (int column = window.left() / TileSize; column <= window.right() / TileSize;
                 ++column) {
                const QImage& tile = Tile(column, row);
                const QRect at(QPoint(column * TileSize, row * TileSize) + shift, tile.size());
                painter.drawImage(onPage(at), tile);
            }
        }
        painter.restore();
    }
    if (!own_.isNull()) painter.drawImage(onPage(QRect(ownAt_, own_.size())), own_);
}

QImage PictureOverlay(const QImage& picture, const QImage& background, const QRect& within,
                      QPoint& at) {
    at = QPoint();
    const QRect area = within & picture.rect();
    if (picture.size() != background.size() || area.isEmpty()) return QImage();
    QImage overlay(area.size(), QImage::Format_ARGB32);
    const int width = area.width();
    QRect box;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* in =
            reinterpret_cast<const QRgb*>(picture.constScanLine(area.top() + y)) + area.left();
        const QRgb* ground =
            reinterpret_cast<const QRgb*>(background.constScanLine(area.top() + y)) + area.left();
        QRgb* out = reinterpret_cast<QRgb*>(overlay.scanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            const bool differs = in[x] != ground[x];
            out[x] = differs ? (in[x] | 0xFF000000u) : 0u;
            if (differs) {
                if (first < 0) first = x;
                last = x;
            }
        }
        if (first >= 0) box |= QRect(first, y, last - first + 1, 1);
    }
    if (box.isEmpty()) return QImage();
    at = area.topLeft() + box.topLeft();
    return overlay.copy(box);
}

}  // namespace brix
