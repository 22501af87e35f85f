#pragma once

// The Java environment page: the probe's two labels, the refresh button, the
// JDK folder picker and the one-click set-up. The first probe runs on a
// worker thread; its results are handed to the GUI thread. The refresh and
// the set-up run on the GUI thread with events pumped while they wait, their
// buttons disabled meanwhile so a click cannot start a nested run.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "core/javaenv/java_setup.h"
#include "platform/linux/profile_environment_backend.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillet {

struct AppContext;
class MainWindow;
class QtEventPump;
class ShellProcessRunner;
class LinuxJdkLocator;
class UserScopeBackend;

// Asks for a folder: (parent, title, start folder) -> the chosen folder, empty
// when cancelled.
using FolderChooser =
    std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

struct EnvironmentPageOptions {
  // The program's folder: it goes first on the children's PATH, so the
  // systeminfo tool shipped beside the program is found.
  std::string toolDirectory;
  // Where the set-up writes. When the system script cannot be written, the
  // user's profile block is used instead and the user is told so.
  ProfileEnvironmentBackend::Locations profile;
  std::string jvmFolder = "/usr/lib/jvm";
  // Empty: the desktop's folder dialog.
  FolderChooser chooseFolder;
};

// The labels as the probe writes them, from any thread: writes from another
// thread are carried over to the GUI thread; a label that is gone is skipped.
class LabelProbeSink final : public ProbeSink {
 public:
  LabelProbeSink(QLabel* status, QLabel* systemInfo);
  void SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) override;
  void SetSystemInfo(const Text& text) override;

 private:
  QPointer<QLabel> status_;
  QPointer<QLabel> systemInfo_;
};

// The colour the status line shows, as the ARGB value last given (the
// "quillet.argb" property); 0 while none was given.
std::uint32_t JavaStatusColour(const QLabel* status);

class EnvironmentPage final : public QObject, public JavaEnvironmentPage {
  Q_OBJECT
 public:
  // Finds the page's controls on `window` and connects the buttons; owned by
  // the window.
  EnvironmentPage(MainWindow& window, AppContext& context, EnvironmentPageOptions options);
  ~EnvironmentPage() override;

  // JavaEnvironmentPage
  Text JdkPath() const override;
  Text JavaStatus() const override;
  void SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) override;
  void SetSystemInfo(const Text& text) override;

  // The probe of the creation sequence, on a worker thread.
  void StartProbe();
  // 刷新: the probing texts, then the probe.
  void Refresh();
  // 按钮EX2: the folder dialog.
  void Browse();
  // 按钮EX1: the checks, the set-up and the new probe.
  SetupOutcome SetUp();
  // True when the set-up writes the user's profile instead of the system's.
  bool WritesUserScope() const { return userScope_ != nullptr; }

 private:
  void SetBusy(bool busy);

  AppContext& context_;
  EnvironmentPageOptions options_;
  QPointer<MainWindow> window_;
  QLabel* status_ = nullptr;
  QLabel* systemInfo_ = nullptr;
  QLineEdit* jdkPath_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* setUp_ = nullptr;
  std::shared_ptr<ShellProcessRunner> runner_;
  std::shared_ptr<LabelProbeSink> sink_;
  std::unique_ptr<QtEventPump> pump_;
  std::unique_ptr<ProfileEnvironmentBackend> profile_;
  std::unique_ptr<UserScopeBackend> userScope_;
  std::unique_ptr<LinuxJdkLocator> jdks_;
  std::unique_ptr<TaskMessagePresenter> messages_;
};

// The hook of the creation sequence: makes the page and starts its probe.
std::function<void(MainWindow&)> MakeStartEnvironmentProbe(AppContext& context,
                                                           EnvironmentPageOptions options);

}  // namespace quillet
