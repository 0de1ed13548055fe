// Opens arbitrary bytes as the system data archive, lists its members and reads every one of
// them under the size bounds the program uses, both whole and streamed. A member is either
// refused or read to exactly its declared size; a refused one leaves nothing allocated behind.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/data/DataLoader.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapImages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using brix::ZipArchive;
    auto archive = ZipArchive::OpenBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (!archive) return 0;
    const std::vector<std::string> names = archive->MemberNames();
    if (names.size() > ZipArchive::MaxMembers) std::abort();
    for (const std::string& name : names) {
        std::string bytes;
        const auto whole = archive->ReadMemberBytes(name, bytes, brix::MaxBitmapMemberBytes);
        const std::uint64_t declared = archive->CurrentDeclaredSize();
        if (whole == ZipArchive::ReadResult::NotFound) std::abort();  // it was listed
        if (whole == ZipArchive::ReadResult::Ok && bytes.size() != declared) std::abort();
        if (whole != ZipArchive::ReadResult::Ok && (!bytes.empty() || bytes.capacity() > 15))
            std::abort();
        if (whole == ZipArchive::ReadResult::TooLarge && declared <= brix::MaxBitmapMemberBytes)
            std::abort();

        std::uint64_t streamed = 0;
        const auto pieces = archive->ReadMember(
            name,
            [&](const char*, int n) {
                if (n < 1 || n > ZipArchive::PieceSize) std::abort();
                streamed += static_cast<std::uint64_t>(n);
                return true;
            },
            brix::MaxSystemDataBytes);
        if (streamed > declared) std::abort();
        if (pieces == ZipArchive::ReadResult::Ok && streamed != declared) std::abort();
        // Both reads see the same member the same way, unless one bound refused it.
        if (pieces != ZipArchive::ReadResult::TooLarge &&
            whole != ZipArchive::ReadResult::TooLarge && pieces != whole)
            std::abort();
    }
    return 0;
}
