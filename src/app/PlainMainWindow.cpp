#include "app/PlainMainWindow.h"

#include <QLabel>
#include <QStatusBar>

#include "data/TreasureCatalog.h"

namespace brix {

PlainMainWindow::PlainMainWindow(TreasureCatalog& catalog, QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromStdString(catalog.ProgramTitle));
    auto count = [](const auto& records) {
        int n = 0;
        for (const auto& record : records) n += record.Index >= 1 ? 1 : 0;
        return n;
    };
    auto* label = new QLabel(
        tr("%1 regions, %2 treasures, %3 levels, %4 characters, %5 rune libraries")
            .arg(count(catalog.Regions))
            .arg(count(catalog.Treasures))
            .arg(count(catalog.Levels))
            .arg(catalog.Characters.size())
            .arg(catalog.RuneLibraries.size()),
        this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    statusBar()->showMessage(tr("Ready"));
    resize(800, 600);
}

}  // namespace brix
