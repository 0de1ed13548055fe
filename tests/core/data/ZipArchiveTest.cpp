#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdint>

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
}

// Sets the declared (uncompressed) size of a member in both its headers, as a lying archive does.
void DeclareSize(std::string& zip, const std::string& name, std::uint32_t size) {
    const auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i) zip[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    };
    for (std::size_t at = 0; (at = zip.find("PK", at)) != std::string::npos; ++at) {
        if (at + 46 + name.size() > zip.size()) break;
        if (zip.compare(at + 2, 2, "\x03\x04") == 0 && zip.compare(at + 30, name.size(), name) == 0)
            put(at + 22);
        if (zip.compare(at + 2, 2, "\x01\x02") == 0 && zip.compare(at + 46, name.size(), name) == 0)
            put(at + 24);
    }
}

TEST(ZipArchive, DeclaredSizesBoundWhatIsAllocatedAndRead) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.zip").toStdString();
    const std::string zeros(100000, '\0');
    ASSERT_TRUE(test::WriteZip(path, {{"m", zeros}, {"m", "shadowed"}, {"small", "abc"}}));
    const std::string honest = test::ReadFileBytes(path);

    struct Row {
        const char* Name;
        std::uint32_t Declared;  // 0: as written
        std::size_t Cap;
        ZipArchive::ReadResult Whole;
        std::uint64_t Streamed;  // bytes handed to the sink
    };
    using R = ZipArchive::ReadResult;
    const Row rows[] = {
        {"honest", 0, 100000, R::Ok, 100000},
        {"declared past the cap", 0, 99999, R::TooLarge, 0},
        // The stream would inflate to 100000 bytes: reading stops at the declared 1000, and the
        // checksum of those does not match.
        {"declares less than it holds", 1000, 100000, R::ReadFailed, 1000},
        {"declares more than it holds", 100001, 200000, R::ReadFailed, 100000},
        {"lies past the cap", 4000000000u, 100000, R::TooLarge, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        std::string bytes = honest;
        if (row.Declared != 0) DeclareSize(bytes, "m", row.Declared);
        auto archive = ZipArchive::OpenBytes(bytes);
        ASSERT_TRUE(archive);
        EXPECT_EQ(archive->MemberNames(), (std::vector<std::string>{"m", "small"}));
        std::string out = "left over";
        EXPECT_EQ(archive->ReadMemberBytes("m", out, row.Cap), row.Whole);
        EXPECT_EQ(out.size(), row.Whole == R::Ok ? zeros.size() : 0u);
        std::uint64_t streamed = 0;
        const R pieces = archive->ReadMember(
            "m", [&](const char*, int n) { return streamed += static_cast<unsigned>(n), true; },
            row.Cap);
        EXPECT_EQ(pieces, row.Whole);
        EXPECT_EQ(streamed, row.Streamed);
        // One damaged member does not spoil the others.
        EXPECT_EQ(archive->ReadMemberBytes("small", out, 3), R::Ok);
        EXPECT_EQ(out, "abc");
    }
    // The same archive on disk reads the same way as in memory.
    auto onDisk = ZipArchive::Open(path);
    ASSERT_TRUE(onDisk);
    std::string out;
    EXPECT_EQ(onDisk->ReadMemberBytes("m", out, 100000), R::Ok);
    EXPECT_EQ(out, zeros);
    EXPECT_FALSE(ZipArchive::OpenBytes(honest.substr(0, honest.size() / 2)));
}

}  // namespace
}  // namespace brix
