#include "gui/box_pass_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <memory>
#include <utility>

#include "core/script/json_object.h"
#include "core/startup/random_digits.h"
#include "gui/app_state.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "gui/run_responsive.h"
#include "gui/task_message.h"

namespace quillet {

namespace {

constexpr long kCodeSuccess = 200;
const char kSingleSpace[] = " ";

QLabel* AddLabel(QWidget* page, const char* name, const char* text, QRect geometry) {
  auto* label = new QLabel(Ui(text), page);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(geometry);
  return label;
}

QLineEdit* AddEdit(QWidget* page, const char* name, QRect geometry, bool password) {
  auto* edit = new QLineEdit(page);
  edit->setObjectName(QString::fromUtf8(name));
  edit->setGeometry(geometry);
  if (password) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

QPushButton* AddButton(QWidget* page, const char* name, const char* text, QRect geometry) {
  auto* button = new QPushButton(Ui(text), page);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(geometry);
  return button;
}

QCheckBox* AddCheckBox(QWidget* page, const char* name, const char* text, QRect geometry) {
  auto* box = new QCheckBox(Ui(text), page);
  box->setObjectName(QString::fromUtf8(name));
  box->setGeometry(geometry);
  return box;
}

}  // namespace

BoxPassWindow::BoxPassWindow(AppContext& context, SessionHost& host, QWidget* parent)
    : QDialog(parent), context_(context), host_(host) {
  setObjectName(QStringLiteral("盒子通行证"));
  setWindowTitle(Ui("盒子通行证"));
  setGeometry(50, 50, 424, 344);
  setFixedSize(424, 344);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("选择夹1"));
  tabs_->setGeometry(9, 11, 399, 292);

  auto* registerPage = new QWidget;
  registerPage->setObjectName(QStringLiteral("注册页"));
  AddLabel(registerPage, "标签8", "账号：", QRect(16, 33, 40, 24));
  accountNumber_ = AddLabel(registerPage, "标签1", "", QRect(64, 33, 319, 24));
  AddLabel(registerPage, "标签5", "昵称：", QRect(16, 72, 40, 24));
  nickname_ = AddEdit(registerPage, "编辑框5", QRect(64, 73, 319, 20), false);
  AddLabel(registerPage, "标签7", "密码：", QRect(16, 113, 40, 24));
  password_ = AddEdit(registerPage, "编辑框7", QRect(64, 114, 319, 20), true);
  QLabel* confirm = AddLabel(registerPage, "标签6", "确认密码：", QRect(8, 156, 54, 24));
  // Five characters in 54 pixels: a little tighter than the other captions.
  QFont tight = confirm->font();
  tight.setLetterSpacing(QFont::PercentageSpacing, 88);
  confirm->setFont(tight);
  passwordAgain_ = AddEdit(registerPage, "编辑框6", QRect(64, 157, 319, 20), true);
  registerButton_ = AddButton(registerPage, "按钮1", "注册", QRect(64, 207, 319, 29));
  tabs_->addTab(registerPage, Ui("注册"));

  auto* signInPage = new QWidget;
  signInPage->setObjectName(QStringLiteral("登录页"));
  AddLabel(signInPage, "标签10", "账号：", QRect(16, 56, 40, 24));
  account_ = AddEdit(signInPage, "编辑框10", QRect(64, 57, 319, 20), false);
  AddLabel(signInPage, "标签9", "密码：", QRect(16, 96, 40, 24));
  signInPassword_ = AddEdit(signInPage, "编辑框9", QRect(64, 97, 319, 20), true);
  autoLogOn_ = AddCheckBox(signInPage, "选择框1", "自动登录", QRect(64, 148, 80, 24));
  rememberAccount_ = AddCheckBox(signInPage, "选择框2", "记住账户", QRect(152, 148, 80, 24));
  signInButton_ = AddButton(signInPage, "按钮2", "登录", QRect(64, 176, 319, 32));
  tabs_->addTab(signInPage, Ui("登录"));

  // Clicking one box clears the other; the clicked one toggles as usual.
  connect(autoLogOn_, &QCheckBox::clicked, this, [this] { rememberAccount_->setChecked(false); });
  connect(rememberAccount_, &QCheckBox::clicked, this, [this] { autoLogOn_->setChecked(false); });
  connect(registerButton_, &QPushButton::clicked, this, &BoxPassWindow::Register);
  connect(signInButton_, &QPushButton::clicked, this, &BoxPassWindow::SignIn);

