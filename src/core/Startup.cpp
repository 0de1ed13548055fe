#include "core/Startup.h"

#include "core/base/Messages.h"
#include "core/base/Settings.h"
#include "core/base/Strings.h"
#include "core/data/DataLoader.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/MapImages.h"

namespace brix {

bool StartUp(TreasureCatalog& catalog, Messages& messages, const ProgramLocation& location) {
    catalog.ProgramTitle = LoadString(StringId::ProgramTitle);

    std::unique_ptr<ZipArchive> archive = FindArchive(catalog, ArchiveFileName, location);
    if (!archive) {
        messages.Show(FormatText(LoadString(StringId::CannotOpenArchive), {ArchiveFileName}));
        return false;
    }

    catalog.Display = catalog.SettingsFile().ReadDisplaySettings();

    catalog.ClearSystemRecords();
    if (!LoadSystemData(catalog, *archive, SystemDataMemberName, messages)) return false;

    const std::string& perm = LoadString(StringId::PermSuffix);
    for (RuneLibrary& library : catalog.RuneLibraries) {
        library.Permanent = true;
        library.Name += perm;
    }

    if (!LoadUserData(catalog, UserDataFileName, messages)) return false;

    catalog.RestoreCurrentCharacter();
    catalog.RestoreCurrentRuneLibrary();

    LoadDrawingResources(catalog, *archive, messages);
    LoadRegionMasks(catalog, *archive, messages);

    // The archive is closed here; nothing reads it after start-up.
    archive.reset();
    return true;
}

void ShutDown(TreasureCatalog& catalog, Messages& messages) {
    SaveUserData(catalog, UserDataFileName, messages);
    catalog.ClearSystemRecords();
}

}  // namespace brix
