#include "gui/start_up.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/startup/restart_program.h"
#include "gui/gui_text.h"
#include "gui_fixture.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

class StartUpTest : public test::GuiFixture {
 protected:
  void SetUp() override { Build(); }

  ProbeSteps Probe(bool connection, const std::string& page) {
    ProbeSteps steps;
    steps.checkConnection = [this, connection](const Text& url) {
      checked.push_back(url);
      return connection;
    };
    steps.fetchPage = [this, page](const Text& url) {
      fetched.push_back(url);
      return Bytes(page.begin(), page.end());
    };
    return steps;
  }

  std::vector<Text> checked;
  std::vector<Text> fetched;
};

TEST_F(StartUpTest, ReachableProbeSiteOpensTheBoxPassWindow) {
  bool updateChecked = false;
  StartUpHooks hooks;
  hooks.updateCheck = [&] {
    updateChecked = true;
    return true;
  };
  Application app(*context, Probe(true, "<input value=\"" + state->settings.probeMarker + "\">"),
                  hooks);
  EXPECT_EQ(app.StartUp(), std::nullopt);
  EXPECT_EQ(checked, std::vector<Text>{state->settings.probeCheckUrl});
  EXPECT_EQ(fetched, std::vector<Text>{state->settings.probePageUrl});
  ASSERT_NE(app.FirstWindow(), nullptr);
  EXPECT_TRUE(app.FirstWindow()->isVisible());
  EXPECT_FALSE(app.FirstWindow()->isModal());
  EXPECT_TRUE(updateChecked);
  EXPECT_EQ(app.Main(), nullptr);
}

TEST_F(StartUpTest, ClosingTheFirstWindowWithoutSigningInEndsTheEventLoop) {
  Application app(*context, Probe(true, state->settings.probeMarker), {});
  ASSERT_EQ(app.StartUp(), std::nullopt);
  QPointer<BoxPassWindow> first(app.FirstWindow());
  ASSERT_TRUE(test::WaitUntil([&] { return first->Ready(); }));
  QTimer::singleShot(0, first, [&] { first->close(); });
  // A safety net, should the loop not end: exit code 99.
  QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(test::WaitUntil([&] { return first.isNull(); }));
}

TEST_F(StartUpTest, UpdateHandOverOpensNoWindow) {
  StartUpHooks hooks;
  hooks.updateCheck = [] { return false; };
  Application app(*context, Probe(true, state->settings.probeMarker), hooks);
  EXPECT_EQ(app.StartUp(), std::nullopt);
  EXPECT_EQ(app.FirstWindow(), nullptr);
}

struct ProbeFailure {
  const char* name;
  bool connection;
  std::string page;
  std::size_t fetches;
};

TEST_F(StartUpTest, FailedProbeShowsTheFailureDialogInstead) {
  const ProbeFailure failures[] = {
      {"no connection", false, "anything", 0},
      {"portal page", true, "<html>login</html>", 1},
      {"empty page", true, "", 1},
  };
  for (const ProbeFailure& f : failures) {
    SCOPED_TRACE(f.name);
    checked.clear();
    fetched.clear();
    int dialogs = 0;
    StartUpHooks hooks;
    hooks.runFailureDialog = [&](NetworkFailureDialog&) {
      ++dialogs;
      return kIdCancel;
    };
    Application app(*context, Probe(f.connection, f.page), hooks);
    EXPECT_EQ(app.StartUp(), FailureOutcome::kReturn);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(fetched.size(), f.fetches);
    EXPECT_EQ(app.FirstWindow(), nullptr);
  }
}

TEST_F(StartUpTest, ReportChoiceOpensTheCommunitySiteAndEnds) {
  StartUpHooks hooks;
  hooks.runFailureDialog = [](NetworkFailureDialog&) { return kChoiceReport; };
  Application app(*context, Probe(false, ""), hooks);
  EXPECT_EQ(app.StartUp(), FailureOutcome::kEndProcess);
  EXPECT_EQ(shell.urls, std::vector<std::string>{"https://community.invalid/"});
}

TEST_F(StartUpTest, GraphicsRuntimeStartsOnce) {
  Application app(*context, Probe(false, ""), {});
  EXPECT_EQ(state->gdiplusToken, 0u);
  app.StartGdiplus();
  const auto token = state->gdiplusToken;
  EXPECT_NE(token, 0u);
  state->gdiplusToken = token + 41;  // a second start would overwrite it
  app.StartGdiplus();
  EXPECT_EQ(state->gdiplusToken, token + 41);
}

