// Opening the map inventory dialog to its first paint on the largest data (1000 treasures,
// 16 levels, 100 characters with 1000 map entries each), beside a bare dialog holding three
// combo boxes filled with the same item texts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/data/DataLoader.h"
#include "core/data/MapInventory.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "support/RecordingMessages.h"
#include "ui/dialogs/MapInventoryDialog.h"

namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "MapInventoryUiBench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

struct MaxWorld {
    QTemporaryDir Dir;
    brix::Session TheSession;
    brix::test::RecordingMessages Messages;

    MaxWorld() {
        auto archive = brix::ZipArchive::Open(BRIX_MAX_ARCHIVE);
        if (!archive) std::abort();
        brix::LoadSystemData(TheSession.GetWorld(), TheSession.GetUser(), *archive, "data.xml",
                             Messages);
        TheSession.GetPrefs().Paths.SettingsPath = Dir.filePath("brix-tools.ini").toStdString();
        TheSession.SettingsFile().WriteLastLevel(7);
        for (int c = 0; c < 100; ++c) {
            brix::Character character{"Character " + std::to_string(c), {}};
            for (int t = 1; t <= 1000; ++t) {
                brix::MapCounts entry{t, {}};
                entry.Counts[t % 16] = 1 + t % 3;
                character.Entries.push_back(entry);
            }
            TheSession.GetUser().Characters.push_back(std::move(character));
        }
        TheSession.SetCurrentCharacter(&TheSession.GetUser().Characters[50]);
        const brix::MapInventoryOpening items = brix::PrepareMapInventory(TheSession, 500, true);
        for (const brix::NumberedItem& item : items.Treasures)
            TreasureTexts << QString::fromStdString(brix::NumberedItemText(item));
        for (const std::string& name : items.CharacterNames)
            CharacterTexts << QString::fromStdString(name);
        for (const brix::NumberedItem& item : items.Levels)
            LevelTexts << QString::fromStdString(brix::NumberedItemText(item));
    }

    // The item texts the dialog shows, made ready for the baseline.
    QStringList TreasureTexts;
    QStringList CharacterTexts;
    QStringList LevelTexts;
};

MaxWorld& World() {
    static MaxWorld* world = new MaxWorld;
    return *world;
}

// Counts the paints a window receives.
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) Painted = true;
        return QObject::eventFilter(watched, event);
    }
    bool Painted = false;
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times from building the dialog to its first paint; the dialog is destroyed untimed. The time
// is the thread's processor time: building, laying out and painting all happen on this thread,
// and on a shared machine the wall clock mostly measures the other processes.
template <typename Make>
void TimeToFirstPaint(benchmark::State& state, Make make) {
    EnsureApplication();
    World();
    for (auto _ : state) {
        const double start = ThreadSeconds();
        std::unique_ptr<QDialog> dialog = make();
        PaintWatch watch;
        dialog->installEventFilter(&watch);
        dialog->show();
        while (!watch.Painted) QCoreApplication::processEvents(QEventLoop::AllEvents);
        state.SetIterationTime(ThreadSeconds() - start);
        dialog->removeEventFilter(&watch);
        dialog.reset();
        QCoreApplication::processEvents();
    }
}

void BM_Baseline_BareDialogWithThreeLists(benchmark::State& state) {
    TimeToFirstPaint(state, [] {
        const MaxWorld& world = World();
        auto dialog = std::make_unique<QDialog>();
        auto* layout = new QVBoxLayout(dialog.get());
        auto* treasures = new QComboBox(dialog.get());
        auto* characters = new QComboBox(dialog.get());
        auto* levels = new QComboBox(dialog.get());
        treasures->addItems(world.TreasureTexts);
        characters->addItems(world.CharacterTexts);
        levels->addItems(world.LevelTexts);
        layout->addWidget(treasures);
        layout->addWidget(characters);
        layout->addWidget(levels);
        return dialog;
    });
}
BENCHMARK(BM_Baseline_BareDialogWithThreeLists)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MapInventoryDialog(benchmark::State& state) {
    TimeToFirstPaint(state, [] {
        MaxWorld& world = World();
        return std::make_unique<brix::MapInventoryDialog>(world.TheSession, world.Messages, 500,
                                                          true);
    });
}
BENCHMARK(BM_MapInventoryDialog)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
