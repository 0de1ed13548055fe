#include <gtest/gtest.h>

#include <QObject>

#include <string>
#include <vector>

#include "core/base/Strings.h"
#include "core/data/RuneLibraryManager.h"
#include "core/data/Session.h"
#include "core/data/UserDataWriter.h"
#include "support/Records.h"
#include "support/TempSession.h"

namespace brix {
namespace {

class RuneLibraryManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::AddTreasures(session_.GetWorld(), {2, 3, 5, 7, 11});
        session_.GetUser().RuneLibraries.push_back({true, "Atlas (Perm)", {{"A", {2}}}});
        session_.GetUser().RuneLibraries.push_back(
            {false, "Mine", {{"North", {7, 3}}, {"south", {}}}});
        session_.GetUser().RuneLibraries.push_back({false, "Zoo", {}});
    }
    std::string Key() const { return temp_.Setting("RuneLibrary"); }
    std::vector<std::string> Books(const RuneLibraryDraft& draft) const {
        std::vector<std::string> names;
        for (int row = 0; row < draft.BookCount(); ++row) names.push_back(draft.BookNameAt(row));
        return names;
    }

    test::TempSession temp_;
    Session& session_ = temp_.Sess;
    test::RecordingMessages& messages_ = temp_.Messages;
};

TEST_F(RuneLibraryManagerTest, PermanentLibraryIsRefused) {
    RuneLibraryManager manager(session_, messages_);
    QObject owner;
    EXPECT_FALSE(manager.MayChange(0, &owner));
    EXPECT_FALSE(manager.Delete(0, &owner));
    ASSERT_EQ(messages_.Shown.size(), 2u);
    EXPECT_EQ(messages_.Shown[1].Text, LoadString(StringId::PermanentLibrary));
    EXPECT_EQ(session_.GetUser().RuneLibraries.size(), 3u);
    EXPECT_TRUE(manager.MayChange(1, &owner));
}

TEST_F(RuneLibraryManagerTest, DeletingKeepsTheCurrentLibraryOrLeavesNone) {
    session_.SetCurrentRuneLibrary(&session_.GetUser().RuneLibraries[2]);  // Zoo
    RuneLibraryManager manager(session_, messages_);
    ASSERT_TRUE(manager.Delete(1, nullptr));  // Mine, before Zoo
    EXPECT_EQ(session_.GetCurrentRuneLibrary()->Name, "Zoo");
    EXPECT_EQ(Key(), "Zoo");
    ASSERT_TRUE(manager.Delete(1, nullptr));  // Zoo itself
    EXPECT_EQ(session_.GetCurrentRuneLibrary(), nullptr);
    EXPECT_EQ(Key(), "");
}

TEST_F(RuneLibraryManagerTest, DiscardedDraftLeavesTheLibraryByteForByte) {
    const std::string before = BuildUserDataText(session_.GetUser());
    RuneLibraryManager manager(session_, messages_);
    {
        RuneLibraryDraft draft = manager.StartDraft(1);
        ASSERT_EQ(Books(draft), (std::vector<std::string>{"North", "south"}));
        EXPECT_GE(draft.ConfirmBook(0, "Northern", {2, 3, 5}, nullptr), 0);
        EXPECT_TRUE(draft.DeleteBook(1));
        EXPECT_GE(draft.ConfirmBook(-1, "East", {11}, nullptr), 0);
        EXPECT_EQ(Books(draft), (std::vector<std::string>{"East", "Northern"}));
    }
    EXPECT_EQ(BuildUserDataText(session_.GetUser()), before);
}

