#include "core/base/IniFile.h"

#include "core/base/SafeFile.h"
#include "core/base/Text.h"

#include <QFile>

#include <climits>
#include <vector>

namespace brix {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (IsBlank(s[b]) || s[b] == '\r')) ++b;
    while (e > b && (IsBlank(s[e - 1]) || s[e - 1] == '\r')) --e;
    return std::string(s.substr(b, e - b));
}

struct Lines {
    std::vector<std::string> Text;  // without line ends
    std::string LineEnd = "\n";
    bool EndsWithLineEnd = true;
};

bool LoadLines(const std::string& path, Lines& lines) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = file.readAll();
    std::string_view all(data.constData(), static_cast<std::size_t>(data.size()));
    if (all.find("\r\n") != std::string_view::npos) lines.LineEnd = "\r\n";
    lines.EndsWithLineEnd = all.empty() || all.back() == '\n';
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t nl = all.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? all.size() : nl;
        std::string_view line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.Text.emplace_back(line);
        start = end + 1;
    }
    return true;
}

// A section header "[name]" gives the name; any other line gives nothing.
std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(std::string_view(t).substr(1, close - 1));
}

// For a "key=value" line: true with the key and value; comments and other lines give false.
bool SplitKeyLine(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return false;
    std::size_t eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(std::string_view(t).substr(0, eq));
    value = Trim(std::string_view(t).substr(eq + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\''))) {
        value = value.substr(1, value.size() - 2);
    }
    return true;
}

bool SaveLines(const std::string& path, const Lines& lines, bool createFolder) {
    std::string out;
    for (std::size_t i = 0; i < lines.Text.size(); ++i) {
        out += lines.Text[i];
        if (i + 1 < lines.Text.size() || lines.EndsWithLineEnd) out += lines.LineEnd;
    }
    return WriteFileSafely(path, out, createFolder);
}

}  // namespace

std::optional<int> ParseLeadingInt(std::string_view text, std::size_t* consumed) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t digitsStart = i;
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart) {
        if (consumed) *consumed = 0;
        return std::nullopt;
    }
    if (consumed) *consumed = i;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const {
    Lines lines;
    if (path_.empty() || !LoadLines(path_, lines)) return std::nullopt;
    bool inSection = false;
    for (const std::string& line : lines.Text) {
        if (auto name = SectionName(line)) {
            inSection = EqualsIgnoringAsciiCase(*name, section);
            continue;
        }
        std::string k, v;
        if (inSection && SplitKeyLine(line, k, v) && EqualsIgnoringAsciiCase(k, key)) return v;
    }
    return std::nullopt;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue, int bufferSize) const {
    std::string value = Read(section, key).value_or(defaultValue);
    // The buffer keeps one byte for the terminating zero.
    const std::size_t limit = bufferSize > 0 ? static_cast<std::size_t>(bufferSize - 1) : 0;
    value.resize(CutUtf8(value, limit).size());
    return value;
}

int IniFile::ReadInt(const std::string& section, const std::string& key, int defaultValue) const {
    auto value = Read(section, key);
    if (!value) return defaultValue;
    return ParseLeadingInt(*value).value_or(defaultValue);
}

bool IniFile::Write(const std::string& section, const std::string& key,
                    const std::string& value) const {
    if (path_.empty()) return false;
    Lines lines;
#ifdef Q_OS_WIN
    lines.LineEnd = "\r\n";
#endif
    // A file that is there but cannot be read is left alone: rewriting it from nothing would
    // drop every other setting in it.
    if (!LoadLines(path_, lines) && QFile::exists(QString::fromStdString(path_))) return false;

    // One setting is one line: a line break inside a value (a file name may hold one) would
    // otherwise start a line of its own and could set any other key.
    std::string newLine = key + "=" + value;
    for (char& c : newLine)
        if (c == '\r' || c == '\n') c = ' ';
    int sectionStart = -1;
    int lastInSection = -1;  // last key line of the section, or its header
    bool replaced = false;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.Text.size() && !replaced; ++i) {
        if (auto name = SectionName(lines.Text[i])) {
            if (inSection) break;
            inSection = EqualsIgnoringAsciiCase(*name, section);
            if (inSection) sectionStart = lastInSection = static_cast<int>(i);
            continue;
        }
        if (!inSection) continue;
        std::string k, v;
        if (SplitKeyLine(lines.Text[i], k, v)) {
            lastInSection = static_cast<int>(i);
            if (EqualsIgnoringAsciiCase(k, key)) {
                // The same line again: the file already says it, and replacing it would cost a
                // synced write for nothing (the options and the export write every key each
                // time).
                if (lines.Text[i] == newLine) return true;
                lines.Text[i] = newLine;
                replaced = true;
            }
        } else if (!Trim(lines.Text[i]).empty()) {
            lastInSection = static_cast<int>(i);
        }
    }
    if (!replaced) {
        if (sectionStart < 0) {
            if (!lines.Text.empty() && !lines.EndsWithLineEnd) lines.EndsWithLineEnd = true;
            lines.Text.push_back("[" + section + "]");
            lines.Text.push_back(newLine);
        } else {
            lines.Text.insert(lines.Text.begin() + lastInSection + 1, newLine);
        }
    }

    return SaveLines(path_, lines, createFolder_);
}

bool IniFile::Remove(const std::string& section, const std::string& key) const {
    if (path_.empty()) return false;
    Lines lines;
    if (!LoadLines(path_, lines)) return !QFile::exists(QString::fromStdString(path_));
    bool inSection = false;
    bool removed = false;
    for (std::size_t i = 0; i < lines.Text.size();) {
        if (auto name = SectionName(lines.Text[i])) {
            inSection = EqualsIgnoringAsciiCase(*name, section);
            ++i;
            continue;
        }
        std::string k, v;
        if (inSection && SplitKeyLine(lines.Text[i], k, v) && EqualsIgnoringAsciiCase(k, key)) {
            lines.Text.erase(lines.Text.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
            continue;
        }
        ++i;
    }
    if (!removed) return true;
    return SaveLines(path_, lines, createFolder_);
}

}  // namespace brix
