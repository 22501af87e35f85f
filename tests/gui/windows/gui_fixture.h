#pragma once

// The program's state and platform for a window test: a temporary run
// directory, a recording shell, a fake launcher, the real lock-file guard in
// a temporary folder and a scripted message presenter. Nothing leaves the
// temporary folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "fake_launcher.h"
#include "gui/app_state.h"
#include "gui/start_up.h"
#include "gui/task_message.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/machine_identity_linux.h"
#include "platform/linux/system_clock.h"
#include "qt_test_environment.h"
#include "recording_shell.h"
#include "scripted_presenter.h"
#include "temp_run_directory.h"

namespace quillet::test {

inline Settings TestSettings(const std::string& accountBaseUrl = "http://127.0.0.1:9/") {
  Settings s = BuildSettings();
  s.accountBaseUrl = accountBaseUrl;
  s.communityUrl = "https://community.invalid/";
  return s;
}

class GuiFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureQtApplication(); }

  // Builds state and context with `settings`; call before using them.
  void Build(Settings settings = TestSettings()) {
    state =
        std::make_unique<AppState>(std::move(settings), AccountServices{&clock, &identity, Text()});
    context = std::make_unique<AppContext>(
        AppContext{*state, AppServices{shell, guard, launcher, runDirectory}, messages,
                   [this] { ++endProgramCalls; }});
  }

  void TearDown() override {
    // Windows a test left open go before the state they point at. Deleting
    // one may delete others it owns (a main window takes its shadow along),
    // so each is looked at again before it goes.
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets()) open.append(w);
    for (const QPointer<QWidget>& w : open) delete w.data();
  }

  TempRunDirectory runDirectory;
  TempRunDirectory lockDirectory;
  RecordingShell shell;
  FakeLauncher launcher;
  LockFileInstanceGuard guard{lockDirectory.Directory()};
  ScriptedPresenter presenter;
  TaskMessages messages{presenter};
  SystemClock clock;
  LinuxMachineIdentity identity;
  std::unique_ptr<AppState> state;
  std::unique_ptr<AppContext> context;
  int endProgramCalls = 0;
};

}  // namespace quillet::test
