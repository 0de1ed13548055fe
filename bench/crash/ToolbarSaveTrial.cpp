// One toolbar customisation as the player makes it, for the crash-safe saving trials
// (bench/crash-save-trials.py): builds the main toolbar on the settings file given, opens its
// customisation dialog, presses Reset and Close, and exits once the dialog's end has written
// the settings (three keys, each through its own complete replacement of the file). Prints
// "saving" just before the dialog closes, so that the trials know when to aim their kill.
#include <QApplication>
#include <QPushButton>

#include <cstdio>

#include "core/base/Settings.h"
#include "core/map/CommandIcons.h"
#include "ui/frame/MainToolbar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SETTINGS_FILE\n", argv[0]);
        return 2;
    }
    brix::MainToolbar toolbar(brix::Settings(argv[1]), nullptr, brix::CommandIcons());
    toolbar.Customize();
    auto* dialog = toolbar.window()->findChild<brix::ToolbarCustomizeDialog*>();
    auto* reset = dialog ? dialog->findChild<QPushButton*>(QStringLiteral("Reset")) : nullptr;
    auto* close = dialog ? dialog->findChild<QPushButton*>(QStringLiteral("Close")) : nullptr;
    if (reset == nullptr || close == nullptr) {
        std::fprintf(stderr, "the customisation dialog has no Reset or Close button\n");
        return 1;
    }
    reset->click();
    std::printf("saving\n");
    std::fflush(stdout);
    close->click();
    return 0;
}
