#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <functional>
#include <mutex>

#include "core/base/SafeFile.h"
#include "core/data/Autosave.h"
#include "core/data/Session.h"
#include "core/data/UserDataWriter.h"
#include "support/GuiApp.h"
#include "support/Records.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

// A session with a world of treasures 1, 2, 3 and 43, two characters with counts, a permanent
// and two user libraries, and its files in a temporary folder.
class SessionEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGuiApp();
        Fill();
    }
    void Fill() {
        temp_.Reset();
        test::AddTreasures(session_.GetWorld(), {1, 2, 3, 43});
        session_.GetWorld().FindTreasure(43)->Name = "Scarecrow";
        UserData& user = session_.GetUser();
        user.Characters = {{"Kira", {{2, {0, 1, 0, 4}}, {43, {1}}}}, {"Bo", {{1, {0, 0, 2}}}}};
        user.RuneLibraries = {
            {true, "Guild (Perm)", {}}, {false, "Home", {{"North", {1, 2}}}}, {false, "Trips", {}}};
        session_.SetCurrentCharacter(&user.Characters[0]);
        session_.SetCurrentRuneLibrary(&user.RuneLibraries[1]);
        session_.SettingsFile().WriteLastLevel(2);
        session_.UndoStack().clear();
    }

    // Everything an undo must put back: the records, which are current, the settings file and
    // the user data file's bytes.
    struct Snapshot {
        std::vector<Character> Characters;
        std::vector<RuneLibrary> Libraries;
        int CurrentCharacter;
        int CurrentLibrary;
        std::string Settings;
        std::string UserFile;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() const {
        return {session_.GetUser().Characters,
                session_.GetUser().RuneLibraries,
                session_.CurrentCharacterPosition(),
                session_.CurrentRuneLibraryPosition(),
                test::ReadFileBytes(session_.GetPrefs().Paths.SettingsPath),
                BuildUserDataText(session_.GetUser())};
    }

    // Whether the user data file holds the records as an exit save would write them.
    bool Saved() const {
        return test::ReadFileBytes(userFile_) == BuildUserDataText(session_.GetUser());
    }

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;
    const std::string userFile_ = temp_.Path(UserDataFileName);
};

TEST_F(SessionEditTest, EveryChangeUndoesToTheStateBeforeAndRedoesToTheStateAfter) {
    struct Row {
        const char* Name;
        std::function<void(Session&)> Change;
        const char* UndoText;
        std::function<void(Session&)> Prepare = nullptr;
    };
    const RuneLibrary trips{false, "Trips Renamed", {{"South", {3, 43}}}};
    const Row rows[] = {
        {"add a map", [](Session& s) { s.ChangeMapCount("kira", 43, 3, true); },
         "Add Map: 43 - Scarecrow, level 3, Kira"},
        {"remove a map of another character, who becomes current",
         [](Session& s) { s.ChangeMapCount("Bo", 1, 3, false); },
         "Remove Map: 1 - Spot 1, level 3, Bo"},
        {"a map for a new character", [](Session& s) { s.ChangeMapCount("Ann", 2, 16, true); },
         "Add Map: 2 - Spot 2, level 16, Ann"},
        {"new character", [](Session& s) { s.AddCharacter("Zed"); }, "New Character: Zed"},
        {"rename the current character",
         [](Session& s) { s.RenameCharacter(&s.GetUser().Characters[0], "Kiri"); },
         "Rename Character: Kira to Kiri"},
        {"delete the current character with its counts",
         [](Session& s) { s.DeleteCharacter(&s.GetUser().Characters[0]); },
         "Delete Character: Kira"},
        {"delete a character before the current one",
         [](Session& s) { s.DeleteCharacter(&s.GetUser().Characters[0]); },
         "Delete Character: Kira",
         [](Session& s) { s.SetCurrentCharacter(&s.GetUser().Characters[1]); }},
        {"new rune library",
         [](Session& s) {
             s.AddRuneLibrary({false, "Caves", {}});
         },
         "New Rune Library: Caves"},
        {"change the current rune library",
         [trips](Session& s) { s.ReplaceRuneLibrary(&s.GetUser().RuneLibraries[1], trips); },
         "Change Rune Library: Trips Renamed"},
        {"delete the current rune library",
         [](Session& s) { s.DeleteRuneLibrary(&s.GetUser().RuneLibraries[1]); },
         "Delete Rune Library: Home"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        Fill();
        if (row.Prepare) row.Prepare(session_);
        const Snapshot before = Take();
        row.Change(session_);
        const Snapshot after = Take();
        ASSERT_EQ(session_.UndoStack().count(), 1);
        EXPECT_EQ(session_.UndoStack().undoText().toStdString(), row.UndoText);
        EXPECT_FALSE(before == after);

        session_.UndoStack().undo();
        EXPECT_EQ(Take(), before);
        MapFilter recomputed = session_.Filter();
        RecomputeMapFilter(session_.GetWorld(), session_.GetCurrentCharacter(), recomputed);
        EXPECT_TRUE(session_.Filter() == recomputed);
        session_.UndoStack().redo();
        EXPECT_EQ(Take(), after);
    }
}

TEST_F(SessionEditTest, ChangesThatChangeNoRecordLeaveNothingToUndo) {
    EXPECT_FALSE(session_.ChangeMapCount("Kira", 3, 1, false));
    EXPECT_EQ(session_.UndoStack().count(), 0);
    session_.SetCurrentCharacter(&session_.GetUser().Characters[1]);
    session_.SetCurrentRuneLibrary(&session_.GetUser().RuneLibraries[2]);
    EXPECT_EQ(session_.UndoStack().count(), 0);
}

// Runs the event loop until the condition holds or five seconds pass.
bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    return condition();
}

