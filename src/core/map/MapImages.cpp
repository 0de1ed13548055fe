#include "core/map/MapImages.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/DataFiles.h"
#include "core/data/World.h"
#include "core/data/ZipArchive.h"
#include "core/map/Pictures.h"

namespace brix {
namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

bool IsLight(QRgb colour) {
    return qGray(colour) >= 128;
}

// The colour of a palette entry; an entry the palette lacks reads as black.
QRgb PaletteColour(const QImage& image, int index) {
    return index < image.colorCount() ? image.color(index) : Black;
}

// The data file does not bound a region's offset; a rectangle that would reach past the int
// range ends at its limit instead of wrapping round.
int SaturatedSum(int offset, int extent) {
    const long long sum = static_cast<long long>(offset) + extent;
    return sum > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(sum);
}

std::uint32_t ReadLe(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// The decoder fills in whatever a cut-off file lacks. An uncompressed bitmap shorter than its
// header promises is damaged, and is refused rather than shown with its lower part missing.
// Files this check cannot judge are left to the decoder.
bool HoldsEveryPixelRow(const std::string& bytes) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return true;
    const std::uint32_t offset = ReadLe(bytes, 10, 4);
    const std::uint32_t headerSize = ReadLe(bytes, 14, 4);
    long long width = 0;
    long long height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = ReadLe(bytes, 18, 2);
        height = ReadLe(bytes, 20, 2);
        bitsPerPixel = ReadLe(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        width = static_cast<std::int32_t>(ReadLe(bytes, 18, 4));
        height = static_cast<std::int32_t>(ReadLe(bytes, 22, 4));
        bitsPerPixel = ReadLe(bytes, 28, 2);
        compression = ReadLe(bytes, 30, 4);
    } else {
        return true;
    }
    // Run-length data has no fixed size.
    const bool uncompressed = compression == 0 || compression == 3;
    if (!uncompressed || width <= 0 || height == 0 || bitsPerPixel == 0 || bitsPerPixel > 32)
        return true;
    const long long rows = height < 0 ? -height : height;
    // Pictures this large are refused by their size anyway.
    if (width > MaxBitmapSide || rows > MaxBitmapSide) return true;
    const long long stride = (width * bitsPerPixel + 31) / 32 * 4;
    const long long lastRow = (width * bitsPerPixel + 7) / 8;
    return static_cast<long long>(offset) + stride * (rows - 1) + lastRow <=
           static_cast<long long>(bytes.size());
}

void ShowMemberMessage(Messages& messages, int stringId, const std::string& member) {
    messages.Show(FormatText(LoadString(stringId), {member}));
}

// A reader of BMP bytes that refuses to guess the format: the archive only ever holds BMP
// files, and this keeps every other decoder away from its bytes.
std::unique_ptr<QImageReader> BmpReader(QBuffer& buffer) {
    if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
    auto reader = std::make_unique<QImageReader>(&buffer, "bmp");
    reader->setAutoDetectImageFormat(false);
    return reader;
}

enum class HeaderVerdict { Accepted, Refused, NotMonochrome };

// Whether the header at the start of a BMP states a size and form the program is willing to
// decode; judged from the first bytes alone, so that nothing is allocated for a picture that
// would be refused.
HeaderVerdict JudgeHeader(const char* data, std::size_t size, std::uint64_t memberSize,
                          bool monochromeWanted) {
    QByteArray head = QByteArray::fromRawData(data, static_cast<qsizetype>(size));
    QBuffer buffer(&head);
    const std::unique_ptr<QImageReader> reader = BmpReader(buffer);
    if (!reader) return HeaderVerdict::Refused;
    // The reader gives the header's height as it stands: negative for a picture stored top
    // row first, which decodes as well as one stored bottom row first.
    const QSize pixels = reader->size();
    const long long rows = std::abs(static_cast<long long>(pixels.height()));
    if (pixels.width() < 1 || rows < 1 || pixels.width() > MaxBitmapSide || rows > MaxBitmapSide)
        return HeaderVerdict::Refused;
    const auto width = static_cast<std::size_t>(pixels.width());
    const auto height = static_cast<std::size_t>(rows);
    if (reader->imageFormat() == QImage::Format_Mono)
        return (width + 31) / 32 * 4 * height <= MaxMonoBitmapBytes &&
                       memberSize <= MaxMonoMemberBytes
                   ? HeaderVerdict::Accepted
                   : HeaderVerdict::Refused;
    if (monochromeWanted) return HeaderVerdict::NotMonochrome;
    return width * height * 4 <= MaxColourBitmapBytes ? HeaderVerdict::Accepted
                                                      : HeaderVerdict::Refused;
}

}  // namespace

