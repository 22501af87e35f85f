#pragma once

#include <QString>
#include <chrono>
#include <functional>

namespace quillet::test {

// One offscreen QApplication for the whole test program, made before the
// first test runs (registered as a GoogleTest environment by including the
// library).
void EnsureQtApplication();

// Processes events until `done` holds or `timeout` passes; the result is
// `done()` at the end.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Where a test may leave files to look at (screenshots): the build folder
// of the test program.
QString ArtifactDirectory();

}  // namespace quillet::test