TEST_F(SessionEditTest, AutosaveWritesABurstOnceWithTheExitSavesBytes) {
    SessionAutosave autosave(session_, messages_, 50);
    for (int level = 1; level <= 5; ++level) session_.ChangeMapCount("Kira", 43, level, true);
    ASSERT_TRUE(WaitFor([&] { return autosave.Saver().WritesDone() > 0; }));
    EXPECT_EQ(autosave.Saver().WritesDone(), 1);
    EXPECT_TRUE(Saved());
    // A selection alone writes nothing; an undo is a change like any other.
    session_.SetCurrentCharacter(nullptr);
    session_.UndoStack().undo();
    ASSERT_TRUE(WaitFor([&] { return autosave.Saver().WritesDone() == 2; }));
    EXPECT_TRUE(Saved());
    EXPECT_TRUE(messages_.Shown.empty());
}

TEST_F(SessionEditTest, AFailingAutosaveIsReportedOnceAndRetriedAtTheNextChange) {
    std::atomic<bool> failing = true;
    Autosaver saver(session_.GetUser(), userFile_, false, messages_, 10);
    std::atomic<int> attempts = 0;
    saver.WriteFile = [&](const std::string& path, const std::string& bytes, bool folder) {
        ++attempts;
        return !failing && WriteFileSafely(path, bytes, folder);
    };
    for (int round = 0; round < 2; ++round) {
        saver.Schedule();
        ASSERT_TRUE(WaitFor([&] { return attempts == round + 1 && !saver.Pending(); }))
            << "round " << round << ", attempts " << attempts << ", pending " << saver.Pending();
    }
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_NE(messages_.Shown[0].Text.find(userFile_), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(userFile_), "");

    failing = false;
    session_.ChangeMapCount("Bo", 2, 2, true);
    saver.Schedule();
    ASSERT_TRUE(WaitFor([&] { return saver.WritesDone() == 1; }));
    EXPECT_TRUE(Saved());
    EXPECT_EQ(messages_.Shown.size(), 1u);
}

TEST_F(SessionEditTest, AChangeDuringAWriteIsWrittenAfterItAndExitWaitsForTheWrite) {
    Autosaver saver(session_.GetUser(), userFile_, false, messages_, 10);
    std::mutex gate;
    std::unique_lock<std::mutex> held(gate);
    std::atomic<int> started = 0;
    saver.WriteFile = [&](const std::string& file, const std::string& bytes, bool folder) {
        ++started;
        std::lock_guard<std::mutex> wait(gate);
        return WriteFileSafely(file, bytes, folder);
    };
    session_.ChangeMapCount("Kira", 1, 1, true);
    saver.Schedule();
    ASSERT_TRUE(WaitFor([&] { return started == 1; }));
    // The write now holds the first state; a second change must not start a second write.
    session_.ChangeMapCount("Kira", 1, 2, true);
    saver.Schedule();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(started, 1);
    held.unlock();
    ASSERT_TRUE(WaitFor([&] { return saver.WritesDone() == 2; }));
    EXPECT_TRUE(Saved());

    // Exit: a pending change is dropped by Finish, and the exit save writes the final state.
    session_.ChangeMapCount("Kira", 1, 3, true);
    saver.Schedule();
    saver.Finish();
    EXPECT_FALSE(saver.Pending());
    ASSERT_TRUE(SaveUserData(session_.GetUser(), temp_.Path(""), UserDataFileName, messages_));
    EXPECT_TRUE(Saved());
}

}  // namespace
}  // namespace brix
