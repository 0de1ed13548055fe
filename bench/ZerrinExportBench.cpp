// Exporting every treasure of the largest supported world to a Zerrin place file, against one
// QSaveFile write of the same bytes: the export's own work (filter, formatting, settings) should
// cost no more than the write itself.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdlib>

#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/output/ZerrinExport.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

#ifndef BRIX_MAX_ARCHIVE
#define BRIX_MAX_ARCHIVE "kestrel-max.zip"
#endif

struct World {
    QTemporaryDir Dir;
    Session TheSession;
    test::RecordingMessages Messages;
    std::string Target;

    World() {
        auto archive = ZipArchive::Open(BRIX_MAX_ARCHIVE);
        if (!Dir.isValid() || !archive ||
            !LoadSystemData(TheSession.GetWorld(), TheSession.GetUser(), *archive, "data.xml",
                            Messages))
            std::abort();
        TheSession.GetPrefs().Paths.DataDirectory = Dir.path().toStdString() + "/";
        TheSession.GetPrefs().Paths.SettingsPath = Dir.filePath("brix-tools.ini").toStdString();
        Target = Dir.filePath("brix.map").toStdString();
    }
};

World& TheWorld() {
    static World world;
    return world;
}

void BM_PlainSaveFile(benchmark::State& state) {
    World& world = TheWorld();
    const std::string bytes =
        ZerrinPlaceFile(world.TheSession.GetWorld(), world.TheSession.Filter(), "treasure", false);
    for (auto _ : state) {
        QSaveFile file(QString::fromStdString(world.Target));
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (!file.commit()) std::abort();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_PlainSaveFile)->Unit(benchmark::kMicrosecond);

// Arg 0: the same file and type again (the settings already hold them); arg 1: the type changes
// every time, so the settings file is replaced too.
void BM_ZerrinExport(benchmark::State& state) {
    World& world = TheWorld();
    int treasures = 0;
    for (const Treasure& treasure : world.TheSession.GetWorld().Treasures)
        treasures += treasure.Index >= 1;
    const ZerrinCategories categories({{"treasure", false}, {"Treasure", false}});
    bool odd = false;
    for (auto _ : state) {
        odd = state.range(0) != 0 && !odd;
        ZerrinExport exporter(world.TheSession, categories);
        if (!exporter.Write(world.Target, odd ? "Treasure" : "treasure", world.Messages, nullptr))
            std::abort();
    }
    state.counters["treasures"] = treasures;
}
BENCHMARK(BM_ZerrinExport)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brix
