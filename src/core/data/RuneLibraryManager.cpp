#include "core/data/RuneLibraryManager.h"

#include <algorithm>
#include <utility>

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/RecordNaming.h"
#include "core/data/Session.h"

namespace brix {
namespace {

constexpr NameRefusals LibraryRefusals{StringId::RuneLibraryNameMissing,
                                       StringId::InvalidRuneLibraryName,
                                       StringId::DuplicateRuneLibraryName};
constexpr NameRefusals BookRefusals{StringId::RuneBookNameMissing, StringId::InvalidRuneBookName,
                                    StringId::DuplicateRuneBookName};

int PositionOfRow(const std::vector<int>& rows, int row) {
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)]
                                                           : -1;
}

}  // namespace

RuneLibraryDraft::RuneLibraryDraft(RuneLibrary copy, int position, Messages& messages)
    : copy_(std::move(copy)), position_(position), messages_(messages) {
    Sort();
}

void RuneLibraryDraft::Sort() {
    rows_ = SortedPositions(copy_.RuneBooks);
}

const RuneBook* RuneLibraryDraft::BookAt(int row) const {
    const int position = PositionOfRow(rows_, row);
    return position < 0 ? nullptr : &copy_.RuneBooks[static_cast<std::size_t>(position)];
}

std::string RuneLibraryDraft::BookNameAt(int row) const {
    const RuneBook* book = BookAt(row);
    return book != nullptr ? book->Name : std::string();
}

std::string RuneLibraryDraft::BookStartName(int row) const {
    return row < 0 ? LoadString(StringId::NewRuneBookName) : BookNameAt(row);
}

bool RuneLibraryDraft::DeleteBook(int row) {
    const RuneBook* book = BookAt(row);
    if (book == nullptr) return false;
    DeleteRuneBook(copy_, book);
    Sort();
    return true;
}

int RuneLibraryDraft::ConfirmBook(int row, std::string_view typed,
                                  const std::vector<int>& treasures, QObject* owner) {
    const int self = PositionOfRow(rows_, row);
    if (row >= 0 && self < 0) return -1;
    std::string name = TrimName(typed);
    if (const int refusal = NameRefusal(name, NamesOf(copy_.RuneBooks), self, BookRefusals)) {
        messages_.Show(LoadString(refusal), MessageIcon::None, owner);
        return -1;
    }
    RuneBook* book = self < 0 ? FindOrAddRuneBook(copy_, name)
                              : &copy_.RuneBooks[static_cast<std::size_t>(self)];
    book->Name = std::move(name);
    book->Treasures.assign(
        treasures.begin(),
        treasures.begin() + std::min<std::size_t>(treasures.size(), MaxRunesPerBook));
    const int position = PositionIn(copy_.RuneBooks, static_cast<const RuneBook*>(book));
    Sort();
    return RowOfPosition(rows_, position);
}

RuneLibraryManager::RuneLibraryManager(Session& session, Messages& messages)
    : session_(session), messages_(messages) {
    Sort();
}

void RuneLibraryManager::Sort() {
    rows_ = SortedPositions(session_.GetUser().RuneLibraries);
}

int RuneLibraryManager::PositionAt(int row) const {
    return PositionOfRow(rows_, row);
}

std::string RuneLibraryManager::NameAt(int row) const {
    const int position = PositionAt(row);
    return position < 0 ? std::string()
                        : session_.GetUser().RuneLibraries[static_cast<std::size_t>(position)].Name;
}

bool RuneLibraryManager::MayChange(int row, QObject* owner) {
    const int position = PositionAt(row);
    if (position < 0) return false;
    if (session_.GetUser().RuneLibraries[static_cast<std::size_t>(position)].Permanent) {
        messages_.Show(LoadString(StringId::PermanentLibrary), MessageIcon::None, owner);
        return false;
    }
    return true;
}

RuneLibraryDraft RuneLibraryManager::StartDraft(int row) const {
    const int position = PositionAt(row);
    if (position < 0) {
        RuneLibrary empty;
        empty.Name = LoadString(StringId::NewRuneLibraryName);
        return RuneLibraryDraft(std::move(empty), -1, messages_);
    }
    return RuneLibraryDraft(session_.GetUser().RuneLibraries[static_cast<std::size_t>(position)],
                            position, messages_);
}

bool RuneLibraryManager::Delete(int row, QObject* owner) {
    if (!MayChange(row, owner)) return false;
    session_.DeleteRuneLibrary(
        &session_.GetUser().RuneLibraries[static_cast<std::size_t>(PositionAt(row))]);
    Sort();
    return true;
}

int RuneLibraryManager::Confirm(const RuneLibraryDraft& draft, std::string_view typed,
                                QObject* owner) {
    const int self = draft.Position();
    if (self >= static_cast<int>(session_.GetUser().RuneLibraries.size())) return -1;
    std::string name = TrimName(typed);
    if (const int refusal =
            NameRefusal(name, NamesOf(session_.GetUser().RuneLibraries), self, LibraryRefusals)) {
        messages_.Show(LoadString(refusal), MessageIcon::None, owner);
        return -1;
    }
    RuneLibrary contents = draft.Copy();
    contents.Name = std::move(name);
    int position = self;
    // No library holds the name in any case (checked above), so a new one is appended.
    if (self < 0)
        position = session_.AddRuneLibrary(std::move(contents));
    else
        session_.ReplaceRuneLibrary(
            &session_.GetUser().RuneLibraries[static_cast<std::size_t>(position)],
            std::move(contents));
    Sort();
    return RowOfPosition(rows_, position);
}

RuneBookLists MakeRuneBookLists(const GameRecords& game, const RuneBook* book) {
    RuneBookLists lists;
    if (book != nullptr) lists.InBook = book->Treasures;
    std::stable_sort(lists.InBook.begin(), lists.InBook.end());
    for (const Treasure& treasure : game.Treasures) {
        if (treasure.Index < 1) continue;
        if (!std::binary_search(lists.InBook.begin(), lists.InBook.end(), treasure.Index))
            lists.Available.push_back(treasure.Index);
    }
    return lists;
}

std::string RuneBookEntryName(const GameRecords& game, int treasure) {
    const Treasure* found = game.FindTreasure(treasure);
    return found != nullptr ? found->Name : LoadString(StringId::UnknownTreasure);
}

bool CanAddToRuneBook(bool availableSelected, int bookCount) {
    return availableSelected && bookCount < MaxRunesPerBook;
}

}  // namespace brix
