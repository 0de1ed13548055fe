#include <gtest/gtest.h>

#include <QDir>

#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/UserDataWriter.h"
#include "core/data/ZipArchive.h"
#include "support/TempSession.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

using test::RecordingMessages;

// Fed in 1024-byte pieces, as the loaders do.
struct Parsed {
    bool Ok;
    std::string Error;
    long Line;
    long Column;
};

Parsed ParseDocument(Session& session, const std::string& xml) {
    DataLoader loader(session.GetWorld(), session.GetUser());
    bool allParsed = true;
    for (std::size_t pos = 0; pos < xml.size() && allParsed; pos += 1024) {
        const std::string piece = xml.substr(pos, 1024);
        allParsed = loader.Parse(piece.data(), static_cast<int>(piece.size()));
    }
    // The loader's own error stops the parser, so it is the one reported.
    if (!allParsed && !loader.HasError())
        return {false, loader.ParserErrorText(), loader.ParserLine(), loader.ParserColumn()};
    return {!loader.HasError(), loader.ErrorText(), loader.ErrorLine(), loader.ErrorColumn()};
}

std::string Doc(const std::string& body) {
    return "<brix-data>\n" + body + "\n</brix-data>\n";
}

TEST(DataLoader, GrammarErrorsCarryTextAndTagPosition) {
    struct Row {
        const char* Xml;
        const char* Error;
        long Line;
        long Column;
    };
    const Row rows[] = {
        {"<other/>", "Unknown or unexpected element", 1, 0},
        {"<brix-data>\n<RuneLibrary><RuneBook><Treasures>1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17"
         "</Treasures></RuneBook></RuneLibrary>\n</brix-data>",
         "Rune book contains too many runes", 2, 75},
        // A second error later in the file never replaces the first.
        {"<brix-data>\n\n\n\n\n\n\n\n\n<Bad/>\n<Level Index=\"99\"/>\n</brix-data>",
         "Unknown or unexpected element", 10, 0},
    };
    for (const Row& row : rows) {
        Session session;
        const Parsed result = ParseDocument(session, row.Xml);
        EXPECT_FALSE(result.Ok) << row.Xml;
        EXPECT_EQ(result.Error, row.Error) << row.Xml;
        EXPECT_EQ(result.Line, row.Line) << row.Xml;
        EXPECT_EQ(result.Column, row.Column) << row.Xml;
    }
}

