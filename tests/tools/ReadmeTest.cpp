// The README opens as a newcomer needs it: the two set-up commands first, then pictures of the
// program that exist in the repository and stay small enough to load quickly.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <string>

#include "support/TestFiles.h"

namespace {

const QString Root = QStringLiteral(BRIX_TEST_DATA "/../..");

TEST(Readme, OpensWithTheSetUpCommandsThenPicturesOfTheProgram) {
    const QString readme =
        QString::fromStdString(brix::test::ReadFileBytes((Root + "/README.md").toStdString()));
    ASSERT_TRUE(readme.startsWith(QStringLiteral("```sh\nscripts/run ")));
    const qsizetype commandsEnd = readme.indexOf(QStringLiteral("\n```\n"));
    ASSERT_GT(commandsEnd, 0);
    EXPECT_TRUE(readme.mid(0, commandsEnd).contains(QStringLiteral("\nscripts/test ")));

    // Before the first heading, after the commands: the pictures, each a real PNG.
    const QString top =
        readme.mid(commandsEnd, readme.indexOf(QStringLiteral("\n# ")) - commandsEnd);
    const QRegularExpression picture(
        QStringLiteral(R"(!\[[^\]]+\]\((docs/pictures/[^)]+\.png)\))"));
    int pictures = 0;
    for (const QRegularExpressionMatch& match : picture.globalMatch(top)) {
        ++pictures;
        const QFileInfo file(Root + "/" + match.captured(1));
        SCOPED_TRACE(match.captured(1).toStdString());
        EXPECT_TRUE(file.isFile());
        EXPECT_LE(file.size(), 400 * 1024);
        EXPECT_GE(QImage(file.filePath()).width(), 800);
    }
    EXPECT_GE(pictures, 2);
}

}  // namespace
