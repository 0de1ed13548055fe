// Feeds arbitrary text to the parser of the stored toolbar button list: it always yields a
// usable toolbar (never empty, within the button limit, only separators and commands that may
// stand on it), and what it yields survives being stored and parsed again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/ToolbarLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<brix::ToolbarButton> buttons = brix::ParseToolbarButtons(text);
    if (buttons.empty() || buttons.size() > brix::MaxToolbarButtons) std::abort();
    for (const brix::ToolbarButton& button : buttons) {
        if (button.IsSeparator()) {
            if (!(button == brix::ToolbarSeparator)) std::abort();
            continue;
        }
        const brix::ToolbarButton* entry = brix::FindToolbarCommand(button.Command);
        if (entry == nullptr || !(*entry == button)) std::abort();
    }
    const std::string stored = brix::FormatToolbarButtons(buttons);
    if (stored.size() > brix::MaxToolbarListLength) std::abort();
    if (brix::ParseToolbarButtons(stored) != buttons) std::abort();
    return 0;
}
