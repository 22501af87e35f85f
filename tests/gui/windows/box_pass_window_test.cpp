#include "gui/box_pass_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/startup/remembered_account.h"
#include "gui/gui_text.h"
#include "gui_fixture.h"
#include "http_message.h"
#include "quillet_server.h"
#include "raw_http_server.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

struct Place {
  const char* name;
  QRect geometry;
  const char* text;
  bool masked;
};

const Place kRegisterTab[] = {
    {"标签8", {16, 33, 40, 24}, "账号：", false}, {"标签5", {16, 72, 40, 24}, "昵称：", false},
    {"编辑框5", {64, 73, 319, 20}, "", false},    {"标签7", {16, 113, 40, 24}, "密码：", false},
    {"编辑框7", {64, 114, 319, 20}, "", true},    {"标签6", {8, 156, 54, 24}, "确认密码：", false},
    {"编辑框6", {64, 157, 319, 20}, "", true},    {"按钮1", {64, 207, 319, 29}, "注册", false},
};

const Place kSignInTab[] = {
    {"标签10", {16, 56, 40, 24}, "账号：", false},
    {"编辑框10", {64, 57, 319, 20}, "", false},
    {"标签9", {16, 96, 40, 24}, "密码：", false},
    {"编辑框9", {64, 97, 319, 20}, "", true},
    {"选择框1", {64, 148, 80, 24}, "自动登录", false},
    {"选择框2", {152, 148, 80, 24}, "记住账户", false},
    {"按钮2", {64, 176, 319, 32}, "登录", false},
};

// The user line must exist for the name to land in it.
StartUpHooks HooksWithStatisticsLines() {
  StartUpHooks hooks;
  hooks.mainWindow.fillStatistics = FillStatisticsWithoutCounts;
  return hooks;
}

class BoxPassWindowTest : public test::GuiFixture {
 protected:
  void StartServer() {
    server::ServerConfig config;
    config.port = 0;
    config.dbPath = runDirectory.PathOf("server.db");
    config.threads = 2;
    config.account.appKey = BuildSettings().appKey;
    config.account.passwordIterations = 1;
    accountServer = std::make_unique<server::QuilletServer>(config);
    std::string error;
    ASSERT_TRUE(accountServer->Start(&error)) << error;
  }

  void BuildWith(const std::string& baseUrl) {
    Build(test::TestSettings(baseUrl));
    app = std::make_unique<Application>(*context, ProbeSteps{}, hooks);
  }

  // A window whose set-up worker has finished.
  BoxPassWindow* Open() {
    auto* window = new BoxPassWindow(*context, *app);
    EXPECT_TRUE(window->RunCreation({}));
    window->show();
    EXPECT_TRUE(test::WaitUntil([&] { return window->Ready(); }));
    return window;
  }

  template <typename T = QWidget>
  static T* Find(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  static void Type(QWidget* window, const char* name, const char* utf8) {
    Find<QLineEdit>(window, name)->setText(QString::fromUtf8(utf8));
  }

  // Registers the shown account number with `password` and `nickname`.
  Text RegisterAccount(BoxPassWindow* window, const char* password, const char* nickname) {
    Type(window, "编辑框5", nickname);
    Type(window, "编辑框7", password);
    Type(window, "编辑框6", password);
    QTest::mouseClick(Find(window, "按钮1"), Qt::LeftButton);
    return state->accountNumber;
  }

  void SignIn(BoxPassWindow* window, const Text& account, const char* password) {
    Find<QLineEdit>(window, "编辑框10")->setText(ToQString(account));
    Type(window, "编辑框9", password);
    QTest::mouseClick(Find(window, "按钮2"), Qt::LeftButton);
  }

  std::string AccountFile() const { return runDirectory.PathOf(kAccountFileName); }

  StartUpHooks hooks = HooksWithStatisticsLines();
  std::unique_ptr<server::QuilletServer> accountServer;
  std::unique_ptr<Application> app;
};

TEST_F(BoxPassWindowTest, LayoutNamesTextsAndMasking) {
  BuildWith("http://127.0.0.1:9/");
  BoxPassWindow* window = Open();
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("盒子通行证"));
  EXPECT_EQ(window->geometry(), QRect(50, 50, 424, 344));
  auto* tabs = Find<QTabWidget>(window, "选择夹1");
  EXPECT_EQ(tabs->geometry(), QRect(9, 11, 399, 292));
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("注册"));
  EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("登录"));
  const auto check = [&](const Place& p, int tab) {
    QWidget* w = Find(window, p.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), tabs->widget(tab)) << p.name;
    EXPECT_EQ(w->geometry(), p.geometry) << p.name;
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      text = e->text();
      EXPECT_EQ(e->echoMode() == QLineEdit::Password, p.masked) << p.name;
    }
    EXPECT_EQ(text, QString::fromUtf8(p.text)) << p.name;
  };
  for (const Place& p : kRegisterTab) check(p, 0);
  for (const Place& p : kSignInTab) check(p, 1);
  EXPECT_EQ(Find<QLabel>(window, "标签1")->geometry(), QRect(64, 33, 319, 24));
}

