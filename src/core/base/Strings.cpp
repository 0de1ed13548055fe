#include "core/base/Strings.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace brix {
namespace {

struct StringEntry {
    int Id;
    const char* Text;
};

constexpr StringEntry StringTable[] = {
#include "Strings.inc"
};

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
    static const std::vector<std::pair<int, std::string>> table = [] {
        std::vector<std::pair<int, std::string>> t;
        for (const auto& e : StringTable) t.emplace_back(e.Id, e.Text);
        std::sort(t.begin(), t.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        return t;
    }();
    static const std::string empty;
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const auto& e, int key) { return e.first < key; });
    return (it != table.end() && it->first == id) ? it->second : empty;
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
