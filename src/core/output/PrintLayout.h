#pragma once

#include <QRect>
#include <QSize>

#include <algorithm>
#include <concepts>
#include <optional>

#include "core/base/Settings.h"

namespace brix {

// The page geometry of a printed listing, in device pixels on the full page (origin at the
// paper's top-left corner), and the rules that place items on it. Nothing here paints, so
// every rule can be checked without a device.

// The page area inside the margins (thousandths of an inch): each edge is pulled in to the
// device's printable area when the margin is smaller than the unprintable border. Empty when
// the margins leave nothing.
QRect PrintableRect(const PrintMargins& margins, QSize paper, const QRect& printableArea, int dpiX,
                    int dpiY);

// Where items go: the printable rectangle less four header lines at the top, cut to a whole
// number of lines so that the last two lines of the printable rectangle stay free for the
// footer. Empty when less than one line would be left.
QRect PrintBodyRect(const QRect& printable, int lineHeight);

// Narrowest text column, in average character widths, still printed beside a picture; with
// less room the text goes below the picture.
inline constexpr int MinTextColumnChars = 10;
// Room between the text column and the picture, in average character widths.
inline constexpr int PictureGapChars = 4;

// One item's boxes relative to its top-left corner in the body (x = body left, y = 0).
struct PrintItemBoxes {
    QRect Text;     // where the text is drawn, word-wrapped; its height is the measured one
    QRect Picture;  // empty when no picture is printed
    int Height = 0;
};

// Measures a text word-wrapped to the given width: its height in device pixels.
template <typename Measure>
concept TextHeightMeasure = requires(Measure measure, int width) {
    { measure(width) } -> std::convertible_to<int>;
};

// Lays out one item in a body of the given width: the picture (if any) right-aligned at the
// top; the text left of it in a column narrowed by the picture and a gap, or below the picture
// when that column would be too narrow; the item is at least the picture plus one line high.
// A picture wider than the body is scaled down to the body's width, keeping its shape.
template <TextHeightMeasure Measure>
PrintItemBoxes LayOutPrintItem(int bodyWidth, QSize picture, int lineHeight, int averageCharWidth,
                               Measure measure) {
    PrintItemBoxes boxes;
    if (picture.isEmpty()) {
        const int height = measure(bodyWidth);
        boxes.Text = QRect(0, 0, bodyWidth, height);
        boxes.Height = height;
        return boxes;
    }
    if (picture.width() > bodyWidth)
        picture = QSize(bodyWidth, static_cast<int>(static_cast<long long>(picture.height()) *
                                                    bodyWidth / picture.width()));
    boxes.Picture = QRect(QPoint(bodyWidth - picture.width(), 0), picture);
    const int column = bodyWidth - PictureGapChars * averageCharWidth - picture.width();
    if (column >= MinTextColumnChars * averageCharWidth) {
        const int height = measure(column);
        boxes.Text = QRect(0, 0, column, height);
        boxes.Height = std::max(height, picture.height() + lineHeight);
    } else {
        const int top = picture.height() + lineHeight;
        const int height = measure(bodyWidth);
        boxes.Text = QRect(0, top, bodyWidth, height);
        boxes.Height = top + height;
    }
    return boxes;
}

// The page of one job: printable and body rectangles and the font's line metrics.
struct PrintPageGeometry {
    QRect Printable;
    QRect Body;
    int LineHeight = 0;
    int AverageCharWidth = 0;
};

// The page for these margins on a paper of the given size (device pixels) with that printable
// area; nullopt when the margins leave less than one line of body.
std::optional<PrintPageGeometry> PrintPageFor(const PrintMargins& margins, QSize paper,
                                              const QRect& printableArea, int dpiX, int dpiY,
                                              int lineHeight, int averageCharWidth);

// Where one item goes, in full-page coordinates.
struct PrintPlacement {
    bool NewPage = false;  // the item starts a page (the first item always does)
    int Page = 0;          // counted from 1
    QRect Text;
    QRect Picture;  // empty when no picture is printed
};

// Fills pages top to bottom, item after item. No page exists until the first item asks for
// one; an item that does not fit in what is left of the page starts a new one, and an item
// taller than a whole body gets a fresh page of its own and overruns it (it is never split).
class PrintPaginator {
public:
    PrintPaginator(const PrintPageGeometry& page, QSize pictureOnPaper)
        : page_(page), picture_(pictureOnPaper) {}

    template <TextHeightMeasure Measure>
    PrintPlacement Place(Measure measure) {
        const PrintItemBoxes boxes = LayOutPrintItem(page_.Body.width(), picture_, page_.LineHeight,
                                                     page_.AverageCharWidth, measure);
        PrintPlacement placement;
        if (pages_ == 0 || (fill_ > 0 && page_.Body.height() - fill_ < boxes.Height)) {
            placement.NewPage = true;
            ++pages_;
            fill_ = 0;
        }
        const QPoint origin(page_.Body.left(), page_.Body.top() + fill_);
        fill_ += boxes.Height;
        placement.Page = pages_;
        placement.Text = boxes.Text.translated(origin);
        if (!boxes.Picture.isEmpty()) placement.Picture = boxes.Picture.translated(origin);
        return placement;
    }

    int Pages() const { return pages_; }

private:
    PrintPageGeometry page_;
    QSize picture_;
    int fill_ = 0;
    int pages_ = 0;
};

}  // namespace brix
