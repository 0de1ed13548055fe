#include "core/map/WorldCanvas.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

// Hand-vectorised forms of the blend on x86-64; the portable form is built everywhere.
#if defined(__x86_64__) || defined(_M_X64)
#define BRIX_X86_BLEND 1
#include <immintrin.h>
#else
#define BRIX_X86_BLEND 0
#endif
#if BRIX_X86_BLEND && (defined(__GNUC__) || defined(__clang__))
#define BRIX_AVX2_BLEND 1
#define BRIX_ALWAYS_INLINE __attribute__((always_inline))
#else
#define BRIX_AVX2_BLEND 0
#define BRIX_ALWAYS_INLINE
#endif

#include "core/base/Settings.h"
#include "core/data/Session.h"

namespace brix {

namespace {

// One region's tint prepared for the blend loop. The loop works on the 16-bit halves of
// 32-bit pixels: each half holds two channels, and c × (255 − a) + k × a never exceeds
// 255 × 255, so one 16-bit multiply-add per channel is exact. Low and High are the k × a terms
// of the low and high byte of each half, over eight pixels; the alpha byte's term keeps it 255.
struct PreparedTint {
    const Region* Source = nullptr;
    int Left = 0;  // the part of the mask rectangle that is drawn, half-open
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    std::uint16_t Inverse = 0;
    std::array<std::uint16_t, 16> Low{};
    std::array<std::uint16_t, 16> High{};
};

// Which channel each byte of a pixel in memory holds, as the shift of that channel in a QRgb.
std::array<int, 4> ChannelShifts() {
    const std::uint32_t probe = 0x18100800u;
    std::array<std::uint8_t, 4> bytes{};
    std::memcpy(bytes.data(), &probe, sizeof probe);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

// Which byte of a 16-bit value in memory is its low byte (0 on little-endian machines).
int HalfLowByte() {
    const std::uint16_t probe = 0x0100;
    std::uint8_t bytes[2];
    std::memcpy(bytes, &probe, sizeof probe);
    return bytes[0] == 0 ? 0 : 1;
}

PreparedTint PrepareTint(const Region& region, QRgb colour, int weight, const QRect& clip) {
    static const std::array<int, 4> shifts = ChannelShifts();
    static const int halfLowByte = HalfLowByte();
    PreparedTint tint;
    tint.Source = &region;
    tint.Left = std::max(region.MaskRect.Left, clip.left());
    tint.Top = std::max(region.MaskRect.Top, clip.top());
    tint.Right = std::min(region.MaskRect.Right, clip.right() + 1);
    tint.Bottom = std::min(region.MaskRect.Bottom, clip.bottom() + 1);
    tint.Inverse = static_cast<std::uint16_t>(255 - weight);
    const auto term = [&](int shift) {
        return shift == 24 ? static_cast<std::uint16_t>(0xFF00 - 255 * tint.Inverse)
                           : static_cast<std::uint16_t>(((colour >> shift) & 0xFF) * weight);
    };
    for (int lane = 0; lane < 16; ++lane) {
        // Byte order of a 16-bit half in memory follows the same rule as the pixel's bytes.
        const int lowByte = halfLowByte + 2 * (lane % 2);
        tint.Low[lane] = term(shifts[lowByte]);
        tint.High[lane] = term(shifts[lowByte ^ 1]);
    }
    return tint;
}

// The blend of one region over eight pixels at a time, in three forms: SSE2, which every
// x86-64 processor has, AVX2 where the processor offers it, and a portable loop for other
// machines. Each pays for itself on the whole canvas (bench/WorldCanvasBench): GCC leaves the
// portable loop scalar, about seven times slower than SSE2, and AVX2 takes about a third off
// the tint pass that SSE2 needs. Every form is built wherever it compiles, so that the tests
// run each against the portable one whatever the processor would pick. Each form is built from
// the prepared tint once per call, so the row loop keeps its constants in registers rather than
// reading them through byte pointers that may alias them. Eight(pixels, bits) blends those of the
// eight pixels whose bits are set, the first pixel's bit being the most significant.
#if BRIX_X86_BLEND
struct Sse2Blend {
    __m128i Inverse;
    __m128i Low;
    __m128i High;
    __m128i LowBytes = _mm_set1_epi16(0x00FF);
    __m128i HighBytes = _mm_set1_epi16(static_cast<short>(0xFF00));
    __m128i FirstBits = _mm_setr_epi32(0x80, 0x40, 0x20, 0x10);
    __m128i LastBits = _mm_setr_epi32(0x08, 0x04, 0x02, 0x01);

    explicit Sse2Blend(const PreparedTint& tint)
        : Inverse(_mm_set1_epi16(static_cast<short>(tint.Inverse))),
          Low(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tint.Low.data()))),
          High(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tint.High.data()))) {}

    __m128i Four(__m128i v) const {
        const __m128i low =
            _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(v, LowBytes), Inverse), Low);
        const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(v, 8), Inverse), High);
        return _mm_or_si128(_mm_srli_epi16(low, 8), _mm_and_si128(high, HighBytes));
    }

    static __m128i Select(__m128i bits, __m128i wanted, __m128i blended, __m128i original) {
        const __m128i take = _mm_cmpeq_epi32(_mm_and_si128(bits, wanted), wanted);
        return _mm_or_si128(_mm_and_si128(take, blended), _mm_andnot_si128(take, original));
    }

    void Eight(std::uint8_t* pixels, unsigned bits) const {
        auto* at = reinterpret_cast<__m128i*>(pixels);
        const __m128i first = _mm_loadu_si128(at);
        const __m128i last = _mm_loadu_si128(at + 1);
        __m128i firstBlended = Four(first);
        __m128i lastBlended = Four(last);
        if (bits != 0xFF) {
            const __m128i all = _mm_set1_epi32(static_cast<int>(bits));
            firstBlended = Select(all, FirstBits, firstBlended, first);
            lastBlended = Select(all, LastBits, lastBlended, last);
        }
        _mm_storeu_si128(at, firstBlended);
        _mm_storeu_si128(at + 1, lastBlended);
    }
};
#endif

