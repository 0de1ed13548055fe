#include "core/hunt/MapPictureFile.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>

namespace brix {
namespace {

bool TooLargeToDecode(QSize size) {
    return size.width() > MaxPictureSide || size.height() > MaxPictureSide ||
           static_cast<long long>(size.width()) * size.height() > MaxPicturePixels;
}

bool TooSmallToCompare(QSize size) {
    return size.width() < MinPictureSide || size.height() < MinPictureSide;
}

// The size to work at: the picture's own, or scaled down to MaxWorkingSide on its longer side.
QSize WorkingSize(QSize size) {
    const int longer = std::max(size.width(), size.height());
    if (longer <= MaxWorkingSide) return size;
    return size.scaled(MaxWorkingSide, MaxWorkingSide, Qt::KeepAspectRatio);
}

}  // namespace

MapPicture ReadMapPicture(QIODevice& device) {
    MapPicture picture;
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    const QSize claimed = reader.size();
    picture.ClaimedSize = claimed;
    if (claimed.isValid() && TooLargeToDecode(claimed)) {
        picture.Status = PictureStatus::TooLarge;
        return picture;
    }
    // A reader that cannot tell the size before decoding is held by Qt's own allocation limit.
    if (claimed.isValid() && WorkingSize(claimed) != claimed)
        reader.setScaledSize(WorkingSize(claimed));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        picture.Status = PictureStatus::Unreadable;
        return picture;
    }
    MapPicture taken = TakeMapPicture(image);
    if (claimed.isValid()) taken.ClaimedSize = claimed;
    return taken;
}

MapPicture ReadMapPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return MapPicture{};
    return ReadMapPicture(file);
}

MapPicture TakeMapPicture(const QImage& image) {
    MapPicture picture;
    picture.ClaimedSize = image.size();
    if (image.isNull()) return picture;
    if (TooSmallToCompare(image.size())) {
        picture.Status = PictureStatus::TooSmall;
        return picture;
    }
    const QSize working = WorkingSize(image.size());
    picture.Image = working == image.size()
                        ? image
                        : image.scaled(working, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.Status = PictureStatus::Ready;
    return picture;
}

}  // namespace brix
