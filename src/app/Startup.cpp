#include "app/Startup.h"

#include "app/Messages.h"
#include "app/Settings.h"
#include "app/Strings.h"
#include "data/DataLoader.h"
#include "data/TreasureCatalog.h"
#include "map/MapImages.h"

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
