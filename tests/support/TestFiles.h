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

}  // namespace brix::test
