#include "core/map/Pictures.h"

#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <array>
#include <mutex>

// Q_INIT_RESOURCE declares the registration function in the enclosing namespace, and rcc
// defines it in the global one, so the call has to stay outside namespace brix.
static void RegisterBrixResources() {
    Q_INIT_RESOURCE(brix);
}

namespace brix {

namespace {

// Icon files in strip order; the position is the icon number the toolbar table uses.
constexpr std::array<const char*, CommandIconCount> IconFiles = {
    ":/icons/00-world.svg",         ":/icons/01-map-scroll.svg",
    ":/icons/02-copy.svg",          ":/icons/03-print.svg",
    ":/icons/04-about.svg",         ":/icons/05-region.svg",
    ":/icons/06-got-map.svg",       ":/icons/07-completed-map.svg",
    ":/icons/08-next-region.svg",   ":/icons/09-previous-region.svg",
    ":/icons/10-next-treasure.svg", ":/icons/11-previous-treasure.svg",
    ":/icons/12-treasure-info.svg", ":/icons/13-stay-on-top.svg",
    ":/icons/14-rune-book.svg",     ":/icons/15-find.svg",
    ":/icons/16-undo.svg",          ":/icons/17-redo.svg",
    ":/icons/18-identify.svg",      ":/icons/19-hunt-plan.svg",
};

QImage LoadResourceImage(const char* path) {
    InitResources();
    return QImage(QString::fromLatin1(path));
}

// Draws one SVG into target, clipped so that strokes reaching past the view box cannot
// spill into a neighbouring strip cell.
void RenderSvg(QPainter& painter, const char* path, const QRect& target) {
    QSvgRenderer renderer(QString::fromLatin1(path));
    if (!renderer.isValid()) {
        return;
    }
    painter.save();
    painter.setClipRect(target);
    renderer.render(&painter, QRectF(target));
    painter.restore();
}

}  // namespace

void InitResources() {
    static std::once_flag once;
    std::call_once(once, RegisterBrixResources);
}

QImage LoadScrollBitmap() {
    return LoadResourceImage(":/scroll.bmp");
}

QImage LoadTackBitmap() {
    return LoadResourceImage(":/tack.bmp");
}

QImage LoadTackHeadMask() {
    QImage mask = LoadResourceImage(":/tackhead.bmp");
    if (!mask.isNull() && mask.format() != QImage::Format_Mono) {
        mask = mask.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    }
    return mask;
}

// The cursor image is a 32 × 32 magnifying glass whose lens is centred on (12, 12); that
// point is the hot spot, so a click hits what is seen through the middle of the glass.
QImage LoadSelectCursorImage() {
    return LoadResourceImage(":/select.png");
}

QPoint SelectCursorHotSpot() {
    return QPoint(12, 12);
}

QImage RenderIconStrip(int iconSize) {
    if (iconSize < 1) {
        return QImage();
    }
    InitResources();
    QImage strip(CommandIconCount * iconSize, iconSize, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < CommandIconCount; ++i) {
        RenderSvg(painter, IconFiles[i], QRect(i * iconSize, 0, iconSize, iconSize));
    }
    painter.end();
    return strip;
}

QImage RenderAppIcon(int size) {
    if (size < 1) {
        return QImage();
    }
    InitResources();
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    RenderSvg(painter, ":/icons/app.svg", QRect(0, 0, size, size));
    painter.end();
    return icon;
}

}  // namespace brix