QImage LoadArchiveBitmap(ZipArchive& archive, const std::string& name, bool* notMonochrome) {
    const bool monochromeWanted = notMonochrome != nullptr;
    if (notMonochrome) *notMonochrome = false;
    // The header comes in the first piece; the member's bytes are only kept once it passes.
    std::string bytes;
    HeaderVerdict verdict = HeaderVerdict::Accepted;
    const ZipArchive::ReadResult result = archive.ReadMember(
        name,
        [&](const char* data, int size) {
            if (bytes.empty()) {
                verdict = JudgeHeader(data, static_cast<std::size_t>(size),
                                      archive.CurrentDeclaredSize(), monochromeWanted);
                if (verdict != HeaderVerdict::Accepted) return false;
                bytes.reserve(static_cast<std::size_t>(archive.CurrentDeclaredSize()));
            }
            bytes.append(data, static_cast<std::size_t>(size));
            return true;
        },
        MaxBitmapMemberBytes);
    if (verdict == HeaderVerdict::NotMonochrome) {
        *notMonochrome = true;
        return QImage();
    }
    if (result != ZipArchive::ReadResult::Ok || verdict != HeaderVerdict::Accepted || bytes.empty())
        return QImage();
    if (!HoldsEveryPixelRow(bytes)) return QImage();
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    const std::unique_ptr<QImageReader> reader = BmpReader(buffer);
    if (!reader) return QImage();
    QImage image;
    if (!reader->read(&image)) return QImage();
    return image;
}

bool IsMonochrome(const QImage& image) {
    return !image.isNull() && image.height() >= 1 && image.depth() == 1;
}

QImage NormalizeMonochrome(const QImage& image) {
    if (image.isNull()) return QImage();
    QImage result(image.size(), QImage::Format_Mono);
    if (result.isNull()) return QImage();
    result.setColorTable({Black, White});
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = (width + 7) / 8;
    if (image.depth() == 1) {
        const QImage source = image.format() == QImage::Format_Mono
                                  ? image
                                  : image.convertToFormat(QImage::Format_Mono);
        const bool zeroIsWhite = IsLight(PaletteColour(source, 0));
        const bool oneIsWhite = IsLight(PaletteColour(source, 1));
        for (int y = 0; y < height; ++y) {
            const uchar* in = source.constScanLine(y);
            uchar* out = result.scanLine(y);
            for (int i = 0; i < rowBytes; ++i) {
                const uchar bits = in[i];
                out[i] = static_cast<uchar>((oneIsWhite ? bits : 0) | (zeroIsWhite ? ~bits : 0));
            }
        }
        return result;
    }
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = result.scanLine(y);
        std::fill(out, out + rowBytes, uchar{0});
        for (int x = 0; x < width; ++x) {
            if (IsLight(in[x])) out[x >> 3] |= static_cast<uchar>(0x80u >> (x & 7));
        }
    }
    return result;
}

QImage MakeTransparencyMask(QImage& bitmap, QRgb key) {
    if (bitmap.isNull()) return QImage();
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    QImage mask(bitmap.size(), QImage::Format_Mono);
    if (mask.isNull()) return QImage();
    mask.setColorTable({Black, White});
    mask.fill(0);
    const QRgb keyColour = key & 0x00FFFFFFu;
    for (int y = 0; y < bitmap.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        uchar* bits = mask.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            if ((row[x] & 0x00FFFFFFu) != keyColour) continue;
            bits[x >> 3] |= static_cast<uchar>(0x80u >> (x & 7));
            row[x] = Black;
        }
    }
    return mask;
}

std::vector<std::uint8_t> MonochromeRowBits(const QImage& image, int& bytesPerRow) {
    bytesPerRow = 0;
    const QImage mono = NormalizeMonochrome(image);
    if (mono.isNull()) return {};
    const int width = mono.width();
    const int height = mono.height();
    const int usedBytes = (width + 7) / 8;
    bytesPerRow = (width + 15) / 16 * 2;
    // Bits beyond the image's width are cleared so that nothing outside it reads as inside.
    const uchar lastByteMask = static_cast<uchar>(0xFFu << ((8 - width % 8) % 8));
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(bytesPerRow) *
                                   static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uchar* in = mono.constScanLine(y);
        std::uint8_t* out = bits.data() + static_cast<std::size_t>(y) * bytesPerRow;
        std::copy(in, in + usedBytes, out);
        out[usedBytes - 1] &= lastByteMask;
    }
    return bits;
}

