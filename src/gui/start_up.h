#pragma once

// The program's spine between process start and the first window, and the
// owner of the windows' hand-overs: box-pass window -> main window.

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "core/startup/connectivity_probe.h"
#include "gui/box_pass_window.h"
#include "gui/main_window.h"
#include "gui/network_failure_dialog.h"

namespace quillet {

struct AppContext;

struct StartUpHooks {
  // Runs when a box-pass window opens; false: the program hands over to the
  // updater and ends.
  std::function<bool()> updateCheck;
  MainWindowHooks mainWindow;  // its openBoxPass is set by the application
  // Shows the failure dialog and gives the pressed identifier; exec() when
  // empty. Tests answer it here.
  std::function<int(NetworkFailureDialog&)> runFailureDialog;
};

class Application final : public QObject, public SessionHost {
  Q_OBJECT
 public:
  Application(AppContext& context, ProbeSteps probe, StartUpHooks hooks);
  ~Application() override;

  // Marks the graphics runtime as started; only the first call does so.
  void StartGdiplus();

  // Runs the probe and opens the box-pass window, or shows the failure
  // dialog and gives back what the process has to do next.
  std::optional<FailureOutcome> StartUp();

  MainWindow* MainWindowForSignIn() override;

  BoxPassWindow* FirstWindow() const { return first_; }
  MainWindow* Main() const { return main_; }
  // Opens a new box-pass window as a modal dialog (the Login button).
  void OpenBoxPassModal(QWidget* owner);

 private:
  AppContext& context_;
  ProbeSteps probe_;
  StartUpHooks hooks_;
  QPointer<BoxPassWindow> first_;
  QPointer<MainWindow> main_;
};

// Process start to process end for the real program.
int RunQuillet(int argc, char** argv);

}  // namespace quillet
