// Printing every treasure of the sample world with small colour maps to a 600 dpi PDF, against
// the baseline "draw every picture into an image, and print the same listing without maps".
// Each iteration runs both, so the ratio comes from one run on a machine that is shared.
//
// The world is the kestrel.zip named by BRIX_WORLD_ARCHIVE, else the one in the working
// directory or in the build folder above this program's.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "core/data/DataLoader.h"
#include "core/data/Session.h"
#include "core/data/ZipArchive.h"
#include "core/map/DrawPrimitives.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/output/PrintListing.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace brix {
namespace {

// The sample world; null when there is none.
const Session* World() {
    static const std::unique_ptr<Session> session = []() -> std::unique_ptr<Session> {
        test::EnsureGuiApp();
        const std::string path = bench::FindWorldArchive();
        auto made = std::make_unique<Session>();
        test::RecordingMessages messages;
        std::unique_ptr<ZipArchive> archive = path.empty() ? nullptr : ZipArchive::Open(path);
        if (!archive || !LoadSystemData(made->GetWorld(), made->GetUser(), *archive,
                                        SystemDataMemberName, messages))
            return nullptr;
        LoadDrawingResources(made->GetWorld(), *archive, messages);
        ComputeAllLabelGeometry(made->GetWorld());
        std::fprintf(stderr, "world from %s (%zu treasure slots)\n", path.c_str(),
                     made->GetWorld().Treasures.size());
        return made;
    }();
    return session.get();
}

// Resident set size and its peak, in kilobytes, from /proc/self/status.
long StatusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    return 0;
}

// Starts the peak over from the current size (Linux 4.0 and later).
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

PrintOutcome PrintTo(const QString& path, PrintMapOption option) {
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    PrintOptions options;
    options.MapOption = option;
    return PrintListing(*World(), options, writer, PrintMargins{}, QDateTime::currentDateTime(),
                        {});
}

// What the maps would cost without the printing: each treasure's small colour picture, drawn
// the plain way into one reused image.
void DrawEveryPicture(const Session& world) {
    const QSize size = PrintPictureSize(PrintContent::Treasures, PrintMapOption::SmallColour);
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    const QSize multimap = world.GetWorld().Drawing.MultimapSize;
    for (const Treasure& treasure : world.GetWorld().Treasures) {
        if (treasure.Index < 1) continue;
        const int list[] = {treasure.Index};
        const IntRect source =
            CenterSourceRect(PanelStyle::Scroll, treasure.Location.X, treasure.Location.Y,
                             size.width(), size.height(), multimap.width(), multimap.height());
        DrawMapPanel(painter, world, PanelStyle::Scroll, true, 0x00FFFFFFu,
                     IntRect{0, 0, size.width(), size.height()}, source, list, false,
                     &world.Filter(), false);
    }
    benchmark::DoNotOptimize(picture.constBits());
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_PrintTreasuresSmallColour(benchmark::State& state) {
    if (World() == nullptr) {
        state.SkipWithError("no sample world (kestrel.zip)");
        return;
    }
    QTemporaryDir dir;
    const QString mapsPath = dir.filePath(QStringLiteral("maps.pdf"));
    const QString textPath = dir.filePath(QStringLiteral("text.pdf"));
    double printed = 0, baseline = 0, pictures = 0;
    long peakGrowthKb = 0;
    PrintOutcome outcome;
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        DrawEveryPicture(*World());
        const auto drawn = Clock::now();
        const PrintOutcome text = PrintTo(textPath, PrintMapOption::NoMap);
        const auto middle = Clock::now();
        ResetPeak();
        const long before = StatusKb("VmRSS:");
        outcome = PrintTo(mapsPath, PrintMapOption::SmallColour);
        const auto end = Clock::now();
        peakGrowthKb = std::max(peakGrowthKb, StatusKb("VmHWM:") - before);
        if (outcome.Result != PrintResult::Printed || text.Result != PrintResult::Printed) {
            state.SkipWithError("the listing did not print");
            return;
        }
        baseline += Seconds(middle - start);
        pictures += Seconds(drawn - start);
        printed += Seconds(end - middle);
        state.SetIterationTime(Seconds(end - middle));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["baseline_s"] = baseline / n;
    state.counters["pictures_s"] = pictures / n;
    state.counters["print_s"] = printed / n;
    state.counters["ratio"] = printed / baseline;
    state.counters["pages"] = outcome.Pages;
    state.counters["file_MB"] = static_cast<double>(QFileInfo(mapsPath).size()) / 1e6;
    state.counters["text_file_MB"] = static_cast<double>(QFileInfo(textPath).size()) / 1e6;
    state.counters["peak_rss_growth_MB"] = static_cast<double>(peakGrowthKb) / 1024.0;
}
BENCHMARK(BM_PrintTreasuresSmallColour)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace brix
