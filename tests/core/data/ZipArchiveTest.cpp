#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/data/ZipArchive.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

TEST(ZipArchive, ExecutableNameSplitsAtTheLastFullStop) {
    struct Row {
        const char* Path;
        const char* Directory;
        const char* Base;
    };
    const Row rows[] = {
        {"/opt/brix/brix.tools.exe", "/opt/brix/", "brix.tools"},
        {"brix.exe", "", "brix"},
        {"/opt/brix/.hidden", "/opt/brix/", ""},
    };
    for (const Row& row : rows) {
        std::string dir, base;
        SplitExecutablePath(row.Path, dir, base);
        EXPECT_EQ(dir, row.Directory) << row.Path;
        EXPECT_EQ(base, row.Base) << row.Path;
    }
}

TEST(ZipArchive, MembersAreReadInPiecesAndMatchedByExactName) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.zip").toStdString();
    std::string big(5000, 'x');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(test::WriteZip(path, {{"data.xml", big}, {"Other.bmp", "b"}}));
    auto archive = ZipArchive::Open(path);
    ASSERT_TRUE(archive);

    std::vector<int> pieces;
    std::string read;
    EXPECT_EQ(archive->ReadMember("data.xml",
                                  [&](const char* d, int n) {
                                      pieces.push_back(n);
                                      read.append(d, static_cast<std::size_t>(n));
                                      return true;
                                  }),
              ZipArchive::ReadResult::Ok);
    EXPECT_EQ(read, big);
    for (int n : pieces) EXPECT_LE(n, ZipArchive::PieceSize);

    std::string out;
    EXPECT_EQ(archive->ReadMemberBytes("other.bmp", out, 100), ZipArchive::ReadResult::NotFound);
    EXPECT_EQ(archive->ReadMemberBytes("Other.bmp", out, 100), ZipArchive::ReadResult::Ok);
    EXPECT_EQ(archive->ReadMemberBytes("data.xml", out, 4999), ZipArchive::ReadResult::TooLarge);
    EXPECT_TRUE(out.empty());

    EXPECT_FALSE(ZipArchive::Open(dir.filePath("missing.zip").toStdString()));
    ASSERT_TRUE(test::WriteFileBytes(dir.filePath("fake.zip").toStdString(), "PK\x03\x04 nope"));
    EXPECT_FALSE(ZipArchive::Open(dir.filePath("fake.zip").toStdString()));
}

}  // namespace
}  // namespace brix