#if BRIX_AVX2_BLEND
struct Avx2Blend {
    __m256i Inverse;
    __m256i Low;
    __m256i High;
    __m256i LowBytes;
    __m256i HighBytes;
    __m256i Bits;

    __attribute__((target("avx2"))) explicit Avx2Blend(const PreparedTint& tint)
        : Inverse(_mm256_set1_epi16(static_cast<short>(tint.Inverse))),
          Low(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(tint.Low.data()))),
          High(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(tint.High.data()))),
          LowBytes(_mm256_set1_epi16(0x00FF)),
          HighBytes(_mm256_set1_epi16(static_cast<short>(0xFF00))),
          Bits(_mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01)) {}

    __attribute__((target("avx2"))) void Eight(std::uint8_t* pixels, unsigned bits) const {
        auto* at = reinterpret_cast<__m256i*>(pixels);
        const __m256i v = _mm256_loadu_si256(at);
        const __m256i low =
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(v, LowBytes), Inverse), Low);
        const __m256i high =
            _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(v, 8), Inverse), High);
        __m256i blended =
            _mm256_or_si256(_mm256_srli_epi16(low, 8), _mm256_and_si256(high, HighBytes));
        if (bits != 0xFF) {
            const __m256i wanted =
                _mm256_and_si256(_mm256_set1_epi32(static_cast<int>(bits)), Bits);
            blended = _mm256_blendv_epi8(v, blended, _mm256_cmpeq_epi32(wanted, Bits));
        }
        _mm256_storeu_si256(at, blended);
    }
};
#endif

struct PortableBlend {
    std::uint16_t Inverse;
    std::array<std::uint16_t, 16> Low;
    std::array<std::uint16_t, 16> High;

