#include "core/hunt/MapPictureMatcher.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace brix {
namespace {

// The middle share of the picture that is compared, across and down: it leaves out the frame
// of a scroll (a sixth of the close-up's width on either side) and most of a screenshot's
// window edges, and still holds the spot when it lies a quarter off centre.
constexpr double CropShare = 0.6;

// Template sides, in pixels of a pyramid level: the coarse search runs at the level where the
// compared part is at least CoarseSide across, the refinement where it is at least FineSide.
// Smaller templates are too vague to tell places apart (a crop of the world map then scores
// like a true picture); larger ones cost time and stop forgiving a few degrees of rotation.
constexpr int CoarseSide = 8;
constexpr int FineSide = 24;
constexpr int MinTemplateSide = 4;

// The coarse search tries scales a third of an octave apart (7 from MinScale to MaxScale);
// the refinement tries twelfths of an octave within a quarter octave of the coarse scale.
constexpr int CoarseStepsPerOctave = 3;
constexpr int FineStepsPerOctave = 12;
constexpr int FineScaleReach = 3;

// How many treasures, best by the coarse search, are refined.
constexpr std::size_t RefinedCandidates = 40;

// Neighbouring treasures show nearly the same picture; the one nearer the picture's centre
// wins. A spot MaxShift off centre in both directions loses this much of its score.
constexpr double CentreWeight = 0.08;

// A red mark (the tack's head, a red cross) tells the spot better than the centre does: a
// treasure MarkerReach multimap pixels or more from the spot it shows loses MarkerWeight. The
// program's tack has its head this far up and left of its point (13 x 21 pixels, head around
// (3, 2.5), point at (6, 10), drawn 8 pixels up).
constexpr double MarkerWeight = 0.1;
constexpr double MarkerReach = 16;
constexpr double MarkerToSpotX = 3;
constexpr double MarkerToSpotY = 7.5;
// Redness is the share of its red light a pixel lacks in green, in 255ths, so that it does not
// follow brightness and contrast. A mark is the compact group of the reddest pixels of the
// picture's compared middle, at least MarkerContrast redder than most of it: a blurred tack
// head on the warmest parchment stands out by 40 or more, JPEG noise and the parchment's
// grain by 15 or less. Dark pixels (ink) have no reliable hue and count as not red.
constexpr int MarkerContrast = 25;
constexpr int MarkerMinRed = 80;
// A mark is small and compact: at most this share of the picture's shorter side across.
constexpr double MarkerMaxExtent = 0.08;

// The coarse search looks at every other place across and down, then around each treasure's
// best of those at every place: a quarter of the work, and the same peaks.
constexpr int CoarseStride = 2;

// The finest level keeps at most this many pixels, so a very large multimap costs no more
// memory than the sample world's (2560 x 2048 halves to 1.3 million).
constexpr long long MaxLevelPixels = 1500000;

// Ink below this spread (in shares of black) is no drawing: a blank or single-colour picture.
constexpr float MinInkSpread = 0.04f;

struct Plane {
    int Width = 0;
    int Height = 0;
    std::vector<float> Values;

    Plane() = default;
    Plane(int width, int height)
        : Width(width), Height(height), Values(static_cast<std::size_t>(width) * height, 0.0f) {}
    float* Row(int y) { return Values.data() + static_cast<std::size_t>(y) * Width; }
    const float* Row(int y) const { return Values.data() + static_cast<std::size_t>(y) * Width; }
};

// Sums over [0, x) x [0, y), one row and column larger than the plane.
struct SumTable {
    int Width = 0;
    std::vector<double> Values;

