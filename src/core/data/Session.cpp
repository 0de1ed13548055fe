#include "core/data/Session.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/base/Strings.h"
#include "core/data/MapInventory.h"

namespace brix {
namespace {

// The settings keys a change may write; an undo puts each back as it was, absent included.
constexpr const char* EditKeys[] = {"Character", "RuneLibrary", "LastLevel"};
constexpr std::size_t EditKeyCount = std::size(EditKeys);

// One slot of a record list as a change found or left it.
template <typename Record>
struct Slot {
    int Position = -1;            // -1: the change does not touch the list
    std::optional<Record> Value;  // the record at the position; none when absent
};

template <typename Record>
Slot<Record> CaptureSlot(const std::vector<Record>& list, int position, bool present) {
    Slot<Record> slot;
    slot.Position = position;
    if (position >= 0 && present && position < static_cast<int>(list.size()))
        slot.Value = list[static_cast<std::size_t>(position)];
    return slot;
}

// Turns the list's slot from what `from` found into what `to` found: replaced, inserted or
// erased at the same position.
template <typename Record>
void ApplySlot(std::vector<Record>& list, const Slot<Record>& from, const Slot<Record>& to) {
    const int position = to.Position;
    if (position < 0) return;
    const auto at = list.begin() + position;
    if (from.Value && to.Value)
        *at = *to.Value;
    else if (to.Value)
        list.insert(at, *to.Value);
    else if (from.Value)
        list.erase(at);
}

}  // namespace

struct Session::EditState {
    Slot<Character> CharacterSlot;
    Slot<RuneLibrary> LibrarySlot;
    int CurrentCharacter = -1;
    int CurrentLibrary = -1;
    std::array<std::optional<std::string>, EditKeyCount> Keys;

    bool SameRecords(const EditState& other) const {
        return CharacterSlot.Value == other.CharacterSlot.Value &&
               LibrarySlot.Value == other.LibrarySlot.Value;
    }
};

// One change of the player's records: the touched slots, current records and settings keys as
// they were before and after it.
class Session::Edit : public QUndoCommand {
public:
    Edit(Session& session, const std::string& text, EditState before, EditState after)
        : QUndoCommand(QString::fromStdString(text)),
          session_(session),
          before_(std::move(before)),
          after_(std::move(after)) {}

    void undo() override { session_.ApplyState(after_, before_); }
    void redo() override {
        // The change itself has been made already when the command is pushed.
        if (pushed_) session_.ApplyState(before_, after_);
        pushed_ = true;
    }

private:
    Session& session_;
    EditState before_;
    EditState after_;
    bool pushed_ = false;
};

struct Session::OwnedParts {
    World OwnWorld;
    UserData OwnUser;
    Preferences OwnPrefs;
};

Session::Session(World& world, UserData& user, Preferences& prefs)
    : world_(world), user_(user), prefs_(prefs) {
    // A bound keeps a long session's history from growing without end; each step holds at most
    // one character and one library twice.
    undo_.setUndoLimit(500);
}

Session::Session()
    : owned_(std::make_unique<OwnedParts>()),
      world_(owned_->OwnWorld),
      user_(owned_->OwnUser),
      prefs_(owned_->OwnPrefs) {
    undo_.setUndoLimit(500);
}

Session::~Session() = default;

int Session::Subscribe(Listener listener) {
    const int id = nextListener_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Session::Unsubscribe(int id) {
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [id](const auto& entry) { return entry.first == id; }),
                     listeners_.end());
}

void Session::Notify(unsigned reasons) const {
    // A listener may subscribe or unsubscribe others (a window closing itself): walk a copy.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) {
        const bool stillThere =
            std::any_of(listeners_.begin(), listeners_.end(),
                        [id = id](const auto& entry) { return entry.first == id; });
        if (stillThere && listener) listener(reasons);
    }
}

void Session::WriteCurrentCharacterKey() const {
    const Character* current = GetCurrentCharacter();
    SettingsFile().WriteCharacter(current ? current->Name : std::string());
}

