#include "core/base/ToolbarLayout.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "core/base/Strings.h"

namespace brix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

// A signed decimal integer at pos; nothing when there are no digits or the number does not
// fit an int.
std::optional<int> ReadInteger(std::string_view text, std::size_t& pos) {
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t firstDigit = pos;
    std::int64_t magnitude = 0;
    bool tooLarge = false;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[pos] - '0');
            tooLarge = magnitude > limit;
        }
        ++pos;
    }
    if (pos == firstDigit || tooLarge) {
        return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// The first maxButtons buttons of a list, or nothing when the list is not well formed.
std::optional<std::vector<ToolbarButton>> ParseList(std::string_view value,
                                                    std::size_t maxButtons) {
    value = value.substr(0, MaxToolbarListLength);
    std::vector<ToolbarButton> buttons;
    std::size_t pos = 0;
    while (buttons.size() < maxButtons) {
        SkipBlanks(value, pos);
        if (pos == value.size()) {
            break;
        }
        const std::optional<int> number = ReadInteger(value, pos);
        if (!number) {
            return std::nullopt;
        }
        SkipBlanks(value, pos);
        if (pos < value.size()) {
            if (value[pos] != ',') {
                return std::nullopt;
            }
            ++pos;
        }
        if (*number == 0) {
            buttons.push_back(ToolbarSeparator);
        } else if (const ToolbarButton* entry = FindToolbarCommand(*number)) {
            buttons.push_back(*entry);
        }
    }
    return buttons;
}

}  // namespace

const ToolbarButton* FindToolbarCommand(int command) {
    for (const ToolbarButton& entry : ToolbarButtonTable) {
        if (entry.Command == command) {
            return &entry;
        }
    }
    return nullptr;
}

int CommandIconIndex(int command) {
    const ToolbarButton* entry = FindToolbarCommand(command);
    return entry != nullptr ? entry->Icon : -1;
}

std::vector<ToolbarButton> ParseToolbarButtons(std::string_view value) {
    std::optional<std::vector<ToolbarButton>> buttons = ParseList(value, MaxToolbarButtons);
    if (buttons && !buttons->empty()) {
        return std::move(*buttons);
    }
    return DefaultToolbarButtons();
}

std::string DefaultToolbarList() {
    return FormatText(
        "%d,0,%d,%d,%d,0,%d,%d,%d,%d,%d,0,%d",
        {Command::World, Command::Region, Command::PreviousRegion, Command::NextRegion,
         Command::PreviousTreasure, Command::NextTreasure, Command::TreasureInformation,
         Command::GotAMap, Command::CompletedAMap, Command::About});
}

std::vector<ToolbarButton> DefaultToolbarButtons() {
    // The default list is well formed by construction, so this cannot recurse.
    return ParseList(DefaultToolbarList(), MaxToolbarButtons)
        .value_or(std::vector<ToolbarButton>{});
}

std::string TreasureInfoToolbarList() {
    return FormatText("%d,0,%d,%d,0,%d,%d,0,%d",
                      {Command::Copy, Command::PreviousTreasure, Command::NextTreasure,
                       Command::GotAMap, Command::CompletedAMap, Command::StayOnTop});
}

std::vector<ToolbarButton> TreasureInfoToolbarButtons() {
    return ParseList(TreasureInfoToolbarList(), MaxTreasureInfoButtons)
        .value_or(std::vector<ToolbarButton>{});
}

std::string FormatToolbarButtons(const std::vector<ToolbarButton>& buttons) {
    std::string list;
    for (const ToolbarButton& button : buttons) {
        if (!list.empty()) {
            list += ',';
        }
        list += std::to_string(button.IsSeparator() ? 0 : button.Command);
    }
    return list;
}

QImage CutStripIcon(const QImage& strip, int index) {
    const int size = strip.height();
    if (strip.isNull() || size < 1 || index < 0 || index >= strip.width() / size) {
        return QImage();
    }
    return strip.copy(index * size, 0, size, size);
}

}  // namespace brix
