// Renders the application icon as the PNG files of the freedesktop icon theme, with the same
// code that draws the program's window icon, so the menu and the window show the same picture.
// Usage: render-icon <output folder> <size>...
// Writes <output folder>/<size>x<size>/apps/brix-tools.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "core/map/Pictures.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: render-icon <output folder> <size>...\n", stderr);
        return 2;
    }
    const QDir out(arguments.at(1));
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        bool ok = false;
        const int size = arguments.at(i).toInt(&ok);
        const QImage icon = ok ? brix::RenderAppIcon(size) : QImage();
        if (icon.isNull()) {
            std::fprintf(stderr, "render-icon: bad size %s\n", qPrintable(arguments.at(i)));
            return 1;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(folder + QStringLiteral("/brix-tools.png"));
        if (!out.mkpath(folder) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
