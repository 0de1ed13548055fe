#include "core/output/PrintLayout.h"

namespace brix {

namespace {

// A distance in thousandths of an inch in device pixels (multiplied before dividing).
long long Pixels(int thousandths, int dpi) {
    return static_cast<long long>(thousandths) * dpi / 1000;
}

}  // namespace

QRect PrintableRect(const PrintMargins& margins, QSize paper, const QRect& printableArea, int dpiX,
                    int dpiY) {
    long long left = Pixels(margins.Left, dpiX);
    long long top = Pixels(margins.Top, dpiY);
    long long right = paper.width() - Pixels(margins.Right, dpiX);
    long long bottom = paper.height() - Pixels(margins.Bottom, dpiY);
    // Margins inside the unprintable border (or negative ones from a hand-edited settings
    // file) are pulled in to what the device can print.
    left = std::max<long long>(left, printableArea.left());
    top = std::max<long long>(top, printableArea.top());
    right = std::min<long long>(
        right, static_cast<long long>(printableArea.left()) + printableArea.width());
    bottom = std::min<long long>(
        bottom, static_cast<long long>(printableArea.top()) + printableArea.height());
    if (right <= left || bottom <= top) return QRect();
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

QRect PrintBodyRect(const QRect& printable, int lineHeight) {
    if (lineHeight <= 0 || printable.isEmpty()) return QRect();
    const int lines = printable.height() / lineHeight - 6;
    if (lines < 1) return QRect();
    return QRect(printable.left(), printable.top() + 4 * lineHeight, printable.width(),
                 lines * lineHeight);
}

std::optional<PrintPageGeometry> PrintPageFor(const PrintMargins& margins, QSize paper,
                                              const QRect& printableArea, int dpiX, int dpiY,
                                              int lineHeight, int averageCharWidth) {
    PrintPageGeometry page;
    page.Printable = PrintableRect(margins, paper, printableArea, dpiX, dpiY);
    page.Body = PrintBodyRect(page.Printable, lineHeight);
    if (page.Body.isEmpty()) return std::nullopt;
    page.LineHeight = lineHeight;
    page.AverageCharWidth = std::max(1, averageCharWidth);
    return page;
}

}  // namespace brix
