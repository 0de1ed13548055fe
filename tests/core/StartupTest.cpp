#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "core/Startup.h"
#include "core/data/Session.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

using test::RecordingMessages;

const char* const SystemData =
    "<?xml version=\"1.0\"?>\n<brix-data>\n"
    "<Level Index=\"1\"><Name>One</Name></Level>\n"
    "<Region Index=\"1\"><Name>Fen</Name></Region>\n"
    "<Treasure "
    "Index=\"1\"><Name>Well</Name><Region>1</Region><Location>10,10</Location></Treasure>\n"
    "<RuneLibrary><Name>Atlas</Name><RuneBook><Name>A</Name><Treasures>1</Treasures></RuneBook>"
    "</RuneLibrary>\n</brix-data>\n";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGuiApp();
        location_.WorkingDirectory = root_.filePath("work").toStdString();
        location_.ExecutablePath = bin_ + "brix-tools";
    }
    std::string Folder(const char* name) const {
        QDir(root_.path()).mkpath(name);
        return root_.filePath(name).toStdString() + "/";
    }
    void PutArchive(const std::string& dir, const std::string& data = SystemData,
                    const std::string& multimap = test::WhiteMonoBmp(128, 96)) {
        test::WorldMembers members;
        members.Data = data;
        members.Multimap = multimap;
        members.Overlays[1] = test::WhiteMonoBmp(8, 8);
        ASSERT_TRUE(test::WriteWorldArchive(dir + "kestrel.zip", members));
    }

    QTemporaryDir root_;
    const std::string work_ = Folder("work");
    const std::string bin_ = Folder("bin");
    ProgramLocation location_;
    Session session_;
    RecordingMessages messages_;
};

TEST_F(StartupTest, TheArchiveIsLookedForInTheWorkingFolderThenBesideTheProgram) {
    ASSERT_TRUE(test::WriteFileBytes(work_ + "kestrel.zip", "not a zip"));
    EXPECT_FALSE(StartUp(session_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text, "Unable to open the system data file \"kestrel.zip\".");
    EXPECT_TRUE(session_.GetPrefs().Paths.DataDirectory.empty());

    PutArchive(bin_);
    location_.ExecutablePath = bin_ + "my.brix.tools";
    Session besideProgram;
    ASSERT_TRUE(StartUp(besideProgram, messages_, location_));
    EXPECT_EQ(besideProgram.GetPrefs().Paths.DataDirectory, bin_);
    EXPECT_EQ(besideProgram.GetPrefs().Paths.SettingsPath, bin_ + "my.brix.ini");

    PutArchive(work_);
    ASSERT_TRUE(test::WriteFileBytes(work_ + "my.brix.ini", "[Settings]\nTacksCorrect=1\n"));
    Session inWorkingFolder;
    ASSERT_TRUE(StartUp(inWorkingFolder, messages_, location_));
    EXPECT_EQ(inWorkingFolder.GetPrefs().Paths.DataDirectory, work_);
    EXPECT_TRUE(inWorkingFolder.GetPrefs().Display.TacksCorrect);
    EXPECT_EQ(messages_.Shown.size(), 1u);
}

// Selections come back case-blind, the permanent library keeps "(Perm)" in its name and is
// never written to the user's file.
TEST_F(StartupTest, RestoresSelectionsAndSavesWithoutPermanentLibraries) {
    PutArchive(work_);
    ASSERT_TRUE(test::WriteFileBytes(
        work_ + "user.xml",
        "<brix-data><Character><Name>Ann</Name></Character><Character><Name>Bo</Name>"
        "<MapCounts Index=\"1\">1</MapCounts></Character>"
        "<RuneLibrary><Name>Mine</Name></RuneLibrary></brix-data>"));
    ASSERT_TRUE(test::WriteFileBytes(work_ + "brix-tools.ini",
                                     "[Settings]\nCharacter=BO\nRuneLibrary=atlas (perm)\n"));
    ASSERT_TRUE(StartUp(session_, messages_, location_));
    EXPECT_EQ(session_.CurrentCharacterPosition(), 1);
    EXPECT_EQ(session_.CurrentRuneLibraryPosition(), 0);
    EXPECT_EQ(session_.GetUser().RuneLibraries[0].Name, "Atlas (Perm)");
    EXPECT_TRUE(session_.Filter().RegionFlag(1));
    EXPECT_EQ(session_.GetWorld().FindRegion(1)->MaskRect, (IntRect{0, 0, 8, 8}));

    ShutDown(session_, messages_);
    EXPECT_TRUE(messages_.Shown.empty());
    const std::string written = test::ReadFileBytes(work_ + "user.xml");
    EXPECT_NE(written.find("<Name>Mine</Name>"), std::string::npos);
    EXPECT_EQ(written.find("Atlas"), std::string::npos);
}

// Start-up removes what a killed save left behind, where the user's files really live (beside
// the world, or in the per-user folder of an installed copy), and never a player's own copies.
TEST_F(StartupTest, StartUpRemovesOnlyLeftoversOfAKilledSaveWhereTheUserFilesLive) {
    const std::vector<std::string> kept = {"user.xml.backup", "user.xml.before", "user.xml.240612",
                                           "brix-tools.ini.backup"};
    const std::vector<std::string> leftovers = {"user.xml.brix-save-Ab12Cd.tmp",
                                                "brix-tools.ini.brix-save-000000.tmp"};
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "per-user folder" : "beside the world");
        const std::string folder = installed ? Folder("home/brix-tools") : work_;
        if (installed) {
            QFile::remove(QString::fromStdString(work_ + "kestrel.zip"));
            location_.InstalledDataDirectories = {Folder("share/brix-tools")};
            location_.PerUserDirectory = root_.filePath("home/brix-tools").toStdString();
        }
        PutArchive(installed ? location_.InstalledDataDirectories[0] : work_);
        for (const std::string& name : kept)
            ASSERT_TRUE(test::WriteFileBytes(folder + name, "mine"));
        for (const std::string& name : leftovers)
            ASSERT_TRUE(test::WriteFileBytes(folder + name, "half"));
        for (int start = 0; start < 2; ++start) {
            Session session;
            ASSERT_TRUE(StartUp(session, messages_, location_));
            ASSERT_EQ(session.GetPrefs().Paths.UserDirectory, folder);
            ShutDown(session, messages_);
        }
        for (const std::string& name : kept)
            EXPECT_EQ(test::ReadFileBytes(folder + name), "mine") << name;
        for (const std::string& name : leftovers)
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + name))) << name;
    }
}