QPen MakeLeaderPen() {
    return QPen(QColor(0, 0, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

int LargestPixelSizeWithin(int target, int guess, const std::function<int(int)>& heightOf) {
    // Sizes beyond this are never tried, so a font whose metrics do not grow cannot loop.
    const int largest = std::max(1, 4 * target);
    int size = std::clamp(guess, 1, largest);
    while (size > 1 && heightOf(size) > target) --size;
    while (size < largest && heightOf(size + 1) <= target) ++size;
    return size;
}

QFont MakeLabelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setWeight(QFont::Bold);
    // Arial's cell is about 1.15 em, so this is where the search starts, and the size it keeps
    // when no font can be measured (without a QGuiApplication there is no font database).
    constexpr int Guess = LabelCellHeight * 9 / 10;
    if (QGuiApplication::instance() == nullptr) {
        font.setPixelSize(Guess);
        return font;
    }
    // Each size tried loads the face at that size; from the guess the search normally measures
    // two sizes, and the one it keeps is the one every label is then measured and drawn with.
    static const int pixelSize = LargestPixelSizeWithin(LabelCellHeight, Guess, [&font](int size) {
        QFont probe(font);
        probe.setPixelSize(size);
        return QFontMetrics(probe).height();
    });
    font.setPixelSize(pixelSize);
    return font;
}

ProgramPictures LoadProgramPictures() {
    return ProgramPictures{LoadScrollBitmap(), LoadTackBitmap(), LoadTackHeadMask()};
}

void PrepareProgramPictures(DrawingResources& drawing, const ProgramPictures& pictures) {
    drawing.ScrollBitmap = pictures.Scroll;
    drawing.ScrollMask = MakeTransparencyMask(drawing.ScrollBitmap, TransparencyKey);
    drawing.ScrollSize = drawing.ScrollBitmap.size();
    drawing.TackBitmap = pictures.Tack;
    drawing.TackMask = MakeTransparencyMask(drawing.TackBitmap, TransparencyKey);
    drawing.TackHeadMask = NormalizeMonochrome(pictures.TackHead);
    drawing.TackSize = drawing.TackBitmap.size();
    drawing.LeaderPen = MakeLeaderPen();
    drawing.LabelFont = MakeLabelFont();
}

QImage LoadWorldBitmap(ZipArchive& archive) {
    // Kept in the format of the canvases it is drawn onto, so that drawing it is a plain copy.
    return LoadArchiveBitmap(archive, WorldMemberName).convertToFormat(QImage::Format_RGB32);
}

QImage DecodeWorldBitmap(const std::string& archivePath) {
    const std::unique_ptr<ZipArchive> archive = ZipArchive::Open(archivePath);
    return archive ? LoadWorldBitmap(*archive) : QImage();
}

bool LoadDrawingResourcesButWorld(World& world, ZipArchive& archive, Messages& messages,
                                  const ProgramPictures& pictures) {
    DrawingResources& drawing = world.Drawing;
    drawing = DrawingResources{};
    PrepareProgramPictures(drawing, pictures);

    bool notMonochrome = false;
    const QImage multimap = LoadArchiveBitmap(archive, MultimapMemberName, &notMonochrome);
    if (multimap.isNull() && !notMonochrome) {
        ShowMemberMessage(messages, StringId::CannotLoadBitmap, MultimapMemberName);
        return false;
    }
    if (notMonochrome || !IsMonochrome(multimap)) {
        ShowMemberMessage(messages, StringId::BitmapNotMonochrome, MultimapMemberName);
        return false;
    }
    drawing.MultimapBitmap = NormalizeMonochrome(multimap);
    drawing.MultimapSize = drawing.MultimapBitmap.size();
    return true;
}

void SetWorldBitmap(World& world, Messages& messages, const QImage& picture) {
    if (picture.isNull()) {
        ShowMemberMessage(messages, StringId::CannotLoadBitmap, WorldMemberName);
        return;
    }
    world.Drawing.WorldBitmap = picture;
    world.Drawing.WorldBitmapSize = picture.size();
}

void LoadDrawingResources(World& world, ZipArchive& archive, Messages& messages,
                          const ProgramPictures& pictures) {
    if (LoadDrawingResourcesButWorld(world, archive, messages, pictures))
        SetWorldBitmap(world, messages, LoadWorldBitmap(archive));
}

void LoadDrawingResources(World& world, ZipArchive& archive, Messages& messages) {
    LoadDrawingResources(world, archive, messages, LoadProgramPictures());
}

void LoadRegionMasks(World& world, ZipArchive& archive, Messages& messages) {
    for (Region& region : world.Regions) {
        region.MaskRect = IntRect{};
        region.MaskBits.clear();
        region.MaskBytesPerRow = 0;
    }
    for (Region& region : world.Regions) {
        if (region.Index < 1) continue;
        const std::string name = FormatText(OverlayMemberFormat, {region.Index});
        bool notMonochrome = false;
        const QImage overlay = LoadArchiveBitmap(archive, name, &notMonochrome);
        if (overlay.isNull() && !notMonochrome) {
            ShowMemberMessage(messages, StringId::CannotLoadBitmap, name);
            return;
        }
        if (notMonochrome || !IsMonochrome(overlay)) {
            ShowMemberMessage(messages, StringId::BitmapNotMonochrome, name);
            return;
        }
        region.MaskBits = MonochromeRowBits(overlay, region.MaskBytesPerRow);
        region.MaskRect = IntRect{region.MaskOffset.X, region.MaskOffset.Y,
                                  SaturatedSum(region.MaskOffset.X, overlay.width()),
                                  SaturatedSum(region.MaskOffset.Y, overlay.height())};
    }
}

}  // namespace brix