    explicit PortableBlend(const PreparedTint& tint)
        : Inverse(tint.Inverse), Low(tint.Low), High(tint.High) {}

    void Eight(std::uint8_t* pixels, unsigned bits) const {
        std::uint16_t halves[16];
        std::memcpy(halves, pixels, sizeof halves);
        for (int i = 0; i < 16; ++i) {
            const auto low = static_cast<std::uint16_t>((halves[i] & 0xFF) * Inverse + Low[i]);
            const auto high = static_cast<std::uint16_t>((halves[i] >> 8) * Inverse + High[i]);
            const auto blended = static_cast<std::uint16_t>((low >> 8) | (high & 0xFF00));
            const auto take = static_cast<std::uint16_t>(0u - ((bits >> (7 - i / 2)) & 1u));
            halves[i] = static_cast<std::uint16_t>((blended & take) | (halves[i] & ~take));
        }
        std::memcpy(pixels, halves, sizeof halves);
    }
};

// The first byte in [begin, end) that is not 0, or end.
inline int SkipClearBytes(const std::uint8_t* bits, int begin, int end) {
    for (std::uint64_t word; end - begin >= 8; begin += 8) {
        std::memcpy(&word, bits + begin, sizeof word);
        if (word == 0) continue;
        if constexpr (std::endian::native == std::endian::little) {
            return begin + std::countr_zero(word) / 8;
        } else {
            return begin + std::countl_zero(word) / 8;
        }
    }
    while (begin < end && bits[begin] == 0) ++begin;
    return begin;
}

// One past the last byte in [begin, end) that is not 0, or begin.
inline int BackOverClearBytes(const std::uint8_t* bits, int begin, int end) {
    for (std::uint64_t word; end - begin >= 8; end -= 8) {
        std::memcpy(&word, bits + end - 8, sizeof word);
        if (word == 0) continue;
        if constexpr (std::endian::native == std::endian::little) {
            return end - std::countl_zero(word) / 8;
        } else {
            return end - std::countr_zero(word) / 8;
        }
    }
    while (end > begin && bits[end - 1] == 0) --end;
    return end;
}

// Tints canvas rows [y0, y1) between the tint's columns. `rows` points at the pixel of canvas
// column originX in row y0, and rows lie `stride` bytes apart. Inlined into each form's own
// function so that the form's instructions are allowed throughout.
template <typename Blend>
BRIX_ALWAYS_INLINE inline void TintRowsWith(std::uint8_t* rows, std::ptrdiff_t stride, int originX,
                                            int y0, int y1, const PreparedTint& tint) {
    const Blend blend(tint);
    const Region& region = *tint.Source;
    const int begin = tint.Left - region.MaskRect.Left;
    const int end = tint.Right - region.MaskRect.Left;
    const int wholeBegin = (begin + 7) >> 3;
    const int wholeEnd = end >> 3;
    const int headCount = std::min(8 * wholeBegin, end) - begin;
    const std::uint8_t* bits =
        region.MaskBits.data() +
        static_cast<std::size_t>(y0 - region.MaskRect.Top) * region.MaskBytesPerRow;
    std::uint8_t* rowStart = rows + 4 * static_cast<std::ptrdiff_t>(tint.Left - originX);
    // A piece of fewer than eight pixels goes through a copy, so nothing beyond it is touched.
    const auto piece = [&blend](std::uint8_t* at, int count, unsigned byte) {
        std::uint8_t copy[32] = {};
        std::memcpy(copy, at, static_cast<std::size_t>(count) * 4);
        blend.Eight(copy, byte);
        std::memcpy(at, copy, static_cast<std::size_t>(count) * 4);
    };
    for (int y = y0; y < y1; ++y, bits += region.MaskBytesPerRow, rowStart += stride) {
        std::uint8_t* pixel = rowStart;
        if (headCount > 0) {
            const int skip = begin & 7;
            const unsigned byte = (bits[begin >> 3] << skip) & (0xFF00u >> headCount) & 0xFFu;
            if (byte != 0) piece(pixel, headCount, byte);
            pixel += 4 * headCount;
        }
        // Whole mask bytes: the clear bytes at both ends are skipped in one go, and the bytes
        // between are all blended, clear or not, which keeps the loop free of guesses that fail
        // at every border.
        if (wholeEnd > wholeBegin) {
            const int first = SkipClearBytes(bits, wholeBegin, wholeEnd);
            const int last = BackOverClearBytes(bits, first, wholeEnd);
            std::uint8_t* at = pixel + 32 * (first - wholeBegin);
            for (int j = first; j < last; ++j, at += 32) blend.Eight(at, bits[j]);
            pixel += 32 * (wholeEnd - wholeBegin);
        }
        const int tailCount = end - 8 * std::max(wholeEnd, wholeBegin);
        if (tailCount > 0) {
            const unsigned byte = bits[wholeEnd] & (0xFF00u >> tailCount) & 0xFFu;
            if (byte != 0) piece(pixel, tailCount, byte);
        }
    }
}

