#pragma once

#include <cstddef>
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

// The longest start of `text` that is at most maxBytes bytes long and does not end inside a
// UTF-8 sequence: the cut moves back over continuation bytes (10xxxxxx), so a stray
// continuation byte counts as part of the character before it. Text that fits comes back
// whole, invalid bytes included. The result points into `text`.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace brix
