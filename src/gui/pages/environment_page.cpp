#include "gui/pages/environment_page.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>

#include "core/javaenv/java_probe.h"
#include "gui/app_state.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "gui/pages/qt_event_pump.h"
#include "gui/pages/user_scope_backend.h"
#include "gui/task_message.h"
#include "platform/linux/linux_jdk_locator.h"
#include "platform/linux/shell_process_runner.h"

namespace quillet {

namespace {

constexpr char kArgbProperty[] = "quillet.argb";

void ApplyStatus(QLabel* label, const Text& text, std::optional<std::uint32_t> argb) {
  label->setText(ToQString(text));
  if (!argb) return;
  label->setProperty(kArgbProperty, static_cast<uint>(*argb));
  label->setStyleSheet(QStringLiteral("color: %1;").arg(QColor::fromRgba(*argb).name()));
}

template <typename Apply>
void OnGuiThread(Apply apply) {
  QObject* gui = QCoreApplication::instance();
  if (QThread::currentThread() == gui->thread()) {
    apply();
  } else {
    QMetaObject::invokeMethod(gui, std::move(apply), Qt::QueuedConnection);
  }
}

// The set-up's messages go to the program's message presenter, over the
// main window.
class WindowTaskMessages final : public TaskMessagePresenter {
 public:
  WindowTaskMessages(TaskMessages& messages, QPointer<MainWindow> owner)
      : messages_(messages), owner_(std::move(owner)) {}
  int ShowTaskMessage(const Text& mainInstruction, const Text& title, const Text& content,
                      int buttons, int icon) override {
    return messages_.ShowTaskMessage(owner_.data(), mainInstruction, title, content, buttons, 0,
                                     icon);
  }

 private:
  TaskMessages& messages_;
  QPointer<MainWindow> owner_;
};

template <typename Control>
Control* Find(MainWindow& window, const char* name) {
  return window.findChild<Control*>(QString::fromUtf8(name));
}

}  // namespace

LabelProbeSink::LabelProbeSink(QLabel* status, QLabel* systemInfo)
    : status_(status), systemInfo_(systemInfo) {}

void LabelProbeSink::SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) {
  OnGuiThread([label = status_, text, argb] {
    if (label) ApplyStatus(label.data(), text, argb);
  });
}

void LabelProbeSink::SetSystemInfo(const Text& text) {
  OnGuiThread([label = systemInfo_, text] {
    if (label) label->setText(ToQString(text));
  });
}

std::uint32_t JavaStatusColour(const QLabel* status) {
  return status == nullptr ? 0 : status->property(kArgbProperty).toUInt();
}

EnvironmentPage::EnvironmentPage(MainWindow& window, AppContext& context,
                                 EnvironmentPageOptions options)
    : QObject(&window),
      context_(context),
      options_(std::move(options)),
      window_(&window),
      status_(Find<QLabel>(window, "java环境_标签")),
      systemInfo_(Find<QLabel>(window, "系统信息_标签")),
      jdkPath_(Find<QLineEdit>(window, "编辑框EX1")),
      refresh_(Find<QPushButton>(window, "刷新")),
      browse_(Find<QPushButton>(window, "按钮EX2")),
      setUp_(Find<QPushButton>(window, "按钮EX1")),
      runner_(std::make_shared<ShellProcessRunner>(options_.toolDirectory)),
      sink_(std::make_shared<LabelProbeSink>(status_, systemInfo_)),
      pump_(std::make_unique<QtEventPump>()),
      profile_(std::make_unique<ProfileEnvironmentBackend>(options_.profile)),
      jdks_(std::make_unique<LinuxJdkLocator>(options_.jvmFolder)),
      messages_(std::make_unique<WindowTaskMessages>(context.messages, window_)) {
  setObjectName(QStringLiteral("quillet.environmentPage"));
  if (!ProfileScriptWritable(options_.profile.systemScript)) {
    userScope_ = std::make_unique<UserScopeBackend>(*profile_);
  }
  if (refresh_ != nullptr) connect(refresh_, &QPushButton::clicked, this, [this] { Refresh(); });
  if (browse_ != nullptr) connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });
  if (setUp_ != nullptr) connect(setUp_, &QPushButton::clicked, this, [this] { SetUp(); });
}

EnvironmentPage::~EnvironmentPage() = default;

Text EnvironmentPage::JdkPath() const {
  return jdkPath_ == nullptr ? Text() : FromQString(jdkPath_->text());
}

Text EnvironmentPage::JavaStatus() const {
  return status_ == nullptr ? Text() : FromQString(status_->text());
}

void EnvironmentPage::SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) {
  sink_->SetJavaStatus(text, argb);
}

void EnvironmentPage::SetSystemInfo(const Text& text) { sink_->SetSystemInfo(text); }

void EnvironmentPage::StartProbe() {
  QThread* worker = QThread::create([runner = runner_, sink = sink_] {
    SleepingEventPump pump;
    ProbeEnvironment(*runner, pump, *sink);
  });
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  worker->start();
}

void EnvironmentPage::SetBusy(bool busy) {
  for (QPushButton* button : {refresh_, setUp_}) {
    if (button != nullptr) button->setEnabled(!busy);
  }
}

void EnvironmentPage::Refresh() {
  QPointer<EnvironmentPage> alive(this);
  SetBusy(true);
  RefreshEnvironment(*runner_, *pump_, *this);
  if (alive) SetBusy(false);
}

void EnvironmentPage::Browse() {
  const QString title = ToQString(JdkFolderDialogTitle());
  const QString start = ToQString(JdkDialogStartFolder(*jdks_));
  const QString chosen = options_.chooseFolder
                             ? options_.chooseFolder(window_.data(), title, start)
                             : QFileDialog::getExistingDirectory(window_.data(), title, start,
                                                                 QFileDialog::DontResolveSymlinks);
  if (!chosen.isEmpty() && jdkPath_ != nullptr) jdkPath_->setText(chosen);
}

SetupOutcome EnvironmentPage::SetUp() {
  EnvironmentBackend& store =
      userScope_ ? static_cast<EnvironmentBackend&>(*userScope_) : *profile_;
  const JavaSetupServices services{*runner_, *pump_, store, *jdks_, *messages_};
  QPointer<EnvironmentPage> alive(this);
  SetBusy(true);
  const SetupOutcome outcome = OnSetupButtonClicked(services, *this);
  if (!alive) return outcome;
  SetBusy(false);
  if (outcome == SetupOutcome::kConfigured && userScope_) {
    const Text where =
        FromQString(QString::fromStdString(profile_->FileOf(EnvironmentScope::kUser)));
    messages_->ShowTaskMessage(Gbk("已写入当前用户的环境配置"), Gbk("提示"),
                               Gbk("没有写入系统配置的权限，JAVA_HOME、CLASSPATH 和 Path 已写入 ") +
                                   where + Gbk("，重新登录后生效。"),
                               setup_dialog::kOkButton, setup_dialog::kInformationIcon);
  }
  return outcome;
}

std::function<void(MainWindow&)> MakeStartEnvironmentProbe(AppContext& context,
                                                           EnvironmentPageOptions options) {
  return [&context, options = std::move(options)](MainWindow& window) {
    auto* page = new EnvironmentPage(window, context, options);
    page->StartProbe();
  };
}

}  // namespace quillet
