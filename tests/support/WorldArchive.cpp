#include "support/WorldArchive.h"

#include "core/data/DataLoader.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "support/RecordingMessages.h"

namespace brix::test {

std::unique_ptr<TreasureCatalog> LoadWorldArchive(const std::string& path) {
    auto made = std::make_unique<TreasureCatalog>();
    RecordingMessages messages;
    std::unique_ptr<ZipArchive> archive = ZipArchive::Open(path);
    if (archive && LoadSystemData(*made, *made, *archive, SystemDataMemberName, messages))
        LoadDrawingResources(*made, *archive, messages);
    ComputeAllLabelGeometry(*made);
    return made;
}

}  // namespace brix::test
