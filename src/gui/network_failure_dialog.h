#pragma once

// Shown instead of the box-pass window when the connectivity probe fails. The
// program ends on every way out of it; only "restart" leaves a new instance
// behind, started by a helper script once this process is gone.

#include <QDialog>
#include <string>

#include "core/platform/process_launcher.h"
#include "core/platform/run_directory.h"
#include "core/platform/shell.h"

class QLabel;
class QPushButton;

namespace quillet {

// Identifiers of the three command links.
inline constexpr int kChoiceRestart = 100;
inline constexpr int kChoiceForceClose = 101;
inline constexpr int kChoiceReport = 102;

class NetworkFailureDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit NetworkFailureDialog(QWidget* parent = nullptr);
  // exec() gives the pressed identifier: 100, 101, 102, 1 (OK), 6 (Yes), or
  // 2 for Esc and the close box.
  bool DetailsShown() const;
  // Esc and the close box answer "cancel" (2), as a task dialog does.
  void reject() override;

 private:
  void ToggleDetails();
  QLabel* details_ = nullptr;
  QPushButton* detailsToggle_ = nullptr;
};

// What the caller does once the dialog is gone.
enum class FailureOutcome {
  kEndProcess,       // end normally (exit code 0)
  kTerminateAtOnce,  // end at once, skipping the exit routine: a restart runs
  kReturn,           // nothing more; no window is left, so the program ends
};

struct FailureActions {
  Shell& shell;
  ProcessLauncher& launcher;
  const RunDirectory& runDirectory;
  std::string communityUrl;
};

// Carries out the pressed choice.
FailureOutcome ActOnFailureChoice(int choice, FailureActions& actions);

}  // namespace quillet
