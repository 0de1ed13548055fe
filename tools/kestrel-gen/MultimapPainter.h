#pragma once

#include <QImage>

#include "World.h"

namespace brix::gen {

// The line drawing of the whole world at half world scale, black ink on white: coasts with
// offshore ripples, lake shores, rivers, roads, walled towns, and symbols for mountains,
// hills, woods and grassland. Drawn without smoothing so that it stays crisp at one bit.
QImage DrawMultimap(const World& world);

}  // namespace brix::gen
