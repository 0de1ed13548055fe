#include "ui/map/RegionMapView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include "core/base/Commands.h"
#include "core/base/Strings.h"
#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/Pictures.h"
#include "core/output/InfoText.h"
#include "ui/map/MapViewHost.h"

namespace brix {

RegionMapView::RegionMapView(Session& session, MapViewHost& host, Messages& messages,
                             QWidget* parent)
    : MapScrollArea(parent),
      session_(session),
      host_(host),
      messages_(messages),
      canvas_(session),
      changes_(session, [this](unsigned) { viewport()->update(); }) {
    setObjectName(QStringLiteral("RegionMapView"));
    setAccessibleName(tr("Region map"));
    // Every pixel is painted, so the system never needs to clear the view first.
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);

    canvas_.Invalidate = [this](const IntRect& rect) { InvalidateCanvasRect(rect); };
    canvas_.ShowRegion(0, 0);
    UpdateScrollBars();
}

QSize RegionMapView::CanvasExtent() const {
    return QSize(RegionLayout::CanvasWidth, RegionLayout::CanvasHeight);
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
                CopyTreasureText(session_,
                                 session_.GetWorld().FindTreasure(canvas_.SelectedTreasure()),
                                 messages_, this);
            return true;
        case Command::NextRegion:
        case Command::PreviousRegion:
            canvas_.StepRegion(id == Command::NextRegion);
            ForgetCursorAfterStep();
            return true;
        case Command::NextTreasure:
        case Command::PreviousTreasure:
            canvas_.StepTreasure(id == Command::NextTreasure);
            ForgetCursorAfterStep();
            return true;
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
        case Command::Copy:
            return canvas_.SelectedTreasure() != 0;
        case Command::NextRegion:
        case Command::PreviousRegion:
            return canvas_.CanStepRegion(id == Command::NextRegion);
        case Command::NextTreasure:
        case Command::PreviousTreasure:
            return canvas_.CanStepTreasure(id == Command::NextTreasure);
        default:
            return false;
    }
}

void RegionMapView::ForgetCursorAfterStep() {
    // A new region forgets the treasure under the pointer until it moves again.
    if (canvas_.HoverTreasure() == 0) viewport()->setCursor(Qt::ArrowCursor);
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
    if (session_.GetPrefs().Display.BeautyOverSpeed) {
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

void RegionMapView::PointerMoved(QPoint viewportPoint) {
    if (!canvas_.MovePointer(viewportPoint + ScrollOffset())) return;
    const int hover = canvas_.HoverTreasure();
    const Treasure* treasure = session_.GetWorld().FindTreasure(hover);
    if (hover >= 1 && treasure != nullptr) {
        host_.ShowStatusText(
            FormatText(LoadString(StringId::TreasureStatusText), {hover, treasure->Name}));
        viewport()->setCursor(SelectCursor());
    } else {
        host_.ShowReadyText();
        viewport()->setCursor(Qt::ArrowCursor);
    }
}

void RegionMapView::PointerLeft() {
    canvas_.ForgetPointer();
    host_.ShowReadyText();
    viewport()->setCursor(Qt::ArrowCursor);
}

void RegionMapView::showEvent(QShowEvent* event) {
    PointerLeft();
    // A pointer that already rests on a treasure names it at once; one outside the view does
    // not.
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(pointer)) PointerMoved(pointer);
    MapScrollArea::showEvent(event);
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

}  // namespace brix
