#pragma once

#include <QUndoStack>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Preferences.h"
#include "core/data/DataFiles.h"
#include "core/data/MapFilter.h"
#include "core/data/UserData.h"
#include "core/data/World.h"

namespace brix {

// Which record of a by-name list is current, by position, kept right as records are deleted.
template <typename Record>
class CurrentRecord {
public:
    int Position() const { return position_; }
    void SetPosition(int position) { position_ = position; }
    Record* Get(std::vector<Record>& list) const {
        return position_ >= 0 && position_ < static_cast<int>(list.size()) ? &list[position_]
                                                                           : nullptr;
    }
    const Record* Get(const std::vector<Record>& list) const {
        return Get(const_cast<std::vector<Record>&>(list));
    }
    // A record of another list (or null) leaves no record current.
    void Set(const std::vector<Record>& list, const Record* record) {
        position_ = PositionIn(list, record);
    }
    // The record stored under that name, else the first record, else none.
    void Restore(const std::vector<Record>& list, const Record* named) {
        position_ = named != nullptr ? PositionIn(list, named) : (list.empty() ? -1 : 0);
    }
    // Erases the record; false when it is not in the list. The current record stays current;
    // when it is the one erased, none is.
    bool Erase(std::vector<Record>& list, const Record* record) {
        const int position = PositionIn(list, record);
        if (position < 0) return false;
        list.erase(list.begin() + position);
        if (position_ == position)
            position_ = -1;
        else if (position_ > position)
            --position_;
        return true;
    }
    void Clear() { position_ = -1; }

private:
    int position_ = -1;
};

// Why the program's state changed; a listener gets the reasons of one change, or-ed together.
namespace Change {
inline constexpr unsigned Selection = 1;  // the current character or rune library
inline constexpr unsigned Filter = 2;     // the filter's options or has-map flags
inline constexpr unsigned Records = 4;    // the player's records (saved, undoable)
inline constexpr unsigned Display = 8;    // the display settings or the world's pictures
inline constexpr unsigned All = Selection | Filter | Records | Display;
// No change, a request: the records should reach the disk at once, the program may end soon
// (a close that waits for a print job).
inline constexpr unsigned SaveRequested = 16;
}  // namespace Change

// The player's session with the world: which character and rune library are current, the
// filter, and every operation that changes the player's records. Each such change is one
// undoable command on the session's undo stack, and every change of state is announced to
// the listeners with its reasons, so each window keeps itself current and autosave follows
// the records. The session owns none of the parts it works on; the program makes them and
// passes them in, tests make as many as they like.
class Session {
public:
    Session(World& world, UserData& user, Preferences& prefs);
    // A session with an empty world, records and preferences of its own (tests, tools).
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    World& GetWorld() { return world_; }
    const World& GetWorld() const { return world_; }
    UserData& GetUser() { return user_; }
    const UserData& GetUser() const { return user_; }
    Preferences& GetPrefs() { return prefs_; }
    const Preferences& GetPrefs() const { return prefs_; }
    const Settings& SettingsFile() const { return prefs_.SettingsFile(); }

    // --- Change notification.
    using Listener = std::function<void(unsigned reasons)>;
    // Calls the listener after every change until Unsubscribe; the number identifies it.
    int Subscribe(Listener listener);
    void Unsubscribe(int id);
    // Tells every listener; for changes made outside the session (display settings, pictures).
    void Notify(unsigned reasons) const;

    // --- The current records (not undoable by themselves; an undo of a change restores them).
    Character* GetCurrentCharacter() { return character_.Get(user_.Characters); }
    const Character* GetCurrentCharacter() const { return character_.Get(user_.Characters); }
    int CurrentCharacterPosition() const { return character_.Position(); }
    // Makes the character current (null or a foreign record: none), recomputes the filter,
    // writes "Character" and notifies.
    void SetCurrentCharacter(const Character* character);
    // Takes the character named in the settings file, else the first; recomputes and notifies.
    void RestoreCurrentCharacter();

    RuneLibrary* GetCurrentRuneLibrary() { return library_.Get(user_.RuneLibraries); }
    const RuneLibrary* GetCurrentRuneLibrary() const { return library_.Get(user_.RuneLibraries); }
    int CurrentRuneLibraryPosition() const { return library_.Position(); }
    // The same for rune libraries, writing "RuneLibrary"; the filter does not depend on them.
    void SetCurrentRuneLibrary(const RuneLibrary* library);
    void RestoreCurrentRuneLibrary();

    const MapFilter& Filter() const { return filter_; }
    // Takes the levels and switches of the filter dialog, recomputes and notifies.
    void SetFilterOptions(const MapFilter& options);
    // Rebuilds the has-map flags of the current character and notifies.
    void RecomputeFilter();

    // --- Changes to the player's records, each one undoable command.
    // Adds one map of the level to the treasure's counts of the character of that name (found
    // without regard to case, or created with it), or removes one; the character becomes
    // current, "Character" and "LastLevel" are written. A level or treasure out of range
    // changes no count. False when no record changed (nothing to undo then).
    bool ChangeMapCount(const std::string& characterName, int treasure, int level, bool adding);
    // Appends a character without counts; its position.
    int AddCharacter(std::string name);
    // Gives the character a new name; the current character's key follows.
    void RenameCharacter(const Character* character, std::string name);
    // Deletes the character with all its counts; the current one stays current (none when it
    // was the one deleted) and "Character" is rewritten.
    void DeleteCharacter(const Character* character);
    // Appends a library with these contents; its position.
    int AddRuneLibrary(RuneLibrary contents);
    // Replaces the library's flag, name and books; the current library's key follows a new name.
    void ReplaceRuneLibrary(const RuneLibrary* library, RuneLibrary contents);
    void DeleteRuneLibrary(const RuneLibrary* library);

    // The history of the run's changes; Edit > Undo and Redo act on it.
    QUndoStack& UndoStack() { return undo_; }

private:
    class Edit;
    struct EditState;
    // Runs `change`, which touches at most the character at `characterSlot` and the library at
    // `librarySlot` (a position, the list's size for one it appends, -1 for none), and records
    // it as one undoable command named `text` when it changed either.
    void RecordEdit(const std::string& text, int characterSlot, int librarySlot,
                    const std::function<void()>& change);
    EditState CaptureState(int characterSlot, int librarySlot) const;
    void ApplyState(const EditState& from, const EditState& to);
    void WriteCurrentCharacterKey() const;
    void WriteCurrentLibraryKey() const;

    struct OwnedParts;
    std::unique_ptr<OwnedParts> owned_;  // only for the session that made its own parts
    World& world_;
    UserData& user_;
    Preferences& prefs_;
    CurrentRecord<Character> character_;
    CurrentRecord<RuneLibrary> library_;
    MapFilter filter_;
    QUndoStack undo_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListener_ = 1;
};

// A subscription that ends with its owner: a window holds one and is told of every change
// until it is destroyed.
class SessionSubscription {
public:
    SessionSubscription(Session& session, Session::Listener listener)
        : session_(session), id_(session.Subscribe(std::move(listener))) {}
    ~SessionSubscription() { session_.Unsubscribe(id_); }
    SessionSubscription(const SessionSubscription&) = delete;
    SessionSubscription& operator=(const SessionSubscription&) = delete;

private:
    Session& session_;
    int id_;
};

}  // namespace brix