void Session::WriteCurrentLibraryKey() const {
    const RuneLibrary* current = GetCurrentRuneLibrary();
    SettingsFile().WriteRuneLibrary(current ? current->Name : std::string());
}

void Session::SetCurrentCharacter(const Character* character) {
    character_.Set(user_.Characters, character);
    WriteCurrentCharacterKey();
    RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
    Notify(Change::Selection | Change::Filter);
}

void Session::RestoreCurrentCharacter() {
    const std::string name = SettingsFile().Character();
    character_.Restore(user_.Characters, name.empty() ? nullptr : user_.FindCharacter(name));
    RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
    Notify(Change::Selection | Change::Filter);
}

void Session::SetCurrentRuneLibrary(const RuneLibrary* library) {
    library_.Set(user_.RuneLibraries, library);
    WriteCurrentLibraryKey();
    Notify(Change::Selection);
}

void Session::RestoreCurrentRuneLibrary() {
    const std::string name = SettingsFile().RuneLibrary();
    library_.Restore(user_.RuneLibraries, name.empty() ? nullptr : user_.FindRuneLibrary(name));
    Notify(Change::Selection);
}

void Session::SetFilterOptions(const MapFilter& options) {
    filter_.CopyOptionsFrom(options);
    RecomputeFilter();
}

void Session::RecomputeFilter() {
    RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
    Notify(Change::Filter);
}

Session::EditState Session::CaptureState(int characterSlot, int librarySlot) const {
    EditState state;
    state.CharacterSlot = CaptureSlot(user_.Characters, characterSlot, true);
    state.LibrarySlot = CaptureSlot(user_.RuneLibraries, librarySlot, true);
    state.CurrentCharacter = character_.Position();
    state.CurrentLibrary = library_.Position();
    for (std::size_t i = 0; i < EditKeyCount; ++i)
        state.Keys[i] = SettingsFile().File().Read(Settings::Section, EditKeys[i]);
    return state;
}

void Session::RecordEdit(const std::string& text, int characterSlot, int librarySlot,
                         const std::function<void()>& change) {
    const std::size_t characters = user_.Characters.size();
    const std::size_t libraries = user_.RuneLibraries.size();
    EditState before = CaptureState(characterSlot, librarySlot);
    change();
    EditState after = CaptureState(characterSlot, librarySlot);
    // A list that shrank lost the record at the slot; what sits there now is its successor.
    if (user_.Characters.size() < characters) after.CharacterSlot.Value.reset();
    if (user_.RuneLibraries.size() < libraries) after.LibrarySlot.Value.reset();
    if (before.SameRecords(after)) return;
    undo_.push(new Edit(*this, text, std::move(before), std::move(after)));
}

void Session::ApplyState(const EditState& from, const EditState& to) {
    ApplySlot(user_.Characters, from.CharacterSlot, to.CharacterSlot);
    ApplySlot(user_.RuneLibraries, from.LibrarySlot, to.LibrarySlot);
    character_.SetPosition(to.CurrentCharacter);
    library_.SetPosition(to.CurrentLibrary);
    const IniFile& file = SettingsFile().File();
    for (std::size_t i = 0; i < EditKeyCount; ++i) {
        if (to.Keys[i] == file.Read(Settings::Section, EditKeys[i])) continue;
        if (to.Keys[i])
            file.Write(Settings::Section, EditKeys[i], *to.Keys[i]);
        else
            file.Remove(Settings::Section, EditKeys[i]);
    }
    RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
    Notify(Change::Records | Change::Selection | Change::Filter);
}

