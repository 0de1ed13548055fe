#include "core/map/SextantReading.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <initializer_list>

namespace brix {
namespace {

constexpr int HalfTurn = MinutesPerTurn / 2;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

// Skips one of the marks at pos; false when none is there.
bool SkipMark(std::string_view text, std::size_t& pos,
              std::initializer_list<std::string_view> marks) {
    for (std::string_view mark : marks) {
        if (text.substr(pos, mark.size()) == mark) {
            pos += mark.size();
            return true;
        }
    }
    return false;
}

// The degree sign, and what keyboards offer instead: the masculine ordinal and the ring above.
bool SkipDegreeMark(std::string_view text, std::size_t& pos) {
    return SkipMark(text, pos, {"\xC2\xB0", "\xC2\xBA", "\xCB\x9A"});
}

// The apostrophe the program writes, the prime and the typographic apostrophe.
bool SkipMinuteMark(std::string_view text, std::size_t& pos) {
    return SkipMark(text, pos, {"'", "\xE2\x80\xB2", "\xE2\x80\x99"});
}

// A run of 1..maxDigits decimal digits; nothing when there are none or more.
std::optional<int> ReadNumber(std::string_view text, std::size_t& pos, int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (++digits > maxDigits) return std::nullopt;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

struct Half {
    bool Latitude = false;  // N or S; otherwise E or W
    int Minutes = 0;        // signed as SextantReading counts
};

// One half: degrees, then minutes after a dot or after the degree mark or blanks, then the
// letter.
std::optional<Half> ReadHalf(std::string_view text, std::size_t& pos) {
    SkipBlanks(text, pos);
    const std::optional<int> degrees = ReadNumber(text, pos, 3);
    if (!degrees) return std::nullopt;
    int minutes = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const std::optional<int> after = ReadNumber(text, pos, 2);
        if (!after) return std::nullopt;
        minutes = *after;
        SkipMinuteMark(text, pos);
    } else {
        SkipDegreeMark(text, pos);
        SkipBlanks(text, pos);
        if (pos < text.size() && IsDigit(text[pos])) {
            const std::optional<int> read = ReadNumber(text, pos, 2);
            if (!read) return std::nullopt;
            minutes = *read;
            SkipMinuteMark(text, pos);
        }
    }
    SkipBlanks(text, pos);
    if (pos >= text.size() || minutes > 59) return std::nullopt;
    const int total = *degrees * 60 + minutes;
    if (total > HalfTurn) return std::nullopt;
    switch (text[pos++]) {
        case 'N':
        case 'n':
            return Half{true, -total};
        case 'S':
        case 's':
            return Half{true, total};
        case 'W':
        case 'w':
            return Half{false, -total};
        case 'E':
        case 'e':
            return Half{false, total};
        default:
            return std::nullopt;
    }
}

// World units per minute of arc along an axis of the given extent.
double UnitsPerMinute(int extent) {
    return static_cast<double>(extent) / MinutesPerTurn;
}

// The middle of the offsets from the origin that the rule truncates (toward zero) to the
// unwrapped angle `minutes`: above zero the span reaches up to the next minute, below zero
// down to the one before, and zero spans a minute either side.
double MiddleOffset(int minutes, int extent) {
    const double half = minutes > 0 ? 0.5 : minutes < 0 ? -0.5 : 0.0;
    return (minutes + half) * UnitsPerMinute(extent);
}

// The coordinate on one axis that reads as `minutes`. The rule truncates first and wraps
// after, so there are two candidates: the angle as read, and the angle one turn the other way
// before the wrap (whose span of units lies on the other side of the minute). The world spans
// one turn, so one of them lies inside it; half a unit of slack at the edges keeps the middle
// of the span of an edge point's minute.
double AxisCoordinate(int minutes, int origin, int extent) {
    const double asRead = origin + MiddleOffset(minutes, extent);
    const int unwrapped = minutes < 0 ? minutes + MinutesPerTurn : minutes - MinutesPerTurn;
    const double wrapped = origin + MiddleOffset(unwrapped, extent);
    const auto inside = [extent](double c) { return c >= -0.5 && c < extent - 0.5; };
    return !inside(asRead) && inside(wrapped) ? wrapped : asRead;
}

// An offset brought into -extent/2..extent/2: the shorter way around the world.
double AroundTheWorld(double offset, int extent) {
    return std::remainder(offset, static_cast<double>(extent));
}

}  // namespace

std::optional<SextantReading> ParseSextantReading(std::string_view text) {
    std::size_t pos = 0;
    const std::optional<Half> first = ReadHalf(text, pos);
    if (!first) return std::nullopt;
    SkipBlanks(text, pos);
    if (pos < text.size() && (text[pos] == ',' || text[pos] == ';')) ++pos;
    const std::optional<Half> second = ReadHalf(text, pos);
    if (!second || second->Latitude == first->Latitude) return std::nullopt;
    SkipBlanks(text, pos);
    if (pos != text.size()) return std::nullopt;
    const Half& latitude = first->Latitude ? *first : *second;
    const Half& longitude = first->Latitude ? *second : *first;
    return SextantReading{latitude.Minutes, longitude.Minutes};
}

WorldPoint ReadingWorldPoint(const SextantReading& reading) {
    return {AxisCoordinate(reading.Longitude, SextantOriginX, SextantWorldWidth),
            AxisCoordinate(reading.Latitude, SextantOriginY, SextantWorldHeight)};
}

double ReadingDistance(const SextantReading& reading, int x, int y) {
    const WorldPoint read = ReadingWorldPoint(reading);
    const double dx = AroundTheWorld(x - read.X, SextantWorldWidth);
    const double dy = AroundTheWorld(y - read.Y, SextantWorldHeight);
    return std::hypot(dx / UnitsPerMinute(SextantWorldWidth),
                      dy / UnitsPerMinute(SextantWorldHeight));
}

bool SameReading(const SextantReading& a, const SextantReading& b) {
    // -180° and +180° are the same line; every other value has one spelling.
    auto same = [](int p, int q) { return p == q || (std::abs(p) == HalfTurn && p == -q); };
    return same(a.Latitude, b.Latitude) && same(a.Longitude, b.Longitude);
}

}  // namespace brix
