#pragma once

#include <map>
#include <string>
#include <vector>

class QImage;

namespace brix::test {

struct ZipMember {
    std::string Name;
    std::string Bytes;
};

// Writes a zip archive with the given members (deflated); false on failure.
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A picture as a BMP file, as Qt writes it; a white one-bit picture (palette black, white).
std::string BmpBytes(const QImage& image);
std::string WhiteMonoBmp(int width, int height);

// The members of a world archive as StartUp reads it; an empty member is left out.
struct WorldMembers {
    std::string Data;  // data.xml
    std::string Multimap = WhiteMonoBmp(128, 96);
    std::string World = SeaBmp();         // 64 × 48, one colour
    std::map<int, std::string> Overlays;  // world_overlay_N.bmp by region
    std::vector<ZipMember> Others;        // anything else, e.g. a member named in other case

    static std::string SeaBmp();
};
bool WriteWorldArchive(const std::string& path, const WorldMembers& members);

// `data` as data.xml, a white multimap of the given size, the 64 × 48 world map and one 8 × 8
// overlay for each of regions 1..`regions`.
bool WriteWorldArchive(const std::string& path, const std::string& data, int multimapWidth,
                       int multimapHeight, int regions);

}  // namespace brix::test
