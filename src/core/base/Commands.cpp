#include "core/base/Commands.h"

#include <cstddef>
#include <string_view>

#include "core/base/Strings.h"
#include "core/base/Text.h"

namespace brix {
namespace {

// The tooltip window and the status bar take fixed-size buffers (80 and 128 bytes with the
// terminating zero); the label is kept to a reasonable length.
constexpr std::size_t MaxLabelLength = 255;
constexpr std::size_t MaxTooltipLength = 79;
constexpr std::size_t MaxStatusTextLength = 127;

}  // namespace

std::string CommandText(int command, CommandField field) {
    std::string_view text = LoadString(command);
    for (int i = 0; i < static_cast<int>(field); ++i) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return {};
        text.remove_prefix(end + 1);
    }
    return std::string(text.substr(0, text.find('\n')));
}

std::string CommandLabel(int command) {
    return std::string(CutUtf8(CommandText(command, CommandField::Label), MaxLabelLength));
}

std::string CommandTooltip(int command) {
    return std::string(CutUtf8(CommandText(command, CommandField::Name), MaxTooltipLength));
}

std::string CommandStatusText(int command) {
    return std::string(
        CutUtf8(CommandText(command, CommandField::StatusText), MaxStatusTextLength));
}

}  // namespace brix