    SumTable() = default;
    SumTable(const Plane& plane, bool squares) : Width(plane.Width + 1) {
        Values.assign(static_cast<std::size_t>(Width) * (plane.Height + 1), 0.0);
        for (int y = 0; y < plane.Height; ++y) {
            const float* row = plane.Row(y);
            double running = 0;
            double* above = &Values[static_cast<std::size_t>(y) * Width];
            double* out = above + Width;
            for (int x = 0; x < plane.Width; ++x) {
                running += squares ? static_cast<double>(row[x]) * row[x] : row[x];
                out[x + 1] = above[x + 1] + running;
            }
        }
    }
    double At(int x, int y) const { return Values[static_cast<std::size_t>(y) * Width + x]; }
    double Window(int x, int y, int w, int h) const {
        return At(x + w, y + h) - At(x, y + h) - At(x + w, y) + At(x, y);
    }
    // The sum at a point between pixels: bilinear in the table is exact for pixels of constant
    // value, so a window with fractional edges sums the share of each pixel it covers.
    double AtFraction(double x, double y) const {
        const int height = static_cast<int>(Values.size()) / Width;
        x = std::clamp(x, 0.0, static_cast<double>(Width - 1));
        y = std::clamp(y, 0.0, static_cast<double>(height - 1));
        const int x0 = std::min(static_cast<int>(x), Width - 2 < 0 ? 0 : Width - 2);
        const int y0 = std::min(static_cast<int>(y), height - 2 < 0 ? 0 : height - 2);
        const double fx = x - x0;
        const double fy = y - y0;
        const int x1 = std::min(x0 + 1, Width - 1);
        const int y1 = std::min(y0 + 1, height - 1);
        return (At(x0, y0) * (1 - fx) + At(x1, y0) * fx) * (1 - fy) +
               (At(x0, y1) * (1 - fx) + At(x1, y1) * fx) * fy;
    }
};

// The [1 2 1] blur across and down, edges repeated: the same softening on both sides of the
// comparison absorbs a pixel of misplacement and the odd degree of rotation.
Plane Blurred(const Plane& in) {
    Plane across(in.Width, in.Height);
    for (int y = 0; y < in.Height; ++y) {
        const float* row = in.Row(y);
        float* out = across.Row(y);
        for (int x = 0; x < in.Width; ++x) {
            const float left = row[std::max(x - 1, 0)];
            const float right = row[std::min(x + 1, in.Width - 1)];
            out[x] = 0.25f * left + 0.5f * row[x] + 0.25f * right;
        }
    }
    Plane down(in.Width, in.Height);
    for (int y = 0; y < in.Height; ++y) {
        const float* up = across.Row(std::max(y - 1, 0));
        const float* mid = across.Row(y);
        const float* low = across.Row(std::min(y + 1, in.Height - 1));
        float* out = down.Row(y);
        for (int x = 0; x < in.Width; ++x) out[x] = 0.25f * up[x] + 0.5f * mid[x] + 0.25f * low[x];
    }
    return down;
}

Plane HalfSize(const Plane& in) {
    Plane out(std::max(1, in.Width / 2), std::max(1, in.Height / 2));
    for (int y = 0; y < out.Height; ++y) {
        const float* a = in.Row(std::min(2 * y, in.Height - 1));
        const float* b = in.Row(std::min(2 * y + 1, in.Height - 1));
        float* row = out.Row(y);
        for (int x = 0; x < out.Width; ++x) {
            const int x0 = std::min(2 * x, in.Width - 1);
            const int x1 = std::min(2 * x + 1, in.Width - 1);
            row[x] = 0.25f * (a[x0] + a[x1] + b[x0] + b[x1]);
        }
    }
    return out;
}

// What the comparison takes from a picture: its ink (how far each pixel is from white by its
// brightest channel, so that a coloured parchment or a red tack head count as paper and only
// dark strokes as drawing; transparent parts count as paper) and the red mark on the spot,
// when there is one small one.
struct PictureView {
    Plane Ink;
    bool Marked = false;
    double MarkX = 0;  // picture pixels
    double MarkY = 0;
};

// No QPainter here: the command line runs without a display.
PictureView ViewOf(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    PictureView view;
    view.Ink = Plane(argb.width(), argb.height());
    const QRect middle(static_cast<int>(argb.width() * (1 - CropShare) / 2),
                       static_cast<int>(argb.height() * (1 - CropShare) / 2),
                       static_cast<int>(argb.width() * CropShare),
                       static_cast<int>(argb.height() * CropShare));
    std::vector<int> redness;
    redness.reserve(static_cast<std::size_t>(middle.width()) * middle.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        float* row = view.Ink.Row(y);
        const bool inside = y >= middle.top() && y <= middle.bottom();
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = line[x];
            const int value = std::max({qRed(p), qGreen(p), qBlue(p)});
            row[x] =
                static_cast<float>(255 - value) / 255.0f * static_cast<float>(qAlpha(p)) / 255.0f;
            if (inside && x >= middle.left() && x <= middle.right())
                redness.push_back(qAlpha(p) > 128 && qRed(p) >= MarkerMinRed
                                      ? 255 * (qRed(p) - qGreen(p)) / qRed(p)
                                      : 0);
        }
    }
    if (redness.empty()) return view;
    std::vector<int> sorted = redness;
    const auto half = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
    std::nth_element(sorted.begin(), half, sorted.end());
    const int usual = *half;
    const int reddest = *std::max_element(redness.begin(), redness.end());
    if (reddest - usual < MarkerContrast) return view;
    const int threshold = usual + (reddest - usual) / 2;
    long long count = 0;
    double sumX = 0, sumY = 0;
    int left = middle.right(), right = -1, top = middle.bottom(), bottom = -1;
    for (int y = 0; y < middle.height(); ++y) {
        for (int x = 0; x < middle.width(); ++x) {
            if (redness[static_cast<std::size_t>(y) * middle.width() + x] < threshold) continue;
            ++count;
            sumX += x;
            sumY += y;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const double extent = MarkerMaxExtent * std::min(argb.width(), argb.height());
    if (count >= 3 && right - left <= extent && bottom - top <= extent) {
        view.Marked = true;
        view.MarkX = middle.left() + sumX / static_cast<double>(count) + 0.5;
        view.MarkY = middle.top() + sumY / static_cast<double>(count) + 0.5;
    }
    return view;
}

// One level of the multimap's pyramid: ink density (share of black pixels) at 1/Factor of
// its size, softened, with its sums and sums of squares for the correlation's denominators.
struct PyramidLevel {
    int Factor = 1;
    Plane Ink;
    SumTable Sum;
    SumTable SumSquares;
};

// A template made ready for correlation: zero mean and unit length.
struct Template {
    int Width = 0;
    int Height = 0;
    std::vector<float> Values;
    const PyramidLevel* At = nullptr;
    double Scale = 1;
};

// The level whose template for a part `extent` multimap pixels across is at least `side`
// pixels: the coarsest such level, else the finest one still above MinTemplateSide.
const PyramidLevel* LevelFor(const std::vector<PyramidLevel>& levels, double extent, int side) {
    for (auto it = levels.rbegin(); it != levels.rend(); ++it)
        if (extent / it->Factor >= side) return &*it;
    if (!levels.empty() && extent / levels.front().Factor >= MinTemplateSide)
        return &levels.front();
    return nullptr;
}

// The middle of the picture at `scale`, resampled to the level's pixels and normalised;
// false when it is too small for the level or holds no drawing.
bool MakeTemplate(const SumTable& pictureInk, int pictureWidth, int pictureHeight, double scale,
                  const PyramidLevel& level, Template& out) {
    const double step = scale * level.Factor;  // picture pixels per template pixel
    const int width = static_cast<int>(pictureWidth * CropShare / step);
    const int height = static_cast<int>(pictureHeight * CropShare / step);
    if (width < MinTemplateSide || height < MinTemplateSide) return false;
    if (width > level.Ink.Width || height > level.Ink.Height) return false;
    const double left = (pictureWidth - width * step) / 2;
    const double top = (pictureHeight - height * step) / 2;
    Plane sampled(width, height);
    for (int j = 0; j < height; ++j) {
        const double y0 = top + j * step;
        const double y1 = y0 + step;
        for (int i = 0; i < width; ++i) {
            const double x0 = left + i * step;
            const double x1 = x0 + step;
            const double sum = pictureInk.AtFraction(x1, y1) - pictureInk.AtFraction(x0, y1) -
                               pictureInk.AtFraction(x1, y0) + pictureInk.AtFraction(x0, y0);
            sampled.Row(j)[i] = static_cast<float>(sum / (step * step));
        }
    }
    const Plane soft = Blurred(sampled);
    const auto [low, high] = std::minmax_element(soft.Values.begin(), soft.Values.end());
    if (*high - *low < MinInkSpread * 0.25f) return false;
    double mean = 0;
    for (float v : soft.Values) mean += v;
    mean /= static_cast<double>(soft.Values.size());
    double length = 0;
    for (float v : soft.Values) length += (v - mean) * (v - mean);
    length = std::sqrt(length);
    if (length <= 1e-9) return false;
    out.Width = width;
    out.Height = height;
    out.At = &level;
    out.Scale = scale;
    out.Values.resize(soft.Values.size());
    for (std::size_t k = 0; k < soft.Values.size(); ++k)
        out.Values[k] = static_cast<float>((soft.Values[k] - mean) / length);
    return true;
}

// The normalised correlation of the template with the level at (x, y): 1 for the same
// drawing whatever its darkness, 0 for a blank part of the multimap.
double Correlate(const Template& t, int x, int y) {
    const PyramidLevel& level = *t.At;
    double product = 0;
    for (int j = 0; j < t.Height; ++j) {
        const float* map = level.Ink.Row(y + j) + x;
        const float* tv = t.Values.data() + static_cast<std::size_t>(j) * t.Width;
        float row = 0;
        for (int i = 0; i < t.Width; ++i) row += tv[i] * map[i];
        product += row;
    }
    const double n = static_cast<double>(t.Width) * t.Height;
    const double sum = level.Sum.Window(x, y, t.Width, t.Height);
    const double variance = level.SumSquares.Window(x, y, t.Width, t.Height) - sum * sum / n;
    if (variance <= 1e-9) return 0;
    return product / std::sqrt(variance);
}

// Where the template may lie for a treasure: the picture's centre within MaxShift of its size
// from the spot, and the template inside the level (so a spot near the multimap's edge, which
// a close-up shows off centre, still has its places).
struct Window {
    int Left = 0, Top = 0, Right = -1, Bottom = -1;  // inclusive
    bool Empty() const { return Right < Left || Bottom < Top; }
};

struct Spot {
    double X = 0, Y = 0;  // multimap pixels
};

Window WindowFor(const Template& t, Spot spot, int pictureWidth, int pictureHeight) {
    const PyramidLevel& level = *t.At;
    const double f = level.Factor;
    const double reachX = MapPictureMatcher::MaxShift * pictureWidth / t.Scale;
    const double reachY = MapPictureMatcher::MaxShift * pictureHeight / t.Scale;
    const int maxX = level.Ink.Width - t.Width;
    const int maxY = level.Ink.Height - t.Height;
    Window w;
    w.Left =
        std::clamp(static_cast<int>(std::ceil((spot.X - reachX) / f - t.Width / 2.0)), 0, maxX);
    w.Right =
        std::clamp(static_cast<int>(std::floor((spot.X + reachX) / f - t.Width / 2.0)), 0, maxX);
    w.Top =
        std::clamp(static_cast<int>(std::ceil((spot.Y - reachY) / f - t.Height / 2.0)), 0, maxY);
    w.Bottom =
        std::clamp(static_cast<int>(std::floor((spot.Y + reachY) / f - t.Height / 2.0)), 0, maxY);
    return w;
}

// The loss for a treasure whose spot lies away from the picture's mark, or without a mark
// from its centre, when the template lies at (x, y).
double SpotPenalty(const Template& t, const PictureView& view, Spot spot, int x, int y) {
    const double f = t.At->Factor;
    const double centreX = f * (x + t.Width / 2.0);
    const double centreY = f * (y + t.Height / 2.0);
    const int width = view.Ink.Width;
    const int height = view.Ink.Height;
    if (view.Marked) {
        const double markX = centreX + (view.MarkX - width / 2.0) / t.Scale + MarkerToSpotX;
        const double markY = centreY + (view.MarkY - height / 2.0) / t.Scale + MarkerToSpotY;
        const double d2 = (spot.X - markX) * (spot.X - markX) + (spot.Y - markY) * (spot.Y - markY);
        return MarkerWeight * std::min(1.0, d2 / (MarkerReach * MarkerReach));
    }
    const double dx = (spot.X - centreX) * t.Scale / width;
    const double dy = (spot.Y - centreY) * t.Scale / height;
    const double reach = MapPictureMatcher::MaxShift;
    return CentreWeight * (dx * dx + dy * dy) / (2 * reach * reach);
}

struct Placement {
    double Score = -std::numeric_limits<double>::infinity();
    double Scale = 1;
    double CentreX = 0;  // multimap pixels
    double CentreY = 0;
};

}  // namespace

struct MapPictureMatcher::Pyramid {
    std::vector<PyramidLevel> Levels;  // finest first
};

MapPictureMatcher::MapPictureMatcher(const GameRecords& records, const QImage& multimap)
    : records_(records), multimap_(multimap) {}

MapPictureMatcher::~MapPictureMatcher() = default;

void MapPictureMatcher::Prepare() {
    if (pyramid_) return;
    pyramid_ = std::make_unique<Pyramid>();
    if (multimap_.isNull()) return;
    const QImage gray = multimap_.convertToFormat(QImage::Format_Grayscale8);
    int factor = 2;
    while (static_cast<long long>(gray.width() / factor) * (gray.height() / factor) >
           MaxLevelPixels)
        factor *= 2;
    if (gray.width() / factor < 1 || gray.height() / factor < 1) return;

    // The finest level straight from the multimap, each next one by halving the one before.
    Plane plain(gray.width() / factor, gray.height() / factor);
    const float share = 1.0f / (255.0f * static_cast<float>(factor * factor));
    for (int y = 0; y < plain.Height * factor; ++y) {
        const uchar* line = gray.constScanLine(y);
        float* row = plain.Row(y / factor);
        for (int x = 0; x < plain.Width * factor; ++x)
            row[x / factor] += static_cast<float>(255 - line[x]) * share;
    }
    while (plain.Width >= CoarseSide && plain.Height >= CoarseSide) {
        PyramidLevel level;
        level.Factor = factor;
        level.Ink = Blurred(plain);
        level.Sum = SumTable(level.Ink, false);
        level.SumSquares = SumTable(level.Ink, true);
        pyramid_->Levels.push_back(std::move(level));
        plain = HalfSize(plain);
        factor *= 2;
    }
}

std::vector<MapMatch> MapPictureMatcher::Identify(const QImage& picture, int count) {
    Prepare();
    std::vector<MapMatch> result;
    const std::vector<PyramidLevel>& levels = pyramid_->Levels;
    if (levels.empty() || picture.isNull() || count < 1) return result;

    const PictureView view = ViewOf(picture);
    const Plane& ink = view.Ink;
    const auto [low, high] = std::minmax_element(ink.Values.begin(), ink.Values.end());
    if (*high - *low < MinInkSpread) return result;
    const SumTable inkSums(ink, false);
    const int width = ink.Width;
    const int height = ink.Height;
    const double cropSide = std::min(width, height) * CropShare;

    std::vector<int> treasures;
    std::vector<Spot> spots;
    for (const Treasure& treasure : records_.Treasures) {
        if (treasure.Index < 1) continue;
        treasures.push_back(treasure.Index);
        spots.push_back({treasure.Location.X / 2.0, treasure.Location.Y / 2.0});
    }
    if (treasures.empty()) return result;

    // Coarse: every treasure at every coarse scale; a place's score is worked out once per
    // scale however many treasures' windows hold it.
    std::vector<Placement> best(treasures.size());
    const int coarseScales = 2 * CoarseStepsPerOctave;  // MinScale to MaxScale: two octaves
    for (int k = 0; k <= coarseScales; ++k) {
        const double scale = MinScale * std::exp2(static_cast<double>(k) / CoarseStepsPerOctave);
        const PyramidLevel* level = LevelFor(levels, cropSide / scale, CoarseSide);
        Template t;
        if (level == nullptr || !MakeTemplate(inkSums, width, height, scale, *level, t)) continue;
        const int placesAcross = level->Ink.Width - t.Width + 1;
        const int placesDown = level->Ink.Height - t.Height + 1;
        std::vector<float> known(static_cast<std::size_t>(placesAcross) * placesDown,
                                 std::numeric_limits<float>::quiet_NaN());
        for (std::size_t n = 0; n < treasures.size(); ++n) {
            const Window w = WindowFor(t, spots[n], width, height);
            auto scoreAt = [&](int x, int y) {
                float& score = known[static_cast<std::size_t>(y) * placesAcross + x];
                if (std::isnan(score)) score = static_cast<float>(Correlate(t, x, y));
                return score - SpotPenalty(t, view, spots[n], x, y);
            };
            // On the lattice of every CoarseStride-th place, so neighbouring treasures share it.
            const int firstX =
                std::min((w.Left + CoarseStride - 1) / CoarseStride * CoarseStride, w.Right);
            const int firstY =
                std::min((w.Top + CoarseStride - 1) / CoarseStride * CoarseStride, w.Bottom);
            double top = -std::numeric_limits<double>::infinity();
            int topX = firstX, topY = firstY;
            for (int y = firstY; y <= w.Bottom; y += CoarseStride) {
                for (int x = firstX; x <= w.Right; x += CoarseStride) {
                    const double total = scoreAt(x, y);
                    if (total > top) {
                        top = total;
                        topX = x;
                        topY = y;
                    }
                }
            }
            const int cornerX = topX, cornerY = topY;
            for (int y = std::max(w.Top, cornerY - CoarseStride + 1);
                 y <= std::min(w.Bottom, cornerY + CoarseStride - 1); ++y) {
                for (int x = std::max(w.Left, cornerX - CoarseStride + 1);
                     x <= std::min(w.Right, cornerX + CoarseStride - 1); ++x) {
                    const double total = scoreAt(x, y);
                    if (total > top) {
                        top = total;
                        topX = x;
                        topY = y;
                    }
                }
            }
            if (top > best[n].Score)
                best[n] = {top, scale, level->Factor * (topX + t.Width / 2.0),
                           level->Factor * (topY + t.Height / 2.0)};
        }
    }

    std::vector<std::size_t> order;
    for (std::size_t n = 0; n < treasures.size(); ++n)
        if (std::isfinite(best[n].Score)) order.push_back(n);
    if (order.empty()) return result;
    const std::size_t refined = std::min(order.size(), RefinedCandidates);
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(refined),
                      order.end(), [&](std::size_t a, std::size_t b) {
                          return best[a].Score > best[b].Score ||
                                 (best[a].Score == best[b].Score && a < b);
                      });
    order.resize(refined);