bool Session::ChangeMapCount(const std::string& characterName, int treasure, int level,
                             bool adding) {
    const Character* existing = user_.FindCharacter(characterName);
    const int slot = existing != nullptr ? PositionIn(user_.Characters, existing)
                                         : static_cast<int>(user_.Characters.size());
    const std::string name = existing != nullptr ? existing->Name : characterName;
    const Treasure* found = world_.FindTreasure(treasure);
    const bool countable =
        treasure >= 1 && treasure <= MaxTreasures && level >= 1 && level <= MaxLevels;
    const std::string treasureName =
        found != nullptr ? found->Name : LoadString(StringId::UnknownTreasure);
    const std::string text =
        countable ? FormatText(LoadString(adding ? StringId::EditAddMap : StringId::EditRemoveMap),
                               {treasure, treasureName, level, name})
                  : FormatText(LoadString(StringId::EditNewCharacter), {name});
    const std::size_t undoCount = static_cast<std::size_t>(undo_.count());
    RecordEdit(text, slot, -1, [&] {
        Character* character = user_.FindOrAddCharacter(characterName);
        AdjustMapCount(*character, treasure, level, adding);
        // Making the character current recomputes the filter, which then already sees the new
        // count: one notification covers the whole change.
        character_.Set(user_.Characters, character);
        WriteCurrentCharacterKey();
        if (level >= 1 && level <= MaxLevels) SettingsFile().WriteLastLevel(level);
        RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
    });
    const bool recorded = static_cast<std::size_t>(undo_.count()) != undoCount;
    Notify(Change::Selection | Change::Filter | (recorded ? Change::Records : 0u));
    return recorded;
}

int Session::AddCharacter(std::string name) {
    const int slot = static_cast<int>(user_.Characters.size());
    RecordEdit(FormatText(LoadString(StringId::EditNewCharacter), {name}), slot, -1,
               [&] { user_.FindOrAddCharacter(name)->Name = name; });
    Notify(Change::Records);
    return static_cast<int>(user_.Characters.size()) > slot ? slot : -1;
}

void Session::RenameCharacter(const Character* character, std::string name) {
    const int position = PositionIn(user_.Characters, character);
    if (position < 0) return;
    const std::string text =
        FormatText(LoadString(StringId::EditRenameCharacter), {character->Name, name});
    RecordEdit(text, position, -1, [&] {
        user_.Characters[static_cast<std::size_t>(position)].Name = std::move(name);
        // The next start selects the renamed current character again.
        if (position == character_.Position()) WriteCurrentCharacterKey();
    });
    Notify(Change::Records | Change::Selection);
}

void Session::DeleteCharacter(const Character* character) {
    const int position = PositionIn(user_.Characters, character);
    if (position < 0) return;
    RecordEdit(FormatText(LoadString(StringId::EditDeleteCharacter), {character->Name}), position,
               -1, [&] {
                   character_.Erase(user_.Characters, character);
                   WriteCurrentCharacterKey();
                   RecomputeMapFilter(world_, GetCurrentCharacter(), filter_);
               });
    Notify(Change::Records | Change::Selection | Change::Filter);
}

int Session::AddRuneLibrary(RuneLibrary contents) {
    const int slot = static_cast<int>(user_.RuneLibraries.size());
    RecordEdit(FormatText(LoadString(StringId::EditNewRuneLibrary), {contents.Name}), -1, slot,
               [&] { *user_.FindOrAddRuneLibrary(contents.Name) = std::move(contents); });
    Notify(Change::Records);
    return static_cast<int>(user_.RuneLibraries.size()) > slot ? slot : -1;
}

void Session::ReplaceRuneLibrary(const RuneLibrary* library, RuneLibrary contents) {
    const int position = PositionIn(user_.RuneLibraries, library);
    if (position < 0) return;
    RecordEdit(FormatText(LoadString(StringId::EditChangeRuneLibrary), {contents.Name}), -1,
               position, [&] {
                   user_.RuneLibraries[static_cast<std::size_t>(position)] = std::move(contents);
                   // The treasure texts name the current library's books; its key follows a
                   // new name.
                   if (position == library_.Position()) WriteCurrentLibraryKey();
               });
    Notify(Change::Records | Change::Selection);
}

void Session::DeleteRuneLibrary(const RuneLibrary* library) {
    const int position = PositionIn(user_.RuneLibraries, library);
    if (position < 0) return;
    RecordEdit(FormatText(LoadString(StringId::EditDeleteRuneLibrary), {library->Name}), -1,
               position, [&] {
                   library_.Erase(user_.RuneLibraries, library);
                   WriteCurrentLibraryKey();
               });
    Notify(Change::Records | Change::Selection);
}

}  // namespace brix
