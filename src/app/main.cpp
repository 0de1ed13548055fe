#include <QApplication>
#include <QDir>

#include "app/PlainMainWindow.h"
#include "app/QtMessages.h"
#include "app/Startup.h"
#include "app/Strings.h"
#include "data/TreasureCatalog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brix::TreasureCatalog catalog;
    brix::QtMessages messages(brix::LoadString(brix::StringId::ProgramTitle));

    const brix::ProgramLocation location{
        QDir::currentPath().toStdString(),
        QCoreApplication::applicationFilePath().toStdString()};
    if (!brix::StartUp(catalog, messages, location)) return 0;

    {
        brix::PlainMainWindow window(catalog);
        window.show();
        app.exec();
    }
    brix::ShutDown(catalog, messages);
    return 0;
}