    // Fine: the chosen treasures at finer scales and levels, climbing from the coarse place to
    // the best one nearby. Templates are shared by treasures that try the same scale.
    std::unordered_map<int, Template> templates;
    std::unordered_map<int, std::unordered_map<std::int64_t, double>> scores;
    std::vector<MapMatch> matches;
    for (const std::size_t n : order) {
        const Placement coarse = best[n];
        const int coarseStep =
            static_cast<int>(std::lround(std::log2(coarse.Scale / MinScale) * FineStepsPerOctave));
        MapMatch match{treasures[n], -std::numeric_limits<double>::infinity(), coarse.Scale};
        for (int s = coarseStep - FineScaleReach; s <= coarseStep + FineScaleReach; ++s) {
            auto found = templates.find(s);
            if (found == templates.end()) {
                const double scale =
                    MinScale * std::exp2(static_cast<double>(s) / FineStepsPerOctave);
                Template t;
                const PyramidLevel* level = LevelFor(levels, cropSide / scale, FineSide);
                if (level == nullptr || !MakeTemplate(inkSums, width, height, scale, *level, t))
                    t.At = nullptr;
                found = templates.emplace(s, std::move(t)).first;
            }
            const Template& t = found->second;
            if (t.At == nullptr) continue;
            const Window w = WindowFor(t, spots[n], width, height);
            std::unordered_map<std::int64_t, double>& seen = scores[s];
            auto scoreAt = [&](int x, int y) {
                const std::int64_t key = (static_cast<std::int64_t>(y) << 32) | x;
                auto it = seen.find(key);
                if (it == seen.end()) it = seen.emplace(key, Correlate(t, x, y)).first;
                return it->second - SpotPenalty(t, view, spots[n], x, y);
            };
            // Start from the coarse place and its neighbours within one coarse pixel.
            constexpr int reach = 1;
            int x = std::clamp(
                static_cast<int>(std::lround(coarse.CentreX / t.At->Factor - t.Width / 2.0)),
                w.Left, w.Right);
            int y = std::clamp(
                static_cast<int>(std::lround(coarse.CentreY / t.At->Factor - t.Height / 2.0)),
                w.Top, w.Bottom);
            double here = scoreAt(x, y);
            for (bool moved = true; moved;) {
                moved = false;
                int bestX = x, bestY = y;
                for (int dy = -reach; dy <= reach; ++dy) {
                    for (int dx = -reach; dx <= reach; ++dx) {
                        const int cx = x + dx, cy = y + dy;
                        if ((dx == 0 && dy == 0) || cx < w.Left || cx > w.Right || cy < w.Top ||
                            cy > w.Bottom)
                            continue;
                        const double score = scoreAt(cx, cy);
                        if (score > here) {
                            here = score;
                            bestX = cx;
                            bestY = cy;
                            moved = true;
                        }
                    }
                }
                x = bestX;
                y = bestY;
            }
            if (here > match.Score) {
                match.Score = here;
                match.Scale = t.Scale;
            }
        }
        if (std::isfinite(match.Score)) matches.push_back(match);
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const MapMatch& a, const MapMatch& b) { return a.Score > b.Score; });
    if (matches.size() > static_cast<std::size_t>(count))
        matches.resize(static_cast<std::size_t>(count));
    return matches;
}

}  // namespace brix
