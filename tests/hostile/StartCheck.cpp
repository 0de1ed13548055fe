// The program's start-up and shutdown without its window, for the hostile-archive check: runs
// the same core sequence as the executable in the working directory (which must hold the
// archive), prints every message the program would show, one per line, and then either
// "started" or "start-up ended". A crash or a sanitizer report is the failure the check looks
// for; messages are the program's way of refusing bad data.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <string>

#include "core/Startup.h"
#include "core/base/Messages.h"
#include "core/data/Session.h"
#include "core/map/Pictures.h"

namespace {

class PrintedMessages : public brix::Messages {
public:
    void Show(const std::string& text, brix::MessageIcon, QObject*) override {
        std::string line = text;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        std::printf("message: %s\n", line.c_str());
        std::fflush(stdout);
    }
    bool AskYesNo(const std::string& text, QObject* owner) override {
        Show(text, brix::MessageIcon::Question, owner);
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    brix::InitResources();
    PrintedMessages messages;
    brix::Session session;
    // The executable is placed in the working directory too, so that an archive there that is
    // refused is not replaced by one found beside this program.
    const std::string here = QDir::currentPath().toStdString();
    const brix::ProgramLocation location{here, here + "/brix-tools"};
    if (!brix::StartUp(session, messages, location)) {
        std::printf("start-up ended\n");
        return 0;
    }
    std::printf("started: %zu regions, %zu treasures, world %dx%d, multimap %dx%d\n",
                session.GetWorld().Regions.size(), session.GetWorld().Treasures.size(),
                session.GetWorld().Drawing.WorldBitmapSize.width(),
                session.GetWorld().Drawing.WorldBitmapSize.height(),
                session.GetWorld().Drawing.MultimapSize.width(),
                session.GetWorld().Drawing.MultimapSize.height());
    brix::ShutDown(session, messages);
    return 0;
}
