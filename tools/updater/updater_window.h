#pragma once

// The updater's window: downloads every file of the list into a temporary
// file beside its target, checks size and SHA-256, offers a retry for a
// failed file, and only when all are complete renames them into place; then
// it offers to start the program.

#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/update/updater_command_line.h"
#include "file_download.h"
#include "staged_files.h"
#include "update_file_list.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quillet {
class ProcessLauncher;
}

namespace quillet::updater {

class UpdaterPrompts;

// Where the files come from: the update server's address (no trailing "/")
// followed by this folder and the file's name.
inline constexpr char kUpdateFilesPath[] = "/QuilletUpdate/";

struct UpdaterSetup {
  std::string serverUrl;
  UpdaterWords words;
  ProcessLauncher* launcher = nullptr;
  UpdaterPrompts* prompts = nullptr;
};

class UpdaterWindow final : public QWidget {
  Q_OBJECT

 public:
  enum class State { kReady, kDownloading, kUpdated, kCancelled, kFailed };

  explicit UpdaterWindow(UpdaterSetup setup, QWidget* parent = nullptr);
  ~UpdaterWindow() override;

  // Starts the downloads; the window reports the end through finished().
  void Start();
  State state() const { return state_; }

 signals:
  void finished(bool updated);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void DownloadCurrent();
  void OnDownloaded(const DownloadResult& result);
  void InstallAll();
  void Finish(State state);
  void StopWorker();
  void ShowProgress();

  UpdaterSetup setup_;
  std::vector<UpdateFile> files_;
  std::size_t current_ = 0;
  std::uint64_t doneBytes_ = 0;
  std::uint64_t totalBytes_ = 0;
  std::unique_ptr<StagedFiles> staged_;
  std::string currentTemp_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<std::uint64_t> currentBytes_{0};
  State state_ = State::kReady;

  QLabel* headline_ = nullptr;
  QPlainTextEdit* description_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QTimer* progressTimer_ = nullptr;
};

}  // namespace quillet::updater
