// Feeds arbitrary bytes as the settings file to every key's reader (each with its own scan
// rule: strings cut to their buffer, signed and unsigned numbers, flags, four-number fields,
// the toolbar list), then writes a key the way the program does and reads the file again: the
// written value must read back, and keys that were not written must keep their values.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/base/Settings.h"
#include "core/base/Text.h"
#include "core/base/ToolbarLayout.h"

namespace {

// One file per process, on a memory-backed folder where there is one.
const std::string& FilePath() {
    static const std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/brix-settings-fuzz-" + std::to_string(getpid()) + ".ini";
    }();
    return path;
}

void CheckCut(const std::string& value, std::size_t bufferSize) {
    if (value.size() >= bufferSize) std::abort();
}

struct Snapshot {
    std::string Character, RuneLibrary, Buttons, ExportFile, PlaceType;
    brix::DisplaySettings Display;
    int TextStyle, IconStyle;
    bool StayOnTop, TreasureStayOnTop;

    bool operator==(const Snapshot&) const = default;
};

Snapshot ReadAll(const brix::Settings& settings) {
    Snapshot s{settings.Character(),
               settings.RuneLibrary(),
               settings.TBButtons(),
               settings.ZerrinExportFile(),
               settings.ZerrinExportPlaceType(),
               settings.ReadDisplaySettings(),
               settings.TBTextStyle(),
               settings.TBIconStyle(),
               settings.StayOnTop(),
               settings.TreasureStayOnTop()};
    CheckCut(s.Character, 256);
    CheckCut(s.RuneLibrary, 256);
    CheckCut(s.Buttons, 1024);
    CheckCut(s.ExportFile, 260);
    CheckCut(s.PlaceType, 128);
    (void)brix::ParseToolbarButtons(s.Buttons);
    (void)settings.WindowPlacement();
    (void)settings.LastLevel();
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = FilePath();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        const bool written = std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) std::abort();
    } else {
        std::abort();
    }
    const brix::Settings settings(path);
    const Snapshot before = ReadAll(settings);

    // The write the program makes at exit; each read opens the file again, so only the keys
    // most easily disturbed by an insertion (the string neighbours) are read back.
    const brix::IntRect placement{-3, 7, 1024, 2147483647};
    settings.WriteWindowPlacement(placement);
    const auto readPlacement = settings.WindowPlacement();
    if (!readPlacement || !(*readPlacement == placement)) std::abort();
    if (settings.Character() != before.Character || settings.TBButtons() != before.Buttons ||
        settings.ZerrinExportPlaceType() != before.PlaceType)
        std::abort();
    std::remove(path.c_str());
    return 0;
}
