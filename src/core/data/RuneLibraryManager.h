#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/data/Records.h"

class QObject;

namespace brix {

struct GameRecords;
class Messages;
class Session;

// A rune library being edited in "Rune Library Configuration": a private copy of its flag,
// name and books. Book changes stay in the copy; nothing reaches the catalogue before the
// library is confirmed, so Cancel discards every one of them. The book list shows the copy's
// books sorted by name, each row standing for one book by its position in the copy.
class RuneLibraryDraft {
public:
    RuneLibraryDraft(RuneLibrary copy, int position, Messages& messages);

    const RuneLibrary& Copy() const { return copy_; }
    // The library's position in the catalogue, or -1 for a new library.
    int Position() const { return position_; }
    // The text the name field starts with.
    const std::string& StartName() const { return copy_.Name; }

    int BookCount() const { return static_cast<int>(rows_.size()); }
    std::string BookNameAt(int row) const;
    // The row's book, or null for -1 (a new book) and rows outside the list.
    const RuneBook* BookAt(int row) const;
    // The text Rune Book Configuration starts with: the row's name, or "New Rune Book Name".
    std::string BookStartName(int row) const;

    // Removes the row's book from the copy. False for a row outside the list.
    bool DeleteBook(int row);

    // OK in Rune Book Configuration for the row's book, or a new one for row -1: names the book
    // and gives it `treasures` (the book list, ascending; at most 16 are kept). The row that
    // now shows the book, or -1 when the name is refused (message shown, owned by `owner`).
    int ConfirmBook(int row, std::string_view typed, const std::vector<int>& treasures,
                    QObject* owner);

private:
    friend class RuneLibraryManager;
    void Sort();

    RuneLibrary copy_;
    int position_;
    Messages& messages_;
    std::vector<int> rows_;  // book positions in the copy, in shown order
};

// The rules behind "Manage Rune Libraries". The list shows every library sorted by name; each
// row stands for one library by its position in the catalogue. Permanent libraries (those of
// the system data) are shown but can be neither changed nor deleted.
class RuneLibraryManager {
public:
    RuneLibraryManager(Session& session, Messages& messages);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    std::string NameAt(int row) const;

    // True when the row's library may be changed or deleted; for a permanent one shows
    // "...is permanent..." owned by `owner` and gives false. False without a message for a
    // row outside the list.
    bool MayChange(int row, QObject* owner);

    // The private copy Rune Library Configuration works on: the row's library, or for row -1
    // an empty library named "New Rune Library Name".
    RuneLibraryDraft StartDraft(int row) const;

    // Deletes the row's library at once, unless it is permanent (MayChange). The catalogue
    // keeps the current library (none when it was this one) and rewrites "RuneLibrary".
    bool Delete(int row, QObject* owner);

    // OK in Rune Library Configuration: stores the draft (a new library is appended) and gives
    // the row that now shows it, or -1 when the name is refused (message shown, owned by
    // `owner`). Renaming the current library rewrites "RuneLibrary".
    int Confirm(const RuneLibraryDraft& draft, std::string_view typed, QObject* owner);

private:
    void Sort();
    int PositionAt(int row) const;

    Session& session_;
    Messages& messages_;
    std::vector<int> rows_;
};

// The two lists of "Rune Book Configuration", each ascending by treasure Index: every treasure
// of the world not in the book, and the book's entries. An entry that names no treasure of
// the world (a user.xml written for another world) stays in the book list, so confirming the
// book keeps it.
struct RuneBookLists {
    std::vector<int> Available;
    std::vector<int> InBook;
};
RuneBookLists MakeRuneBookLists(const GameRecords& game, const RuneBook* book);

// The name a book list shows after an entry's number: the treasure's name, or "(unknown
// treasure)" for an entry that names no treasure of the world.
std::string RuneBookEntryName(const GameRecords& game, int treasure);

// "Add >>" works while an available treasure is selected and the book holds fewer than 16.
bool CanAddToRuneBook(bool availableSelected, int bookCount);

}  // namespace brix
