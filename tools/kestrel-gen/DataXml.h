#pragma once

#include <string>

#include "World.h"

namespace brix::gen {

// Markup characters replaced by entities, so that any name reads back as written.
std::string EscapeXml(const std::string& text);

// The system data file: levels, regions, treasures and the permanent rune library.
std::string WriteDataXml(const World& world);

}  // namespace brix::gen
