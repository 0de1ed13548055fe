#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

#include "core/base/ProgramPaths.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

std::string Describe(const std::vector<ArchiveCandidate>& candidates) {
    std::string text;
    for (const ArchiveCandidate& c : candidates)
        text +=
            c.Path + " in " + c.Folder + " as " + std::to_string(static_cast<int>(c.Place)) + "; ";
    return text;
}

ProgramLocation Location(std::string working, std::string executable, std::string argument,
                         std::vector<std::string> installed) {
    ProgramLocation location(std::move(working), std::move(executable));
    location.ArchiveArgument = std::move(argument);
    location.InstalledDataDirectories = std::move(installed);
    return location;
}

TEST(ProgramPaths, ArchiveSearchOrder) {
    using P = ArchivePlace;
    struct Row {
        const char* What;
        ProgramLocation Location;
        std::vector<ArchiveCandidate> Expected;
    };
    const std::vector<std::string> installed = {"/usr/bin/../share/brix-tools", "/usr/share/bt/"};
    const Row rows[] = {
        {"working folder, program folder, then the installed folders in their order",
         Location("/home/ann/w", "/opt/bt/bin/brix-tools", "", installed),
         {{"/home/ann/w/kestrel.zip", "/home/ann/w/", P::WorkingDirectory},
          {"/opt/bt/bin/kestrel.zip", "/opt/bt/bin/", P::ProgramDirectory},
          {"/usr/bin/../share/brix-tools/kestrel.zip", "/usr/bin/../share/brix-tools/",
           P::Installed},
          {"/usr/share/bt/kestrel.zip", "/usr/share/bt/", P::Installed}}},
        {"a folder reached twice is tried once, at its first place",
         Location("/opt/bt/bin/", "/opt/bt/bin/brix-tools", "", {"/opt/bt/share/../bin"}),
         {{"/opt/bt/bin/kestrel.zip", "/opt/bt/bin/", P::WorkingDirectory}}},
        {"an absolute argument is the only candidate",
         Location("/home/ann/w", "/opt/bt/brix-tools", "/data/worlds/test.zip", installed),
         {{"/data/worlds/test.zip", "/data/worlds/", P::Argument}}},
        {"a relative argument is taken from the working folder",
         Location("/home/ann/w", "/opt/bt/brix-tools", "../worlds/test.zip", installed),
         {{"/home/ann/w/../worlds/test.zip", "/home/ann/w/../worlds/", P::Argument}}},
    };
    for (const Row& row : rows) {
        const std::vector<ArchiveCandidate> got = ArchiveCandidates("kestrel.zip", row.Location);
        EXPECT_EQ(Describe(got), Describe(row.Expected)) << row.What;
    }
}

TEST(ProgramPaths, UserFilesStayBesideAWritableArchiveElseGoToThePerUserFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const std::string perUser = root.filePath("home/.local/share/brix-tools").toStdString();
    const auto folder = [&](const char* name) {
        QDir(root.path()).mkpath(name);
        return root.filePath(name).toStdString() + "/";
    };
    const std::string open = folder("open");
    const std::string closed = folder("closed");
    const std::string shared = folder("shared");  // closed, but user.xml is there and writable
    ASSERT_TRUE(test::WriteFileBytes(shared + "user.xml", "<brix-data/>"));
    test::ReadOnlyFolder closeClosed(closed);
    test::ReadOnlyFolder closeShared(shared);
    if (!closeClosed.Closed() || !closeShared.Closed())
        GTEST_SKIP() << "this file system cannot close a folder to new files";

    using P = ArchivePlace;
    struct Row {
        const char* What;
        P Place;
        std::string Data, PerUser, Expected;
    };
    const Row rows[] = {
        {"writable folder named on the command line", P::Argument, open, perUser, open},
        {"read-only program folder", P::ProgramDirectory, closed, perUser, perUser + "/"},
        {"read-only folder with a writable user.xml", P::WorkingDirectory, shared, perUser, shared},
        {"installed copy, even where it could write", P::Installed, open, perUser, perUser + "/"},
        {"no per-user folder known", P::ProgramDirectory, closed, "", closed},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(
            ChooseUserDirectory(row.Place, row.Data, row.PerUser, {"user.xml", "brix-tools.ini"}),
            row.Expected)
            << row.What;
    }
    // The choice itself creates nothing; the per-user folder comes with the first save.
    EXPECT_FALSE(QDir(QString::fromStdString(perUser)).exists());
    EXPECT_EQ(QDir(QString::fromStdString(open))
                  .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              QStringList());
}

}  // namespace
}  // namespace brix
