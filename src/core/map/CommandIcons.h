#pragma once

#include <QIcon>
#include <QImage>

#include <vector>

#include "core/base/ToolbarLayout.h"

namespace brix {

// The command icons, each with its 16 × 16 and 24 × 24 picture cut from the icon strips.
// Toolbar buttons and menu items both take their icons from here; rendering the strips is
// costly, so the program does it once and hands copies (which share the pictures) around.
class CommandIcons {
public:
    // Renders both strips.
    CommandIcons();
    CommandIcons(const QImage& smallStrip, const QImage& largeStrip);

    // A null icon for an index outside the strips or a command without an icon.
    QIcon ForIndex(int index) const;
    QIcon ForCommand(int command) const { return ForIndex(CommandIconIndex(command)); }

private:
    std::vector<QIcon> icons_;
};

}  // namespace brix
