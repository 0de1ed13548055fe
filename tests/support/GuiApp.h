#pragma once

namespace brix::test {

// Makes sure a QGuiApplication exists (offscreen platform) for tests that need fonts,
// the clipboard or SVG rendering. Safe to call from any number of tests.
void EnsureGuiApp();

}  // namespace brix::test
