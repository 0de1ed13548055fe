#include "support/WorldArchive.h"

#include <map>

#include "core/data/DataLoader.h"
#include "core/data/ZipArchive.h"
#include "core/map/MapGeometry.h"
#include "core/map/MapImages.h"
#include "support/GuiApp.h"
#include "support/RecordingMessages.h"

namespace brix::test {

bool LoadWorldRecords(Session& session, const std::string& path) {
    RecordingMessages messages;
    std::unique_ptr<ZipArchive> archive = ZipArchive::Open(path);
    return archive && LoadSystemData(session.GetWorld(), session.GetUser(), *archive,
                                     SystemDataMemberName, messages);
}

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

const Session& SharedWorldArchive(const std::string& path) {
    static std::map<std::string, std::unique_ptr<Session>> loaded;
    std::unique_ptr<Session>& session = loaded[path];
    if (!session) {
        EnsureGuiApp();
        session = LoadWorldArchive(path);
    }
    return *session;
}

}  // namespace brix::test
