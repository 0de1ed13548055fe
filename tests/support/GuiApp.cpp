#include "support/GuiApp.h"

#include <QGuiApplication>

#include <cstdlib>

namespace brix::test {

void EnsureGuiApp() {
    if (QGuiApplication::instance() != nullptr) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "brix-tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

}  // namespace brix::test
