#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/base/SafeFile.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

TEST(SafeFile, StartUpRemovesOnlyTheTemporaryFilesOfAnInterruptedSave) {
    QTemporaryDir dir;
    const QStringList names = {
        "user.xml",         "user.xml.Ab3xYz", "user.xml.000000",  // ours: the last two
        "user.xml.bak",     "user.xml.Ab3xY!", "user.xml.Ab3xYz7", "user.xml.Ab3xYz.old",
        "other.xml.Ab3xYz", "user.xmlAb3xYzz",
    };
    for (const QString& name : names)
        ASSERT_TRUE(test::WriteFileBytes(dir.filePath(name).toStdString(), "x"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("user.xml.Folder"));

    EXPECT_EQ(RemoveStaleSaveFiles(dir.filePath("user.xml").toStdString()), 2);
    QStringList left = names.mid(3);
    left << "user.xml"
         << "user.xml.Folder";
    left.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              left);
    EXPECT_EQ(RemoveStaleSaveFiles(""), 0);
}

}  // namespace
}  // namespace brix
