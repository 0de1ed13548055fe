#pragma once

#include <memory>
#include <string>

#include "core/data/Session.h"

namespace brix::test {

// A world archive's records and drawing resources, with every label's geometry, as the
// program holds them after start-up (no user data). An empty catalogue when the archive cannot
// be opened. Needs a GUI application (fonts).
std::unique_ptr<Session> LoadWorldArchive(const std::string& path);

}  // namespace brix::test
