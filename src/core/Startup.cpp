#include "core/Startup.h"

#include <future>

#include "core/base/Messages.h"
#include "core/base/SafeFile.h"
#include "core/base/Settings.h"
#include "core/base/Strings.h"
#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/UserDataWriter.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"

namespace brix {

bool StartUp(Session& session, Messages& messages, const ProgramLocation& location,
             PendingWorld& pending) {
    session.GetPrefs().ProgramTitle = LoadString(StringId::ProgramTitle);

    FoundArchive found = FindArchive(ArchiveFileName, location, UserDataFileName);
    session.GetPrefs().Paths = found.Paths;
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

    // A save cut off by a crash or a kill leaves its temporary file behind, beside the file it
    // was writing (in the per-user folder when the files live there); nothing else will ever
    // remove it. Only files of the program's own temporary name go.
    RemoveStaleSaveFiles(session.GetPrefs().Paths.UserDirectory + UserDataFileName);
    RemoveStaleSaveFiles(session.GetPrefs().Paths.SettingsPath);

    session.GetPrefs().Display = session.SettingsFile().ReadDisplaySettings();

    session.GetWorld().ClearRecords();
    session.GetUser().RuneLibraries.clear();
    if (!LoadSystemData(session.GetWorld(), session.GetUser(), *archive, SystemDataMemberName,
                        messages))
        return false;

    const std::string& perm = LoadString(StringId::PermSuffix);
    for (RuneLibrary& library : session.GetUser().RuneLibraries) {
        library.Permanent = true;
        library.Name += perm;
    }

    if (!LoadUserData(session.GetUser(), session.GetPrefs().Paths.UserDirectory, UserDataFileName,
                      messages))
        return false;

    session.RestoreCurrentCharacter();
    session.RestoreCurrentRuneLibrary();

    const bool worldWanted =
        LoadDrawingResourcesButWorld(session.GetWorld(), *archive, messages, LoadProgramPictures());
    LoadRegionMasks(session.GetWorld(), *archive, messages);
    ComputeAllLabelGeometry(session.GetWorld());

    // The archive is closed here; nothing reads it after start-up (the worker has its own).
    archive.reset();
    if (worldWanted) pending.World = std::move(world);
    return true;
}

bool StartUp(Session& session, Messages& messages, const ProgramLocation& location) {
    PendingWorld pending;
    if (!StartUp(session, messages, location, pending)) return false;
    FinishStartUp(session, messages, pending);
    return true;
}

void FinishStartUp(Session& session, Messages& messages, PendingWorld& pending) {
    if (!pending.World.valid()) return;
    SetWorldBitmap(session.GetWorld(), messages, pending.World.get());
    session.Notify(Change::Display);
}

void ShutDown(Session& session, Messages& messages) {
    SaveUserData(session.GetUser(), session.GetPrefs().Paths.UserDirectory, UserDataFileName,
                 messages, session.GetPrefs().Paths.UserDirectoryIsPerUser);
    // Nothing may be undone into records that are no longer shown or saved.
    session.UndoStack().clear();
    session.GetWorld().ClearRecords();
}

}  // namespace brix
