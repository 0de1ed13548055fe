// Feeds arbitrary bytes as a bitmap member of the archive through the whole path a map picture
// takes at start-up: the bounded read and decode (as a one-bit picture is wanted, and as any
// picture is), the monochrome test and normalisation, the
// mask bits, and the transparency mask. Whatever is accepted must respect the size bounds, and
// the derived images must keep the picture's size and their documented forms.
#include <QImage>

#include <cstdint>
#include <cstdlib>

#include "StoredZip.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapImages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto archive = brix::ZipArchive::OpenBytes(brix::fuzz::StoredZip("world.bmp", data, size));
    if (!archive) std::abort();  // the wrapper is always a valid archive
    // As the multimap and the overlays are read: only a one-bit picture is decoded.
    bool notMonochrome = false;
    const QImage wanted = brix::LoadArchiveBitmap(*archive, "world.bmp", &notMonochrome);
    if (!wanted.isNull() && (notMonochrome || !brix::IsMonochrome(wanted))) std::abort();

    // As the world picture is read.
    QImage image = brix::LoadArchiveBitmap(*archive, "world.bmp");
    if (!wanted.isNull() && image.size() != wanted.size()) std::abort();
    if (image.isNull()) return 0;
    if (image.width() < 1 || image.height() < 1 || image.width() > brix::MaxBitmapSide ||
        image.height() > brix::MaxBitmapSide)
        std::abort();

    const QImage mono = brix::NormalizeMonochrome(image);
    if (mono.size() != image.size() || mono.format() != QImage::Format_Mono) std::abort();
    if (mono.color(0) != 0xFF000000u || mono.color(1) != 0xFFFFFFFFu) std::abort();
    if (brix::IsMonochrome(image)) {
        int bytesPerRow = 0;
        const auto bits = brix::MonochromeRowBits(image, bytesPerRow);
        if (bytesPerRow % 2 != 0 || bytesPerRow * 8 < image.width()) std::abort();
        if (bits.size() != static_cast<std::size_t>(bytesPerRow) * image.height()) std::abort();
    }

    QImage bitmap = image;
    const QImage mask = brix::MakeTransparencyMask(bitmap, brix::TransparencyKey);
    if (mask.size() != image.size() || bitmap.format() != QImage::Format_RGB32) std::abort();
    // Pixel by pixel only for small pictures, which keeps each run fast; the mask's rule does
    // not depend on the size.
    if (static_cast<long long>(mask.width()) * mask.height() > 65536) return 0;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixelIndex(x, y) == 1 && bitmap.pixel(x, y) != 0xFF000000u) std::abort();
        }
    }
    return 0;
}
