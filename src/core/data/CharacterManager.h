#pragma once

#include <string>
#include <string_view>
#include <vector>

class QObject;

namespace brix {

class Messages;
class Session;

// The rules behind "Manage Characters" and "Character Configuration". The list shows every
// character sorted by name; each row stands for one character by its position in the
// catalogue, so the row chosen is the character changed even when another name differs from
// it only in case.
class CharacterManager {
public:
    CharacterManager(Session& session, Messages& messages);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The name shown in a row; empty outside the list.
    std::string NameAt(int row) const;

    // The text Character Configuration starts with: the row's name, or "New Character Name"
    // for row -1 (a new character).
    std::string StartName(int row) const;

    // Deletes the row's character at once with all its map counts; the catalogue keeps the
    // current character (none when it was this one), rewrites "Character" and recomputes the
    // filter. False for a row outside the list.
    bool Delete(int row);

    // OK in Character Configuration for the row's character, or a new one for row -1: the row
    // that now shows the character, or -1 when the name is refused (the message is shown,
    // owned by `owner`, and the dialog stays open). A new character gets no map counts and
    // does not become current; renaming the current one rewrites "Character".
    int Confirm(int row, std::string_view typed, QObject* owner);

private:
    void Sort();

    Session& session_;
    Messages& messages_;
    std::vector<int> rows_;  // catalogue positions in shown order
};

}  // namespace brix
