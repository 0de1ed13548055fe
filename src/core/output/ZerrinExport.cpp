#include "core/output/ZerrinExport.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <string_view>

#include "core/base/Messages.h"
#include "core/base/SafeFile.h"
#include "core/base/Strings.h"
#include "core/base/Text.h"
#include "core/data/Session.h"

namespace brix {

namespace {

// A record is one line: a CR or LF kept by the XML in a name (or any other control character)
// would split it and make Zerrin read a second, made-up place. Control bytes never occur inside
// a UTF-8 multi-byte character, so replacing them byte by byte keeps the text valid.
void AppendOnOneLine(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
}

}  // namespace

std::string ZerrinPlaceFile(const GameRecords& records, const MapFilter& filter,
                            const std::string& placeType, bool shop) {
    std::string text = "3\r\n";
    const char kind = shop ? '-' : '+';
    std::string type;
    AppendOnOneLine(type, placeType);
    for (const Treasure& treasure : records.Treasures) {
        if (treasure.Index < 1) continue;
        if (filter.OnlyTreasuresWithMaps && !filter.TreasureFlag(treasure.Index)) continue;
        text += kind;
        text += type;
        text += ": " + std::to_string(treasure.Location.X) + ' ' +
                std::to_string(treasure.Location.Y) + " 0 " + std::to_string(treasure.Index) +
                " - ";
        AppendOnOneLine(text, CutUtf8(treasure.Name, MaxPlaceNameBytes));
        text += "\r\n";
    }
    return text;
}

PlaceTypeChoice ChoosePlaceTypes(const ZerrinCategories& categories, const std::string& stored) {
    PlaceTypeChoice choice;
    for (const ZerrinCategory& category : categories.All()) choice.Types.push_back(category.Name);
    std::stable_sort(
        choice.Types.begin(), choice.Types.end(),
        [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    if (choice.Types.empty()) choice.Types.push_back(DefaultPlaceType);
    const auto match =
        std::find_if(choice.Types.begin(), choice.Types.end(),
                     [&](const std::string& type) { return NamesEqual(type, stored); });
    choice.Selected =
        match == choice.Types.end() ? 0 : static_cast<int>(match - choice.Types.begin());
    return choice;
}

ZerrinExport::ZerrinExport(Session& session, ZerrinCategories categories)
    : session_(session), categories_(std::move(categories)), filter_(session.Filter()) {
    const Settings settings = session_.SettingsFile();
    initialPath_ = settings.ZerrinExportFile();
    if (initialPath_.empty()) initialPath_ = session_.GetPrefs().Paths.DocumentFile("brix.map");
    placeTypes_ = ChoosePlaceTypes(categories_, settings.ZerrinExportPlaceType());
}

bool ZerrinExport::Write(const std::string& path, const std::string& placeType, Messages& messages,
                         QObject* owner) {
    RecomputeMapFilter(session_.GetWorld(), session_.GetCurrentCharacter(), filter_);
    const std::string text =
        ZerrinPlaceFile(session_.GetWorld(), filter_, placeType, categories_.IsShop(placeType));
    if (!WriteFileSafely(path, text)) {
        const std::string title = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
        messages.Show(FormatText(LoadString(StringId::CannotOpenZerrinFile), {title}),
                      MessageIcon::None, owner);
        return false;
    }
    const Settings settings = session_.SettingsFile();
    settings.WriteZerrinExportFile(path);
    settings.WriteZerrinExportPlaceType(placeType);
    return true;
}

}  // namespace brix
