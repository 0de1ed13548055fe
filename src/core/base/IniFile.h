#pragma once

#include <optional>
#include <string>

namespace brix {

// A small reader and writer of INI files with the behaviour of the classic private-profile
// functions: section and key names compare without regard to ASCII case, a value is the text
// after the first '=' with surrounding blanks (and one pair of enclosing quotes) removed,
// every write goes to disk at once, and other sections, keys, comments and blank lines are
// kept as they were. The file is created by the first write.
class IniFile {
public:
    // With createFolder the first write makes the file's missing folder.
    explicit IniFile(std::string path, bool createFolder = false)
        : path_(std::move(path)), createFolder_(createFolder) {}

    // The value of the key, or nothing when the file, the section or the key is absent.
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;

    // The value cut to bufferSize - 1 bytes (never inside a UTF-8 sequence), or the default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, int bufferSize) const;

    // Leading blanks, an optional sign and decimal digits; the default when there are none.
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;

    // Writes key=value into the section, replacing an earlier value; false when the file
    // could not be written (the old file is then left whole).
    bool Write(const std::string& section, const std::string& key, const std::string& value) const;

    // Removes the key from the section; true when it is absent afterwards (a missing file or
    // key included), false when the file could not be rewritten.
    bool Remove(const std::string& section, const std::string& key) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool createFolder_ = false;
};

// Integer conversion used by settings and data files: leading white space, an optional sign,
// then decimal digits up to the first non-digit; no digits gives nothing. Saturates at the
// limits of a 32-bit integer.
std::optional<int> ParseLeadingInt(std::string_view text, std::size_t* consumed = nullptr);

}  // namespace brix
