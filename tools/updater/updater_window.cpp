#include "updater_window.h"

#include <sys/stat.h>

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/platform/process_launcher.h"
#include "updater_prompts.h"

namespace quillet::updater {

namespace {

constexpr int kProgressSteps = 1000;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

bool IsStartableFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && path.back() != '/' && ::stat(path.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

}  // namespace

UpdaterWindow::UpdaterWindow(UpdaterSetup setup, QWidget* parent)
    : QWidget(parent), setup_(std::move(setup)) {
  while (!setup_.serverUrl.empty() && setup_.serverUrl.back() == '/') setup_.serverUrl.pop_back();
  setWindowTitle(QStringLiteral("软件更新"));
  setObjectName(QStringLiteral("软件更新"));
  resize(440, 300);

  headline_ = new QLabel(QStringLiteral("发现新版本，正在更新软件"), this);
  headline_->setObjectName(QStringLiteral("标题"));
  QFont bold = headline_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.2);
  headline_->setFont(bold);

  auto* descriptionLabel = new QLabel(QStringLiteral("新版介绍："), this);
  description_ = new QPlainTextEdit(this);
  description_->setObjectName(QStringLiteral("新版介绍"));
  description_->setReadOnly(true);
  description_->setPlainText(Q(setup_.words.description));

  status_ = new QLabel(QStringLiteral("准备更新…"), this);
  status_->setObjectName(QStringLiteral("状态"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("进度条"));
  progress_->setRange(0, kProgressSteps);
  progress_->setValue(0);

  cancelButton_ = new QPushButton(QStringLiteral("取消"), this);
  cancelButton_->setObjectName(QStringLiteral("取消按钮"));
  connect(cancelButton_, &QPushButton::clicked, this, [this] {
    if (state_ != State::kDownloading) return;
    cancel_ = true;
    cancelButton_->setEnabled(false);
    status_->setText(QStringLiteral("正在取消…"));
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(headline_);
  layout->addWidget(descriptionLabel);
  layout->addWidget(description_, 1);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addLayout(buttons);

  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(50);
  connect(progressTimer_, &QTimer::timeout, this, &UpdaterWindow::ShowProgress);
}

UpdaterWindow::~UpdaterWindow() { StopWorker(); }

void UpdaterWindow::Start() {
  if (state_ != State::kReady) return;
  std::string error;
  auto files = ParseUpdateFileList(setup_.words.fileList, &error);
  if (!files) {
    setup_.prompts->ShowError(this, QStringLiteral("更新文件列表有误：") + Q(error));
    Finish(State::kFailed);
    return;
  }
  files_ = std::move(*files);
  for (const UpdateFile& file : files_) totalBytes_ += file.size;
  staged_ = std::make_unique<StagedFiles>(setup_.words.targetDirectory);
  state_ = State::kDownloading;
  progressTimer_->start();
  DownloadCurrent();
}

void UpdaterWindow::DownloadCurrent() {
  const UpdateFile& file = files_[current_];
  if (currentTemp_.empty()) {
    std::string error;
    currentTemp_ = staged_->Stage(file, &error);
    if (currentTemp_.empty()) {
      setup_.prompts->ShowError(this, QStringLiteral("无法更新：") + Q(error));
      Finish(State::kFailed);
      return;
    }
  }
  status_->setText(QStringLiteral("正在下载… %1（%2/%3）")
                       .arg(Q(file.name))
                       .arg(current_ + 1)
                       .arg(files_.size()));
  currentBytes_ = 0;
  ShowProgress();

  DownloadRequest request;
  request.url = setup_.serverUrl + kUpdateFilesPath + file.name;
  request.destination = currentTemp_;
  request.maxBytes = file.size;
  request.cancel = &cancel_;
  request.progress = [this](std::uint64_t received) { currentBytes_ = received; };
  StopWorker();
  worker_ = std::thread([this, request] {
    const DownloadResult result = DownloadFile(request);
    QMetaObject::invokeMethod(
        this, [this, result] { OnDownloaded(result); }, Qt::QueuedConnection);
  });
}

void UpdaterWindow::OnDownloaded(const DownloadResult& result) {
  StopWorker();
  if (state_ != State::kDownloading) return;  // closed meanwhile
  if (result.cancelled || cancel_) {
    Finish(State::kCancelled);
    return;
  }
  const UpdateFile& file = files_[current_];
  QString problem;
  if (!result.ok) {
    problem = QStringLiteral("下载 %1 失败：%2").arg(Q(file.name), Q(result.error));
  } else if (result.bytes != file.size) {
    problem = QStringLiteral("文件 %1 大小与列表不符（收到 %2 字节，应为 %3 字节）")
                  .arg(Q(file.name))
                  .arg(result.bytes)
                  .arg(file.size);
  } else if (result.sha256 != file.sha256) {
    problem = QStringLiteral("文件 %1 校验失败（SHA-256 不符）").arg(Q(file.name));
  }
  if (!problem.isEmpty()) {
    status_->setText(problem);
    if (setup_.prompts->AskRetry(this, problem + QStringLiteral("\n\n是否重试？"))) {
      DownloadCurrent();
    } else {
      Finish(State::kCancelled);
    }
    return;
  }

  doneBytes_ += file.size;
  currentBytes_ = 0;
  currentTemp_.clear();
  ++current_;
  if (current_ < files_.size()) {
    DownloadCurrent();
  } else {
    InstallAll();
  }
}

void UpdaterWindow::InstallAll() {
  status_->setText(QStringLiteral("正在安装更新…"));
  std::string error;
  if (!staged_->Commit(&error)) {
    setup_.prompts->ShowError(this, QStringLiteral("更新失败，原有文件未被改动。\n") + Q(error));
    Finish(State::kFailed);
    return;
  }
  Finish(State::kUpdated);
  const std::string& program = setup_.words.startProgram;
  if (IsStartableFile(program) &&
      setup_.prompts->AskStartProgram(this, QStringLiteral("更新完成，是否立即启动软件？"))) {
    if (!setup_.launcher->StartDetached(program, {}, setup_.words.targetDirectory)) {
      setup_.prompts->ShowError(this, QStringLiteral("无法启动软件：") + Q(program));
    }
  }
  emit finished(true);
}

void UpdaterWindow::Finish(State state) {
  state_ = state;
  progressTimer_->stop();
  cancelButton_->setEnabled(false);
  if (state != State::kUpdated) {
    // Nothing was replaced: the temporary files go, the old ones stay.
    if (staged_) staged_->Discard();
    status_->setText(state == State::kCancelled ? QStringLiteral("更新已取消，未更改任何文件")
                                                : QStringLiteral("更新失败，未更改任何文件"));
    emit finished(false);
    return;
  }
  progress_->setValue(kProgressSteps);
  status_->setText(QStringLiteral("更新完成"));
}

void UpdaterWindow::StopWorker() {
  if (worker_.joinable()) worker_.join();
}

void UpdaterWindow::ShowProgress() {
  if (totalBytes_ == 0) return;
  const std::uint64_t bytes = std::min(doneBytes_ + currentBytes_.load(), totalBytes_);
  progress_->setValue(static_cast<int>(static_cast<long double>(bytes) * kProgressSteps /
                                       static_cast<long double>(totalBytes_)));
}

void UpdaterWindow::closeEvent(QCloseEvent* event) {
  if (state_ == State::kDownloading) {
    cancel_ = true;
    StopWorker();
    Finish(State::kCancelled);
  }
  event->accept();
}

}  // namespace quillet::updater
