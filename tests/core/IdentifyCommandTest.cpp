#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sstream>

#include "core/IdentifyCommand.h"
#include "core/data/Session.h"
#include "support/MapPictureQuery.h"
#include "support/TestFiles.h"
#include "support/WorldArchive.h"

namespace brix {
namespace {

#ifdef BRIX_SAMPLE_ARCHIVE

// The command line's answers: the candidates on standard output, the exit code, and nothing
// written beside the archive or in the working folder.
TEST(IdentifyCommandTest, PrintsCandidatesAndExitsWithTheOutcome) {
    const Session& world = test::SharedWorldArchive(BRIX_SAMPLE_ARCHIVE);
    const Treasure* treasure = world.GetWorld().FindTreasure(123);
    ASSERT_NE(treasure, nullptr);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString closeUp = dir.filePath(QStringLiteral("closeup.jpg"));
    ASSERT_TRUE(test::PictureOfCloseUp(world, treasure->Index, {}).save(closeUp, "JPEG", 60));
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    ASSERT_TRUE(test::WriteFileBytes(text.toStdString(), "not a picture"));
    const QString tiny = dir.filePath(QStringLiteral("tiny.png"));
    ASSERT_TRUE(QImage(1, 1, QImage::Format_RGB32).save(tiny));

    const QFileInfo archive(QStringLiteral(BRIX_SAMPLE_ARCHIVE));
    const QStringList besideArchive = archive.dir().entryList(QDir::Files);
    const QDir work(dir.filePath(QStringLiteral("work")));
    ASSERT_TRUE(QDir().mkpath(work.path()));

    struct Row {
        const char* What;
        QString Picture;
        std::string Archive;
        int Code;
        std::string FirstLine;
    } rows[] = {
        {"close-up", closeUp, BRIX_SAMPLE_ARCHIVE, IdentifyMatched, "1\t123\t" + treasure->Name},
        {"one pixel", tiny, BRIX_SAMPLE_ARCHIVE, IdentifyNoMatch, ""},
        {"not a picture", text, BRIX_SAMPLE_ARCHIVE, IdentifyUnreadable, ""},
        {"no archive", closeUp, dir.filePath(QStringLiteral("none.zip")).toStdString(),
         IdentifyNoWorld, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        ProgramLocation location(work.path().toStdString(), "/nowhere/brix-tools");
        location.ArchiveArgument = row.Archive;
        std::ostringstream out, err;
        EXPECT_EQ(RunIdentifyCommand(row.Picture.toStdString(), location, out, err), row.Code);
        const std::string printed = out.str();
        if (!row.FirstLine.empty()) {
            EXPECT_EQ(printed.substr(0, row.FirstLine.size() + 1), row.FirstLine + "\t");
            EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 5);
            EXPECT_TRUE(err.str().empty()) << err.str();
        } else {
            EXPECT_FALSE(err.str().empty());
        }
    }
    EXPECT_EQ(archive.dir().entryList(QDir::Files), besideArchive);
    EXPECT_TRUE(work.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

#endif

}  // namespace
}  // namespace brix
