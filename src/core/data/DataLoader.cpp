#include "core/data/DataLoader.h"

#include <expat.h>

#include <QFile>

#include "core/base/IniFile.h"
#include "core/base/Messages.h"
#include "core/base/Strings.h"
#include "core/base/Text.h"
#include "core/data/ZipArchive.h"

namespace brix {
namespace {

enum LoaderState {
    Outside = 0,
    InRoot = 1,
    InTreasure = 2,
    InRegion = 3,
    InLevel = 4,
    InRuneLibrary = 5,
    InRuneBook = 6,
    InCharacter = 7,
};

bool IsWhite(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool Is(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) {
        if (Is(name, n)) return true;
    }
    return false;
}

bool HasAttributes(const char** attributes) {
    return attributes != nullptr && attributes[0];
}

void XMLCALL StartHandler(void* user, const XML_Char* name, const XML_Char** attributes) {
    static_cast<DataLoader*>(user)->OnStart(name, attributes);
}
void XMLCALL EndHandler(void* user, const XML_Char* name) {
    static_cast<DataLoader*>(user)->OnEnd(name);
}
void XMLCALL TextHandler(void* user, const XML_Char* text, int length) {
    static_cast<DataLoader*>(user)->OnText(text, length);
}

}  // namespace

std::string NormalizeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (char c : text) {
        if (IsWhite(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) out += ' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}

int ConvertInt(std::string_view text) {
    return ParseLeadingInt(text).value_or(0);
}

bool ParseCoordinate(std::string_view text, IntPoint& point) {
    const std::string normal = NormalizeText(text);
    const std::size_t comma = normal.find(',');
    if (comma == std::string::npos) return false;
    point.X = ConvertInt(std::string_view(normal).substr(0, comma));
    point.Y = ConvertInt(std::string_view(normal).substr(comma + 1));
    return true;
}

std::vector<int> SplitNumberList(std::string_view text) {
    const std::string normal = NormalizeText(text);
    std::vector<int> numbers;
    std::string_view rest(normal);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        numbers.push_back(ConvertInt(rest.substr(0, comma)));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return numbers;
}

DataLoader::DataLoader(GameRecords& game, UserRecords& user)
    : game_(game), user_(user), parser_(XML_ParserCreate(nullptr)) {
    if (parser_ == nullptr) return;
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, StartHandler, EndHandler);
    XML_SetCharacterDataHandler(parser_, TextHandler);
}

DataLoader::~DataLoader() {
    if (parser_) XML_ParserFree(parser_);
}

bool DataLoader::Parse(const char* data, int size) {
    return XML_Parse(parser_, data, size, 0) == XML_STATUS_OK;
}

void* DataLoader::GetBuffer(int size) {
    return XML_GetBuffer(parser_, size);
}

bool DataLoader::ParseBuffer(int size) {
    return XML_ParseBuffer(parser_, size, 0) == XML_STATUS_OK;
}

std::string DataLoader::ParserErrorText() const {
    const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(parser_));
    return text ? text : "";
}
long DataLoader::ParserLine() const {
    return static_cast<long>(XML_GetCurrentLineNumber(parser_));
}
long DataLoader::ParserColumn() const {
    return static_cast<long>(XML_GetCurrentColumnNumber(parser_));
}

void DataLoader::RecordError(int stringId) {
    if (HasError()) return;
    errorText_ = LoadString(stringId);
    errorLine_ = ParserLine();
    errorColumn_ = ParserColumn();
    // Nothing after the first error is used; parsing on would only let a hostile file grow
    // the parser's element stack (200,000 nested elements take 30 MB) or spend its time.
    XML_StopParser(parser_, XML_FALSE);
}

bool DataLoader::TakeIndexAttribute(const char** attributes, int maximum, int& index) {
    if (!HasAttributes(attributes) || attributes[2] != nullptr ||
        std::string_view(attributes[0]) != "Index") {
        RecordError(StringId::OnlyIndexAttribute);
        return false;
    }
    index = ConvertInt(attributes[1]);
    if (index < 1 || index > maximum) {
        RecordError(StringId::IndexOutOfRange);
        return false;
    }
    return true;
}

bool DataLoader::IsKnownChild(std::string_view name) const {
    switch (state_) {
        case InTreasure:
            return IsOneOf(name, {"Name", "Region", "Location", "LabelOffset"});
        case InRegion:
            return IsOneOf(name, {"Name", "MaskOffset", "MaskHitTest", "Comment"});
        case InLevel:
            return IsOneOf(name, {"Name", "Cartography", "Lockpicking", "Gold", "Gems",
                                  "MagicItems", "Scrolls", "Reagents", "WhatSpawns", "WhatDrops"});
        case InRuneLibrary:
        case InCharacter:
            return Is(name, "Name");
        case InRuneBook:
            return IsOneOf(name, {"Name", "Treasures"});
        default:
            return false;
    }
}

void DataLoader::OnStart(const char* name, const char** attributes) {
    if (HasError()) return;
    text_.clear();
    textFull_ = false;
    const std::string_view element(name);
    int index = 0;
    switch (state_) {
        case Outside:
            if (!Is(element, "brix-data"))
                RecordError(StringId::UnknownElement);
            else if (HasAttributes(attributes))
                RecordError(StringId::AttributesNotAllowed);
            else
                state_ = InRoot;
            return;
        case InRoot:
            if (Is(element, "Treasure")) {
                if (TakeIndexAttribute(attributes, MaxTreasures, index)) {
                    treasure_ = Treasure{};
                    treasure_.Index = index;
                    state_ = InTreasure;
                }
            } else if (Is(element, "Region")) {
                if (TakeIndexAttribute(attributes, MaxRegions, index)) {
                    region_ = Region{};
                    region_.Index = index;
                    state_ = InRegion;
                }
            } else if (Is(element, "Level")) {
                if (TakeIndexAttribute(attributes, MaxLevels, index)) {
                    level_ = Level{};
                    level_.Index = index;
                    state_ = InLevel;
                }
            } else if (Is(element, "RuneLibrary")) {
                if (HasAttributes(attributes)) {
                    RecordError(StringId::AttributesNotAllowed);
                } else {
                    library_ = RuneLibrary{};
                    state_ = InRuneLibrary;
                }
            } else if (Is(element, "Character")) {
                if (HasAttributes(attributes)) {
                    RecordError(StringId::AttributesNotAllowed);
                } else {
                    character_ = Character{};
                    state_ = InCharacter;
                }
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        default:
            break;
    }
    if (state_ == InRuneLibrary && Is(element, "RuneBook")) {
        if (HasAttributes(attributes)) {
            RecordError(StringId::AttributesNotAllowed);
        } else {
            book_ = RuneBook{};
            state_ = InRuneBook;
        }
    } else if (state_ == InCharacter && Is(element, "MapCounts")) {
        if (TakeIndexAttribute(attributes, MaxTreasures, index)) mapCountsIndex_ = index;
    } else if (IsKnownChild(element)) {
        if (HasAttributes(attributes)) RecordError(StringId::AttributesNotAllowed);
    } else {
        RecordError(StringId::UnknownElement);
    }
}

void DataLoader::OnEnd(const char* name) {
    if (HasError()) return;
    const std::string_view element(name);
    auto coordinate = [&](IntPoint& point) {
        if (!ParseCoordinate(text_, point)) RecordError(StringId::InvalidCoordinate);
    };
    switch (state_) {
        case Outside:
            RecordError(StringId::UnexpectedParseError);
            return;
        case InRoot:
            if (Is(element, "brix-data"))
                state_ = Outside;
            else
                RecordError(StringId::UnknownElement);
            return;
        case InTreasure:
            if (Is(element, "Treasure")) {
                game_.StoreTreasure(treasure_);
                state_ = InRoot;
            } else if (Is(element, "Name")) {
                treasure_.Name = text_;
            } else if (Is(element, "Region")) {
                treasure_.Region = ConvertInt(text_);
            } else if (Is(element, "Location")) {
                coordinate(treasure_.Location);
            } else if (Is(element, "LabelOffset")) {
                coordinate(treasure_.LabelOffset);
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        case InRegion:
            if (Is(element, "Region")) {
                game_.StoreRegion(region_);
                state_ = InRoot;
            } else if (Is(element, "Name")) {
                region_.Name = text_;
            } else if (Is(element, "MaskOffset")) {
                coordinate(region_.MaskOffset);
            } else if (Is(element, "MaskHitTest")) {
                region_.MaskHitTest = ConvertInt(text_) != 0;
            } else if (Is(element, "Comment")) {
                region_.Comment = NormalizeText(text_);
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        case InLevel: {
            struct NumberField {
                std::string_view Name;
                int Level::*Field;
            };
            static constexpr NumberField numbers[] = {
                {"Cartography", &Level::Cartography},
                {"Lockpicking", &Level::Lockpicking},
                {"Gold", &Level::Gold},
                {"Gems", &Level::Gems},
                {"MagicItems", &Level::MagicItems},
                {"Scrolls", &Level::Scrolls},
                {"Reagents", &Level::Reagents},
            };
            if (Is(element, "Level")) {
                game_.StoreLevel(level_);
                state_ = InRoot;
                return;
            }
            if (Is(element, "Name")) {
                level_.Name = text_;
                return;
            }
            if (Is(element, "WhatSpawns")) {
                level_.WhatSpawns = NormalizeText(text_);
                return;
            }
            if (Is(element, "WhatDrops")) {
                level_.WhatDrops = NormalizeText(text_);
                return;
            }
            for (const NumberField& f : numbers) {
                if (Is(element, f.Name)) {
                    level_.*f.Field = ConvertInt(text_);
                    return;
                }
            }
            RecordError(StringId::UnknownElement);
            return;
        }
        case InRuneLibrary:
            if (Is(element, "RuneLibrary")) {
                user_.RuneLibraries.push_back(std::move(library_));
                library_ = RuneLibrary{};
                state_ = InRoot;
            } else if (Is(element, "Name")) {
                library_.Name = text_;
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        case InRuneBook:
            if (Is(element, "RuneBook")) {
                library_.RuneBooks.push_back(std::move(book_));
                book_ = RuneBook{};
                state_ = InRuneLibrary;
            } else if (Is(element, "Name")) {
                book_.Name = text_;
            } else if (Is(element, "Treasures")) {
                for (int number : SplitNumberList(text_)) {
                    if (book_.Treasures.size() >= MaxRunesPerBook) {
                        RecordError(StringId::TooManyRunes);
                        return;
                    }
                    book_.Treasures.push_back(number);
                }
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        case InCharacter:
            if (Is(element, "Character")) {
                user_.Characters.push_back(std::move(character_));
                character_ = Character{};
                state_ = InRoot;
            } else if (Is(element, "Name")) {
                character_.Name = text_;
            } else if (Is(element, "MapCounts")) {
                MapCounts entry;
                entry.Index = mapCountsIndex_;
                const std::vector<int> counts = SplitNumberList(text_);
                for (std::size_t i = 0; i < counts.size() && i < MaxLevels; ++i)
                    entry.Counts[i] = counts[i];
                character_.Entries.push_back(entry);
            } else {
                RecordError(StringId::UnknownElement);
            }
            return;
        default:
            RecordError(StringId::UnexpectedParseError);
            return;
    }
}

void DataLoader::OnText(const char* text, int length) {
    if (HasError() || textFull_ || length <= 0) return;
    const std::size_t room = TextLimit - text_.size();
    const std::string_view piece(text, static_cast<std::size_t>(length));
    // Keep whole characters only, and drop everything after the cut.
    if (piece.size() > room) textFull_ = true;
    text_ += CutUtf8(piece, room);
}

bool ReportLoadResult(const DataLoader& loader, bool allPiecesParsed, const std::string& fileName,
                      DataKind kind, Messages& messages, bool readFailed) {
    if (allPiecesParsed && !loader.HasError() && !readFailed) return true;
    std::string error;
    long line = 0;
    long column = 0;
    // The loader's own error stops the parser, so it comes first.
    if (loader.HasError()) {
        error = loader.ErrorText();
        line = loader.ErrorLine();
        column = loader.ErrorColumn();
    } else if (allPiecesParsed) {
        // A piece that could not be read: no parser error exists, so say what we can.
        error = LoadString(StringId::UnexpectedParseError);
        line = loader.ParserLine();
        column = loader.ParserColumn();
    } else {
        error = loader.ParserErrorText();
        line = loader.ParserLine();
        column = loader.ParserColumn();
    }
    const int format =
        kind == DataKind::System ? StringId::SystemDataParseError : StringId::UserDataParseError;
    messages.Show(FormatText(LoadString(format), {fileName, error, static_cast<long long>(line),
                                                  static_cast<long long>(column)}));
    return false;
}

bool LoadSystemData(GameRecords& game, UserRecords& user, ZipArchive& archive,
                    const std::string& memberName, Messages& messages) {
    DataLoader loader(game, user);
    if (!loader.Valid()) {
        messages.Show(LoadString(StringId::CannotCreateParser));
        return false;
    }
    if (!archive.Locate(memberName)) {
        messages.Show(FormatText(LoadString(StringId::CannotLocateMember), {memberName}));
        return false;
    }
    // A member declared larger than any catalogue could be is refused unread: inflating a
    // hostile one would take minutes and its records unbounded memory.
    if (archive.CurrentDeclaredSize() > MaxSystemDataBytes || !archive.OpenCurrent()) {
        messages.Show(FormatText(LoadString(StringId::CannotOpenMember), {memberName}));
        return false;
    }
    bool allParsed = true;
    bool readFailed = false;
    for (;;) {
        void* buffer = loader.GetBuffer(ZipArchive::PieceSize);
        if (buffer == nullptr) {
            readFailed = true;
            break;
        }
        const int n = archive.ReadCurrent(buffer, ZipArchive::PieceSize);
        if (n < 0) {
            readFailed = true;
            break;
        }
        if (n == 0) break;
        if (!loader.ParseBuffer(n)) {
            allParsed = false;
            break;
        }
    }
    // A member read to its end whose checksum does not match is damaged, even if it parsed.
    if (!archive.CloseCurrent() && allParsed) readFailed = true;
    return ReportLoadResult(loader, allParsed, memberName, DataKind::System, messages, readFailed);
}

bool LoadUserData(UserRecords& user, const std::string& directory, const std::string& fileName,
                  Messages& messages) {
    // The user file's grammar has no world records; any that turn up are thrown away.
    GameRecords ignored;
    DataLoader loader(ignored, user);
    if (!loader.Valid()) {
        messages.Show(LoadString(StringId::CannotCreateParser));
        return false;
    }
    QFile file(QString::fromStdString(directory + fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        // Only a file that is not there means "no user data yet". One that exists but cannot
        // be read must end start-up, or the empty data would replace it at exit.
        if (!file.exists()) return true;
        messages.Show(FormatText(LoadString(StringId::CannotOpenUserData), {fileName}));
        return false;
    }

    bool allParsed = true;
    bool readFailed = false;
    bool pendingCR = false;  // a carriage return at the end of the previous piece
    char raw[ZipArchive::PieceSize];
    for (;;) {
        const qint64 n =
            file.read(raw, pendingCR ? ZipArchive::PieceSize - 1 : ZipArchive::PieceSize);
        if (n < 0) {
            readFailed = true;
            break;
        }
        if (n == 0) {
            if (pendingCR) {
                // A lone carriage return at the very end of the file.
                char* buffer = static_cast<char*>(loader.GetBuffer(1));
                if (buffer == nullptr) {
                    readFailed = true;
                    break;
                }
                buffer[0] = '\r';
                allParsed = loader.ParseBuffer(1);
            }
            break;
        }
        char* buffer = static_cast<char*>(loader.GetBuffer(ZipArchive::PieceSize));
        if (buffer == nullptr) {
            readFailed = true;
            break;
        }
        // Text mode: a carriage return followed by a line feed reads as the line feed alone.
        int out = 0;
        if (pendingCR && raw[0] != '\n') buffer[out++] = '\r';
        pendingCR = false;
        for (qint64 i = 0; i < n; ++i) {
            if (raw[i] == '\r') {
                if (i + 1 == n) {
                    pendingCR = true;
                    break;
                }
                if (raw[i + 1] == '\n') continue;
            }
            buffer[out++] = raw[i];
        }
        if (out > 0 && !loader.ParseBuffer(out)) {
            allParsed = false;
            break;
        }
    }
    file.close();
    return ReportLoadResult(loader, allParsed, fileName, DataKind::User, messages, readFailed);
}

}  // namespace brix
