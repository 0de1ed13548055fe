#include "Labels.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace brix::gen {

QRect LabelRectFor(int x, int y, int dx, int dy, int index) {
    QPoint e = LeaderEndFor(x, y, dx, dy);
    int w = LabelDigitWidth * static_cast<int>(std::to_string(index).size());
    int h = LabelTextHeight;
    int left = e.x() - w / 2 - 1;
    int top = e.y() - h / 2 - 1;
    return QRect(QPoint(left, top), QPoint(left + w + 2 - 1, top + h + 2 - 1));
}

QPoint LeaderStartFor(int x, int y, int dx, int dy) {
    double len = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    int ax = x / 2 + 3, ay = y / 2 - 6;
    return QPoint(ax + static_cast<int>(6.0 * dx / len), ay + static_cast<int>(6.0 * dy / len) + 1);
}

QPoint LeaderEndFor(int x, int y, int dx, int dy) {
    return QPoint(x / 2 + 3 + dx / 2, y / 2 - 6 + dy / 2);
}

QRect TackRectFor(int x, int y) {
    return QRect(x / 2, y / 2 - 8, 13, 21);
}

bool ReadsAsMinus(QPoint start, QPoint end, const QRect& label) {
    const double dx = end.x() - start.x(), dy = end.y() - start.y();
    // Tangent of 30 degrees, squared.
    if (dy * dy * 3.0 > dx * dx) return false;
    // The leader shows until it enters the label: the latest of its entries across the
    // rectangle's vertical and horizontal edges.
    auto entry = [](double from, double step, double low, double high) {
        if (from < low) return (low - from) / step;
        if (from > high) return (high - from) / step;
        return 0.0;
    };
    const double shown = std::max(entry(start.x(), dx, label.left(), label.right() + 1.0),
                                  entry(start.y(), dy, label.top(), label.bottom() + 1.0));
    return shown * std::hypot(dx, dy) < label.height();
}

}  // namespace brix::gen
