#include "ui/map/WorldMapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <string>

#include "core/data/TreasureCatalog.h"
#include "core/map/Pictures.h"
#include "core/map/WorldCanvas.h"
#include "ui/map/MapScrolling.h"
#include "ui/map/MapViewHost.h"

namespace brix {

namespace {

// The scroll bar's own page step sizes its thumb to the visible part; a page click moves by
// a tenth of the extent instead.
void ApplyPageStep(QScrollBar* bar, int action, int extent) {
    if (action == QAbstractSlider::SliderPageStepAdd) {
        bar->setSliderPosition(bar->value() + MapPageStep(extent));
    } else if (action == QAbstractSlider::SliderPageStepSub) {
        bar->setSliderPosition(bar->value() - MapPageStep(extent));
    }
}

}  // namespace

WorldMapView::WorldMapView(TreasureCatalog& catalog, MapViewHost& host, QWidget* parent)
    : QAbstractScrollArea(parent),
      catalog_(catalog),
      host_(host),
      selectCursor_(MakeSelectCursor()) {
    setWindowTitle(QStringLiteral("Map Window"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Every paint covers its whole damaged area, so erasing first would only flicker.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        ApplyPageStep(horizontalScrollBar(), action, catalog_.Drawing.WorldBitmapSize.width());
    });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        ApplyPageStep(verticalScrollBar(), action, catalog_.Drawing.WorldBitmapSize.height());
    });
    UpdateScrollBars();
}

QPoint WorldMapView::ScrollOffset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void WorldMapView::RefreshCanvas() {
    UpdateScrollBars();
    viewport()->update();
}

void WorldMapView::UpdateScrollBars() {
    const QSize extent = catalog_.Drawing.WorldBitmapSize;
    const int width = std::max(0, extent.width());
    const int height = std::max(0, extent.height());
    const QSize visible = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, width - visible.width()));
    horizontal->setSingleStep(MapLineStep(width));
    horizontal->setPageStep(std::max(1, visible.width()));
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, height - visible.height()));
    vertical->setSingleStep(MapLineStep(height));
    vertical->setPageStep(std::max(1, visible.height()));
}

void WorldMapView::paintEvent(QPaintEvent* event) {
    const QRect damaged = event->rect();
    if (damaged.isEmpty()) return;
    const QPoint offset = ScrollOffset();
    const QRect box = damaged.translated(offset).normalized();
    QPainter painter(viewport());
    if (catalog_.Display.BeautyOverSpeed) {
        if (buffer_.width() < box.width() || buffer_.height() < box.height()) {
            buffer_ = QImage(std::max(buffer_.width(), box.width()),
                             std::max(buffer_.height(), box.height()), QImage::Format_RGB32);
        }
        DrawWorldCanvas(buffer_, box, catalog_, hoverRegion_);
        painter.drawImage(damaged.topLeft(), buffer_, QRect(QPoint(0, 0), box.size()));
    } else {
        painter.translate(-offset);
        DrawWorldCanvas(painter, box, catalog_, hoverRegion_);
    }
}

int WorldMapView::RegionAt(QPoint viewportPoint) const {
    if (!viewport()->rect().contains(viewportPoint)) return 0;
    return HitTestRegion(catalog_, viewportPoint + ScrollOffset());
}

void WorldMapView::InvalidateRegion(int index) {
    if (index < 1) return;
    const Region* region = catalog_.FindRegion(index);
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
            viewport()->setCursor(selectCursor_);
        } else {
            viewport()->unsetCursor();
        }
    }
    const Region* record = hoverRegion_ >= 1 ? catalog_.FindRegion(hoverRegion_) : nullptr;
    host_.SetStatusText(record != nullptr ? record->Name : std::string());
}

void WorldMapView::PointerLeft() {
    InvalidateRegion(hoverRegion_);
    hoverRegion_ = 0;
    viewport()->unsetCursor();
    host_.SetStatusText(std::string());
}

void WorldMapView::mouseMoveEvent(QMouseEvent* event) {
    PointerMovedTo(event->position().toPoint());
}

void WorldMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    // Qt keeps delivering the pointer to the viewport until the button is released.
    pressedRegion_ = RegionAt(event->position().toPoint());
    capturing_ = true;
}

void WorldMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
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
    host_.SetStatusText(std::string());
    PointerMovedTo(viewport()->mapFromGlobal(QCursor::pos()));
    QAbstractScrollArea::showEvent(event);
}

void WorldMapView::hideEvent(QHideEvent* event) {
    capturing_ = false;
    QAbstractScrollArea::hideEvent(event);
}

void WorldMapView::resizeEvent(QResizeEvent* event) {
    UpdateScrollBars();
    QAbstractScrollArea::resizeEvent(event);
}

void WorldMapView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
    // The picture moved under a resting pointer: what it points at now is another place.
    if (viewport()->underMouse()) PointerMovedTo(viewport()->mapFromGlobal(QCursor::pos()));
}

bool WorldMapView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) PointerLeft();
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace brix
