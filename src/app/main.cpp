#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <iostream>

#include "core/IdentifyCommand.h"
#include "core/Startup.h"
#include "core/base/CloseSignals.h"
#include "core/base/Strings.h"
#include "core/data/Autosave.h"
#include "core/data/Session.h"
#include "core/map/Pictures.h"
#include "ui/frame/MainFrame.h"
#include "ui/frame/QtMessages.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(brix::LoadString(id));
}

// The installed data folders, most specific first: share/brix-tools beside the program's bin
// folder (wherever the package was unpacked), then brix-tools under each XDG data directory.
std::vector<std::string> InstalledDataDirectories() {
    std::vector<std::string> folders;
    folders.push_back(QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" +
                                      QStringLiteral(BRIX_INSTALL_DATA_FROM_BIN))
                          .toStdString());
    for (const QString& root :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.push_back(QDir(root).filePath(QStringLiteral("brix-tools")).toStdString());
    return folders;
}

// Where to look for the archive and the user files; needs the application object.
brix::ProgramLocation ProgramLocationOf(const QCommandLineParser& parser) {
    brix::ProgramLocation location;
    location.WorkingDirectory = QDir::currentPath().toStdString();
    location.ExecutablePath = QCoreApplication::applicationFilePath().toStdString();
    if (!parser.positionalArguments().isEmpty())
        location.ArchiveArgument = parser.positionalArguments().constFirst().toStdString();
    location.InstalledDataDirectories = InstalledDataDirectories();
    location.PerUserDirectory =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    return location;
}

}  // namespace

int main(int argc, char** argv) {
    // The per-user folder is AppDataLocation, named after the application:
    // ~/.local/share/brix-tools.
    QCoreApplication::setApplicationName(QStringLiteral("brix-tools"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRIX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(Text(brix::StringId::CommandLineAbout));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption closeWhenShown(QStringLiteral("close-when-shown"),
                                            Text(brix::StringId::CommandLineCloseWhenShown));
    parser.addOption(closeWhenShown);
    const QCommandLineOption identify(QStringLiteral("identify"),
                                      Text(brix::StringId::CommandLineIdentify),
                                      Text(brix::StringId::CommandLinePicture));
    parser.addOption(identify);
    parser.addPositionalArgument(Text(brix::StringId::CommandLineArchive),
                                 Text(brix::StringId::CommandLineArchiveHelp),
                                 QStringLiteral("[archive]"));

    // --help and --version are answered before the GUI starts, so they work without a display.
    // Qt's own options (-style, -platform, ...) are unknown to this first look; they are taken
    // out by QApplication before the command line is read for real.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        QCoreApplication plain(argc, argv);
        parser.process(plain);  // prints, then ends the process
    }
    // Identifying a picture needs no window, nor a display.
    if (parser.isSet(identify)) {
        QCoreApplication plain(argc, argv);
        parser.process(plain);
        if (parser.positionalArguments().size() > 1) {
            std::fputs(qPrintable(parser.helpText()), stderr);
            return brix::IdentifyUnreadable;
        }
        return brix::RunIdentifyCommand(parser.value(identify).toStdString(),
                                        ProgramLocationOf(parser), std::cout, std::cerr);
    }

    QApplication app(argc, argv);
    parser.process(app);  // a malformed command line is reported and ends the process
    if (parser.positionalArguments().size() > 1) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 1;
    }
    QGuiApplication::setDesktopFileName(QStringLiteral("brix-tools"));
    brix::InitResources();
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(brix::RenderAppIcon(64))));

    // The program's state, split by what it is; the session works on the other three.
    brix::World world;
    brix::UserData user;
    brix::Preferences prefs;
    brix::Session session(world, user, prefs);
    brix::QtMessages screenMessages(brix::LoadString(brix::StringId::ProgramTitle));
    brix::Messages& messages = screenMessages;

    const brix::ProgramLocation location = ProgramLocationOf(parser);
    brix::PendingWorld pendingWorld;
    if (!brix::StartUp(session, messages, location, pendingWorld)) return 0;

    {
        // Every change of the player's records reaches user.xml within moments, so a crash, a
        // kill or a lost display loses nothing; the desktop session's end saves at once.
        brix::SessionAutosave autosave(session, messages);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                         [&autosave](QSessionManager&) { autosave.Saver().SaveNow(); });
        brix::MainFrame frame(session, messages);
        if (!frame.Create()) {
            messages.Show(brix::LoadString(brix::StringId::CannotCreateMainWindow),
                          brix::MessageIcon::Stop);
            return 0;
        }
        // The world picture decodes on a worker while the window is built; it must be in place
        // before the first paint.
        brix::FinishStartUp(session, messages, pendingWorld);
        frame.show();
        // Closed the way the user closes it, so the window placement and user.xml are written
        // through the same code and to the same folders as at any other exit.
        if (parser.isSet(closeWhenShown)) QTimer::singleShot(0, &frame, &QWidget::close);
        // SIGTERM and its kin close the window as the user would, so the data is saved.
        const brix::CloseSignals closeSignals([&frame] { frame.close(); });
        app.exec();
        // The exit save below writes the final state; a write still running finishes first.
        autosave.Saver().Finish();
    }
    brix::ShutDown(session, messages);
    return 0;
}
