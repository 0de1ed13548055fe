#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/GameRecords.h"
#include "core/data/UserRecords.h"

struct XML_ParserStruct;

namespace brix {

class Messages;
class ZipArchive;

// Collapses white space: trims both ends and turns every inner run into one space.
std::string NormalizeText(std::string_view text);

// Parses "x, y" after NormalizeText; false when there is no comma.
bool ParseCoordinate(std::string_view text, IntPoint& point);

// Integer conversion of the data files (leading white space, sign, digits; none gives 0).
int ConvertInt(std::string_view text);

// Splits a comma list after NormalizeText: an empty text gives no numbers, a trailing comma
// adds nothing, an empty piece between two commas gives 0.
std::vector<int> SplitNumberList(std::string_view text);

// Builds records from one data file and stores them into the given containers as their end
// tags arrive. The first grammar error freezes the loader; it is then only asked for the error.
class DataLoader {
public:
    static constexpr std::size_t TextLimit = 1023;

    DataLoader(GameRecords& game, UserRecords& user);
    ~DataLoader();
    DataLoader(const DataLoader&) = delete;
    DataLoader& operator=(const DataLoader&) = delete;

    bool Valid() const { return parser_ != nullptr; }

    // Hands one piece to the parser (never the final piece: the end of the document is not
    // checked, so a file cut short keeps the records completed before the cut). False also
    // once the loader has recorded an error, which stops the parser: HasError() then says why.
    bool Parse(const char* data, int size);
    // The parser's own buffer for the next piece, of at least `size` bytes.
    void* GetBuffer(int size);
    bool ParseBuffer(int size);

    bool HasError() const { return !errorText_.empty(); }
    const std::string& ErrorText() const { return errorText_; }
    long ErrorLine() const { return errorLine_; }
    long ErrorColumn() const { return errorColumn_; }
    // The parser's own error string and position, for a piece that failed to parse.
    std::string ParserErrorText() const;
    long ParserLine() const;
    long ParserColumn() const;

    int State() const { return state_; }

    // Expat callbacks.
    void OnStart(const char* name, const char** attributes);
    void OnEnd(const char* name);
    void OnText(const char* text, int length);

private:
    void RecordError(int stringId);
    bool TakeIndexAttribute(const char** attributes, int maximum, int& index);
    bool IsKnownChild(std::string_view name) const;

    GameRecords& game_;
    UserRecords& user_;
    XML_ParserStruct* parser_;
    int state_ = 0;
    std::string text_;
    bool textFull_ = false;
    std::string errorText_;
    long errorLine_ = 0;
    long errorColumn_ = 0;

    Treasure treasure_;
    Region region_;
    Level level_;
    RuneLibrary library_;
    RuneBook book_;
    Character character_;
    int mapCountsIndex_ = 0;
};

enum class DataKind { System, User };

// Reports the outcome of one load: nothing on success, else message SystemDataParseError or
// UserDataParseError with the error and its position. Returns success. A failed read counts as
// failure even when every piece handed over parsed.
bool ReportLoadResult(const DataLoader& loader, bool allPiecesParsed, const std::string& fileName,
                      DataKind kind, Messages& messages, bool readFailed = false);

// The largest data.xml member read, by its declared size. A world's catalogue is a few hundred
// kilobytes; the bound keeps a hostile archive from making start-up inflate gigabytes.
inline constexpr std::uint64_t MaxSystemDataBytes = 16u * 1024u * 1024u;

// Reads data.xml (or another member) of the open archive: the world's records and the
// permanent rune libraries.
bool LoadSystemData(GameRecords& game, UserRecords& user, ZipArchive& archive,
                    const std::string& memberName, Messages& messages);

// Reads the user data file from the directory (ending in a separator); a missing file is
// success with nothing read, a file that exists but cannot be opened is failure (message
// CannotOpenUserData).
bool LoadUserData(UserRecords& user, const std::string& directory, const std::string& fileName,
                  Messages& messages);

}  // namespace brix
