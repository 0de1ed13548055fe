#pragma once

#include <QTemporaryDir>

#include <string>
#include <vector>

#include "core/data/Session.h"
#include "support/RecordingMessages.h"

namespace brix::test {

// A session whose files (settings, user.xml, anything a test writes) live in a fresh temporary
// folder, with a message recorder and the reasons of every change the session announced.
class TempSession {
public:
    TempSession();
    TempSession(const TempSession&) = delete;
    TempSession& operator=(const TempSession&) = delete;

    // Back to a new, empty session over the same folder: no world, no records, nothing to undo,
    // no change heard, no message recorded. Files already written stay.
    void Reset();

    // A file of the folder.
    std::string Path(const std::string& name) const;
    // The value of a key of the settings file's "Settings" section; "(no key)" when absent.
    std::string Setting(const std::string& key) const;

    QTemporaryDir Dir;
    Session Sess;
    RecordingMessages Messages;
    std::vector<unsigned> Changes;  // the reasons, in the order they were announced

private:
    SessionSubscription listening_;
};

}  // namespace brix::test
