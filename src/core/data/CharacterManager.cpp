#include "core/data/CharacterManager.h"

#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/data/RecordNaming.h"
#include "core/data/Session.h"

namespace brix {
namespace {

constexpr NameRefusals CharacterRefusals{StringId::CharacterNameMissing,
                                         StringId::InvalidCharacterName,
                                         StringId::DuplicateCharacterName};

}  // namespace

CharacterManager::CharacterManager(Session& session, Messages& messages)
    : session_(session), messages_(messages) {
    Sort();
}

void CharacterManager::Sort() {
    rows_ = SortedPositions(session_.GetUser().Characters);
}

std::string CharacterManager::NameAt(int row) const {
    if (row < 0 || row >= RowCount()) return {};
    return session_.GetUser()
        .Characters[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)])]
        .Name;
}

std::string CharacterManager::StartName(int row) const {
    return row < 0 ? LoadString(StringId::NewCharacterName) : NameAt(row);
}

bool CharacterManager::Delete(int row) {
    if (row < 0 || row >= RowCount()) return false;
    const int position = rows_[static_cast<std::size_t>(row)];
    session_.DeleteCharacter(&session_.GetUser().Characters[static_cast<std::size_t>(position)]);
    Sort();
    return true;
}

int CharacterManager::Confirm(int row, std::string_view typed, QObject* owner) {
    if (row >= RowCount()) return -1;
    const int self = row < 0 ? -1 : rows_[static_cast<std::size_t>(row)];
    std::string name = TrimName(typed);
    if (const int refusal =
            NameRefusal(name, NamesOf(session_.GetUser().Characters), self, CharacterRefusals)) {
        messages_.Show(LoadString(refusal), MessageIcon::None, owner);
        return -1;
    }
    int position = self;
    if (self < 0) {
        // No character holds the name in any case (checked above), so this appends.
        position = session_.AddCharacter(std::move(name));
    } else {
        session_.RenameCharacter(&session_.GetUser().Characters[static_cast<std::size_t>(self)],
                                 std::move(name));
    }
    Sort();
    return RowOfPosition(rows_, position);
}

}  // namespace brix