TEST_F(StartUpTest, ReleaseGlobalsEmptiesTheState) {
  state->sessionToken = "t";
  state->accountNumber = "1";
  state->quickToolPaths = {"a"};
  state->homeLinkPaths[29] = "x";
  state->updateRecord.fields[8] = "u";
  state->accountClient.Configure("http://h/", "10000", "k", "", "m", 1, 0);
  ReleaseGlobals(*state);
  EXPECT_TRUE(state->sessionToken.empty());
  EXPECT_TRUE(state->accountNumber.empty());
  EXPECT_TRUE(state->quickToolPaths.empty());
  EXPECT_TRUE(state->homeLinkPaths[29].empty());
  EXPECT_TRUE(state->updateRecord.fields[8].empty());
  EXPECT_TRUE(state->accountClient.Settings().BaseUrl.empty());
}

// The failure dialog itself, answered through its real buttons and keys.
class FailureDialogTest : public test::GuiFixture {
 protected:
  // Runs exec() and performs `act` on the shown dialog.
  int Run(const std::function<void(NetworkFailureDialog&)>& act) {
    NetworkFailureDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { act(dialog); });
    return dialog.exec();
  }
  static QPushButton* Button(NetworkFailureDialog& d, const char* name) {
    return d.findChild<QPushButton*>(QString::fromUtf8(name));
  }
};

TEST_F(FailureDialogTest, TextsLinksAndExpandedExplanation) {
  NetworkFailureDialog dialog;
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("错误信息"));
  EXPECT_EQ(dialog.findChild<QLabel*>(QString::fromUtf8("主说明"))->text(),
            QString::fromUtf8("网络连接失败，请检查防火墙重试！"));
  EXPECT_EQ(dialog.findChild<QLabel*>(QString::fromUtf8("内容"))->text(),
            QString::fromUtf8("您需要连接网络，才能正常使用盒子。"));
  struct Link {
    const char* name;
    const char* main;
    const char* note;
  };
  const Link links[] = {{"命令链接100", "尝试重新启动", "推荐操作"},
                        {"命令链接101", "强制关闭程序", "慎重选择"},
                        {"命令链接102", "联机检查解决方案并关闭该程序", "反馈问题"}};
  for (const Link& l : links) {
    auto* link = dialog.findChild<QCommandLinkButton*>(QString::fromUtf8(l.name));
    ASSERT_NE(link, nullptr) << l.name;
    EXPECT_EQ(link->text(), QString::fromUtf8(l.main));
    EXPECT_EQ(link->description(), QString::fromUtf8(l.note));
  }
  auto* details = dialog.findChild<QLabel*>(QString::fromUtf8("展开信息"));
  EXPECT_EQ(details->text(),
            QString::fromUtf8(
                "您无法在无联网状态下使用盒子，因为那样会导致部分显示的异常，功能的无法使用!"));
  QPushButton* toggle = Button(dialog, "详细信息按钮");
  EXPECT_TRUE(dialog.DetailsShown());
  EXPECT_TRUE(details->isVisible());
  EXPECT_EQ(toggle->text(), QString::fromUtf8("隐藏错误详细信息"));
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_FALSE(dialog.DetailsShown());
  EXPECT_EQ(toggle->text(), QString::fromUtf8("显示错误详细信息"));
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_TRUE(dialog.DetailsShown());
  EXPECT_EQ(toggle->text(), QString::fromUtf8("隐藏错误详细信息"));
}

