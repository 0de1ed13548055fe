#include "support/TempSession.h"

#include "support/Records.h"

namespace brix::test {

TempSession::TempSession()
    : listening_(Sess, [this](unsigned reasons) { Changes.push_back(reasons); }) {
    Reset();
}

void TempSession::Reset() {
    ResetSession(Sess);
    ProgramPaths& paths = Sess.GetPrefs().Paths;
    paths.DataDirectory = Path("");
    paths.UserDirectory = Path("");
    paths.SettingsPath = Path("brix-tools.ini");
    Messages = RecordingMessages{};
    Changes.clear();
}

std::string TempSession::Path(const std::string& name) const {
    return Dir.filePath(QString::fromStdString(name)).toStdString() + (name.empty() ? "/" : "");
}

std::string TempSession::Setting(const std::string& key) const {
    return Sess.SettingsFile().File().Read("Settings", key).value_or("(no key)");
}

}  // namespace brix::test
