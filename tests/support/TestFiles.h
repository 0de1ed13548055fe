#pragma once

#include <string>
#include <vector>

namespace brix::test {

struct ZipMember {
    std::string Name;
    std::string Bytes;
};

// Writes a zip archive with the given members (deflated); false on failure.
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A world archive as StartUp reads it: `data` as data.xml, a white multimap of the given size,
// a 64 × 48 world map and one 8 × 8 overlay for each of regions 1..`regions`.
bool WriteWorldArchive(const std::string& path, const std::string& data, int multimapWidth,
                       int multimapHeight, int regions);

}  // namespace brix::test
