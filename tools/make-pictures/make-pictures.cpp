// Draws the program's own bitmaps (scroll border, tack, tack head mask, select cursor) and
// writes them into the resources folder. Everything is computed from fixed formulas and
// a fixed hash, so two runs write identical files.
//
// Usage: make-pictures <resources folder>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Border geometry the map panels cut the scroll by: corners are 38 wide, the top band is
// 38 tall, the bottom band 48, and the pieces between them repeat every 170 × 110 pixels.
constexpr int ScrollWidth = 246;
constexpr int ScrollHeight = 196;
constexpr int Corner = 38;
constexpr int TopBand = 38;
constexpr int BottomBand = 48;
constexpr int TileWidth = 170;
constexpr int TileHeight = 110;

constexpr QRgb KeyBlue = 0xFF0000FF;

struct Rgb {
    double R = 0, G = 0, B = 0;
};

Rgb operator*(Rgb c, double k) {
    return {c.R * k, c.G * k, c.B * k};
}
Rgb operator+(Rgb a, Rgb b) {
    return {a.R + b.R, a.G + b.G, a.B + b.B};
}
Rgb Mix(Rgb a, Rgb b, double t) {
    return a * (1 - t) + b * t;
}

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double SmoothStep(double e0, double e1, double v) {
    const double t = Clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Deterministic integer hash (no std::rand, so the output never depends on the platform).
uint32_t Hash(uint32_t a, uint32_t b, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ a * 0x85EBCA6Bu ^ b * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double Hash01(uint32_t a, uint32_t b, uint32_t seed) {
    return Hash(a, b, seed) / 4294967296.0;
}

// A sum of plane waves whose frequencies are whole numbers of cycles per tile. Such a field
// repeats exactly every TileWidth × TileHeight, which is what lets the parchment tile meet
// itself without a seam. Frequencies are measured in cycles per TileWidth pixels in either
// direction, so blotches come out round. The result has roughly unit standard deviation.
class PeriodicField {
public:
    PeriodicField(double minF, double maxF, double falloff, uint32_t seed) {
        double power = 0;
        const int maxFx = int(maxF);
        const int maxFy = int(maxF * TileHeight / TileWidth);
        for (int fx = 0; fx <= maxFx; ++fx) {
            for (int fy = -maxFy; fy <= maxFy; ++fy) {
                if (fx == 0 && fy <= 0) {
                    continue;  // (0, 0) is the mean; (0, -f) duplicates (0, f)
                }
                const double f = std::hypot(fx, fy * double(TileWidth) / TileHeight);
                if (f < minF || f > maxF) {
                    continue;
                }
                const double amp = 1.0 / std::pow(f, falloff);
                const double phase = 2 * Pi * Hash01(fx + 64, fy + 64, seed);
                Waves.push_back({fx, fy, amp, phase});
                power += amp * amp / 2;
            }
        }
        Norm = 1.0 / std::sqrt(power);
    }

    double At(double x, double y) const {
        double sum = 0;
        for (const Wave& w : Waves) {
            sum +=
                w.Amp * std::cos(2 * Pi * (w.Fx * x / TileWidth + w.Fy * y / TileHeight) + w.Phase);
        }
        return sum * Norm;
    }

private:
    struct Wave {
        int Fx, Fy;
        double Amp, Phase;
    };
    std::vector<Wave> Waves;
    double Norm = 1;
};

int Wrap(int v, int period) {
    return (v % period + period) % period;
}

// ---------------------------------------------------------------------------------------
// Parchment

const Rgb ParchmentBase{232, 210, 166};
const Rgb ParchmentStain{200, 164, 112};
const Rgb ParchmentEdge{150, 104, 58};
const Rgb Ink{96, 60, 30};

// First and one-past-last parchment column: the sheet ends under the collars of the rollers.
constexpr int ParchmentLeft = 21;
constexpr int ParchmentRight = ScrollWidth - ParchmentLeft;

// One period of the sheet's texture, computed once. Broad variation is kept faint, since
// anything larger than a few tens of pixels makes the repetition of the tile across a big
// panel obvious; the character comes from blotches of 10 to 30 pixels, faint foxing spots
// and a little fibre and grain.
class ParchmentTexture {
public:
    ParchmentTexture() : Pixels(TileWidth * TileHeight) {
        const PeriodicField broad(1, 4, 1.0, 11);
        const PeriodicField blotch(6, 18, 1.2, 23);
        const PeriodicField fine(18, 40, 0.8, 37);
        const auto spots = FoxingSpots();
        for (int y = 0; y < TileHeight; ++y) {
            for (int x = 0; x < TileWidth; ++x) {
                const double b = blotch.At(x, y);
                double shade = 1 + 0.008 * broad.At(x, y) + 0.018 * b + 0.012 * fine.At(x, y) +
                               0.012 * Grain(x, y);
                Rgb c = ParchmentBase * shade;
                double stain = 0.18 * SmoothStep(1.2, 2.6, -b);
                for (const Spot& s : spots) {
                    const double dx = WrappedDistance(x - s.X, TileWidth);
                    const double dy = WrappedDistance(y - s.Y, TileHeight);
                    stain += s.Strength * std::exp(-(dx * dx + dy * dy) / (s.Radius * s.Radius));
                }
                c = Mix(c, ParchmentStain, std::min(0.6, stain));
                Pixels[y * TileWidth + x] = c;
            }
        }
    }

    // Texture colour at bitmap pixel (x, y).
    Rgb At(int x, int y) const {
        return Pixels[Wrap(y, TileHeight) * TileWidth + Wrap(x, TileWidth)];
    }

private:
    struct Spot {
        double X, Y, Radius, Strength;
    };

    static std::vector<Spot> FoxingSpots() {
        std::vector<Spot> spots;
        for (uint32_t i = 0; i < 7; ++i) {
            spots.push_back({Hash01(i, 1, 71) * TileWidth, Hash01(i, 2, 71) * TileHeight,
                             1.2 + 2.0 * Hash01(i, 3, 71), 0.10 + 0.12 * Hash01(i, 4, 71)});
        }
        return spots;
    }

    static double WrappedDistance(double d, double period) {
        d = std::fmod(std::abs(d), period);
        return std::min(d, period - d);
    }

    // Fine grain, smoothed over a 2 × 2 neighbourhood so that it reads as paper tooth rather
    // than noise. Wrapped coordinates keep it periodic.
    static double Grain(int x, int y) {
        double sum = 0;
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                sum += Hash01(Wrap(x + dx, TileWidth), Wrap(y + dy, TileHeight), 5);
            }
        }
        return sum / 2 - 1;  // about -1 .. 1
    }

    std::vector<Rgb> Pixels;
};

