#include "support/Records.h"

#include "core/data/Session.h"

#include <string>

namespace brix::test {

void AddTreasures(GameRecords& records, std::initializer_list<int> indexes, int region) {
    for (int index : indexes) {
        Treasure treasure;
        treasure.Index = index;
        treasure.Region = region;
        treasure.Name = "Spot " + std::to_string(index);
        records.StoreTreasure(treasure);
    }
}

void AddLevels(GameRecords& records, std::initializer_list<int> indexes) {
    for (int index : indexes) {
        Level level;
        level.Index = index;
        level.Name = "Level " + std::to_string(index);
        records.StoreLevel(level);
    }
}

void ResetSession(Session& session) {
    session.UndoStack().clear();
    session.GetWorld() = World{};
    session.GetUser() = UserData{};
    session.GetPrefs() = Preferences{};
    // Without a settings path these write no key.
    session.SetCurrentCharacter(nullptr);
    session.SetCurrentRuneLibrary(nullptr);
    session.SetFilterOptions(MapFilter{});
}

}  // namespace brix::test
