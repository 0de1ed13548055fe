#include "core/data/UserDataWriter.h"

#include "core/base/Messages.h"
#include "core/base/SafeFile.h"
#include "core/base/Strings.h"

namespace brix {
namespace {

// Escapes what would otherwise be read back differently: markup characters, and carriage
// returns, which a parser turns into line feeds.
std::string EscapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::string JoinNumbers(const int* numbers, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i) out += ',';
        out += std::to_string(numbers[i]);
    }
    return out;
}

}  // namespace

std::string BuildUserDataText(const UserRecords& records) {
    std::string text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    text += "<brix-data>\r\n";
    for (const Character& character : records.Characters) {
        text += "\t<Character>\n";
        text += "\t\t<Name>" + EscapeText(character.Name) + "</Name>\n";
        for (const MapCounts& entry : character.Entries) {
            const int last = LastLevelHeld(entry);
            if (last < 1) continue;
            text += "\t\t<MapCounts Index=\"" + std::to_string(entry.Index) + "\">" +
                    JoinNumbers(entry.Counts.data(), static_cast<std::size_t>(last)) +
                    "</MapCounts>\n";
        }
        text += "\t</Character>\n";
    }
    for (const RuneLibrary& library : records.RuneLibraries) {
        if (library.Permanent) continue;
        text += "\t<RuneLibrary>\n";
        text += "\t\t<Name>" + EscapeText(library.Name) + "</Name>\n";
        for (const RuneBook& book : library.RuneBooks) {
            text += "\t\t<RuneBook>\n";
            text += "\t\t\t<Name>" + EscapeText(book.Name) + "</Name>\n";
            text += "\t\t\t<Treasures>" +
                    JoinNumbers(book.Treasures.data(), book.Treasures.size()) + "</Treasures>\n";
            text += "\t\t</RuneBook>\n";
        }
        text += "\t</RuneLibrary>\n";
    }
    text += "</brix-data>\r\n";

    // The file is written in text mode: every line feed becomes carriage return + line feed.
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    return bytes;
}

bool SaveUserData(const UserRecords& records, const std::string& directory,
                  const std::string& fileName, Messages& messages, bool createDirectory) {
    const std::string bytes = BuildUserDataText(records);
    const bool ok = WriteFileSafely(directory + fileName, bytes, createDirectory);
    if (!ok) messages.Show(FormatText(LoadString(StringId::CannotOpenUserData), {fileName}));
    return ok;
}

}  // namespace brix