// ---------------------------------------------------------------------------------------
// Rollers: a turned wooden rod with a bead collar and a ball knob at each end. The shape is
// a lathe profile (radius as a function of the distance from the nearer end), lit as a
// surface of revolution.

constexpr double TopRollerY = 16.5;
constexpr double BottomRollerY = 176.5;
constexpr double RollerRadius = 10;

double Profile(double u) {
    double r = -1;
    // Ball knob.
    const double ball = (u - 10) / 9;
    if (std::abs(ball) < 1) {
        r = std::max(r, 13.5 * std::sqrt(1 - ball * ball));
    }
    // Small end button on the outside of the ball.
    const double button = (u - 1.6) / 1.4;
    if (std::abs(button) < 1) {
        r = std::max(r, 5 * std::sqrt(1 - button * button));
    }
    // Neck between ball and collar.
    if (u > 16 && u < 21) {
        r = std::max(r, 6.5);
    }
    // Bead collar over the parchment's edge.
    const double bead = (u - ParchmentLeft - 0.5) / 2.4;
    if (std::abs(bead) < 1) {
        r = std::max(r, 9.5 + 3 * std::sqrt(1 - bead * bead));
    }
    if (u >= ParchmentLeft + 1.5) {
        r = std::max(r, RollerRadius);
    }
    return r;
}

double RollerProfile(double x) {
    const double u = std::min(x, ScrollWidth - x);
    return Profile(u);
}