TEST(DataLoader, NumberListsSaturate) {
    EXPECT_EQ(SplitNumberList(""), std::vector<int>{});
    EXPECT_EQ(SplitNumberList("1,,3"), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(SplitNumberList("7x,99999999999"), (std::vector<int>{7, 2147483647}));
}

TEST(DataLoader, RecordsAreBuiltAndStored) {
    Session session;
    const std::string sixteen = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16";
    // Two two-byte characters straddle the 1023-byte limit, and the name a parse piece's end.
    const std::string longName = std::string(1022, 'a') + "\xC3\xA9\xC3\xA9" + std::string(80, 'n');
    const Parsed result = ParseDocument(
        session,
        Doc("<Level Index=\"5\"><WhatSpawns>  rats \n  and   bats </WhatSpawns></Level>\n"
            "<TREASURE Index=\"4\"><name>first</name></TREASURE>\n"
            "<Treasure Index=\"4\"><Name>  second </Name></Treasure>\n"
            "<RuneLibrary><RuneBook><Treasures>1,2</Treasures><Treasures>3</Treasures>"
            "</RuneBook><RuneBook><Treasures>" +
            sixteen + "</Treasures></RuneBook></RuneLibrary>\n<Character><Name>" + longName +
            "</Name><MapCounts Index=\"4\">" + sixteen + ",17</MapCounts></Character>"));
    ASSERT_TRUE(result.Ok) << result.Error;
    ASSERT_EQ(session.GetWorld().Levels.size(), 6u);
    EXPECT_EQ(session.GetWorld().Levels[5].WhatSpawns, "rats and bats");
    EXPECT_EQ(session.GetWorld().FindTreasure(4)->Name, "  second ");  // the later record wins
    ASSERT_EQ(session.GetUser().RuneLibraries.at(0).RuneBooks.size(), 2u);
    EXPECT_EQ(session.GetUser().RuneLibraries[0].RuneBooks[0].Treasures,
              (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(session.GetUser().RuneLibraries[0].RuneBooks[1].Treasures.size(), 16u);
    const Character& cut = session.GetUser().Characters.at(0);
    EXPECT_EQ(cut.Name, std::string(1022, 'a'));
    EXPECT_EQ(cut.Entries.at(0).Counts[15], 16);  // the 17th count is ignored
}

TEST(DataLoader, IncompleteDocumentsKeepFinishedRecords) {
    Session session;
    EXPECT_TRUE(ParseDocument(session, "").Ok);
    EXPECT_TRUE(ParseDocument(session,
                              "<brix-data><Character><Name>A</Name></Character>"
                              "<Character><Name>B</Name>")
                    .Ok);
    ASSERT_EQ(session.GetUser().Characters.size(), 1u);
    EXPECT_EQ(session.GetUser().Characters[0].Name, "A");
}

class DataFilesTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return temp_.Path(name); }

    test::TempSession temp_;
    const std::string folder_ = temp_.Path("");
    Session& session_ = temp_.Sess;
    RecordingMessages& messages_ = temp_.Messages;
};

const char* const TwoCharactersOneLibrary =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n<brix-data>\r\r\n"
    "\t<Character>\r\n\t\t<Name>Ann</Name>\r\n\t\t<MapCounts Index=\"12\">0,0,1</MapCounts>\r\n"
    "\t\t<MapCounts Index=\"999\">4,0,0,0,0,0,0,0,0,0,0,0,0,0,0,2</MapCounts>\r\n\t</Character>\r\n"
    "\t<Character>\r\n\t\t<Name>Bo Rhen_2</Name>\r\n\t</Character>\r\n"
    "\t<RuneLibrary>\r\n\t\t<Name>Home</Name>\r\n"
    "\t\t<RuneBook>\r\n\t\t\t<Name>North</Name>\r\n\t\t\t<Treasures>1,2,3</Treasures>\r\n"
    "\t\t</RuneBook>\r\n\t\t<RuneBook>\r\n\t\t\t<Name>Empty</Name>\r\n"
    "\t\t\t<Treasures></Treasures>\r\n\t\t</RuneBook>\r\n\t</RuneLibrary>\r\n</brix-data>\r\r\n";

TEST_F(DataFilesTest, UserDataRoundTripsByteForByte) {
    ASSERT_TRUE(test::WriteFileBytes(PathOf("user.xml"), TwoCharactersOneLibrary));
    ASSERT_TRUE(LoadUserData(session_.GetUser(), folder_, "user.xml", messages_));
    EXPECT_TRUE(messages_.Shown.empty());
    ASSERT_EQ(session_.GetUser().Characters.size(), 2u);
    ASSERT_EQ(session_.GetUser().RuneLibraries.size(), 1u);

    ASSERT_TRUE(test::WriteFileBytes(PathOf("user.xml"), "stale"));
    ASSERT_TRUE(SaveUserData(session_.GetUser(), folder_, "user.xml", messages_));
    EXPECT_EQ(test::ReadFileBytes(PathOf("user.xml")), TwoCharactersOneLibrary);
}

TEST_F(DataFilesTest, WriterSkipsPermanentLibrariesAndEmptyEntries) {
    session_.GetUser().Characters.push_back({"Zero", {MapCounts{5, {}}}});
    session_.GetUser().RuneLibraries.push_back({true, "System (Perm)", {}});
    session_.GetWorld().StoreTreasure(Treasure{7, 1, {}, {}, "t", {}, {}});
    const std::string text = BuildUserDataText(session_.GetUser());
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\r\n<brix-data>\r\r\n"
              "\t<Character>\r\n\t\t<Name>Zero</Name>\r\n\t</Character>\r\n</brix-data>\r\r\n");
}

