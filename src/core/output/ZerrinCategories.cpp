#include "core/output/ZerrinCategories.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <optional>

#include "core/base/Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace brix {
namespace {

// Control characters would break the place file's one-line records, so such names are not
// offered.
bool UsableName(const QString& name) {
    if (name.isEmpty()) return false;
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes the escapes Wine writes into key and value names, up to the unescaped `end`
// character: "\\" (in a key path: the separator), "\x" with up to four hex digits (a UTF-16
// unit), octal "\ooo", C escapes, and a backslash before any other character (that
// character). `pos` is left after `end`; nothing when `end` never comes. A "\\" is kept as
// one backslash, so a key path splits at backslashes afterwards.
std::optional<QString> DecodeUntil(std::string_view line, std::size_t& pos, char end) {
    QString out;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == end) return out;
        if (c != '\\') {
            out += QChar(static_cast<char16_t>(static_cast<unsigned char>(c)));
            continue;
        }
        if (pos >= line.size()) return std::nullopt;
        const char e = line[pos++];
        if (e == 'x') {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
                value = value * 16 + static_cast<unsigned>(HexDigit(line[pos++]));
                ++digits;
            }
            if (digits == 0) return std::nullopt;
            out += QChar(static_cast<char16_t>(value));
        } else if (e >= '0' && e <= '7') {
            unsigned value = static_cast<unsigned>(e - '0');
            for (int digits = 1;
                 digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits)
                value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
            out += QChar(static_cast<char16_t>(value & 0xFFu));
        } else {
            static constexpr std::string_view Letters = "abtnvfre";
            static constexpr char16_t Codes[] = {7, 8, 9, 10, 11, 12, 13, 27};
            const std::size_t at = Letters.find(e);
            out += at != std::string_view::npos
                       ? QChar(Codes[at])
                       : QChar(static_cast<char16_t>(static_cast<unsigned char>(e)));
        }
    }
    return std::nullopt;
}

// The value of a "dword:" line: one to eight hex digits, then only blanks.
std::optional<std::uint32_t> ParseDword(std::string_view text) {
    constexpr std::string_view Prefix = "dword:";
    if (text.substr(0, Prefix.size()) != Prefix) return std::nullopt;
    text.remove_prefix(Prefix.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace

ZerrinCategories::ZerrinCategories(std::vector<ZerrinCategory> categories) {
    for (ZerrinCategory& category : categories) Add(std::move(category.Name), category.Shop, true);
}

void ZerrinCategories::Add(std::string name, bool shop, bool hasShopValue) {
    for (ZerrinCategory& known : categories_) {
        if (!NamesEqual(known.Name, name)) continue;
        if (hasShopValue) known.Shop = shop;
        return;
    }
    categories_.push_back({std::move(name), hasShopValue && shop});
}

bool ZerrinCategories::IsShop(std::string_view placeType) const {
    for (const ZerrinCategory& category : categories_)
        if (NamesEqual(category.Name, placeType)) return category.Shop;
    return false;
}

ZerrinCategories ZerrinCategories::ParseUserReg(std::string_view text) {
    ZerrinCategories result;
    // The category whose own section is being read; empty in any other section.
    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string_view::npos) stop = text.size();
        std::string_view line = text.substr(start, stop - start);
        start = stop + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (line.empty()) continue;

        if (line.front() == '[') {
            section.clear();
            std::size_t pos = 1;
            const std::optional<QString> path = DecodeUntil(line, pos, ']');
            if (!path) continue;
            const QStringList parts = path->split(QLatin1Char('\\'));
            if (parts.size() < 4 ||
                parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0 ||
                parts[1].compare(QLatin1String("Zerrin"), Qt::CaseInsensitive) != 0 ||
                parts[2].compare(QLatin1String("Categories"), Qt::CaseInsensitive) != 0 ||
                !UsableName(parts[3]))
                continue;
            // A deeper key implies its category key, whose own section Wine may leave out.
            std::string name = parts[3].toStdString();
            result.Add(name, false, false);
            if (parts.size() == 4) section = std::move(name);
            continue;
        }
        if (section.empty() || line.front() != '"') continue;
        std::size_t pos = 1;
        const std::optional<QString> valueName = DecodeUntil(line, pos, '"');
        if (!valueName || valueName->compare(QLatin1String("Shop"), Qt::CaseInsensitive) != 0)
            continue;
        if (pos >= line.size() || line[pos] != '=') continue;
        // Any other type ("hex(4):", a string) is not a 32-bit number, so not a shop.
        const std::optional<std::uint32_t> value = ParseDword(line.substr(pos + 1));
        result.Add(section, value.value_or(0) != 0, true);
    }
    return result;
}

ZerrinCategories ZerrinCategories::FromUserReg(const std::string& path) {
    if (path.empty()) return {};
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return ParseUserReg(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string ZerrinCategories::WineUserRegPath() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty()) return QDir(prefix).filePath(QStringLiteral("user.reg")).toStdString();
    const QString home = QDir::homePath();
    if (home.isEmpty()) return {};
    return QDir(home).filePath(QStringLiteral(".wine/user.reg")).toStdString();
}

#ifdef _WIN32

ZerrinCategories ZerrinCategories::FromSystem() {
    ZerrinCategories result;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zerrin\\Categories", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return result;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];  // the registry's longest key name, and its terminating zero
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const QString text = QString::fromWCharArray(name, static_cast<qsizetype>(length));
        if (!UsableName(text)) continue;
        bool shop = false;
        HKEY category = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &category) == ERROR_SUCCESS) {
            DWORD type = 0;
            DWORD value = 0;
            DWORD size = sizeof(value);
            if (RegQueryValueExW(category, L"Shop", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                 &size) == ERROR_SUCCESS &&
                type == REG_DWORD && size == sizeof(value))
                shop = value != 0;
            RegCloseKey(category);
        }
        result.Add(text.toStdString(), shop, true);
    }
    RegCloseKey(key);
    return result;
}

#else

ZerrinCategories ZerrinCategories::FromSystem() {
    return FromUserReg(WineUserRegPath());
}

#endif

}  // namespace brix