TEST_F(BoxPassWindowTest, ButtonsWaitForTheSetUpWorker) {
  BuildWith("http://127.0.0.1:9/");
  auto* window = new BoxPassWindow(*context, *app);
  EXPECT_FALSE(Find(window, "按钮1")->isEnabled());
  EXPECT_FALSE(Find(window, "按钮2")->isEnabled());
  // A click before the worker has configured the client sends nothing.
  QTest::mouseClick(Find(window, "按钮2"), Qt::LeftButton);
  EXPECT_TRUE(presenter.shown.empty());
  window->RunCreation({});
  ASSERT_TRUE(test::WaitUntil([&] { return window->Ready(); }));
  EXPECT_TRUE(Find(window, "按钮1")->isEnabled());
  EXPECT_TRUE(Find(window, "按钮2")->isEnabled());
}

TEST_F(BoxPassWindowTest, FirstStartShowsSignInTabWithRememberAccountChecked) {
  BuildWith("http://127.0.0.1:9/");
  BoxPassWindow* window = Open();
  EXPECT_EQ(Find<QTabWidget>(window, "选择夹1")->currentIndex(), 1);
  EXPECT_TRUE(Find<QLineEdit>(window, "编辑框10")->text().isEmpty());
  EXPECT_TRUE(Find<QLineEdit>(window, "编辑框9")->text().isEmpty());
  EXPECT_FALSE(Find<QCheckBox>(window, "选择框1")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(window, "选择框2")->isChecked());
  const QString number = Find<QLabel>(window, "标签1")->text();
  EXPECT_EQ(number.size(), 9);
  EXPECT_EQ(FromQString(number), state->accountNumber);
  for (QChar c : number) EXPECT_TRUE(c.isDigit());
  // The client is configured for the account server with signing on.
  EXPECT_EQ(state->accountClient.Settings().BaseUrl, "http://127.0.0.1:9/");
  EXPECT_EQ(state->accountClient.Settings().AppId, "10000");
  EXPECT_EQ(state->accountClient.Settings().SignRequests, 1);
  EXPECT_EQ(state->accountClient.Settings().UseServerTime, 0);
  EXPECT_EQ(state->accountClient.Settings().MachineCode.size(), 16u);
}

TEST_F(BoxPassWindowTest, CheckBoxesExcludeEachOther) {
  BuildWith("http://127.0.0.1:9/");
  BoxPassWindow* window = Open();
  auto* autoLogOn = Find<QCheckBox>(window, "选择框1");
  auto* remember = Find<QCheckBox>(window, "选择框2");
  QTest::mouseClick(autoLogOn, Qt::LeftButton, {}, QPoint(5, 12));
  EXPECT_TRUE(autoLogOn->isChecked());
  EXPECT_FALSE(remember->isChecked());
  QTest::mouseClick(remember, Qt::LeftButton, {}, QPoint(5, 12));
  EXPECT_TRUE(remember->isChecked());
  EXPECT_FALSE(autoLogOn->isChecked());
  QTest::mouseClick(remember, Qt::LeftButton, {}, QPoint(5, 12));
  EXPECT_FALSE(remember->isChecked());
  EXPECT_FALSE(autoLogOn->isChecked());
}