// An installed world keeps the user's files in the per-user folder, made by the first save (a
// settings change may be that save).
TEST_F(StartupTest, AnInstalledWorldKeepsTheUserFilesInThePerUserFolder) {
    const std::string installed = Folder("share/brix-tools");
    PutArchive(installed);
    const std::string perUser = root_.filePath("home/.local/share/brix-tools").toStdString();
    location_.InstalledDataDirectories = {installed};
    location_.PerUserDirectory = perUser;

    ASSERT_TRUE(StartUp(session_, messages_, location_));
    EXPECT_EQ(session_.GetPrefs().Paths.DataDirectory, installed);
    EXPECT_EQ(session_.GetPrefs().Paths.UserDirectory, perUser + "/");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(perUser)));
    session_.GetUser().FindOrAddCharacter("Ann");
    ShutDown(session_, messages_);  // the first save makes the folder
    EXPECT_TRUE(messages_.Shown.empty());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(perUser + "/user.xml")));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(installed + "user.xml")));

    location_.PerUserDirectory = root_.filePath("other-home/brix-tools").toStdString();
    Session other;
    ASSERT_TRUE(StartUp(other, messages_, location_));
    other.SetCurrentCharacter(other.GetUser().FindOrAddCharacter("Bo"));
    EXPECT_EQ(Settings(location_.PerUserDirectory + "/brix-tools.ini").Character(), "Bo");
}

// Start-up stops with the reason, and the file that failed to load is left as it was.
TEST_F(StartupTest, DamagedDataEndsStartUpAndTheUserFileIsLeftUntouched) {
    const std::string damaged = "<brix-data><Character><Name>Ann</Name></Character><Oops/>";
    struct Row {
        std::string System, User;  // User "/": a folder in the file's place, unreadable to anyone
        std::string Message;
    };
    const Row rows[] = {
        {SystemData, damaged,
         "Error parsing user data in \"user.xml\".\r\n\r\nError: Unknown or "
         "unexpected element\r\nLine: 1\r\nColumn: 50"},
        {SystemData, "/", "Unable to open user data file \"user.xml\"."},
        {"<brix-data><Level Index=\"40\"/></brix-data>", "",
         "Error parsing \"data.xml\" in the zip file.\r\n\r\nError: Index value out of "
         "range\r\nLine: 1\r\nColumn: 11"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Message);
        QDir(QString::fromStdString(work_)).rmdir("user.xml");
        QFile::remove(QString::fromStdString(work_ + "user.xml"));
        PutArchive(work_, row.System);
        const bool folder = row.User == "/";
        ASSERT_TRUE(folder
                        ? QDir(QString::fromStdString(work_)).mkdir("user.xml")
                        : row.User.empty() || test::WriteFileBytes(work_ + "user.xml", row.User));
        Session session;
        RecordingMessages messages;
        EXPECT_FALSE(StartUp(session, messages, location_));
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text, row.Message);
        const QFileInfo user(QString::fromStdString(work_ + "user.xml"));
        EXPECT_EQ(user.exists(), !row.User.empty());
        EXPECT_EQ(user.isDir() ? "/" : test::ReadFileBytes(work_ + "user.xml"), row.User);
    }
}

// The program builds its main window between the two halves of start-up while a worker decodes
// the world picture; the picture must arrive whole, with one change notice, or say why not.
TEST_F(StartupTest, TheWorldPictureArrivesWhenStartUpFinishes) {
    struct Row {
        std::string Multimap;
        QSize World;          // invalid: left unloaded
        const char* Message;  // "": none
        int Updates;
    };
    const Row rows[] = {
        {test::WhiteMonoBmp(128, 96), QSize(64, 48), "", 1},
        {test::BmpBytes(QImage(8, 8, QImage::Format_RGB32)), QSize(),
         "The bitmap \"multimap.bmp\" must be monochrome.", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Updates);
        PutArchive(work_, SystemData, row.Multimap);
        Session session;
        RecordingMessages messages;
        int updates = 0;
        PendingWorld pending;
        ASSERT_TRUE(StartUp(session, messages, location_, pending));
        EXPECT_TRUE(session.GetWorld().Drawing.WorldBitmap.isNull());
        const SessionSubscription counter(session, [&updates](unsigned) { ++updates; });
        FinishStartUp(session, messages, pending);
        const DrawingResources& drawing = session.GetWorld().Drawing;
        EXPECT_EQ(drawing.WorldBitmap.isNull() ? QSize() : drawing.WorldBitmapSize, row.World);
        ASSERT_LE(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown.empty() ? "" : messages.Shown[0].Text, row.Message);
        EXPECT_EQ(updates, row.Updates);
    }
}

}  // namespace
}  // namespace brix
