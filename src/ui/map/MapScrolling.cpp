#include "ui/map/MapScrolling.h"

#include <QPixmap>

#include "core/map/Pictures.h"

namespace brix {

QCursor MakeSelectCursor() {
    const QImage image = LoadSelectCursorImage();
    if (image.isNull()) return QCursor(Qt::PointingHandCursor);
    const QPoint hotSpot = SelectCursorHotSpot();
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

}  // namespace brix