TEST_F(BoxPassWindowTest, MismatchedPasswordsShowTheMessageAndSendNothing) {
  test::RawHttpServer peer([](const test::RecordedRequest&) {
    return test::ScriptedReply{test::MakeResponse(200, "OK", {}, "{\"code\":200,\"msg\":\"ok\"}")};
  });
  ASSERT_TRUE(peer.started());
  BuildWith(peer.Url("/"));
  BoxPassWindow* window = Open();
  Type(window, "编辑框7", "abc");
  Type(window, "编辑框6", "abC");
  QTest::mouseClick(Find(window, "按钮1"), Qt::LeftButton);
  ASSERT_EQ(presenter.shown.size(), 1u);
  const TaskMessage& m = presenter.shown[0];
  EXPECT_EQ(m.mainInstruction, Gbk("两次输入密码不一致"));
  EXPECT_EQ(m.title, Gbk("错误信息"));
  EXPECT_EQ(m.content, " ");
  EXPECT_EQ(m.buttons, kButtonOk);
  EXPECT_EQ(m.icon, kIconError);
  EXPECT_EQ(m.owner, window);
  EXPECT_TRUE(peer.Requests().empty());
}

TEST_F(BoxPassWindowTest, RegistrationSuccessThenRefusalShowTheServersMessages) {
  StartServer();
  BuildWith(accountServer->BaseUrl());
  BoxPassWindow* window = Open();
  const Text number = state->accountNumber;
  RegisterAccount(window, "pass1", "小明");
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].title, Gbk("成功信息"));
  EXPECT_EQ(presenter.shown[0].icon, kIconSuccess);
  EXPECT_FALSE(presenter.shown[0].mainInstruction.empty());
  // The window stays as it was: same number, boxes kept, same tab.
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(state->accountNumber, number);
  EXPECT_EQ(Find<QLineEdit>(window, "编辑框7")->text(), "pass1");

  // The same number again: the server refuses, its message is shown.
  RegisterAccount(window, "pass1", "小明");
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[1].title, Gbk("错误信息"));
  EXPECT_EQ(presenter.shown[1].icon, kIconError);
  EXPECT_FALSE(presenter.shown[1].mainInstruction.empty());
  EXPECT_NE(presenter.shown[1].mainInstruction, presenter.shown[0].mainInstruction);
}

TEST_F(BoxPassWindowTest, RegistrationWithoutServerShowsAnEmptyErrorLine) {
  BuildWith("http://127.0.0.1:9/");
  BoxPassWindow* window = Open();
  RegisterAccount(window, "x", "y");
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].title, Gbk("错误信息"));
  EXPECT_EQ(presenter.shown[0].icon, kIconError);
}

TEST_F(BoxPassWindowTest, FailedSignInAlwaysShowsTheSameLine) {
  StartServer();
  BuildWith(accountServer->BaseUrl());
  BoxPassWindow* window = Open();
  const Text number = RegisterAccount(window, "right", "n");
  presenter.shown.clear();
  SignIn(window, number, "wrong");
  SignIn(window, "000000000", "right");
  ASSERT_EQ(presenter.shown.size(), 2u);
  for (const TaskMessage& m : presenter.shown) {
    EXPECT_EQ(m.mainInstruction, Gbk("账户或密码错误"));
    EXPECT_EQ(m.title, Gbk("错误信息"));
    EXPECT_EQ(m.icon, kIconError);
  }
  EXPECT_EQ(app->Main(), nullptr);
  EXPECT_TRUE(state->sessionToken.empty());
  EXPECT_FALSE(fs::exists(AccountFile()));
}

