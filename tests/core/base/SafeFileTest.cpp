#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/base/SafeFile.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

QStringList FolderEntries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(SafeFile, CleanUpRemovesOnlyTheProgramsOwnLeftovers) {
    QTemporaryDir dir;
    const QStringList ours = {"user.xml.brix-save-Ab3xYz.tmp", "user.xml.brix-save-000000.tmp"};
    // A player's copies, and names that only look like ours.
    const QStringList theirs = {
        "user.xml",
        "user.xml.backup",
        "user.xml.before",
        "user.xml.240612",
        "user.xml.Ab3xYz",
        "user.xml.brix-save-Ab3xY!.tmp",
        "user.xml.brix-save-Ab3xYz7.tmp",
        "user.xml.brix-save-Ab3xYz",
        "other.xml.brix-save-Ab3xYz.tmp",
        "brix-tools.ini.backup",
    };
    for (const QString& name : ours + theirs)
        ASSERT_TRUE(test::WriteFileBytes(dir.filePath(name).toStdString(), "x"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("user.xml.brix-save-Folder.tmp"));

    EXPECT_EQ(RemoveStaleSaveFiles(dir.filePath("user.xml").toStdString()), 2);
    QStringList left = theirs;
    left << "user.xml.brix-save-Folder.tmp";
    left.sort();
    EXPECT_EQ(FolderEntries(dir), left);
    EXPECT_EQ(RemoveStaleSaveFiles(""), 0);
}

TEST(SafeFile, SaveLeavesOnlyTheTargetAndItsOwnTemporaryNameIsOneTheCleanUpKnows) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("user.xml").toStdString();
    ASSERT_TRUE(test::WriteFileBytes(dir.filePath("user.xml.backup").toStdString(), "old"));
    ASSERT_TRUE(WriteFileSafely(path, "first"));
    ASSERT_TRUE(WriteFileSafely(path, "second"));
    EXPECT_EQ(test::ReadFileBytes(path), "second");
    EXPECT_EQ(FolderEntries(dir), QStringList({"user.xml", "user.xml.backup"}));
    EXPECT_EQ(SaveFilePattern("user.xml"), "user.xml.brix-save-XXXXXX.tmp");
}

}  // namespace
}  // namespace brix
