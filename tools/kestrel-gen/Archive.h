#pragma once

#include <QByteArray>
#include <QImage>

#include <string>
#include <vector>

#include "World.h"

namespace brix::gen {

struct Member {
    std::string Name;
    QByteArray Bytes;
};

// A BMP file of the image: 24 bits per pixel for colour images, one bit for Format_Mono.
QByteArray EncodeBmp(const QImage& image);

// A one-bit image from a black-and-white drawing: dark pixels black, the rest white.
QImage ToMonochrome(const QImage& drawing);

// The region's overlay: one bit per map pixel of its bounding box, white inside the region.
QImage RegionMask(const World& world, const RegionPlan& region);

// Writes the archive with fixed member dates, so equal members give equal bytes. The file
// appears under its name only when complete.
bool WriteArchive(const std::string& path, const std::vector<Member>& members, std::string& error);

}  // namespace brix::gen
