#pragma once

#include <QFont>
#include <QImage>
#include <QPen>
#include <QSize>

namespace brix {

// Images, pen and font shared by every map picture; built once at start-up and kept for the
// run. An image that could not be loaded stays null and every drawing step that needs it
// draws nothing.
struct DrawingResources {
    QImage ScrollBitmap;
    QImage ScrollMask;
    QSize ScrollSize;
    QImage TackBitmap;
    QImage TackMask;
    QImage TackHeadMask;
    QSize TackSize;
    QImage MultimapBitmap;
    QSize MultimapSize;
    QImage WorldBitmap;
    QSize WorldBitmapSize;
    QPen LeaderPen;
    QFont LabelFont;
};

}  // namespace brix