// Wood colour along the rod. Grain runs straight along the rod's axis with only a slight
// wobble: a shortened edge tile meets the corner after any column, and a wavy grain would
// show a step there. The wobble uses whole cycles per 170 pixels so the tiles repeat.
Rgb WoodAlbedo(double x, double arc, uint32_t seed) {
    const double wobble = 0.30 * std::sin(2 * Pi * x / TileWidth + seed) +
                          0.12 * std::sin(2 * Pi * 3 * x / TileWidth + 2.0 * seed);
    const double v = arc + wobble;
    // Thin dark late-wood lines at uneven spacing over broader light and dark bands.
    const double lines = 0.5 + 0.5 * std::cos(2 * Pi * v / 3.1 + 0.8 * std::sin(v / 2.3));
    const double bands = 0.5 + 0.5 * std::cos(2 * Pi * v / 8.7 + 1.7);
    const double k = 1 - 0.34 * std::pow(lines, 5) - 0.16 * bands;
    const Rgb light{178, 118, 66};
    const Rgb dark{96, 56, 28};
    return Mix(dark, light, Clamp01(0.1 + 0.9 * k));
}

std::optional<Rgb> Roller(double x, double y, double cy, uint32_t seed) {
    const double r = RollerProfile(x);
    const double dy = y - cy;
    if (r <= 0 || std::abs(dy) >= r) {
        return std::nullopt;
    }
    const double slope = (RollerProfile(x + 0.35) - RollerProfile(x - 0.35)) / 0.7;
    const double ny = dy / r;
    const double nz = std::sqrt(std::max(0.0, 1 - ny * ny));
    // Surface normal of a body of revolution around the x axis.
    double n[3] = {-slope, ny, nz};
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (double& v : n) {
        v /= len;
    }
    // Light from the upper left, in front of the picture.
    double l[3] = {-0.45, -0.70, 0.55};
    const double ll = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
    for (double& v : l) {
        v /= ll;
    }
    const double diffuse = std::max(0.0, n[0] * l[0] + n[1] * l[1] + n[2] * l[2]);
    double h[3] = {l[0], l[1], l[2] + 1};
    const double hl = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
    const double specular =
        std::pow(std::max(0.0, (n[0] * h[0] + n[1] * h[1] + n[2] * h[2]) / hl), 28);
    const double arc = std::asin(std::clamp(ny, -1.0, 1.0)) * r;
    const Rgb albedo = WoodAlbedo(x, arc, seed);
    Rgb c = albedo * (0.30 + 0.88 * diffuse) + Rgb{255, 236, 205} * (0.30 * specular);
    return c;
}

// ---------------------------------------------------------------------------------------
// The scroll

class ScrollPainter {
public:
    // Colour of one sample point, or nothing where the scroll is transparent.
    std::optional<Rgb> Sample(double x, double y, int px, int py) const {
        if (auto top = Roller(x, y, TopRollerY, 1)) {
            return top;
        }
        if (auto bottom = Roller(x, y, BottomRollerY, 4)) {
            return bottom;
        }
        if (x < ParchmentLeft || x >= ParchmentRight || y < TopRollerY || y >= BottomRollerY) {
            return std::nullopt;
        }
        Rgb c = Texture.At(px, py);
        // Ink rules along the map's border. They lie on the first row and column of the border
        // pieces that follow a shortened tile, so whatever column or row of the tile ends up
        // next to them, the join falls on a line instead of on open parchment.
        const bool innerRule = px == Corner - 1 || px == ScrollWidth - Corner ||
                               py == TopBand - 1 || py == ScrollHeight - BottomBand;
        const bool outerRule = px == Corner - 4 || px == ScrollWidth - Corner + 3 ||
                               py == TopBand - 4 || py == ScrollHeight - BottomBand + 3;
        if (innerRule) {
            c = Mix(c, Ink, 0.50);
        } else if (outerRule) {
            c = Mix(c, Ink, 0.30);
        }
        // Darkened, slightly browned edges where the sheet has been handled.
        const double edgeDist = std::min(x - ParchmentLeft, ParchmentRight - x);
        c = Mix(c, ParchmentEdge, 0.45 * std::exp(-edgeDist / 2.2));
        // A broader browning over the strip outside the repeated interior, as on a sheet
        // that has been handled by its edges.
        const double margin = std::max({0.0, Corner - x, x - (ScrollWidth - Corner)});
        c = Mix(c, ParchmentStain, 0.30 * std::pow(margin / (Corner - ParchmentLeft), 1.5));
        // Shadow of the top roller on the sheet below it and the dimming where the sheet
        // curls into the bottom roller.
        const double belowTop = y - (TopRollerY + RollerRadius);
        if (belowTop >= 0) {
            c = c * (1 - 0.32 * std::exp(-belowTop / 2.6));
        }
        const double aboveBottom = (BottomRollerY - RollerRadius) - y;
        if (aboveBottom >= 0) {
            c = c * (1 - 0.26 * std::exp(-aboveBottom / 3.0));
        }
        return c;
    }

