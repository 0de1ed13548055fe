#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>

#include "core/Startup.h"
#include "core/base/CloseSignals.h"
#include "core/base/Strings.h"
#include "core/data/TreasureCatalog.h"
#include "core/map/Pictures.h"
#include "ui/frame/MainFrame.h"
#include "ui/frame/QtMessages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brix::InitResources();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(brix::RenderAppIcon(64))));

    brix::TreasureCatalog catalog;
    brix::QtMessages screenMessages(brix::LoadString(brix::StringId::ProgramTitle));
    brix::Messages& messages = screenMessages;

    // The command line is not read; the archive is looked for in the working directory first.
    const brix::ProgramLocation location{QDir::currentPath().toStdString(),
                                         QCoreApplication::applicationFilePath().toStdString()};
    brix::PendingWorld world;
    if (!brix::StartUp(catalog, messages, location, world)) return 0;

    {
        brix::MainFrame frame(catalog, messages);
        if (!frame.Create()) {
            messages.Show(brix::LoadString(brix::StringId::CannotCreateMainWindow),
                          brix::MessageIcon::Stop);
            return 0;
        }
        // The world picture decodes on a worker while the window is built; it must be in place
        // before the first paint.
        brix::FinishStartUp(catalog, messages, world);
        frame.show();
        // SIGTERM and its kin close the window as the user would, so the data is saved.
        const brix::CloseSignals closeSignals([&frame] { frame.close(); });
        app.exec();
    }
    brix::ShutDown(catalog, messages);
    return 0;
}
