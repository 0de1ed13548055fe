#pragma once

#include <memory>
#include <string>

#include "core/data/Session.h"

namespace brix::test {

// A world archive's records and drawing resources, with every label's geometry, as the
// program holds them after start-up (no user data). An empty catalogue when the archive cannot
// be opened. Needs a GUI application (fonts).
std::unique_ptr<Session> LoadWorldArchive(const std::string& path);

// The same, loaded once per program and kept for the run, for the tests that share one world
// (it is never changed through this reference). Makes the GUI application it needs.
const Session& SharedWorldArchive(const std::string& path);

// Only the archive's records (data.xml) into the session; false when the archive cannot be
// opened or its data not read.
bool LoadWorldRecords(Session& session, const std::string& path);

}  // namespace brix::test
