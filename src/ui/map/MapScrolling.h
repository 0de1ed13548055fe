#pragma once

#include <QCursor>

#include <algorithm>

namespace brix {

// The magnifying glass shown over what a click would select; a pointing hand when the
// picture is missing.
QCursor MakeSelectCursor();

// Map views scroll a line by a hundredth and a page by a tenth of the canvas extent, at least
// one pixel either way.
inline int MapLineStep(int extent) {
    return std::max(1, extent / 100);
}
inline int MapPageStep(int extent) {
    return std::max(1, extent / 10);
}

}  // namespace brix