TEST_F(BoxPassWindowTest, SignInWithoutServerShowsTheSameLine) {
  BuildWith("http://127.0.0.1:9/");
  BoxPassWindow* window = Open();
  SignIn(window, "123", "x");
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].mainInstruction, Gbk("账户或密码错误"));
}

struct RememberCase {
  const char* name;
  bool autoLogOn;
  bool remember;
  bool fileExpected;
  bool passwordStored;
};

TEST_F(BoxPassWindowTest, SignInOpensMainWindowAndRemembersByTheCheckBoxes) {
  const RememberCase cases[] = {
      {"auto-login", true, false, true, true},
      {"remember account", false, true, true, false},
      {"neither", false, false, false, false},
  };
  StartServer();
  BuildWith(accountServer->BaseUrl());
  BoxPassWindow* registration = Open();
  const Text number = RegisterAccount(registration, "s3cret]x", "小明");
  delete registration;
  // An old file that "neither" must remove.
  WriteAccountFile(AccountFile(), AccountRecord("old"));

  for (const RememberCase& c : cases) {
    SCOPED_TRACE(c.name);
    presenter.shown.clear();
    QPointer<BoxPassWindow> window(Open());
    Find<QCheckBox>(window, "选择框1")->setChecked(c.autoLogOn);
    Find<QCheckBox>(window, "选择框2")->setChecked(c.remember);
    state->sessionToken.clear();
    SignIn(window, number, "s3cret]x");
    EXPECT_TRUE(presenter.shown.empty());
    ASSERT_NE(app->Main(), nullptr);
    EXPECT_TRUE(app->Main()->isVisible());
    EXPECT_FALSE(state->sessionToken.empty());
    EXPECT_EQ(MainWindow::ItemText(app->Main()->StatisticsList()->item(3)), Gbk("\r\n『小明』"));
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_EQ(fs::exists(AccountFile()), c.fileExpected);
    if (c.fileExpected) {
      const RememberedAccount stored = ParseAccountFile(ReadAccountFile(AccountFile()));
      EXPECT_EQ(stored.account, number);
      EXPECT_EQ(stored.autoLogOn, c.passwordStored);
      // A password holding "]" comes back cut at it.
      if (c.passwordStored) {
        EXPECT_EQ(stored.password, "s3cret");
      }
    }
    delete window.data();
  }
  EXPECT_EQ(endProgramCalls, 0);
}

TEST_F(BoxPassWindowTest, WindowKeepsHandlingEventsWhileARequestIsInFlight) {
  // A slow account server: the reply comes after a while.
  test::RawHttpServer peer([](const test::RecordedRequest&) {
    test::ScriptedReply reply{test::MakeResponse(200, "OK", {}, "{\"code\":201,\"msg\":\"no\"}")};
    reply.delayMs = 600;
    return reply;
  });
  ASSERT_TRUE(peer.started());
  BuildWith(peer.Url("/"));
  BoxPassWindow* window = Open();
  bool timerRan = false;
  bool buttonsDisabled = false;
  bool stillOpenAfterClose = false;
  QTimer::singleShot(50, window, [&] {
    timerRan = true;
    buttonsDisabled = !Find(window, "按钮1")->isEnabled() && !Find(window, "按钮2")->isEnabled();
    window->close();  // refused while the request needs the window
    stillOpenAfterClose = window->isVisible();
    // A second press does not start a second request.
    QTest::mouseClick(Find(window, "按钮2"), Qt::LeftButton);
  });
  SignIn(window, "1", "2");
  EXPECT_TRUE(timerRan);
  EXPECT_TRUE(buttonsDisabled);
  EXPECT_TRUE(stillOpenAfterClose);
  EXPECT_EQ(peer.Requests().size(), 1u);
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].mainInstruction, Gbk("账户或密码错误"));
  EXPECT_TRUE(Find(window, "按钮1")->isEnabled());
  EXPECT_TRUE(Find(window, "按钮2")->isEnabled());
}

