#include "Labels.h"

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

}  // namespace brix::gen
