#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/base/Settings.h"
#include "core/data/DataLoader.h"
#include "core/data/UserDataWriter.h"
#include "support/ReadOnlyFolder.h"
#include "support/RecordingMessages.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

// A shared or installed set-up: the data folder takes no new files, but user.xml and the
// settings file in it are writable. Saving must rewrite them in place rather than fail.
TEST(ReadOnlyFolder, ExistingFilesAreRewrittenInPlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/";
    ASSERT_TRUE(test::WriteFileBytes(folder + "user.xml", ""));
    ASSERT_TRUE(test::WriteFileBytes(folder + "brix-tools.ini", "[Settings]\r\nLastLevel=2\r\n"));

    test::ReadOnlyFolder closed(folder);
    if (!closed.Closed()) GTEST_SKIP() << "this file system cannot close a folder to new files";

    UserRecords records;
    records.Characters.push_back({"Ann", {MapCounts{7, {0, 3}}}});
    test::RecordingMessages messages;
    EXPECT_TRUE(SaveUserData(records, folder, "user.xml", messages));
    EXPECT_TRUE(messages.Shown.empty());
    UserRecords reloaded;
    ASSERT_TRUE(LoadUserData(reloaded, folder, "user.xml", messages));
    ASSERT_EQ(reloaded.Characters.size(), 1u);
    EXPECT_EQ(reloaded.Characters[0].Entries.at(0).Counts[1], 3);

    const Settings settings(folder + "brix-tools.ini");
    settings.WriteLastLevel(5);
    settings.WriteCharacter("Ann");
    EXPECT_EQ(settings.LastLevel(), 5);
    EXPECT_EQ(settings.Character(), "Ann");

    // A file that is not there yet still cannot be made, and says so.
    EXPECT_FALSE(SaveUserData(records, folder, "other.xml", messages));
    EXPECT_EQ(messages.Shown.size(), 1u);
}

}  // namespace
}  // namespace brix
