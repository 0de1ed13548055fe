#include "core/data/TreasureCatalog.h"

#include <utility>

namespace brix {

void TreasureCatalog::SetCurrentCharacter(const Character* character) {
    character_.Set(Characters, character);
    const Character* current = GetCurrentCharacter();
    SettingsFile().WriteCharacter(current ? current->Name : std::string());
    RecomputeFilter();
}

void TreasureCatalog::RestoreCurrentCharacter() {
    const std::string name = SettingsFile().Character();
    character_.Restore(Characters, name.empty() ? nullptr : FindCharacter(name));
    RecomputeFilter();
}

void TreasureCatalog::DeleteCharacter(const Character* character) {
    if (character_.Erase(Characters, character)) SetCurrentCharacter(GetCurrentCharacter());
}

void TreasureCatalog::RenameCharacter(const Character* character, std::string name) {
    const int position = PositionIn(Characters, character);
    if (position < 0) return;
    Characters[static_cast<std::size_t>(position)].Name = std::move(name);
    if (position == character_.Position())
        SetCurrentCharacter(character);
    else if (OnUpdate)
        OnUpdate();
}

void TreasureCatalog::SetCurrentRuneLibrary(const RuneLibrary* library) {
    library_.Set(RuneLibraries, library);
    const RuneLibrary* current = GetCurrentRuneLibrary();
    SettingsFile().WriteRuneLibrary(current ? current->Name : std::string());
    if (OnUpdate) OnUpdate();
}

void TreasureCatalog::RestoreCurrentRuneLibrary() {
    const std::string name = SettingsFile().RuneLibrary();
    library_.Restore(RuneLibraries, name.empty() ? nullptr : FindRuneLibrary(name));
    if (OnUpdate) OnUpdate();
}

void TreasureCatalog::DeleteRuneLibrary(const RuneLibrary* library) {
    if (library_.Erase(RuneLibraries, library)) SetCurrentRuneLibrary(GetCurrentRuneLibrary());
}

void TreasureCatalog::ReplaceRuneLibrary(const RuneLibrary* library, RuneLibrary contents) {
    const int position = PositionIn(RuneLibraries, library);
    if (position < 0) return;
    RuneLibraries[static_cast<std::size_t>(position)] = std::move(contents);
    if (position == library_.Position())
        SetCurrentRuneLibrary(library);
    else if (OnUpdate)
        OnUpdate();
}

void TreasureCatalog::SetFilterOptions(const MapFilter& options) {
    filter_.CopyOptionsFrom(options);
    RecomputeFilter();
}

void TreasureCatalog::RecomputeFilter() {
    RecomputeMapFilter(*this, GetCurrentCharacter(), filter_);
    if (OnUpdate) OnUpdate();
}

void TreasureCatalog::ClearSystemRecords() {
    Regions.clear();
    Treasures.clear();
    Levels.clear();
    RuneLibraries.clear();
    library_.Clear();
}

}  // namespace brix
