#include "support/RegionFixture.h"

#include <QImage>

#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "core/map/Pictures.h"

namespace brix::test {
namespace {

void FixedMeasure(const std::string& text, int& width, int& height) {
    width = 10 * static_cast<int>(text.size());
    height = 12;
}

}  // namespace

void FillRegionSession(Session& session) {
    session.GetWorld().Drawing.MultimapSize = QSize(2000, 1600);
    for (int r = 1; r <= 5; ++r) {
        Region region;
        region.Index = r;
        region.Name = "Region " + std::to_string(r);
        session.GetWorld().StoreRegion(region);
    }
    struct Row {
        int Index;
        int Region;
        IntPoint Location;
        IntPoint LabelOffset;
    };
    const Row rows[] = {
        {1, 1, {300, 500}, {0, 0}},         {3, 1, {320, 300}, {0, 0}},
        {2, 2, {800, 600}, {0, 0}},         {5, 2, {900, 700}, {0, 0}},
        {20, 4, {1000, 800}, {0, 0}},       {21, 4, {1000, 832}, {0, 0}},
        {22, 4, {1200, 1000}, {100, -200}}, {23, 4, {1300, 800}, {0, 0}},
        {26, 4, {1500, 1200}, {0, 0}},      {27, 4, {1520, 1200}, {0, 0}},
        {29, 4, {1700, 1412}, {0, 0}},      {30, 4, {1700, 1400}, {0, 0}},
        {40, 5, {312, 1000}, {0, 0}},       {41, 5, {1300, 1000}, {0, 0}},
    };
    for (const Row& row : rows) {
        Treasure t;
        t.Index = row.Index;
        t.Region = row.Region;
        t.Location = row.Location;
        t.LabelOffset = row.LabelOffset;
        t.Name = "Cache " + std::to_string(row.Index);
        ComputeLabelGeometry(t, FixedMeasure);
        session.GetWorld().StoreTreasure(t);
    }
}

void LoadRegionPictures(Session& session) {
    DrawingResources& drawing = session.GetWorld().Drawing;
    PrepareProgramPictures(drawing, LoadProgramPictures());
    QImage multimap(2000, 1600, QImage::Format_Mono);
    multimap.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    multimap.fill(1);
    for (int x = 0; x < 2000; ++x) multimap.setPixel(x, 500, 0);
    drawing.MultimapBitmap = multimap;
    drawing.MultimapSize = multimap.size();
}

void GiveMap(Session& session, int treasure) {
    Character* hunter = session.GetCurrentCharacter();
    if (hunter == nullptr) {
        session.SetCurrentCharacter(session.GetUser().FindOrAddCharacter("Hunter"));
        hunter = session.GetCurrentCharacter();
    }
    if (MapCounts* entry = FindMapCounts(*hunter, treasure))
        ++entry->Counts[0];
    else
        hunter->Entries.push_back(MapCounts{treasure, {1}});
    session.RecomputeFilter();
}

}  // namespace brix::test