TEST_F(FailureDialogTest, EveryWayOutGivesItsIdentifier) {
  struct Way {
    const char* name;
    std::function<void(NetworkFailureDialog&)> act;
    int expected;
  };
  const Way ways[] = {
      {"Enter", [](NetworkFailureDialog& d) { QTest::keyClick(&d, Qt::Key_Return); },
       kChoiceRestart},
      {"Esc", [](NetworkFailureDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, kIdCancel},
      {"close box", [](NetworkFailureDialog& d) { d.close(); }, kIdCancel},
      {"restart", [](NetworkFailureDialog& d) { Button(d, "命令链接100")->click(); },
       kChoiceRestart},
      {"force close", [](NetworkFailureDialog& d) { Button(d, "命令链接101")->click(); },
       kChoiceForceClose},
      {"report", [](NetworkFailureDialog& d) { Button(d, "命令链接102")->click(); }, kChoiceReport},
      {"OK", [](NetworkFailureDialog& d) { Button(d, "确定")->click(); }, kIdOk},
      {"Yes", [](NetworkFailureDialog& d) { Button(d, "是")->click(); }, kIdYes},
  };
  for (const Way& w : ways) EXPECT_EQ(Run(w.act), w.expected) << w.name;
}

struct ChoiceCase {
  int choice;
  bool programFile;
  FailureOutcome outcome;
  bool scriptStarted;
  bool browserOpened;
};

TEST_F(FailureDialogTest, ActionsOfEachChoice) {
  const ChoiceCase cases[] = {
      {kChoiceRestart, true, FailureOutcome::kTerminateAtOnce, true, false},
      {kChoiceRestart, false, FailureOutcome::kReturn, false, false},
      {kChoiceForceClose, true, FailureOutcome::kEndProcess, false, false},
      {kChoiceReport, true, FailureOutcome::kEndProcess, false, true},
      {kIdOk, true, FailureOutcome::kEndProcess, false, false},
      {kIdYes, true, FailureOutcome::kEndProcess, false, false},
      {kIdCancel, true, FailureOutcome::kReturn, false, false},
      {kNoDialog, true, FailureOutcome::kReturn, false, false},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.choice);
    test::TempRunDirectory dir;
    if (c.programFile) dir.CreateProgramFile();
    test::RecordingShell recordingShell;
    test::FakeLauncher fakeLauncher;
    FailureActions actions{recordingShell, fakeLauncher, dir, "https://community.invalid/"};
    EXPECT_EQ(ActOnFailureChoice(c.choice, actions), c.outcome);
    EXPECT_EQ(fakeLauncher.starts.size(), c.scriptStarted ? 1u : 0u);
    EXPECT_EQ(fs::exists(dir.PathOf(kRestartScriptName)), c.scriptStarted);
    EXPECT_EQ(recordingShell.urls.size(), c.browserOpened ? 1u : 0u);
  }
}

TEST_F(FailureDialogTest, RestartThatCannotStartStillEndsAtOnce) {
  test::TempRunDirectory dir;
  dir.CreateProgramFile();
  test::RecordingShell recordingShell;
  test::FakeLauncher fakeLauncher;
  fakeLauncher.succeed = false;
  FailureActions actions{recordingShell, fakeLauncher, dir, ""};
  EXPECT_EQ(ActOnFailureChoice(kChoiceRestart, actions), FailureOutcome::kTerminateAtOnce);
}

// ShowTaskMessage hands every argument to the presenter and gives back the
// pressed button.
class TaskMessageTest : public test::GuiFixture {};

TEST_F(TaskMessageTest, ArgumentsReachThePresenterAndTheAnswerComesBack) {
  presenter.answers = {kIdNo, kNoDialog};
  QWidget owner;
  EXPECT_EQ(messages.ShowTaskMessage(&owner, "main", "title", "content", kButtonOk | kButtonNo, 0,
                                     kIconInformation),
            kIdNo);
  EXPECT_EQ(messages.ShowTaskMessage(), kNoDialog);
  ASSERT_EQ(presenter.shown.size(), 2u);
  EXPECT_EQ(presenter.shown[0].owner, &owner);
  EXPECT_EQ(presenter.shown[0].mainInstruction, "main");
  EXPECT_EQ(presenter.shown[0].title, "title");
  EXPECT_EQ(presenter.shown[0].content, "content");
  EXPECT_EQ(presenter.shown[0].buttons, 5);
  EXPECT_EQ(presenter.shown[0].icon, kIconInformation);
  EXPECT_TRUE(presenter.shown[1].mainInstruction.empty());
}

TEST_F(TaskMessageTest, DialogPresenterShowsTextsAndReportsTheButton) {
  struct Case {
    int buttons;
    QMessageBox::StandardButton press;
    int expected;
  };
  const Case cases[] = {{kButtonOk, QMessageBox::Ok, kIdOk},
                        {kButtonOk | kButtonNo, QMessageBox::No, kIdNo},
                        {kButtonOk | kButtonNo, QMessageBox::Ok, kIdOk}};
  DialogMessagePresenter real;
  for (const Case& c : cases) {
    QString seenTitle;
    QString seenText;
    QString seenContent;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seenTitle = box->windowTitle();
      seenText = box->text();
      seenContent = box->informativeText();
      box->button(c.press)->click();
    });
    const int pressed =
        real.Present({nullptr, Gbk("您已成功配置Java环境，重复该操作可能会导致异常！"),
                      Gbk("错误信息"), Gbk("确定继续配置？"), c.buttons, kIconInformation});
    EXPECT_EQ(pressed, c.expected);
    EXPECT_EQ(seenTitle, QString::fromUtf8("错误信息"));
    EXPECT_EQ(seenText, QString::fromUtf8("您已成功配置Java环境，重复该操作可能会导致异常！"));
    EXPECT_EQ(seenContent, QString::fromUtf8("确定继续配置？"));
  }
}

}  // namespace
}  // namespace quillet
