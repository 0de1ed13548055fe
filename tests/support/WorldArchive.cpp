#include "support/WorldArchive.h"

#include "core/data/DataLoader.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "support/RecordingMessages.h"

namespace brix::test {

std::unique_ptr<Session> LoadWorldArchive(const std::string& path) {
    auto made = std::make_unique<Session>();
    RecordingMessages messages;
    std::unique_ptr<ZipArchive> archive = ZipArchive::Open(path);
    if (archive &&
        LoadSystemData(made->GetWorld(), made->GetUser(), *archive, SystemDataMemberName, messages))
        LoadDrawingResources(made->GetWorld(), *archive, messages);
    ComputeAllLabelGeometry(made->GetWorld());
    return made;
}

}  // namespace brix::test
