#include "gui/start_up.h"

#include <QApplication>
#include <QImageReader>
#include <cstdlib>

#include "core/net/wininet_fetch.h"
#include "core/settings/settings.h"
#include "core/update/file_version.h"
#include "core/update/update_check.h"
#include "gui/app_state.h"
#include "gui/gui_text.h"
#include "gui/pages/environment_page.h"
#include "gui/pages/home_page.h"
#include "gui/pages/quick_tools_page.h"
#include "gui/pages/window_shadow.h"
#include "gui/run_responsive.h"
#include "gui/task_message.h"
#include "platform/linux/desktop_shell.h"
#include "platform/linux/exclusive_file_writer.h"
#include "platform/linux/executable_run_directory.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/machine_identity_linux.h"
#include "platform/linux/posix_process_launcher.h"
#include "platform/linux/system_clock.h"
#include "updater_blob.h"

namespace quillet {

Application::Application(AppContext& context, ProbeSteps probe, StartUpHooks hooks)
    : context_(context), probe_(std::move(probe)), hooks_(std::move(hooks)) {
  hooks_.mainWindow.openBoxPass = [this](QWidget* owner) { OpenBoxPassModal(owner); };
}

Application::~Application() {
  delete first_.data();
  delete main_.data();
}

void Application::StartGdiplus() {
  if (context_.state.gdiplusToken != 0) return;
  // Loading the image plug-ins once up front is what the pictures need.
  QImageReader::supportedImageFormats();
  context_.state.gdiplusToken = 1;
}

std::optional<FailureOutcome> Application::StartUp() {
  const Settings& settings = context_.state.settings;
  const ProbeTarget target{settings.probeCheckUrl, settings.probePageUrl, settings.probeMarker};
  if (ProbeConnectivity(target, probe_)) {
    first_ = new BoxPassWindow(context_, *this);
    first_->setAttribute(Qt::WA_DeleteOnClose);
    connect(first_, &QDialog::finished, first_, &QObject::deleteLater);
    // Closing the first window without signing in ends the program; after a
    // sign-in the main window is already open and carries the run.
    connect(first_, &QDialog::finished, this, [this] {
      if (main_.isNull()) QCoreApplication::quit();
    });
    if (!first_->RunCreation(hooks_.updateCheck)) {
      delete first_.data();
      return std::nullopt;
    }
    first_->show();
    return std::nullopt;
  }
  NetworkFailureDialog dialog;
  const int choice = hooks_.runFailureDialog ? hooks_.runFailureDialog(dialog) : dialog.exec();
  FailureActions actions{context_.services.shell, context_.services.launcher,
                         context_.services.runDirectory, settings.communityUrl};
  return ActOnFailureChoice(choice, actions);
}

MainWindow* Application::MainWindowForSignIn() {
  // A sign-in while a main window is open (the Login button) starts a new
  // session in that window rather than a second main window, which the
  // single-instance mark would refuse by ending the whole program.
  if (!main_.isNull()) return main_;
  auto* window = new MainWindow(context_, hooks_.mainWindow);
  if (!window->RunCreationSequence()) {
    delete window;
    return nullptr;
  }
  main_ = window;
  window->show();
  return window;
}

void Application::OpenBoxPassModal(QWidget* /*owner*/) {
  // Modal for the whole program, without a parent window.
  BoxPassWindow dialog(context_, *this);
  if (!dialog.RunCreation(hooks_.updateCheck)) return;
  dialog.exec();
}

namespace {

// What the process has to do once the failure dialog is gone. The restart
// path ends at once, skipping the exit routine, so the helper script finds
// the program gone when it starts it again.
[[noreturn]] void TerminateAtOnce() { std::_Exit(0); }

}  // namespace

int RunQuillet(int argc, char** argv) {
  // 1. The window runtime.
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillet"));

  PosixProcessLauncher launcher;
  DesktopShell shell(launcher);
  LockFileInstanceGuard instanceGuard;
  ExecutableRunDirectory runDirectory;
  SystemClock clock;
  LinuxMachineIdentity identity;
  DialogMessagePresenter presenter;
  TaskMessages messages(presenter);

  // 2. The state of the run, built in its fixed order.
  Settings settings = BuildSettings();
  const AccountServices accountServices{&clock, &identity, settings.timeSiteUrl};
  AppState state(std::move(settings), accountServices);
  AppContext context{state, AppServices{shell, instanceGuard, launcher, runDirectory}, messages,
                     [] { TerminateAtOnce(); }};

  ExclusiveFileWriter fileWriter;
  const auto ownVersion = [&runDirectory] {
    return FileVersionText(runDirectory, {}, nullptr, false);
  };

  StartUpHooks hooks;
  hooks.updateCheck = [&] {
    UpdateCheckServices update;
    update.updateServerUrl = state.settings.updateServerUrl;
    // The description is fetched off the GUI thread while the window keeps
    // handling its events.
    update.fetch = [](const Text& url) {
      return RunResponsive([&url] { return WinHttpUpdateFetch(nullptr)(url); });
    };
    update.ownVersion = ownVersion;
    update.runDirectory = &runDirectory;
    update.fileWriter = &fileWriter;
    update.launcher = &launcher;
    update.updaterBytes = UpdaterBytes();
    // A hand-over reports itself through the result: the window is then
    // dropped and, with no window left, the program ends.
    update.endProgram = [] {};
    return CheckForUpdate(update, &state.updateRecord) != UpdateCheckOutcome::kHandedOver;
  };
  hooks.mainWindow.versionText = ownVersion;
  hooks.mainWindow.attachShadow = MakeAttachMainWindowShadow(context.state);
  hooks.mainWindow.fillPostList = MakeFillPostList(context);
  hooks.mainWindow.fillStatistics = MakeFillStatistics(context);
  hooks.mainWindow.startQuickTools = MakeStartQuickTools(context);
  EnvironmentPageOptions environmentPage;
  environmentPage.toolDirectory = runDirectory.Directory();
  hooks.mainWindow.startEnvironmentProbe = MakeStartEnvironmentProbe(context, environmentPage);
  ProbeSteps probe;
  probe.checkConnection = [](const Text& url) { return CheckConnection(url); };
  probe.fetchPage = [](const Text& url) {
    WinInetFetchArgs args;
    args.url = url;
    return WinInetFetch(args);
  };

  int exitCode = 0;
  {
    Application app(context, std::move(probe), std::move(hooks));
    // 3, 4. Exit routine and graphics runtime.
    app.StartGdiplus();
    // 5. The first window, or the failure dialog.
    const std::optional<FailureOutcome> outcome = app.StartUp();
    if (outcome == FailureOutcome::kTerminateAtOnce) TerminateAtOnce();
    // 6. The event loop, only while a window exists.
    if (!outcome && !QApplication::topLevelWidgets().isEmpty()) {
      bool anyShown = false;
      for (QWidget* w : QApplication::topLevelWidgets()) anyShown = anyShown || w->isVisible();
      if (anyShown) exitCode = QApplication::exec();
    }
  }
  ReleaseGlobals(state);
  return exitCode;
}

}  // namespace quillet
