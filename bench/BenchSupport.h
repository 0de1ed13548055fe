#pragma once

// Pictures that only the drawing benchmarks need; set-up shared with the tests (the running
// application, fixtures) comes from tests/support.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <string>

#include "core/map/MapImages.h"

namespace brix::bench {

// The archive named by BRIX_WORLD_ARCHIVE, else a kestrel.zip in the working directory or in
// the build folder above this program's; empty when there is none.
inline std::string FindWorldArchive() {
    const char* named = std::getenv("BRIX_WORLD_ARCHIVE");
    if (named != nullptr && *named != '\0') return named;
    const QString candidates[] = {
        QDir::current().filePath(QStringLiteral("kestrel.zip")),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../kestrel.zip")),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) return QDir::cleanPath(candidate).toStdString();
    }
    return std::string();
}

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
