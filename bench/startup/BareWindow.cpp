// The yardstick for the program's launch time: a plain Qt main window with a menu bar, a
// toolbar, a status bar and the world picture in a scroll area, and nothing else.
//
//   bare-window WORLD.bmp
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Brix Tools");
    const char* const menus[] = {"&File", "&Edit", "&View", "&Characters", "&Help"};
    for (const char* title : menus) {
        QMenu* menu = window.menuBar()->addMenu(title);
        for (int i = 0; i < 6; ++i) menu->addAction(QString("Item %1").arg(i + 1));
    }
    QToolBar* toolbar = window.addToolBar("Toolbar");
    const QStyle::StandardPixmap icons[] = {QStyle::SP_FileIcon,       QStyle::SP_DirIcon,
                                            QStyle::SP_ArrowBack,      QStyle::SP_ArrowForward,
                                            QStyle::SP_ArrowUp,        QStyle::SP_ArrowDown,
                                            QStyle::SP_DialogOkButton, QStyle::SP_DialogHelpButton};
    for (QStyle::StandardPixmap icon : icons)
        toolbar->addAction(window.style()->standardIcon(icon), "Command");
    window.statusBar()->showMessage("Ready");

    auto* picture = new QLabel;
    if (argc > 1) picture->setPixmap(QPixmap::fromImage(QImage(QString::fromLocal8Bit(argv[1]))));
    auto* scroll = new QScrollArea;
    scroll->setWidget(picture);
    window.setCentralWidget(scroll);
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
