#include "ui/map/RegionMapView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>

#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/Pictures.h"
#include "core/output/InfoText.h"
#include "ui/map/MapScrolling.h"
#include "ui/map/MapViewHost.h"

namespace brix {
namespace {

constexpr int TreasureStatusText = 11016;

}  // namespace

RegionMapView::RegionMapView(TreasureCatalog& catalog, MapViewHost& host, Messages& messages,
                             QWidget* parent)
    : QAbstractScrollArea(parent),
      catalog_(catalog),
      host_(host),
      messages_(messages),
      canvas_(catalog),
      selectCursor_(MakeSelectCursor()) {
    setWindowTitle(QStringLiteral("Map Window"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Every pixel is painted, so the system never needs to clear the view first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);

    canvas_.Invalidate = [this](const IntRect& rect) { InvalidateCanvasRect(rect); };
    canvas_.ShowRegion(0, 0);
    UpdateScrollBars();
}

QPoint RegionMapView::ScrollOffset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void RegionMapView::ShowRegion(int region, int treasure) {
    canvas_.ShowRegion(region, treasure);
    viewport()->setCursor(Qt::ArrowCursor);
}

bool RegionMapView::HandleCommand(int id) {
    switch (id) {
        case Command::TreasureInformation:
            host_.ShowTreasureInfo(canvas_.InformationTreasure());
            return true;
        case Command::GotAMap:
            host_.OpenMapInventory(canvas_.SelectedTreasure(), true);
            return true;
        case Command::CompletedAMap:
            host_.OpenMapInventory(canvas_.SelectedTreasure(), false);
            return true;
        case Command::Copy:
            if (canvas_.SelectedTreasure() != 0)
                CopyTreasureText(catalog_, catalog_.FindTreasure(canvas_.SelectedTreasure()),
                                 messages_, this);
            return true;
        case Command::NextRegion:
        case Command::PreviousRegion:
        case Command::NextTreasure:
        case Command::PreviousTreasure: {
            canvas_.Navigate(id);
            // A new region forgets the treasure under the pointer until it moves again.
            if (canvas_.HoverTreasure() == 0) viewport()->setCursor(Qt::ArrowCursor);
            return true;
        }
        default:
            return false;
    }
}

bool RegionMapView::IsCommandEnabled(int id) const {
    switch (id) {
        case Command::TreasureInformation:
        case Command::GotAMap:
        case Command::CompletedAMap:
            return true;
        default:
            return canvas_.IsNavigationEnabled(id);
    }
}

void RegionMapView::InvalidateCanvasRect(const IntRect& rect) {
    const QRect area(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    viewport()->update(area.translated(-ScrollOffset()));
}

void RegionMapView::paintEvent(QPaintEvent* event) {
    const QPoint offset = ScrollOffset();
    const QRect damage = event->rect();
    const QRect box = damage.translated(offset).normalized();
    const QRect clientArea(offset, viewport()->size());
    QPainter painter(viewport());
    if (catalog_.Display.BeautyOverSpeed) {
        // Composed off-screen and shown in one transfer, so the tacks never flicker.
        QImage image(box.size(), QImage::Format_RGB32);
        if (image.isNull()) return;
        image.fill(QColor::fromRgb(RgbFromColourRef(ParchmentColour)));
        {
            QPainter offscreen(&image);
            offscreen.translate(-box.topLeft());
            DrawRegionCanvas(offscreen, canvas_, clientArea);
        }
        painter.drawImage(damage.topLeft(), image);
    } else {
        painter.translate(-offset);
        DrawRegionCanvas(painter, canvas_, clientArea);
    }
}

void RegionMapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void RegionMapView::UpdateScrollBars() {
    const QSize visible = viewport()->size();
    auto setUp = [](QScrollBar* bar, int extent, int shown) {
        bar->setSingleStep(MapLineStep(extent));
        bar->setPageStep(MapPageStep(extent));
        bar->setRange(0, std::max(0, extent - shown));
    };
    setUp(horizontalScrollBar(), RegionLayout::CanvasWidth, visible.width());
    setUp(verticalScrollBar(), RegionLayout::CanvasHeight, visible.height());
}

void RegionMapView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

void RegionMapView::PointerMoved(QPoint viewportPoint) {
    if (!canvas_.MovePointer(viewportPoint + ScrollOffset())) return;
    const int hover = canvas_.HoverTreasure();
    const Treasure* treasure = catalog_.FindTreasure(hover);
    if (hover >= 1 && treasure != nullptr) {
        host_.SetStatusText(FormatText(LoadString(TreasureStatusText), {hover, treasure->Name}));
        viewport()->setCursor(selectCursor_);
    } else {
        host_.SetStatusText(std::string());
        viewport()->setCursor(Qt::ArrowCursor);
    }
}

void RegionMapView::PointerLeft() {
    canvas_.ForgetPointer();
    host_.SetStatusText(std::string());
    viewport()->setCursor(Qt::ArrowCursor);
}

void RegionMapView::showEvent(QShowEvent* event) {
    PointerLeft();
    // A pointer that already rests on a treasure names it at once; one outside the view does
    // not.
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(pointer)) PointerMoved(pointer);
    QAbstractScrollArea::showEvent(event);
}

void RegionMapView::mouseMoveEvent(QMouseEvent* event) {
    PointerMoved(event->position().toPoint());
}

void RegionMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    canvas_.PressButton(event->position().toPoint() + ScrollOffset());
    // Qt keeps sending the pointer's events here until the button is released.
    capturing_ = true;
}

void RegionMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !capturing_) return;
    capturing_ = false;
    canvas_.ReleaseButton(event->position().toPoint() + ScrollOffset());
}

void RegionMapView::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

bool RegionMapView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) PointerLeft();
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace brix