    QImage Render() const {
        QImage image(ScrollWidth, ScrollHeight, QImage::Format_RGB32);
        constexpr int N = 4;  // samples per pixel along each axis
        for (int py = 0; py < ScrollHeight; ++py) {
            for (int px = 0; px < ScrollWidth; ++px) {
                Rgb sum;
                int covered = 0;
                for (int sy = 0; sy < N; ++sy) {
                    for (int sx = 0; sx < N; ++sx) {
                        const double x = px + (sx + 0.5) / N;
                        const double y = py + (sy + 0.5) / N;
                        if (auto c = Sample(x, y, px, py)) {
                            sum = sum + *c;
                            ++covered;
                        }
                    }
                }
                // Edges against the key colour stay hard: a pixel is either fully blue or
                // fully scroll, and a scroll pixel is averaged over scroll samples only, so no
                // blue ever bleeds into it.
                if (covered * 2 < N * N) {
                    image.setPixel(px, py, KeyBlue);
                } else {
                    const Rgb c = sum * (1.0 / covered);
                    auto ch = [](double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); };
                    int r = ch(c.R), g = ch(c.G), b = ch(c.B);
                    // Never the key colour by accident.
                    if (r == 0 && g == 0 && b == 255) {
                        b = 254;
                    }
                    image.setPixel(px, py, qRgb(r, g, b));
                }
            }
        }
        return image;
    }

private:
    ParchmentTexture Texture;
};

// ---------------------------------------------------------------------------------------
// Tack: a red-headed pin whose needle runs down to the lower right. Maps draw the bitmap 6
// pixels left of and 10 above the treasure (the tack correction on top of the hot spot), as
// the game shows its tacks, so the needle's point at (6, 10) lands on the treasure itself.

constexpr int TackWidth = 13;
constexpr int TackHeight = 21;

// One character per pixel; '.' is the key colour.
constexpr std::array<const char*, TackHeight> TackRows = {
    "..dRd........",  //
    ".dHhRD.......",  //
    ".RhRRD.......",  //
    ".RRRDK.......",  //
    ".DDDDK.......",  //
    "..KKK........",  //
    "...s.........",  //
    "....s........",  //
    ".....s.......",  //
    "......s......",  //
    "......t......",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
    ".............",  //
};

struct PaletteEntry {
    char Key;
    QRgb Colour;
};

constexpr std::array<PaletteEntry, 9> TackPalette = {{
    {'.', KeyBlue},
    {'H', qRgb(240, 138, 124)},  // highlight
    {'h', qRgb(204, 60, 52)},    // lit side
    {'R', qRgb(160, 24, 22)},    // body of the head
    {'d', qRgb(122, 16, 16)},    // upper rim
    {'D', qRgb(104, 12, 12)},    // shaded side
    {'K', qRgb(70, 6, 8)},       // underside
    {'s', qRgb(128, 132, 146)},  // needle
    {'t', qRgb(74, 76, 88)},     // point
}};

QImage RenderTack() {
    QImage image(TackWidth, TackHeight, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const PaletteEntry& e : TackPalette) {
        table.push_back(e.Colour);
    }
    // Unused entries stay black; the file keeps a full 256-colour palette.
    while (table.size() < 256) {
        table.push_back(qRgb(0, 0, 0));
    }
    image.setColorTable(table);
    for (int y = 0; y < TackHeight; ++y) {
        for (int x = 0; x < TackWidth; ++x) {
            const char key = TackRows[y][x];
            auto it = std::find_if(TackPalette.begin(), TackPalette.end(),
                                   [key](const PaletteEntry& e) { return e.Key == key; });
            image.setPixel(x, y, uint(it - TackPalette.begin()));
        }
    }
    return image;
}

