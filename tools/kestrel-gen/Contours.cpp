#include "Contours.h"

#include <algorithm>
#include <cstdint>

namespace brix::gen {

std::vector<std::vector<QPointF>> TraceContours(const Grid<float>& field, float level) {
    const int w = field.Width, h = field.Height;
    // Points are identified by the grid edge they lie on: even ids for the horizontal edge
    // right of a corner, odd ids for the vertical edge below it.
    auto horizontal = [w](int x, int y) { return (static_cast<std::int64_t>(y) * w + x) * 2; };
    auto vertical = [w](int x, int y) { return (static_cast<std::int64_t>(y) * w + x) * 2 + 1; };
    auto pointOf = [&](std::int64_t id) {
        std::int64_t corner = id / 2;
        int x = static_cast<int>(corner % w), y = static_cast<int>(corner / w);
        float a = field.At(x, y);
        float b = (id & 1) ? field.At(x, y + 1) : field.At(x + 1, y);
        double t = (b == a) ? 0.5 : std::clamp((level - a) / static_cast<double>(b - a), 0.0, 1.0);
        return (id & 1) ? QPointF(x + 0.5, y + 0.5 + t) : QPointF(x + 0.5 + t, y + 0.5);
    };
    std::vector<std::pair<std::int64_t, std::int64_t>> segments;
    for (int y = 0; y + 1 < h; ++y) {
        for (int x = 0; x + 1 < w; ++x) {
            bool a = field.At(x, y) > level, b = field.At(x + 1, y) > level;
            bool c = field.At(x + 1, y + 1) > level, d = field.At(x, y + 1) > level;
            int code = (a ? 1 : 0) | (b ? 2 : 0) | (c ? 4 : 0) | (d ? 8 : 0);
            if (code == 0 || code == 15) continue;
            std::int64_t top = horizontal(x, y), bottom = horizontal(x, y + 1);
            std::int64_t left = vertical(x, y), right = vertical(x + 1, y);
            switch (code) {
                case 1:
                case 14:
                    segments.push_back({left, top});
                    break;
                case 2:
                case 13:
                    segments.push_back({top, right});
                    break;
                case 3:
                case 12:
                    segments.push_back({left, right});
                    break;
                case 4:
                case 11:
                    segments.push_back({right, bottom});
                    break;
                case 6:
                case 9:
                    segments.push_back({top, bottom});
                    break;
                case 7:
                case 8:
                    segments.push_back({left, bottom});
                    break;
                case 5:
                case 10: {
                    float centre = (field.At(x, y) + field.At(x + 1, y) + field.At(x + 1, y + 1) +
                                    field.At(x, y + 1)) *
                                   0.25f;
                    // The middle decides which pair of opposite corners is connected.
                    bool cutBAndD = (code == 5) == (centre > level);
                    if (cutBAndD) {
                        segments.push_back({left, bottom});
                        segments.push_back({top, right});
                    } else {
                        segments.push_back({left, top});
                        segments.push_back({right, bottom});
                    }
                    break;
                }
                default:
                    break;
            }
        }
    }
    // Join segments through the edge points they share.
    std::vector<std::pair<std::int64_t, int>> ends;
    ends.reserve(segments.size() * 2);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        ends.push_back({segments[i].first, static_cast<int>(i)});
        ends.push_back({segments[i].second, static_cast<int>(i)});
    }
    std::sort(ends.begin(), ends.end());
    auto other = [&](std::int64_t point, int segment) {
        auto it = std::lower_bound(ends.begin(), ends.end(), std::make_pair(point, -1));
        for (; it != ends.end() && it->first == point; ++it)
            if (it->second != segment) return it->second;
        return -1;
    };
    std::vector<std::uint8_t> used(segments.size(), 0);
    std::vector<std::vector<QPointF>> lines;
    for (std::size_t s = 0; s < segments.size(); ++s) {
        if (used[s]) continue;
        used[s] = 1;
        std::vector<std::int64_t> forward{segments[s].first, segments[s].second};
        std::vector<std::int64_t> backward;
        // Walk forward from the second end, then backward from the first.
        for (int pass = 0; pass < 2; ++pass) {
            int current = static_cast<int>(s);
            std::int64_t point = pass == 0 ? segments[s].second : segments[s].first;
            for (;;) {
                int next = other(point, current);
                if (next < 0 || used[next]) break;
                used[next] = 1;
                point =
                    segments[next].first == point ? segments[next].second : segments[next].first;
                if (pass == 0)
                    forward.push_back(point);
                else
                    backward.push_back(point);
                current = next;
            }
        }
        std::vector<QPointF> line;
        line.reserve(forward.size() + backward.size());
        for (auto it = backward.rbegin(); it != backward.rend(); ++it) line.push_back(pointOf(*it));
        for (std::int64_t id : forward) line.push_back(pointOf(id));
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace brix::gen
