// One recorded map as the player makes it, for the crash-safe saving trials
// (bench/crash-save-trials.py): starts on the world given as the program does, with autosave,
// adds one map of level 1 of treasure 1 for the character "Trial", prints "recorded N" (the
// count it now holds) and then waits to be killed. Nothing but autosave writes user.xml here:
// the trial never reaches the exit save.
#include <QGuiApplication>

#include <cstdio>

#include "core/Startup.h"
#include "core/data/Autosave.h"
#include "core/data/Session.h"
#include "support/RecordingMessages.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ARCHIVE\n", argv[0]);
        return 2;
    }
    brix::World world;
    brix::UserData user;
    brix::Preferences prefs;
    brix::Session session(world, user, prefs);
    brix::test::RecordingMessages messages;
    brix::ProgramLocation location(QCoreApplication::applicationDirPath().toStdString(),
                                   QCoreApplication::applicationFilePath().toStdString());
    location.ArchiveArgument = argv[1];
    if (!brix::StartUp(session, messages, location)) {
        for (const auto& shown : messages.Shown) std::fprintf(stderr, "%s\n", shown.Text.c_str());
        return 1;
    }
    brix::SessionAutosave autosave(session, messages);
    session.ChangeMapCount("Trial", 1, 1, true);
    const brix::MapCounts* entry = brix::FindMapCounts(*session.GetCurrentCharacter(), 1);
    std::printf("recorded %d\n", entry != nullptr ? entry->Counts[0] : 0);
    std::fflush(stdout);
    return app.exec();
}