// Black on the head (the part a tack colour replaces), white elsewhere.
QImage RenderTackHeadMask() {
    QImage image(TackWidth, TackHeight, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    // A disc of diameter 5 around the head centre (3, 2).
    for (int y = 0; y <= 4; ++y) {
        for (int x = 1; x <= 5; ++x) {
            const int dx = x - 3, dy = y - 2;
            if (dx * dx + dy * dy <= 5) {
                image.setPixel(x, y, 0);
            }
        }
    }
    return image;
}

// ---------------------------------------------------------------------------------------
// Select cursor: a magnifying glass, hot spot at the lens centre (12, 12).

QImage RenderSelectCursor() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(12, 12);
    const double lens = 8.5;

    // Handle, drawn first so the rim covers its end; clipped to outside the lens so that its
    // halo does not show through the glass.
    QPainterPath outside;
    outside.addRect(0, 0, 32, 32);
    QPainterPath glass;
    glass.addEllipse(centre, lens, lens);
    p.setClipPath(outside.subtracted(glass));
    QPen outline(QColor(255, 255, 255), 8.5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(outline);
    p.drawLine(QPointF(18.5, 18.5), QPointF(28.5, 28.5));
    p.setPen(QPen(QColor(40, 28, 18), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.5, 18.5), QPointF(28.5, 28.5));
    p.setPen(QPen(QColor(150, 92, 44), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 20.5), QPointF(28, 28));

    p.setClipping(false);

    // Glass: faintly tinted so the map stays visible through it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 225, 255, 90));
    p.drawEllipse(centre, lens, lens);

    // Rim: white halo, dark ring, and a glint on the upper left of the glass.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255), 5));
    p.drawEllipse(centre, lens + 0.5, lens + 0.5);
    p.setPen(QPen(QColor(30, 30, 36), 2.5));
    p.drawEllipse(centre, lens + 0.5, lens + 0.5);
    p.setPen(QPen(QColor(255, 255, 255, 235), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(centre.x() - 5.5, centre.y() - 5.5, 11, 11), 100 * 16, 70 * 16);
    p.end();
    return image;
}

// Writes a bottom-up Windows bitmap: 24 bits per pixel for a 32-bit image, 8 or 1 bits
// with the image's palette otherwise. Written by hand because Qt's writer leaves the row
// padding uninitialised, so its files differ from run to run.
QByteArray EncodeBmp(const QImage& image) {
    const int bits = image.depth() == 32 ? 24 : image.depth();
    const int width = image.width(), height = image.height();
    const int rowBytes = (width * bits + 31) / 32 * 4;
    const int paletteEntries = bits == 24 ? 0 : int(image.colorCount());
    const int pixelOffset = 14 + 40 + 4 * paletteEntries;
    QByteArray out;
    auto put = [&out](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            out.append(char(value >> (8 * i) & 0xFF));
        }
    };
    out.append("BM");
    put(pixelOffset + rowBytes * height, 4);
    put(0, 4);
    put(pixelOffset, 4);
    put(40, 4);  // information header size
    put(width, 4);
    put(height, 4);
    put(1, 2);  // planes
    put(bits, 2);
    put(0, 4);  // no compression
    put(rowBytes * height, 4);
    put(2835, 4);  // 72 dots per inch
    put(2835, 4);
    put(paletteEntries, 4);
    put(paletteEntries, 4);
    for (int i = 0; i < paletteEntries; ++i) {
        const QRgb c = image.color(i);
        put(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16, 4);
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                const QRgb c = image.pixel(x, y);
                row[3 * x] = char(qBlue(c));
                row[3 * x + 1] = char(qGreen(c));
                row[3 * x + 2] = char(qRed(c));
            } else if (bits == 8) {
                row[x] = char(image.pixelIndex(x, y));
            } else if (image.pixelIndex(x, y) != 0) {
                row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
            }
        }
        out.append(row);
    }
    return out;
}

bool Save(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "make-pictures: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures <resources folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists()) {
        std::fprintf(stderr, "make-pictures: no folder %s\n", argv[1]);
        return 2;
    }
    static_assert(Corner * 2 + TileWidth == ScrollWidth);
    static_assert(TopBand + TileHeight + BottomBand == ScrollHeight);

    bool ok = Save(EncodeBmp(ScrollPainter().Render()), dir.filePath("scroll.bmp"));
    ok = Save(EncodeBmp(RenderTack()), dir.filePath("tack.bmp")) && ok;
    ok = Save(EncodeBmp(RenderTackHeadMask()), dir.filePath("tackhead.bmp")) && ok;
    ok = Save(EncodePng(RenderSelectCursor()), dir.filePath("select.png")) && ok;
    return ok ? 0 : 1;
}
