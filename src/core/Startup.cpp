#include "core/Startup.h"

#include <future>

#include "core/base/Messages.h"
#include "core/base/SafeFile.h"
#include "core/base/Settings.h"
#include "core/base/Strings.h"
#include "core/data/DataLoader.h"
#include "core/data/TreasureCatalog.h"
#include "core/data/UserDataWriter.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"

namespace brix {

bool StartUp(TreasureCatalog& catalog, Messages& messages, const ProgramLocation& location,
             PendingWorld& pending) {
    catalog.ProgramTitle = LoadString(StringId::ProgramTitle);

    FoundArchive found = FindArchive(ArchiveFileName, location, UserDataFileName);
    catalog.Paths = found.Paths;
    std::unique_ptr<ZipArchive> archive = std::move(found.Archive);
    if (!archive) {
        // An archive named on the command line is named back as it was given.
        const std::string shown = location.ArchiveArgument.empty() ? std::string(ArchiveFileName)
                                                                   : location.ArchiveArgument;
        messages.Show(FormatText(LoadString(StringId::CannotOpenArchive), {shown}));
        return false;
    }

    // The world picture is by far the slowest member to inflate and decode; a worker reads it
    // through its own handle on the archive while the data files, the other pictures and the
    // masks load here, and on while the main window is built. Where no thread can be started it
    // is read when first asked for.
    pending = PendingWorld{};
    std::future<QImage> world =
        std::async(std::launch::async | std::launch::deferred, DecodeWorldBitmap, archive->Path());

    // A save cut off by a crash or a kill leaves its temporary file behind; nothing else will
    // ever remove it.
    RemoveStaleSaveFiles(catalog.Paths.DataFile(UserDataFileName));
    RemoveStaleSaveFiles(catalog.Paths.SettingsPath);

    catalog.Display = catalog.SettingsFile().ReadDisplaySettings();

    catalog.ClearSystemRecords();
    if (!LoadSystemData(catalog, catalog, *archive, SystemDataMemberName, messages)) return false;

    const std::string& perm = LoadString(StringId::PermSuffix);
    for (RuneLibrary& library : catalog.RuneLibraries) {
        library.Permanent = true;
        library.Name += perm;
    }

    if (!LoadUserData(catalog, catalog.Paths.UserDirectory, UserDataFileName, messages))
        return false;

    catalog.RestoreCurrentCharacter();
    catalog.RestoreCurrentRuneLibrary();

    const bool worldWanted =
        LoadDrawingResourcesButWorld(catalog, *archive, messages, LoadProgramPictures());
    LoadRegionMasks(catalog, *archive, messages);
    ComputeAllLabelGeometry(catalog);

    // The archive is closed here; nothing reads it after start-up (the worker has its own).
    archive.reset();
    if (worldWanted) pending.World = std::move(world);
    return true;
}

bool StartUp(TreasureCatalog& catalog, Messages& messages, const ProgramLocation& location) {
    PendingWorld pending;
    if (!StartUp(catalog, messages, location, pending)) return false;
    FinishStartUp(catalog, messages, pending);
    return true;
}

void FinishStartUp(TreasureCatalog& catalog, Messages& messages, PendingWorld& pending) {
    if (!pending.World.valid()) return;
    SetWorldBitmap(catalog, messages, pending.World.get());
    if (catalog.OnUpdate) catalog.OnUpdate();
}

void ShutDown(TreasureCatalog& catalog, Messages& messages) {
    SaveUserData(catalog, catalog.Paths.UserDirectory, UserDataFileName, messages,
                 catalog.Paths.UserDirectoryIsPerUser);
    catalog.ClearSystemRecords();
}

}  // namespace brix
