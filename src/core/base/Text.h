#pragma once

#include <string_view>

namespace brix {

// True when the name holds only letters and digits of any script, spaces and underscores.
// The empty name passes; text that is not valid UTF-8 fails.
bool IsValidRecordName(std::string_view name);

// Compares two UTF-8 names without regard to case, by Unicode case folding.
bool NamesEqual(std::string_view a, std::string_view b);

// Orders two UTF-8 names without regard to case (negative, 0, positive), for sorted lists.
int CompareNames(std::string_view a, std::string_view b);

// Compares two names of the file formats (XML elements, settings keys and sections) without
// regard to ASCII case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace brix