using TintRowsFunction = void (*)(std::uint8_t*, std::ptrdiff_t, int, int, int,
                                  const PreparedTint&);

void TintRowsPortable(std::uint8_t* rows, std::ptrdiff_t stride, int originX, int y0, int y1,
                      const PreparedTint& tint) {
    TintRowsWith<PortableBlend>(rows, stride, originX, y0, y1, tint);
}

#if BRIX_X86_BLEND
void TintRowsSse2(std::uint8_t* rows, std::ptrdiff_t stride, int originX, int y0, int y1,
                  const PreparedTint& tint) {
    TintRowsWith<Sse2Blend>(rows, stride, originX, y0, y1, tint);
}
#endif

#if BRIX_AVX2_BLEND
__attribute__((target("avx2"))) void TintRowsAvx2(std::uint8_t* rows, std::ptrdiff_t stride,
                                                  int originX, int y0, int y1,
                                                  const PreparedTint& tint) {
    TintRowsWith<Avx2Blend>(rows, stride, originX, y0, y1, tint);
}
#endif

// The form that runs for a request: the one asked for when it is built and the processor runs
// it, else the fastest.
TintRowsFunction TintRowsFor(TintBlend blend) {
    if (blend != TintBlend::Fastest && ProcessorRuns(blend)) {
        switch (blend) {
            case TintBlend::Portable:
                return TintRowsPortable;
#if BRIX_X86_BLEND
            case TintBlend::Sse2:
                return TintRowsSse2;
#endif
#if BRIX_AVX2_BLEND
            case TintBlend::Avx2:
                return TintRowsAvx2;
#endif
            default:
                break;
        }
    }
    static const TintRowsFunction fastest = []() -> TintRowsFunction {
#if BRIX_AVX2_BLEND
        if (ProcessorRuns(TintBlend::Avx2)) return TintRowsAvx2;
#endif
#if BRIX_X86_BLEND
        return TintRowsSse2;
#else
        return TintRowsPortable;
#endif
    }();
    return fastest;
}

// The tints of every region that has a mask reaching into clip, in slot order.
std::vector<PreparedTint> PrepareTints(const Session& session, int hoverRegion, const QRect& clip) {
    std::vector<PreparedTint> tints;
    if (clip.isEmpty()) return tints;
    for (const Region& region : session.GetWorld().Regions) {
        if (region.Index < 1 || !HasUsableMask(region)) continue;
        if (!MaskQRect(region).intersects(clip)) continue;
        const int weight = region.Index == hoverRegion ? HoverTintWeight : RegionTintWeight;
        tints.push_back(PrepareTint(region, RegionTintColour(session, region.Index), weight, clip));
    }
    return tints;
}

