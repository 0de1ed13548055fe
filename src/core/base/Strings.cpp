#include "core/base/Strings.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace brix {
namespace {

struct StringEntry {
    int Id;
    const char* Text;
};

constexpr StringEntry StringTable[] = {
#define BRIX_STRING(name, number, text) {number, text},
#define BRIX_COMMAND(name, number, text) {number, text},
#include "Strings.inc"
#undef BRIX_STRING
#undef BRIX_COMMAND
};

// Lookups search the table as it stands, so its order is part of its correctness; this also
// rules out two texts with one number.
constexpr bool IsStrictlyAscending() {
    for (std::size_t i = 1; i < std::size(StringTable); ++i) {
        if (StringTable[i - 1].Id >= StringTable[i].Id) return false;
    }
    return true;
}
static_assert(IsStrictlyAscending(), "resources/Strings.inc must be sorted by number, each once");

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

const std::string& LoadString(int id) {
    // The texts as std::string, in table order, made once on first use.
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (const StringEntry& e : StringTable) t.emplace_back(e.Text);
        return t;
    }();
    static const std::string empty;
    const auto* it = std::lower_bound(std::begin(StringTable), std::end(StringTable), id,
                                      [](const StringEntry& e, int key) { return e.Id < key; });
    if (it == std::end(StringTable) || it->Id != id) return empty;
    return texts[static_cast<std::size_t>(it - std::begin(StringTable))];
}

std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        char conversion = format[++i];
        if (conversion == '%') {
            out += '%';
            continue;
        }
        if (next == args.end()) continue;
        const FormatArg& arg = *next++;
        switch (conversion) {
            case 's':
                out += arg.IsText ? arg.Text : std::to_string(arg.Number);
                break;
            case 'd':
                out += std::to_string(static_cast<int>(arg.Number));
                break;
            case 'u':
                out += std::to_string(static_cast<unsigned>(arg.Number));
                break;
            case 'c':
                AppendUtf8(out, static_cast<char32_t>(arg.Number));
                break;
            default:
                out += '%';
                out += conversion;
                break;
        }
    }
    return out;
}

}  // namespace brix
