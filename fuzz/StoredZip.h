#pragma once

// Wraps bytes as the one member of a zip archive, stored without compression, so that a fuzz
// target can hand arbitrary member contents to code that reads them out of an archive.
#include <zlib.h>

#include <cstdint>
#include <string>

namespace brix::fuzz {

inline void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFFu);
}

inline std::string StoredZip(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const auto crc =
        static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(size)));
    const auto length = static_cast<std::uint32_t>(size);
    const auto nameLength = static_cast<std::uint32_t>(name.size());
    std::string zip;
    PutLe(zip, 0x04034b50u, 4);  // local file header
    PutLe(zip, 20, 2);           // version needed
    PutLe(zip, 0, 2);            // flags
    PutLe(zip, 0, 2);            // stored
    PutLe(zip, 0, 4);            // time and date
    PutLe(zip, crc, 4);
    PutLe(zip, length, 4);
    PutLe(zip, length, 4);
    PutLe(zip, nameLength, 2);
    PutLe(zip, 0, 2);
    zip += name;
    zip.append(reinterpret_cast<const char*>(data), size);
    const auto directory = static_cast<std::uint32_t>(zip.size());
    PutLe(zip, 0x02014b50u, 4);  // central directory entry
    PutLe(zip, 20, 2);
    PutLe(zip, 20, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 4);
    PutLe(zip, crc, 4);
    PutLe(zip, length, 4);
    PutLe(zip, length, 4);
    PutLe(zip, nameLength, 2);
    PutLe(zip, 0, 2);  // extra
    PutLe(zip, 0, 2);  // comment
    PutLe(zip, 0, 2);  // disk
    PutLe(zip, 0, 2);  // internal attributes
    PutLe(zip, 0, 4);  // external attributes
    PutLe(zip, 0, 4);  // local header offset
    zip += name;
    const auto directorySize = static_cast<std::uint32_t>(zip.size()) - directory;
    PutLe(zip, 0x06054b50u, 4);  // end of central directory
    PutLe(zip, 0, 2);
    PutLe(zip, 0, 2);
    PutLe(zip, 1, 2);
    PutLe(zip, 1, 2);
    PutLe(zip, directorySize, 4);
    PutLe(zip, directory, 4);
    PutLe(zip, 0, 2);
    return zip;
}

}  // namespace brix::fuzz
