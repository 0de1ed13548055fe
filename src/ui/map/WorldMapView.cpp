#include "ui/map/WorldMapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <string>

#include "core/data/Session.h"
#include "core/hunt/HuntPlan.h"
#include "core/map/Pictures.h"
#include "core/map/WorldCanvas.h"
#include "ui/map/MapViewHost.h"

namespace brix {

WorldMapView::WorldMapView(Session& session, MapViewHost& host, QWidget* parent)
    : MapScrollArea(parent),
      session_(session),
      host_(host),
      // The tints follow the has-map flags and the colours; the extent follows the picture.
      changes_(session, [this](unsigned reasons) {
          if (reasons & (Change::Filter | Change::Display)) RefreshCanvas();
      }) {
    setObjectName(QStringLiteral("WorldMapView"));
    setAccessibleName(tr("World map"));
    UpdateScrollBars();
}

QSize WorldMapView::CanvasExtent() const {
    return session_.GetWorld().Drawing.WorldBitmapSize;
}

void WorldMapView::RefreshCanvas() {
    UpdateScrollBars();
    if (route_) overlay_ = BuildRouteOverlay(*route_, CanvasExtent());
    viewport()->update();
}

void WorldMapView::ShowRoute(std::shared_ptr<const HuntPlan> plan) {
    route_ = std::move(plan);
    overlay_ = route_ ? BuildRouteOverlay(*route_, CanvasExtent()) : RouteOverlay();
    viewport()->update();
}

void WorldMapView::paintEvent(QPaintEvent* event) {
    const QRect damaged = event->rect();
    if (damaged.isEmpty()) return;
    const QPoint offset = ScrollOffset();
    const QRect box = damaged.translated(offset).normalized();
    QPainter painter(viewport());
    if (session_.GetPrefs().Display.BeautyOverSpeed) {
        if (buffer_.width() < box.width() || buffer_.height() < box.height()) {
            buffer_ = QImage(std::max(buffer_.width(), box.width()),
                             std::max(buffer_.height(), box.height()), QImage::Format_RGB32);
        }
        DrawWorldCanvas(buffer_, box, session_, hoverRegion_);
        painter.drawImage(damaged.topLeft(), buffer_, QRect(QPoint(0, 0), box.size()));
        painter.translate(-offset);
    } else {
        painter.translate(-offset);
        DrawWorldCanvas(painter, box, session_, hoverRegion_);
    }
    // Straight onto the screen, above the tints, so its lines and numbers stay sharp at any
    // scale.
    if (!overlay_.Stops.empty()) DrawRouteOverlay(painter, overlay_, font());
}

int WorldMapView::RegionAt(QPoint viewportPoint) const {
    if (!viewport()->rect().contains(viewportPoint)) return 0;
    return HitTestRegion(session_.GetWorld(), viewportPoint + ScrollOffset());
}

void WorldMapView::InvalidateRegion(int index) {
    if (index < 1) return;
    const Region* region = session_.GetWorld().FindRegion(index);
    if (region == nullptr) return;
    const QRect rect = MaskQRect(*region);
    if (!rect.isEmpty()) viewport()->update(rect.translated(-ScrollOffset()));
}

void WorldMapView::PointerMovedTo(QPoint viewportPoint) {
    const int region = RegionAt(viewportPoint);
    if (region != hoverRegion_) {
        InvalidateRegion(hoverRegion_);
        hoverRegion_ = region;
        InvalidateRegion(hoverRegion_);
        if (hoverRegion_ >= 1) {
            viewport()->setCursor(SelectCursor());
        } else {
            viewport()->unsetCursor();
        }
    }
    // A region shows its name even when that is empty; only the sea brings back "Ready".
    const Region* record =
        hoverRegion_ >= 1 ? session_.GetWorld().FindRegion(hoverRegion_) : nullptr;
    if (record != nullptr)
        host_.ShowStatusText(record->Name);
    else
        host_.ShowReadyText();
}

void WorldMapView::PointerLeft() {
    InvalidateRegion(hoverRegion_);
    hoverRegion_ = 0;
    viewport()->unsetCursor();
    host_.ShowReadyText();
}

void WorldMapView::mouseMoveEvent(QMouseEvent* event) {
    PointerMovedTo(event->position().toPoint());
}

void WorldMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        MapScrollArea::mousePressEvent(event);
        return;
    }
    // Qt keeps delivering the pointer to the viewport until the button is released.
    pressedRegion_ = RegionAt(event->position().toPoint());
    capturing_ = true;
}

void WorldMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        MapScrollArea::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // A press that began elsewhere is none of this view's business.
    if (!capturing_) return;
    capturing_ = false;
    const int region = RegionAt(event->position().toPoint());
    if (region >= 1 && region == pressedRegion_) host_.ShowRegionView(region, -1);
}

void WorldMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a click on a region.
    event->accept();
}

void WorldMapView::showEvent(QShowEvent* event) {
    hoverRegion_ = 0;
    viewport()->unsetCursor();
    host_.ShowReadyText();
    PointerMovedTo(viewport()->mapFromGlobal(QCursor::pos()));
    MapScrollArea::showEvent(event);
}

void WorldMapView::hideEvent(QHideEvent* event) {
    capturing_ = false;
    MapScrollArea::hideEvent(event);
}

void WorldMapView::scrollContentsBy(int dx, int dy) {
    MapScrollArea::scrollContentsBy(dx, dy);
    // The picture moved under a resting pointer: what it points at now is another place.
    if (viewport()->underMouse()) PointerMovedTo(viewport()->mapFromGlobal(QCursor::pos()));
}

}  // namespace brix
