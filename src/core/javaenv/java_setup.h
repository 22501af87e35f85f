#pragma once

#include <vector>

#include "core/javaenv/environment_store.h"
#include "core/javaenv/java_probe.h"
#include "core/platform/environment_backend.h"
#include "core/platform/event_pump.h"
#include "core/platform/jdk_locator.h"
#include "core/platform/process_runner.h"
#include "core/text/text.h"

namespace quillet {

// Button flags, the OK result and the icons of the set-up's dialogs.
namespace setup_dialog {
inline constexpr int kOkButton = 1;
inline constexpr int kNoButton = 4;
inline constexpr int kOkPressed = 1;
inline constexpr int kErrorIcon = 0xFFF9;
inline constexpr int kInformationIcon = 0xFFFD;
}  // namespace setup_dialog

// Shows a modal message over the main window and returns the pressed
// button's identifier (1 OK, 7 No, ...), -1 when no dialog could be shown.
class TaskMessagePresenter {
 public:
  virtual ~TaskMessagePresenter() = default;
  virtual int ShowTaskMessage(const Text& mainInstruction, const Text& title, const Text& content,
                              int buttons, int icon) = 0;
};

// The environment page as the set-up sees it: the JDK path box and the two
// labels the probe writes.
class JavaEnvironmentPage : public ProbeSink {
 public:
  virtual Text JdkPath() const = 0;
  virtual Text JavaStatus() const = 0;
};

// The services the set-up works with; the GUI builds them once.
struct JavaSetupServices {
  ProcessRunner& runner;
  EventPump& pump;
  EnvironmentBackend& environment;
  JdkLocator& jdks;
  TaskMessagePresenter& messages;
};

Text JdkPathPlaceholder();    // "Jdk 路径..", the path box's initial content
Text JdkFolderDialogTitle();  // "jdk文件夹", the browse button's folder dialog
// The values written: CLASSPATH, and Path after the current system Path.
Text JavaClassPathValue();
Text JavaPathValue(const Text& currentPath);

// Writes JAVA_HOME (the path box's content as it is), CLASSPATH and Path at
// system level, keeping a copy of the previous store for UndoJavaSetup, then
// shows the probing texts and probes again.
void ConfigureJavaEnvironment(const JavaSetupServices& services, JavaEnvironmentPage& page);

enum class SetupOutcome {
  kBadPath,     // placeholder or empty path: error shown, nothing written
  kNotAJdk,     // no bin/javac in the folder: error shown, nothing written
  kDeclined,    // Java already configured and the user did not press OK
  kConfigured,  // ConfigureJavaEnvironment ran
};

// The set-up button: the checks with their dialogs, then the set-up.
SetupOutcome OnSetupButtonClicked(const JavaSetupServices& services, JavaEnvironmentPage& page);

// Brings back the system store as it was before the last set-up; false when
// there is nothing to bring back.
bool UndoJavaSetup(EnvironmentBackend& environment);

// Where the folder dialog should start: the first installed JDK found, or
// empty text for the dialog's own default.
Text JdkDialogStartFolder(JdkLocator& jdks);

}  // namespace quillet
