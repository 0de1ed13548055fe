// Feeds arbitrary bytes to the data file loader in the loaders' piece size, then writes the
// loaded user records back and reads them again: whatever was accepted must round-trip.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/data/DataLoader.h"
#include "core/data/UserDataWriter.h"

namespace {

bool LoadAll(brix::UserRecords& user, const char* data, std::size_t size) {
    brix::GameRecords game;
    brix::DataLoader loader(game, user);
    for (std::size_t pos = 0; pos < size; pos += 1024) {
        const std::size_t n = size - pos < 1024 ? size - pos : 1024;
        if (!loader.Parse(data + pos, static_cast<int>(n))) return false;
    }
    return !loader.HasError();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brix::UserRecords records;
    if (!LoadAll(records, reinterpret_cast<const char*>(data), size)) return 0;
    for (auto& library : records.RuneLibraries) library.Permanent = false;

    const std::string written = brix::BuildUserDataText(records);
    // Undo the text-mode line ends the way the user data reader does.
    std::string text;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n') continue;
        text += written[i];
    }
    brix::UserRecords again;
    if (!LoadAll(again, text.data(), text.size())) std::abort();
    if (again.Characters.size() != records.Characters.size()) std::abort();
    for (std::size_t i = 0; i < again.Characters.size(); ++i) {
        if (again.Characters[i].Name != records.Characters[i].Name) std::abort();
    }
    if (again.RuneLibraries.size() != records.RuneLibraries.size()) std::abort();
    for (std::size_t i = 0; i < again.RuneLibraries.size(); ++i) {
        if (again.RuneLibraries[i].Name != records.RuneLibraries[i].Name) std::abort();
        if (again.RuneLibraries[i].RuneBooks.size() != records.RuneLibraries[i].RuneBooks.size())
            std::abort();
    }
    return 0;
}