TEST_F(RuneLibraryManagerTest, ConfirmStoresTheCopyAndFollowsTheCurrentName) {
    session_.SetCurrentRuneLibrary(&session_.GetUser().RuneLibraries[1]);  // Mine
    RuneLibraryManager manager(session_, messages_);
    RuneLibraryDraft draft = manager.StartDraft(1);
    EXPECT_EQ(draft.ConfirmBook(1, "SOUTH", {5}, nullptr), 1);  // case-only rename
    EXPECT_EQ(manager.Confirm(draft, "  Ours ", nullptr), 1);
    const RuneLibrary& stored = session_.GetUser().RuneLibraries[1];
    EXPECT_EQ(stored.Name, "Ours");
    ASSERT_EQ(stored.RuneBooks.size(), 2u);
    EXPECT_EQ(stored.RuneBooks[0].Treasures, (std::vector<int>{7, 3}));  // untouched book
    EXPECT_EQ(stored.RuneBooks[1].Name, "SOUTH");
    EXPECT_EQ(Key(), "Ours");

    // A new library is appended and does not become current.
    RuneLibraryDraft fresh = manager.StartDraft(-1);
    EXPECT_EQ(manager.Confirm(fresh, "Abc", nullptr), 0);
    EXPECT_EQ(session_.GetUser().RuneLibraries.at(3).Name, "Abc");
    EXPECT_EQ(session_.GetCurrentRuneLibrary()->Name, "Ours");
}

TEST_F(RuneLibraryManagerTest, NamesAreCheckedForLibrariesAndBooks) {
    struct Row {
        const char* What;
        bool Book;
        int Row;
        const char* Typed;
        int Refusal;
    };
    // Libraries shown: 0 Atlas (Perm), 1 Mine, 2 Zoo. Books of Mine: 0 North, 1 south.
    const Row rows[] = {
        {"library in other case", false, 2, "MINE", StringId::DuplicateRuneLibraryName},
        {"library case-only rename", false, 1, "mINE", 0},
        {"library named like a permanent one", false, -1, "Atlas (Perm)",
         StringId::InvalidRuneLibraryName},
        {"book in other case", true, 1, "NORTH", StringId::DuplicateRuneBookName},
        {"book case-only rename", true, 0, "NORTH", 0},
        {"book named like another library's book", true, -1, "A", 0},
    };
    const std::vector<RuneLibrary> libraries = session_.GetUser().RuneLibraries;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        temp_.Reset();
        session_.GetUser().RuneLibraries = libraries;
        RuneLibraryManager manager(session_, messages_);
        RuneLibraryDraft draft = manager.StartDraft(row.Book ? 1 : row.Row);
        const int shown = row.Book ? draft.ConfirmBook(row.Row, row.Typed, {}, nullptr)
                                   : manager.Confirm(draft, row.Typed, nullptr);
        if (row.Refusal == 0) {
            EXPECT_GE(shown, 0);
            EXPECT_TRUE(messages_.Shown.empty());
        } else {
            EXPECT_EQ(shown, -1);
            ASSERT_EQ(messages_.Shown.size(), 1u);
            EXPECT_EQ(messages_.Shown[0].Text, LoadString(row.Refusal));
            EXPECT_EQ(session_.GetUser().RuneLibraries.size(), 3u);
        }
    }
}

TEST_F(RuneLibraryManagerTest, BookListsKeepEntriesOfAnotherWorld) {
    // 40 and 1 name no treasure of this world; the book is stored out of order.
    const RuneBook book{"Old", {40, 7, 1, 3}};
    const RuneBookLists lists = MakeRuneBookLists(session_.GetWorld(), &book);
    EXPECT_EQ(lists.InBook, (std::vector<int>{1, 3, 7, 40}));
    EXPECT_EQ(lists.Available, (std::vector<int>{2, 5, 11}));
    EXPECT_EQ(RuneBookEntryName(session_.GetWorld(), 40), "(unknown treasure)");
}

TEST_F(RuneLibraryManagerTest, ABookKeepsTheFirstSixteen) {
    RuneLibraryManager manager(session_, messages_);
    RuneLibraryDraft draft = manager.StartDraft(-1);
    std::vector<int> many(20);
    for (int i = 0; i < 20; ++i) many[i] = i + 1;
    ASSERT_EQ(draft.ConfirmBook(-1, "Full", many, nullptr), 0);
    EXPECT_EQ(draft.BookAt(0)->Treasures.back(), 16);  // the first sixteen
}

}  // namespace
}  // namespace brix
