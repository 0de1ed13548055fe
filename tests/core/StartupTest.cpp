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
#include "core/data/TreasureCatalog.h"
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
    TreasureCatalog catalog_;
    RecordingMessages messages_;
};

TEST_F(StartupTest, TheArchiveIsLookedForInTheWorkingFolderThenBesideTheProgram) {
    ASSERT_TRUE(test::WriteFileBytes(work_ + "kestrel.zip", "not a zip"));
    EXPECT_FALSE(StartUp(catalog_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text, "Unable to open the system data file \"kestrel.zip\".");
    EXPECT_TRUE(catalog_.Paths.DataDirectory.empty());

    PutArchive(bin_);
    location_.ExecutablePath = bin_ + "my.brix.tools";
    TreasureCatalog besideProgram;
    ASSERT_TRUE(StartUp(besideProgram, messages_, location_));
    EXPECT_EQ(besideProgram.Paths.DataDirectory, bin_);
    EXPECT_EQ(besideProgram.Paths.SettingsPath, bin_ + "my.brix.ini");

    PutArchive(work_);
    ASSERT_TRUE(test::WriteFileBytes(work_ + "my.brix.ini", "[Settings]\nTacksCorrect=1\n"));
    TreasureCatalog inWorkingFolder;
    ASSERT_TRUE(StartUp(inWorkingFolder, messages_, location_));
    EXPECT_EQ(inWorkingFolder.Paths.DataDirectory, work_);
    EXPECT_TRUE(inWorkingFolder.Display.TacksCorrect);
    EXPECT_EQ(messages_.Shown.size(), 1u);
}

TEST_F(StartupTest, MissingUserDataIsCreatedAtExitWithoutPermanentLibraries) {
    PutArchive(work_);
    ASSERT_TRUE(StartUp(catalog_, messages_, location_));
    ASSERT_EQ(catalog_.RuneLibraries.size(), 1u);
    EXPECT_EQ(catalog_.RuneLibraries[0].Name, "Atlas (Perm)");

    catalog_.SetCurrentCharacter(catalog_.FindOrAddCharacter("Ann"));
    ShutDown(catalog_, messages_);
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
    ASSERT_TRUE(StartUp(catalog_, messages_, location_));
    EXPECT_EQ(catalog_.CurrentCharacterPosition(), 1);
    EXPECT_EQ(catalog_.CurrentRuneLibraryPosition(), 0);
    EXPECT_TRUE(catalog_.Filter().RegionFlag(1));
    EXPECT_EQ(catalog_.FindRegion(1)->MaskRect, (IntRect{0, 0, 8, 8}));
    EXPECT_TRUE(messages_.Shown.empty());
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

    ASSERT_TRUE(StartUp(catalog_, messages_, location_));
    EXPECT_EQ(catalog_.Paths.DataDirectory, installed);
    EXPECT_EQ(catalog_.Paths.UserDirectory, perUser + "/");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(perUser)));
    catalog_.FindOrAddCharacter("Ann");
    ShutDown(catalog_, messages_);  // the first save makes the folder
    EXPECT_TRUE(messages_.Shown.empty());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(perUser + "/user.xml")));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(installed + "user.xml")));

    TreasureCatalog restarted;
    ASSERT_TRUE(StartUp(restarted, messages_, location_));
    ASSERT_EQ(restarted.Characters.size(), 1u);
    EXPECT_EQ(restarted.Characters[0].Name, "Ann");

    // A settings change may be the first save: it makes the folder as well.
    location_.PerUserDirectory = root_.filePath("other-home/brix-tools").toStdString();
    TreasureCatalog other;
    ASSERT_TRUE(StartUp(other, messages_, location_));
    other.SetCurrentCharacter(other.FindOrAddCharacter("Bo"));
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
    EXPECT_FALSE(StartUp(catalog_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text,
              "Unable to open the system data file \"../worlds/missing.zip\".");

    location_.ArchiveArgument = "../worlds/test world.zip";
    TreasureCatalog named;
    ASSERT_TRUE(StartUp(named, messages_, location_));
    EXPECT_EQ(QDir::cleanPath(QString::fromStdString(named.Paths.UserDirectory)),
              root_.filePath("worlds"));
}

// Start-up stops with the reason, and the file that failed to load is left as it was.
TEST_F(StartupTest, DamagedUserDataIsLeftUntouched) {
    PutArchive(work_);
    const std::string damaged = "<brix-data><Character><Name>Ann</Name></Character><Oops/>";
    ASSERT_TRUE(test::WriteFileBytes(work_ + "user.xml", damaged));
    EXPECT_FALSE(StartUp(catalog_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_NE(messages_.Shown[0].Text.find("Error parsing user data in \"user.xml\"."),
              std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(work_ + "user.xml"), damaged);
}

TEST_F(StartupTest, UnreadableUserDataEndsStartUpAndIsKept) {
    PutArchive(work_);
    // A folder in the file's place cannot be opened for reading, whoever runs the test.
    ASSERT_TRUE(QDir(QString::fromStdString(work_)).mkdir("user.xml"));
    EXPECT_FALSE(StartUp(catalog_, messages_, location_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text, "Unable to open user data file \"user.xml\".");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(work_ + "user.xml")).isDir());
}

TEST_F(StartupTest, DamagedSystemDataEndsStartUp) {
    PutArchive(work_, "<brix-data><Level Index=\"40\"/></brix-data>");
    EXPECT_FALSE(StartUp(catalog_, messages_, location_));
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
        TreasureCatalog catalog;
        RecordingMessages messages;
        int updates = 0;
        PendingWorld pending;
        ASSERT_TRUE(StartUp(catalog, messages, location_, pending)) << row.What;
        EXPECT_TRUE(catalog.Drawing.WorldBitmap.isNull()) << row.What;
        catalog.OnUpdate = [&updates] { ++updates; };
        FinishStartUp(catalog, messages, pending);
        EXPECT_EQ(catalog.Drawing.WorldBitmapSize, row.World) << row.What;
        EXPECT_EQ(catalog.Drawing.WorldBitmap.isNull(), !row.World.isValid()) << row.What;
        std::vector<std::string> shown;
        for (const auto& message : messages.Shown) shown.push_back(message.Text);
        EXPECT_EQ(shown, row.Messages) << row.What;
        EXPECT_EQ(updates, row.Updates) << row.What;
    }
}

}  // namespace
}  // namespace brix
