#include "qt_test_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace quillet::test {

void EnsureQtApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quillet-gui-test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = new QApplication(argc, argv);
  // Windows closed by a test must not end the test program's event loop.
  QApplication::setQuitOnLastWindowClosed(false);
  (void)application;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout.count()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

QString ArtifactDirectory() { return QStringLiteral(QUILLET_TEST_ARTIFACT_DIR); }

namespace {

class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { EnsureQtApplication(); }
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace quillet::test

// Fontconfig keeps its configuration caches for the life of the process and
// Qt never hands them back (FcFini is not called); that is not ours to fix.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
