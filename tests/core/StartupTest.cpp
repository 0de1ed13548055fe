#include <gtest/gtest.h>

#include <QBuffer>
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

std::string BmpBytes(QImage image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string MonoBmp(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(1);
    return BmpBytes(image);
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureGuiApp();
        ASSERT_TRUE(root_.isValid());
        QDir(root_.path()).mkpath("work");
        QDir(root_.path()).mkpath("bin");
        work_ = root_.filePath("work").toStdString() + "/";
        bin_ = root_.filePath("bin").toStdString() + "/";
        location_.WorkingDirectory = root_.filePath("work").toStdString();
        location_.ExecutablePath = bin_ + "brix-tools";
    }
    void PutArchive(const std::string& dir, const std::string& data = SystemData,
                    const std::string& multimap = MonoBmp(128, 96)) {
        QImage world(64, 48, QImage::Format_RGB888);
        world.fill(qRgb(20, 90, 160));
        std::vector<test::ZipMember> members = {
            {"data.xml", data}, {"multimap.bmp", multimap}, {"world_overlay_1.bmp", MonoBmp(8, 8)}};
        members.push_back({"world.bmp", BmpBytes(world)});
        ASSERT_TRUE(test::WriteZip(dir + "kestrel.zip", members));
    }

    QTemporaryDir root_;
    std::string work_;
    std::string bin_;
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

TEST_F(StartupTest, MissingUserDataIsCreatedAtExitWithoutPermanentLibraries) {
    PutArchive(work_);
    ASSERT_TRUE(StartUp(session_, messages_, location_));
    ASSERT_EQ(session_.GetUser().RuneLibraries.size(), 1u);
    EXPECT_EQ(session_.GetUser().RuneLibraries[0].Name, "Atlas (Perm)");

    session_.SetCurrentCharacter(session_.GetUser().FindOrAddCharacter("Ann"));
    ShutDown(session_, messages_);
    EXPECT_TRUE(messages_.Shown.empty());
    const std::string written = test::ReadFileBytes(work_ + "user.xml");
    EXPECT_NE(written.find("<Name>Ann</Name>"), std::string::npos);
    EXPECT_EQ(written.find("Atlas"), std::string::npos);
}

TEST_F(StartupTest, RestoresSelectionsCaseBlindAndKeepsPermInNames) {
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
    EXPECT_TRUE(session_.Filter().RegionFlag(1));
    EXPECT_EQ(session_.GetWorld().FindRegion(1)->MaskRect, (IntRect{0, 0, 8, 8}));
    EXPECT_TRUE(messages_.Shown.empty());
}

// Start-up removes what a killed save left behind, where the user's files really live (beside
// the world, or in the per-user folder of an installed copy), and never a player's own copies.
TEST_F(StartupTest, StartUpRemovesOnlyLeftoversOfAKilledSaveWhereTheUserFilesLive) {
    const std::string installed = root_.filePath("share/brix-tools").toStdString() + "/";
    const std::string perUser = root_.filePath("home/brix-tools").toStdString() + "/";
    QDir(root_.path()).mkpath("share/brix-tools");
    QDir(root_.path()).mkpath("home/brix-tools");
    const std::vector<std::string> kept = {"user.xml.backup", "user.xml.before", "user.xml.240612",
                                           "brix-tools.ini.backup"};
    const std::vector<std::string> leftovers = {"user.xml.brix-save-Ab12Cd.tmp",
                                                "brix-tools.ini.brix-save-000000.tmp"};
    struct Row {
        const char* What;
        std::string Folder;
        bool Installed;
    };
    for (const Row& row :
         {Row{"beside the world", work_, false}, Row{"per-user folder", perUser, true}}) {
        SCOPED_TRACE(row.What);
        if (row.Installed) {
            QFile::remove(QString::fromStdString(work_ + "kestrel.zip"));
            PutArchive(installed);
            location_.InstalledDataDirectories = {installed};
            location_.PerUserDirectory = root_.filePath("home/brix-tools").toStdString();
        } else {
            PutArchive(work_);
        }
        for (const std::string& name : kept)
            ASSERT_TRUE(test::WriteFileBytes(row.Folder + name, "mine"));
        for (const std::string& name : leftovers)
            ASSERT_TRUE(test::WriteFileBytes(row.Folder + name, "half"));
        for (int start = 0; start < 2; ++start) {
            Session session;
            ASSERT_TRUE(StartUp(session, messages_, location_));
            ASSERT_EQ(session.GetPrefs().Paths.UserDirectory, row.Folder);
            ShutDown(session, messages_);
        }
        for (const std::string& name : kept)
            EXPECT_EQ(test::ReadFileBytes(row.Folder + name), "mine") << name;
        for (const std::string& name : leftovers)
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(row.Folder + name))) << name;
    }
}