TEST_F(DataFilesTest, NamesWithMarkupCharactersRoundTrip) {
    const std::vector<std::string> names = {"A<b>&c", "cr\rhere", "line\nfeed", "\xC3\x89lodie",
                                            "]]>"};
    for (const std::string& name : names) session_.GetUser().Characters.push_back({name, {}});
    session_.GetUser().RuneLibraries.push_back({false, "<lib>", {RuneBook{"&book", {4}}}});
    ASSERT_TRUE(SaveUserData(session_.GetUser(), folder_, "user.xml", messages_));

    Session reloaded;
    ASSERT_TRUE(LoadUserData(reloaded.GetUser(), folder_, "user.xml", messages_));
    ASSERT_TRUE(messages_.Shown.empty()) << messages_.Shown[0].Text;
    ASSERT_EQ(reloaded.GetUser().Characters.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(reloaded.GetUser().Characters[i].Name, names[i]);
    EXPECT_EQ(reloaded.GetUser().RuneLibraries.at(0).RuneBooks.at(0).Name, "&book");
}

TEST_F(DataFilesTest, AnEmptyUserFileLoadsAsNoRecords) {
    ASSERT_TRUE(test::WriteFileBytes(PathOf("user.xml"), ""));
    EXPECT_TRUE(LoadUserData(session_.GetUser(), folder_, "user.xml", messages_));
    EXPECT_TRUE(messages_.Shown.empty());
}

TEST_F(DataFilesTest, FailedSaveKeepsTheOldFileAndSaysSo) {
    session_.GetUser().Characters.push_back({"Ann", {}});
    EXPECT_FALSE(
        SaveUserData(session_.GetUser(), PathOf("missing-folder/"), "user.xml", messages_));
    ASSERT_EQ(messages_.Shown.size(), 1u);
    EXPECT_EQ(messages_.Shown[0].Text, "Unable to open user data file \"user.xml\".");

    // A target that cannot be replaced (a folder of that name) is left as it was.
    messages_.Shown.clear();
    ASSERT_TRUE(QDir(temp_.Dir.path()).mkdir("user.xml"));
    EXPECT_FALSE(SaveUserData(session_.GetUser(), folder_, "user.xml", messages_));
    EXPECT_EQ(messages_.Shown.size(), 1u);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(PathOf("user.xml"))).isDir());
}

TEST_F(DataFilesTest, SystemDataComesFromTheArchive) {
    const std::string good = Doc("<Level Index=\"1\"><Name>One</Name></Level>");
    struct Row {
        std::vector<test::ZipMember> Members;
        bool Ok;
        std::string Message;
    };
    const std::vector<Row> rows = {
        {{{"DATA.XML", good}}, false, "Unable to locate \"data.xml\" in the zip file."},
        {{{"data.xml", "<brix-data><a"}}, true, ""},  // never a final piece: a cut file is no error
    };
    for (const Row& row : rows) {
        const std::string zip = PathOf("t.zip");
        QFile::remove(QString::fromStdString(zip));
        ASSERT_TRUE(test::WriteZip(zip, row.Members));
        auto archive = ZipArchive::Open(zip);
        ASSERT_TRUE(archive);
        Session session;
        RecordingMessages messages;
        EXPECT_EQ(
            LoadSystemData(session.GetWorld(), session.GetUser(), *archive, "data.xml", messages),
            row.Ok);
        if (row.Message.empty()) {
            EXPECT_TRUE(messages.Shown.empty());
        } else {
            ASSERT_EQ(messages.Shown.size(), 1u);
            EXPECT_EQ(messages.Shown[0].Text, row.Message);
        }
    }
}

}  // namespace
}  // namespace brix