  // No request may start before the account client is configured: the
  // buttons wait for the set-up worker.
  registerButton_->setEnabled(false);
  signInButton_->setEnabled(false);
}

BoxPassWindow::~BoxPassWindow() {
  if (worker_ != nullptr) {
    worker_->wait();
    delete worker_;
  }
}

bool BoxPassWindow::RunCreation(const std::function<bool()>& updateCheck) {
  if (updateCheck && !updateCheck()) return false;
  StartSetUp();
  return true;
}

std::string BoxPassWindow::AccountFilePath() const {
  return context_.services.runDirectory.Directory() + "/" + kAccountFileName;
}

void BoxPassWindow::StartSetUp() {
  auto result = std::make_shared<SetUpResult>();
  AccountClient& client = context_.state.accountClient;
  const Settings& settings = context_.state.settings;
  const std::string accountFile = AccountFilePath();
  // The worker computes and configures; the controls are only touched back
  // on the GUI thread once it has finished.
  worker_ = QThread::create([result, &client, &settings, accountFile] {
    result->accountNumber = RandomDigits(9);
    result->machineCode = client.ComputeMachineCode(true);
    client.Configure(settings.accountBaseUrl, settings.appId, settings.appKey, Text(),
                     result->machineCode, 1, 0);
    result->remembered = ParseAccountFile(ReadAccountFile(accountFile));
  });
  connect(worker_, &QThread::finished, this, [this, result] { FinishSetUp(*result); });
  worker_->start();
}

void BoxPassWindow::FinishSetUp(const SetUpResult& result) {
  context_.state.accountNumber = result.accountNumber;
  accountNumber_->setText(ToQString(result.accountNumber));
  tabs_->setCurrentIndex(1);
  account_->setText(ToQString(result.remembered.account));
  if (result.remembered.autoLogOn) {
    autoLogOn_->setChecked(true);
    rememberAccount_->setChecked(false);
    signInPassword_->setText(ToQString(result.remembered.password));
  } else {
    autoLogOn_->setChecked(false);
    rememberAccount_->setChecked(true);
  }
  ready_ = true;
  SetBusy(false);
  emit setUpFinished();
}

void BoxPassWindow::SetBusy(bool busy) {
  busy_ = busy;
  const bool enabled = ready_ && !busy;
  registerButton_->setEnabled(enabled);
  signInButton_->setEnabled(enabled);
}

void BoxPassWindow::Register() {
  if (!ready_ || busy_) return;
  TaskMessages& messages = context_.messages;
  const Text password = FromQString(password_->text());
  if (password != FromQString(passwordAgain_->text())) {
    messages.ShowTaskMessage(this, Gbk("两次输入密码不一致"), Gbk("错误信息"), kSingleSpace,
                             kButtonOk, 0, kIconError);
    return;
  }
  const Text user = context_.state.accountNumber;
  const Text nickname = FromQString(nickname_->text());
  const AccountClient& client = context_.state.accountClient;
  SetBusy(true);
  auto [code, message] = RunResponsive([&] {
    Text reply;
    const long c = client.RegisterUser(user, password, Text(), nickname, &reply);
    return std::make_pair(c, reply);
  });
  SetBusy(false);
  if (code == kCodeSuccess) {
    messages.ShowTaskMessage(this, message, Gbk("成功信息"), kSingleSpace, kButtonOk, 0,
                             kIconSuccess);
  } else {
    messages.ShowTaskMessage(this, message, Gbk("错误信息"), kSingleSpace, kButtonOk, 0,
                             kIconError);
  }
}

void BoxPassWindow::SignIn() {
  if (!ready_ || busy_) return;
  const Text account = FromQString(account_->text());
  const Text password = FromQString(signInPassword_->text());
  const AccountClient& client = context_.state.accountClient;
  SetBusy(true);
  auto [code, message] = RunResponsive([&] {
    Text reply;
    const long c = client.LogOn(account, password, &reply);
    return std::make_pair(c, reply);
  });
  SetBusy(false);
  if (code != kCodeSuccess) {
    // Whatever went wrong, the user sees the same line; the server's own
    // text is not shown.
    context_.messages.ShowTaskMessage(this, Gbk("账户或密码错误"), Gbk("错误信息"), kSingleSpace,
                                      kButtonOk, 0, kIconError);
    return;
  }

  JsonObject reply;
  reply.Parse(message);
  context_.state.sessionToken = reply.GetText("token");

  QPointer<BoxPassWindow> alive(this);
  MainWindow* main = host_.MainWindowForSignIn();
  if (main == nullptr || alive.isNull()) return;

  const std::string accountFile = AccountFilePath();
  // A file that cannot be written is ignored: the sign-in completes.
  if (autoLogOn_->isChecked()) {
    WriteAccountFile(accountFile, AccountAndPasswordRecord(account, password));
  } else if (rememberAccount_->isChecked()) {
    WriteAccountFile(accountFile, AccountRecord(account));
  } else {
    RemoveAccountFile(accountFile);
  }

  // The name as the server wrote it, when another member follows it.
  main->ShowUserName(TextBetween(message, "\"name\":\"", "\","));
  emit signedIn();
  done(QDialog::Accepted);
}

void BoxPassWindow::closeEvent(QCloseEvent* event) {
  // A request in flight still needs this window; closing waits for it.
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void BoxPassWindow::reject() {
  if (busy_) return;
  QDialog::reject();
}

}  // namespace quillet
