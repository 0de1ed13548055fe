#include "ui/map/StayOnTop.h"

#include <QWidget>
#include <QWindow>

namespace brix {

void SetStaysOnTop(QWidget& window, bool on) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) {
        window.setWindowFlags(flags);
        return;
    }
    window.overrideWindowFlags(flags);
    handle->setFlags(flags);
}

}  // namespace brix
