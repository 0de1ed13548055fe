#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/output/ZerrinCategories.h"
#include "support/TestFiles.h"

namespace brix {
namespace {

using Found = std::vector<std::pair<std::string, bool>>;

Found Categories(const ZerrinCategories& categories) {
    Found found;
    for (const ZerrinCategory& category : categories.All())
        found.emplace_back(category.Name, category.Shop);
    return found;
}

constexpr const char* Mines = R"([Software\\Zerrin\\Categories\\Mines] 1764975102)";

// Every row is the text of a user.reg, often damaged: what Wine writes must be read, and
// anything else must give what can still be read without crashing.
TEST(ZerrinCategories, ReadsUserRegAndSurvivesDamage) {
    struct Row {
        const char* Name;
        std::string Text;
        Found Expected;
    };
    const std::string mines = Mines;
    const Row rows[] = {
        {"empty file", "", {}},
        {"CR LF, blanks, value name in any case",
         mines + "\r\n\"shop\"=dword:00000001  \r\n",
         {{"Mines", true}}},
        {"not a dword: hex(4)", mines + "\n\"Shop\"=hex(4):01,00,00,00\n", {{"Mines", false}}},
        {"dword too long", mines + "\n\"Shop\"=dword:100000001\n", {{"Mines", false}}},
        {"unterminated section",
         R"([Software\\Zerrin\\Categories\\Mines)"
         "\n\"Shop\"=dword:1\n",
         {}},
        {"section ends in a backslash", "[Software\\", {}},
        {"another key's Shop value",
         R"([Software\\Zerrin\\Settings])"
         "\n\"Shop\"=dword:1\n",
         {}},
        {"key path without regard to case",
         R"([software\\ZERRIN\\categories\\Mines])"
         "\n\"Shop\"=dword:1\n",
         {{"Mines", true}}},
        {"one category under two spellings",
         mines + "\n" + R"([Software\\Zerrin\\Categories\\MINES])" + "\n\"Shop\"=dword:1\n",
         {{"Mines", true}}},
        {"escapes",
         R"([Software\\Zerrin\\Categories\\Caf\xe9 \x00e9a \[1\]])",
         {{"Caf\xC3\xA9 \xC3\xA9"
           "a [1]",
           false}}},
        {"control character in a name", R"([Software\\Zerrin\\Categories\\A\nB])", {}},
        {"junk bytes", std::string("\0\xff[\\x\n[\n\"\n=\n]\n\\", 14), {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Categories(ZerrinCategories::ParseUserReg(row.Text)), row.Expected) << row.Name;
}

// The Wine prefix is $WINEPREFIX; a missing file means no categories.
TEST(ZerrinCategories, ReadsTheWinePrefix) {
    const Found fixture = {{"Mines", false}, {"Smiths", true}, {"caf\xC3\xA9s", false}};
    EXPECT_TRUE(ZerrinCategories::FromUserReg("/nonexistent/user.reg").All().empty());

    const char* old = std::getenv("WINEPREFIX");
    const std::string saved = old != nullptr ? old : "";
    setenv("WINEPREFIX", BRIX_TEST_DATA "/wine", 1);
    EXPECT_EQ(ZerrinCategories::WineUserRegPath(), BRIX_TEST_DATA "/wine/user.reg");
    const ZerrinCategories system = ZerrinCategories::FromSystem();
    EXPECT_EQ(Categories(system), fixture);
    EXPECT_TRUE(system.IsShop("smiths"));  // looked up as the registry does, without case
    EXPECT_FALSE(system.IsShop("Mines"));
    QTemporaryDir empty;
    setenv("WINEPREFIX", empty.path().toUtf8().constData(), 1);
    EXPECT_TRUE(ZerrinCategories::FromSystem().All().empty());
    if (old != nullptr)
        setenv("WINEPREFIX", saved.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

}  // namespace
}  // namespace brix
