#include "core/map/CommandIcons.h"

#include <QPixmap>

#include "core/map/Pictures.h"

namespace brix {

CommandIcons::CommandIcons()
    : CommandIcons(RenderIconStrip(SmallIconSize), RenderIconStrip(LargeIconSize)) {}

CommandIcons::CommandIcons(const QImage& smallStrip, const QImage& largeStrip) {
    icons_.resize(CommandIconCount);
    for (int i = 0; i < CommandIconCount; ++i) {
        QIcon& icon = icons_[static_cast<std::size_t>(i)];
        for (const QImage* strip : {&smallStrip, &largeStrip}) {
            const QImage picture = CutStripIcon(*strip, i);
            if (!picture.isNull()) {
                icon.addPixmap(QPixmap::fromImage(picture));
            }
        }
    }
}

QIcon CommandIcons::ForIndex(int index) const {
    if (index < 0 || index >= static_cast<int>(icons_.size())) {
        return QIcon();
    }
    return icons_[static_cast<std::size_t>(index)];
}

}  // namespace brix
