#include "ui/map/MapScrollArea.h"

#include <QEvent>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>

#include "core/map/Pictures.h"

namespace brix {
namespace {

int LineStep(int extent) {
    return std::max(1, extent / 100);
}

int PageStep(int extent) {
    return std::max(1, extent / 10);
}

QCursor MakeSelectCursor() {
    const QImage image = LoadSelectCursorImage();
    if (image.isNull()) return QCursor(Qt::PointingHandCursor);
    const QPoint hotSpot = SelectCursorHotSpot();
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

}  // namespace

MapScrollArea::MapScrollArea(QWidget* parent)
    : QAbstractScrollArea(parent), selectCursor_(MakeSelectCursor()) {
    setWindowTitle(QStringLiteral("Map Window"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // Every paint covers its whole damaged area, so erasing first would only flicker.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        PageClicked(horizontalScrollBar(), action, CanvasExtent().width());
    });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int action) {
        PageClicked(verticalScrollBar(), action, CanvasExtent().height());
    });
}

QPoint MapScrollArea::ScrollOffset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

// The scroll bar's own page step sizes its thumb to the visible part, so a page click cannot
// use it: the slider has already moved by it when the action is reported, and is put a tenth
// of the extent from where it stood instead.
void MapScrollArea::PageClicked(QScrollBar* bar, int action, int extent) {
    if (action == QAbstractSlider::SliderPageStepAdd) {
        bar->setSliderPosition(bar->value() + PageStep(extent));
    } else if (action == QAbstractSlider::SliderPageStepSub) {
        bar->setSliderPosition(bar->value() - PageStep(extent));
    }
}

void MapScrollArea::UpdateScrollBars() {
    const QSize canvas = CanvasExtent();
    const QSize visible = viewport()->size();
    auto setUp = [](QScrollBar* bar, int extent, int shown) {
        extent = std::max(0, extent);
        bar->setRange(0, std::max(0, extent - shown));
        bar->setSingleStep(LineStep(extent));
        bar->setPageStep(std::max(1, shown));
    };
    setUp(horizontalScrollBar(), canvas.width(), visible.width());
    setUp(verticalScrollBar(), canvas.height(), visible.height());
}

void MapScrollArea::resizeEvent(QResizeEvent* event) {
    UpdateScrollBars();
    QAbstractScrollArea::resizeEvent(event);
}

void MapScrollArea::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

bool MapScrollArea::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) PointerLeft();
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace brix