bool IsDirect32(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

const QImage& WorldPixels(const World& world, QImage& converted) {
    const QImage& picture = world.Drawing.WorldBitmap;
    if (picture.isNull() || picture.format() == QImage::Format_RGB32) return picture;
    converted = picture.convertToFormat(QImage::Format_RGB32);
    return converted;
}

// Copies a row of the world bitmap with plain vector moves, which leave it in the nearest cache
// for the tints that read it right away; the library's copy measured slower here.
void CopyRow(std::uint32_t* target, const std::uint32_t* source, int count) {
    int i = 0;
#if BRIX_X86_BLEND
    for (; count - i >= 8; i += 8) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i + 4), last);
    }
#endif
    std::memcpy(target + i, source + i,
                static_cast<std::size_t>(count - i) * sizeof(std::uint32_t));
}

void FillRow(std::uint32_t* row, int count, QRgb colour) {
    if (count > 0) std::fill_n(row, count, colour);
}

}  // namespace

QRect MaskQRect(const Region& region) {
    const IntRect& r = region.MaskRect;
    if (r.Right <= r.Left || r.Bottom <= r.Top) return QRect();
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

bool HasUsableMask(const Region& region) {
    const QRect rect = MaskQRect(region);
    if (rect.isEmpty() || region.MaskBytesPerRow < 1) return false;
    if (static_cast<long long>(region.MaskBytesPerRow) * 8 < rect.width()) return false;
    return static_cast<long long>(region.MaskBits.size()) >=
           static_cast<long long>(region.MaskBytesPerRow) * rect.height();
}

bool MaskBitAt(const Region& region, QPoint point) {
    if (!HasUsableMask(region) || !MaskQRect(region).contains(point)) return false;
    const int column = point.x() - region.MaskRect.Left;
    const std::size_t byte =
        static_cast<std::size_t>(point.y() - region.MaskRect.Top) * region.MaskBytesPerRow +
        static_cast<std::size_t>(column / 8);
    return (region.MaskBits[byte] & (0x80 >> (column % 8))) != 0;
}

int HitTestRegion(const World& world, QPoint point) {
    for (const Region& region : world.Regions) {
        if (region.Index < 1 || !MaskQRect(region).contains(point)) continue;
        if (region.MaskHitTest || MaskBitAt(region, point)) return region.Index;
    }
    return 0;
}

QRgb RegionTintColour(const Session& session, int regionIndex) {
    const bool hasMap = session.Filter().RegionFlag(regionIndex);
    std::uint32_t reference = hasMap ? session.GetPrefs().Display.WithHighLight
                                     : session.GetPrefs().Display.WithoutHighLight;
    if (reference == AutomaticColour) {
        reference = hasMap ? AutomaticWithMapTint : AutomaticWithoutMapTint;
    }
    return qRgb(reference & 0xFF, (reference >> 8) & 0xFF, (reference >> 16) & 0xFF);
}

QRgb WorldBackgroundColour(const World& world) {
    const QImage& picture = world.Drawing.WorldBitmap;
    if (picture.isNull()) return qRgb(255, 255, 255);
    return picture.pixel(0, 0) | 0xFF000000u;
}

std::vector<TintBlend> BuiltTintBlends() {
    std::vector<TintBlend> forms{TintBlend::Portable};
#if BRIX_X86_BLEND
    forms.push_back(TintBlend::Sse2);
#endif
#if BRIX_AVX2_BLEND
    forms.push_back(TintBlend::Avx2);
#endif
    return forms;
}

bool ProcessorRuns(TintBlend blend) {
    switch (blend) {
        case TintBlend::Fastest:
        case TintBlend::Portable:
            return true;
        case TintBlend::Sse2:
            return BRIX_X86_BLEND != 0;  // part of every x86-64 processor
        case TintBlend::Avx2:
#if BRIX_AVX2_BLEND
            // Also checks that the system saves the wide registers.
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2");
#else
            return false;
#endif
    }
    return false;
}

void TintRegion(QImage& target, QRect canvasBox, const Region& region, QRgb colour, int weight,
                TintBlend blend) {
    if (target.isNull() || !IsDirect32(target.format()) || !HasUsableMask(region)) return;
    const QRect clip = canvasBox & QRect(canvasBox.topLeft(), target.size());
    if (!MaskQRect(region).intersects(clip)) return;
    const PreparedTint tint = PrepareTint(region, colour, std::clamp(weight, 0, 255), clip);
    TintRowsFor(blend)(target.scanLine(tint.Top - canvasBox.top()), target.bytesPerLine(),
                       canvasBox.left(), tint.Top, tint.Bottom, tint);
}

void DrawWorldCanvas(QImage& target, QRect canvasBox, const Session& session, int hoverRegion,
                     TintBlend blend) {
    if (target.isNull() || canvasBox.isEmpty()) return;
    const QRect box = canvasBox & QRect(canvasBox.topLeft(), target.size());
    if (!IsDirect32(target.format())) {
        QImage scratch(box.size(), QImage::Format_RGB32);
        DrawWorldCanvas(scratch, box, session, hoverRegion, blend);
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, scratch);
        return;
    }

    QImage converted;
    const QImage& world = WorldPixels(session.GetWorld(), converted);
    const QRgb background = WorldBackgroundColour(session.GetWorld());
    const QRect visible = box & QRect(QPoint(0, 0), world.size());
    const std::vector<PreparedTint> tints = PrepareTints(session, hoverRegion, visible);
    const int originX = canvasBox.left();
    const TintRowsFunction tintRows = TintRowsFor(blend);

    // A band of rows at a time: copied, then tinted region by region while they are still
    // cached, each region's blend set up once per band rather than once per row.
    constexpr int RowsAtOnce = 16;
    const std::ptrdiff_t stride = target.bytesPerLine();
    for (int bandTop = box.top(); bandTop <= box.bottom(); bandTop += RowsAtOnce) {
        const int bandEnd = std::min(bandTop + RowsAtOnce, box.bottom() + 1);
        for (int y = bandTop; y < bandEnd; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(target.scanLine(y - canvasBox.top()));
            std::uint32_t* boxStart = row + (box.left() - originX);
            if (visible.isEmpty() || y < visible.top() || y > visible.bottom()) {
                FillRow(boxStart, box.width(), background);
                continue;
            }
            FillRow(boxStart, visible.left() - box.left(), background);
            CopyRow(row + (visible.left() - originX),
                    reinterpret_cast<const std::uint32_t*>(world.constScanLine(y)) + visible.left(),
                    visible.width());
            FillRow(row + (visible.right() + 1 - originX), box.right() - visible.right(),
                    background);
        }
        for (const PreparedTint& tint : tints) {
            const int y0 = std::max(bandTop, tint.Top);
            const int y1 = std::min(bandEnd, tint.Bottom);
            if (y0 < y1)
                tintRows(target.scanLine(y0 - canvasBox.top()), stride, originX, y0, y1, tint);
        }
    }
}

void DrawWorldCanvas(QPainter& painter, QRect canvasBox, const Session& session, int hoverRegion) {
    if (canvasBox.isEmpty()) return;
    // Band by band, each band composed in a small picture that is reused: the window fills in
    // from the top without a picture of the whole box.
    constexpr int BandHeight = 32;
    QImage band(canvasBox.width(), std::min(BandHeight, canvasBox.height()), QImage::Format_RGB32);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int top = canvasBox.top(); top <= canvasBox.bottom(); top += BandHeight) {
        const QRect bandBox(canvasBox.left(), top, canvasBox.width(),
                            std::min(BandHeight, canvasBox.bottom() + 1 - top));
        DrawWorldCanvas(band, bandBox, session, hoverRegion);
        painter.drawImage(bandBox.topLeft(), band, QRect(QPoint(0, 0), bandBox.size()));
    }
    painter.restore();
}

}  // namespace brix