TEST_F(BoxPassWindowTest, NextStartRestoresTheRememberedAccount) {
  BuildWith("http://127.0.0.1:9/");
  WriteAccountFile(AccountFile(), AccountAndPasswordRecord("123456789", "pw"));
  BoxPassWindow* first = Open();
  EXPECT_EQ(Find<QLineEdit>(first, "编辑框10")->text(), "123456789");
  EXPECT_EQ(Find<QLineEdit>(first, "编辑框9")->text(), "pw");
  EXPECT_TRUE(Find<QCheckBox>(first, "选择框1")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(first, "选择框2")->isChecked());
  // Nothing is sent until the user presses the button.
  EXPECT_TRUE(presenter.shown.empty());

  WriteAccountFile(AccountFile(), AccountRecord("987654321"));
  BoxPassWindow* second = Open();
  EXPECT_EQ(Find<QLineEdit>(second, "编辑框10")->text(), "987654321");
  EXPECT_TRUE(Find<QLineEdit>(second, "编辑框9")->text().isEmpty());
  EXPECT_FALSE(Find<QCheckBox>(second, "选择框1")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(second, "选择框2")->isChecked());
}

TEST_F(BoxPassWindowTest, NameAsTheLastMemberGivesEmptyBrackets) {
  // A server whose sign-in reply has "name" last.
  test::RawHttpServer peer([](const test::RecordedRequest&) {
    return test::ScriptedReply{
        test::MakeResponse(200, "OK", {"Content-Type: application/json"},
                           "{\"code\":200,\"msg\":{\"token\":\"t0k\",\"name\":\"late\"}}")};
  });
  ASSERT_TRUE(peer.started());
  BuildWith(peer.Url("/"));
  BoxPassWindow* window = Open();
  SignIn(window, "1", "2");
  ASSERT_NE(app->Main(), nullptr);
  EXPECT_EQ(state->sessionToken, "t0k");
  EXPECT_EQ(MainWindow::ItemText(app->Main()->StatisticsList()->item(3)), Gbk("\r\n『』"));
}

TEST_F(BoxPassWindowTest, SignInAgainFromTheMainWindowKeepsTheProgramRunning) {
  StartServer();
  BuildWith(accountServer->BaseUrl());
  BoxPassWindow* first = Open();
  const Text number = RegisterAccount(first, "pw", "甲");
  SignIn(first, number, "pw");
  MainWindow* main = app->Main();
  ASSERT_NE(main, nullptr);
  const Text firstToken = state->sessionToken;
  const Text firstNumber = state->accountNumber;

  // The Login button opens a modal box-pass window; sign in there.
  bool signedInAgain = false;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<BoxPassWindow*>(modal);
    if (dialog == nullptr) return;
    test::WaitUntil([&] { return dialog->Ready(); });
    EXPECT_NE(state->accountNumber, firstNumber);  // a new number is drawn
    SignIn(dialog, number, "pw");
    signedInAgain = true;
  });
  QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("Login")), Qt::LeftButton);
  EXPECT_TRUE(signedInAgain);
  EXPECT_EQ(endProgramCalls, 0);
  EXPECT_EQ(app->Main(), main);  // the same window holds the new session
  EXPECT_TRUE(main->isVisible());
  EXPECT_FALSE(state->sessionToken.empty());
  EXPECT_NE(state->sessionToken, firstToken);
}

TEST_F(BoxPassWindowTest, ClosingTheModalWindowReturnsToTheMainWindow) {
  BuildWith("http://127.0.0.1:9/");
  MainWindow* main = app->MainWindowForSignIn();
  ASSERT_NE(main, nullptr);
  QTimer::singleShot(0, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("Login")), Qt::LeftButton);
  EXPECT_EQ(app->Main(), main);
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(endProgramCalls, 0);
}

TEST_F(BoxPassWindowTest, UpdateHandOverStopsTheWindowsCreation) {
  BuildWith("http://127.0.0.1:9/");
  auto* window = new BoxPassWindow(*context, *app);
  EXPECT_FALSE(window->RunCreation([] { return false; }));
  test::WaitUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(window->Ready());
  EXPECT_TRUE(state->accountNumber.empty());
  delete window;
}

}  // namespace
}  // namespace quillet