// An installed world keeps the user's files in the per-user folder, made by the first save, and
// they are read from there on the next start.
TEST_F(StartupTest, AnInstalledWorldKeepsTheUserFilesInThePerUserFolder) {
    const std::string installed = root_.filePath("share/brix-tools").toStdString() + "/";
    QDir(root_.path()).mkpath("share/brix-tools");
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

    Session restarted;
    ASSERT_TRUE(StartUp(restarted, messages_, location_));
    ASSERT_EQ(restarted.GetUser().Characters.size(), 1u);
    EXPECT_EQ(restarted.GetUser().Characters[0].Name, "Ann");

    // A settings change may be the first save: it makes the folder as well.
    location_.PerUserDirectory = root_.filePath("other-home/brix-tools").toStdString();
    Session other;
    ASSERT_TRUE(StartUp(other, messages_, location_));
    other.SetCurrentCharacter(other.GetUser().FindOrAddCharacter("Bo"));
    EXPECT_EQ(Settings(location_.PerUserDirectory + "/brix-tools.ini").Character(), "Bo");
}

// An archive named on the command line is the only one tried: a wrong name is reported as given
// rather than quietly replaced by another world.
TEST_F(StartupTest, ANamedArchiveIsTheOnlyOneTried) {
    PutArchive(work_);
    QDir(root_.path()).mkpath("worlds");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(work_ + "kestrel.zip"),
                            root_.filePath("worlds/test world.zip")));

    location_.ArchiveArgument = "../worlds/missing.zip";
    EXPECT_FALSE(StartUp(session_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text,
              "Unable to open the system data file \"../worlds/missing.zip\".");

    location_.ArchiveArgument = "../worlds/test world.zip";
    Session named;
    ASSERT_TRUE(StartUp(named, messages_, location_));
    EXPECT_EQ(QDir::cleanPath(QString::fromStdString(named.GetPrefs().Paths.UserDirectory)),
              root_.filePath("worlds"));
}

// Start-up stops with the reason, and the file that failed to load is left as it was.
TEST_F(StartupTest, DamagedUserDataIsLeftUntouched) {
    PutArchive(work_);
    const std::string damaged = "<brix-data><Character><Name>Ann</Name></Character><Oops/>";
    ASSERT_TRUE(test::WriteFileBytes(work_ + "user.xml", damaged));
    EXPECT_FALSE(StartUp(session_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_NE(messages_.Shown[0].Text.find("Error parsing user data in \"user.xml\"."),
              std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(work_ + "user.xml"), damaged);
}

TEST_F(StartupTest, UnreadableUserDataEndsStartUpAndIsKept) {
    PutArchive(work_);
    // A folder in the file's place cannot be opened for reading, whoever runs the test.
    ASSERT_TRUE(QDir(QString::fromStdString(work_)).mkdir("user.xml"));
    EXPECT_FALSE(StartUp(session_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text, "Unable to open user data file \"user.xml\".");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(work_ + "user.xml")).isDir());
}

TEST_F(StartupTest, DamagedSystemDataEndsStartUp) {
    PutArchive(work_, "<brix-data><Level Index=\"40\"/></brix-data>");
    EXPECT_FALSE(StartUp(session_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_NE(messages_.Shown[0].Text.find("Index value out of range"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(work_ + "user.xml")));
}

// The program builds its main window between the two halves of start-up while a worker decodes
// the world picture; the picture must arrive whole, with one change notice, or say why not.
TEST_F(StartupTest, TheWorldPictureArrivesWhenStartUpFinishes) {
    struct Row {
        const char* What;
        std::string Multimap;
        QSize World;
        std::vector<std::string> Messages;
        int Updates;
    };
    const Row rows[] = {
        {"sound archive", MonoBmp(128, 96), QSize(64, 48), {}, 1},
        {"a colour multimap leaves the world unloaded",
         BmpBytes(QImage(8, 8, QImage::Format_RGB32)),
         QSize(),
         {"The bitmap \"multimap.bmp\" must be monochrome."},
         0},
    };
    for (const Row& row : rows) {
        PutArchive(work_, SystemData, row.Multimap);
        Session session;
        RecordingMessages messages;
        int updates = 0;
        PendingWorld pending;
        ASSERT_TRUE(StartUp(session, messages, location_, pending)) << row.What;
        EXPECT_TRUE(session.GetWorld().Drawing.WorldBitmap.isNull()) << row.What;
        const SessionSubscription counter(session, [&updates](unsigned) { ++updates; });
        FinishStartUp(session, messages, pending);
        EXPECT_EQ(session.GetWorld().Drawing.WorldBitmapSize, row.World) << row.What;
        EXPECT_EQ(session.GetWorld().Drawing.WorldBitmap.isNull(), !row.World.isValid())
            << row.What;
        std::vector<std::string> shown;
        for (const auto& message : messages.Shown) shown.push_back(message.Text);
        EXPECT_EQ(shown, row.Messages) << row.What;
        EXPECT_EQ(updates, row.Updates) << row.What;
    }
}

}  // namespace
}  // namespace brix
