// Opening the Treasure Information window to its first paint on the largest archive the
// program supports (1000 treasures, 16 levels) with 100 characters of 1000 map entries each,
// against a bare dialog holding three drop-down lists filled with the same item texts
// (treasures, characters, levels), shown to its first paint the same way.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

#include "core/data/DataLoader.h"
#include "core/data/NumberedItems.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/CommandIcons.h"
#include "core/map/MapImages.h"
#include "support/RecordingMessages.h"
#include "support/RegionFixture.h"
#include "ui/map/TreasureInfoWindow.h"

namespace brix {
namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

constexpr int CharacterCount = 100;
constexpr int EntriesPerCharacter = 1000;

void EnsureWidgetApp() {
    if (QApplication::instance() != nullptr) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "brix-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// Notes the first paint of a window.
class PaintWatch : public QObject {
public:
    bool Painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) Painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Shows the window and runs the event loop until it has been painted once, then closes it.
void ShowToFirstPaint(QWidget& window) {
    PaintWatch watch;
    window.installEventFilter(&watch);
    window.show();
    while (!watch.Painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    window.removeEventFilter(&watch);
    window.hide();
}

struct World {
    Session TheSession;
    test::RecordingMessages Messages;
    test::RecordingHost Host;
    std::unique_ptr<CommandIcons> Icons;
    QStringList TreasureTexts;
    QStringList CharacterTexts;
    QStringList LevelTexts;

    World() {
        EnsureWidgetApp();
        auto archive = ZipArchive::Open(BRIX_MAX_ARCHIVE);
        if (!archive || !LoadSystemData(TheSession.GetWorld(), TheSession.GetUser(), *archive,
                                        "data.xml", Messages))
            std::abort();
        LoadDrawingResources(TheSession.GetWorld(), *archive, Messages);
        for (int c = 0; c < CharacterCount; ++c) {
            Character character{"Character " + std::to_string(c), {}};
            for (int t = 1; t <= EntriesPerCharacter; ++t) {
                MapCounts entry{t, {}};
                entry.Counts[static_cast<std::size_t>(t % 16)] = 1 + t % 3;
                character.Entries.push_back(entry);
            }
            TheSession.GetUser().Characters.push_back(std::move(character));
        }
        // The last character, so that its counts are looked up at the end of the list.
        TheSession.SetCurrentCharacter(&TheSession.GetUser().Characters.back());
        // The program renders its command icons once at start-up and hands them on.
        Icons = std::make_unique<CommandIcons>();

        for (const NumberedItem& item : TreasureItems(TheSession.GetWorld()))
            TreasureTexts << QString::fromStdString(NumberedItemText(item));
        for (const Character& character : TheSession.GetUser().Characters)
            CharacterTexts << QString::fromStdString(character.Name);
        for (const NumberedItem& item : LevelItems(TheSession.GetWorld()))
            LevelTexts << QString::fromStdString(NumberedItemText(item));
        if (TreasureTexts.size() != 1000 || LevelTexts.size() != 16) std::abort();
    }
};

World& TheWorld() {
    static World world;
    return world;
}

void BM_Baseline_BareDialogWithThreeLists(benchmark::State& state) {
    World& world = TheWorld();
    for (auto _ : state) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        for (const QStringList* texts :
             {&world.TreasureTexts, &world.CharacterTexts, &world.LevelTexts}) {
            auto* list = new QComboBox(&dialog);
            list->addItems(*texts);
            layout->addWidget(list);
        }
        ShowToFirstPaint(dialog);
    }
}
BENCHMARK(BM_Baseline_BareDialogWithThreeLists)->Unit(benchmark::kMillisecond);

void BM_TreasureInfoWindow(benchmark::State& state) {
    World& world = TheWorld();
    for (auto _ : state) {
        TreasureInfoWindow window(world.TheSession, world.Host, world.Messages, *world.Icons,
                                  TreasureInfoWindow::Mode::Independent);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.SelectInfoTreasure(500);
        ShowToFirstPaint(window);
    }
}
BENCHMARK(BM_TreasureInfoWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brix
