#include "support/MapPictureQuery.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <span>

#include "core/data/Session.h"
#include "core/map/DrawPrimitives.h"
#include "core/output/TreasureInfo.h"

namespace brix::test {
namespace {

// The window colour around the scroll's rollers in a screenshot.
constexpr QRgb WindowGrey = 0xFFEFEFEF;

// The [1 2 1] blur across, then down, edges repeated.
QImage BlurOnce(QImage image) {
    const int w = image.width(), h = image.height();
    for (const bool down : {false, true}) {
        const QImage in = image;  // shares the pixels until they are written
        const auto* src = reinterpret_cast<const QRgb*>(in.constBits());
        const qsizetype stride = in.bytesPerLine() / 4;
        auto* dst = reinterpret_cast<QRgb*>(image.bits());
        const auto at = [&](int x, int y) {
            return src[std::clamp(y, 0, h - 1) * stride + std::clamp(x, 0, w - 1)];
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb a = down ? at(x, y - 1) : at(x - 1, y), b = at(x, y),
                           c = down ? at(x, y + 1) : at(x + 1, y);
                dst[y * stride + x] = qRgb((qRed(a) + 2 * qRed(b) + qRed(c)) / 4,
                                           (qGreen(a) + 2 * qGreen(b) + qGreen(c)) / 4,
                                           (qBlue(a) + 2 * qBlue(b) + qBlue(c)) / 4);
            }
    }
    return image;
}

int Channel(double value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

}  // namespace

double Draws::Uniform(double low, double high) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    const double unit = static_cast<double>(state_ >> 11) / 9007199254740992.0;  // 2^53
    return low + (high - low) * unit;
}

PictureChanges RandomChanges(Draws& draws, bool tack) {
    PictureChanges c;
    c.ShiftX = draws.Uniform(-0.1, 0.1);
    c.ShiftY = draws.Uniform(-0.1, 0.1);
    c.Tack = tack;
    c.Scale = std::exp(draws.Uniform(std::log(0.7), std::log(1.4)));
    c.Rotation = draws.Uniform(-3, 3);
    c.BlurPasses = draws.Uniform(0, 1) < 0.5 ? 1 : 2;
    c.Brightness = draws.Uniform(-40, 40);
    c.Contrast = draws.Uniform(0.7, 1.3);
    c.Tint = draws.Uniform(0.3, 1);
    c.JpegQuality = 60;
    return c;
}

QByteArray JpegBytes(const QImage& picture, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(picture);
    return bytes;
}

QImage PictureOfCloseUp(const Session& session, int treasure, const PictureChanges& changes) {
    const Treasure* record = session.GetWorld().FindTreasure(treasure);
    if (record == nullptr) return QImage();
    const QSize multimap = session.GetWorld().Drawing.MultimapSize;
    IntRect source = TreasureCloseUpSource(session, treasure);
    // Moving the window the other way puts the spot off centre; it stays inside the multimap.
    const int width = source.Right - source.Left;
    const int height = source.Bottom - source.Top;
    const int dx = std::clamp(static_cast<int>(std::lround(-changes.ShiftX * InfoCloseUpWidth)),
                              -source.Left, multimap.width() - source.Right);
    const int dy = std::clamp(static_cast<int>(std::lround(-changes.ShiftY * InfoCloseUpHeight)),
                              -source.Top, multimap.height() - source.Bottom);
    source = IntRect{source.Left + dx, source.Top + dy, source.Left + dx + width,
                     source.Top + dy + height};

    QImage closeUp(InfoCloseUpWidth, InfoCloseUpHeight, QImage::Format_RGB32);
    closeUp.fill(WindowGrey);
    {
        QPainter painter(&closeUp);
        const std::span<const int> tacks =
            changes.Tack ? std::span<const int>(&treasure, 1) : std::span<const int>();
        DrawMapPanel(painter, session, PanelStyle::Scroll, true, AutomaticColour,
                     IntRect{0, 0, InfoCloseUpWidth, InfoCloseUpHeight}, source, tacks, false,
                     &session.Filter(), false);
    }

    // Tint, then brightness and contrast, as a game's palette and a monitor would.
    const auto adjust = [&changes](int channel, double tint) {
        return Channel((channel * (1 - tint * changes.Tint) - 128) * changes.Contrast + 128 +
                       changes.Brightness);
    };
    for (int y = 0; y < closeUp.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(closeUp.scanLine(y));
        for (int x = 0; x < closeUp.width(); ++x)
            row[x] = qRgb(adjust(qRed(row[x]), 0.02), adjust(qGreen(row[x]), 0.1),
                          adjust(qBlue(row[x]), 0.3));
    }

    // Scaled and turned about the centre onto a window-grey screenshot.
    const QSize size(std::max(1, static_cast<int>(std::lround(closeUp.width() * changes.Scale))),
                     std::max(1, static_cast<int>(std::lround(closeUp.height() * changes.Scale))));
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(WindowGrey);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(size.width() / 2.0, size.height() / 2.0);
        painter.rotate(changes.Rotation);
        painter.scale(changes.Scale, changes.Scale);
        painter.translate(-closeUp.width() / 2.0, -closeUp.height() / 2.0);
        painter.drawImage(0, 0, closeUp);
    }
    for (int pass = 0; pass < changes.BlurPasses; ++pass) picture = BlurOnce(picture);
    if (changes.JpegQuality >= 0) {
        QImage decoded;
        decoded.loadFromData(JpegBytes(picture, changes.JpegQuality), "JPEG");
        picture = decoded;
    }
    return picture;
}

}  // namespace brix::test
