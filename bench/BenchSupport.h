#pragma once

// Pictures that only the drawing benchmarks need; set-up shared with the tests (the running
// application, fixtures) comes from tests/support.
#include <QImage>
#include <QPainter>

#include "core/map/MapImages.h"

namespace brix::bench {

// A one-bit multimap the size of the sample world's, crossed by coast-like lines and marks.
inline QImage SyntheticMultimap(int strokes) {
    QImage map(2560, 2048, QImage::Format_RGB32);
    map.fill(Qt::white);
    QPainter painter(&map);
    painter.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < strokes; ++i) {
        const int x = (i * 397) % 2560;
        const int y = (i * 211) % 2048;
        painter.drawLine(x, y, x + 60 + i % 90, y + 35 - i % 70);
        painter.drawEllipse(QPoint((x * 3) % 2560, (y * 7) % 2048), 6, 4);
    }
    painter.end();
    return NormalizeMonochrome(map);
}

}  // namespace brix::bench
