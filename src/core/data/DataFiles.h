#pragma once

namespace brix {

// File names the program reads and writes.
inline constexpr const char* UserDataFileName = "user.xml";
inline constexpr const char* ArchiveFileName = "kestrel.zip";
inline constexpr const char* SystemDataMemberName = "data.xml";
inline constexpr const char* MultimapMemberName = "multimap.bmp";
inline constexpr const char* WorldMemberName = "world.bmp";
inline constexpr const char* OverlayMemberFormat = "world_overlay_%d.bmp";

}  // namespace brix
