#include "gui/pages/environment_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../windows/gui_fixture.h"
#include "core/javaenv/java_probe.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "page_screenshot.h"

namespace quillet::test {
namespace {

void WriteScript(const std::string& path, const std::string& body) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << "#!/bin/sh\n" << body;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The page against a temporary machine: a systeminfo tool beside the
// program, a PATH with or without a javac, a JDK folder, and the profile
// files in a temporary folder. PATH is the test program's own and is put
// back afterwards.
class EnvironmentPageTest : public GuiFixture {
 protected:
  void SetUp() override {
    Build();
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    WriteScript(temp.PathOf("tools/systeminfo"), "echo '主机名:           probe-host'\n");
    WriteScript(temp.PathOf("with-javac/javac"), "echo '用法: javac <options> <source files>'\n");
    std::filesystem::create_directories(temp.PathOf("without-javac"));
    jdk = temp.PathOf("jvm/jdk-21");
    WriteScript(jdk + "/bin/javac", "exit 2\n");
    options.toolDirectory = temp.PathOf("tools");
    options.profile.systemScript = temp.PathOf("profile.d/quillet-java.sh");
    options.profile.userProfile = temp.PathOf("home/.profile");
    std::filesystem::create_directories(temp.PathOf("profile.d"));
    std::filesystem::create_directories(temp.PathOf("home"));
    options.jvmFolder = temp.PathOf("jvm");
    options.chooseFolder = [this](QWidget*, const QString& title, const QString& start) {
      dialogs.push_back({title, start});
      return chosen;
    };
  }

  void TearDown() override {
    GuiFixture::TearDown();
    setenv("PATH", savedPath.c_str(), 1);
  }

  void UseJavac(bool present) {
    setenv("PATH", temp.PathOf(present ? "with-javac" : "without-javac").c_str(), 1);
  }

  MainWindow* OpenWindow() {
    MainWindowHooks hooks;
    hooks.startEnvironmentProbe = MakeStartEnvironmentProbe(*context, options);
    window = new MainWindow(*context, std::move(hooks));
    EXPECT_TRUE(window->RunCreationSequence());
    return window;
  }

  template <typename Control>
  Control* Find(const char* name) {
    return window->findChild<Control*>(QString::fromUtf8(name));
  }
  QLabel* Status() { return Find<QLabel>("java环境_标签"); }
  QLabel* SystemInfo() { return Find<QLabel>("系统信息_标签"); }
  Text StatusText() { return FromQString(Status()->text()); }

  bool WaitForStatus(const Text& text) {
    return WaitUntil([&] { return StatusText() == text; });
  }

  TempRunDirectory temp;
  std::string savedPath;
  std::string jdk;
  EnvironmentPageOptions options;
  QString chosen;
  std::vector<std::pair<QString, QString>> dialogs;
  MainWindow* window = nullptr;
};

struct ProbeCase {
  bool javac;
  const char* text;
  std::uint32_t argb;
};

void PrintTo(const ProbeCase& c, std::ostream* out) {
  *out << (c.javac ? "javac on PATH" : "no javac");
}

class EnvironmentProbeTest : public EnvironmentPageTest,
                             public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(EnvironmentProbeTest, AtCreationTurnsGreenWithJavacAndRedWithout) {
  const ProbeCase c = GetParam();
  UseJavac(c.javac);
  OpenWindow();
  ASSERT_TRUE(WaitForStatus(Gbk(c.text))) << StatusText();
  EXPECT_EQ(JavaStatusColour(Status()), c.argb);
  EXPECT_TRUE(Status()->styleSheet().contains(QColor::fromRgba(c.argb).name()));
  EXPECT_TRUE(SystemInfo()->text().contains(QStringLiteral("probe-host")));
  if (c.javac) {
    window->findChild<QListWidget*>(QStringLiteral("导航列表"))->setCurrentRow(2);
    ASSERT_TRUE(SavePageScreenshot(window->grab().toImage(), QStringLiteral("pages-java.png")));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Javac, EnvironmentProbeTest,
    ::testing::Values(ProbeCase{true, "# 已 成 功 配 置 Java 环 境", 0xFF00E080},
                      ProbeCase{false, "# 未 配 置 Java 相 关 环 境", 0xFFFF0000}),
    [](const auto& info) { return std::string(info.param.javac ? "Present" : "Missing"); });

TEST_F(EnvironmentPageTest, RefreshShowsTheProbingTextsThenTheNewResult) {
  UseJavac(true);
  OpenWindow();
  ASSERT_TRUE(WaitForStatus(JavaConfiguredText()));
  UseJavac(false);
  // The system tool reports what the labels read while it runs.
  WriteScript(temp.PathOf("tools/systeminfo"), "echo seen\n");
  QLabel* status = Status();
  QLabel* info = SystemInfo();
  Text statusWhileProbing;
  Text infoWhileProbing;
  auto* refresh = Find<QPushButton>("刷新");
  bool sawDisabled = false;
  // Look at the labels the first time the page hands events over while the
  // refresh waits for its commands.
  QTimer::singleShot(0, [&] {
    statusWhileProbing = FromQString(status->text());
    infoWhileProbing = FromQString(info->text());
    sawDisabled = !refresh->isEnabled();
  });
  refresh->click();
  EXPECT_EQ(statusWhileProbing, JavaProbingText());
  EXPECT_EQ(infoWhileProbing, SystemInfoProbingText());
  EXPECT_TRUE(sawDisabled);
  EXPECT_TRUE(refresh->isEnabled());
  EXPECT_EQ(StatusText(), JavaNotConfiguredText());
  EXPECT_EQ(JavaStatusColour(status), 0xFFFF0000u);
  EXPECT_EQ(FromQString(info->text()), "seen\n");
}

TEST_F(EnvironmentPageTest, BrowseStartsAtTheFirstJdkAndTakesTheChosenFolder) {
  UseJavac(false);
  OpenWindow();
  auto* path = Find<QLineEdit>("编辑框EX1");
  chosen = QStringLiteral("/opt/jdk");
  Find<QPushButton>("按钮EX2")->click();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(FromQString(dialogs[0].first), Gbk("jdk文件夹"));
  EXPECT_EQ(dialogs[0].second.toStdString(), jdk);
  EXPECT_EQ(path->text(), QStringLiteral("/opt/jdk"));
  chosen.clear();  // cancelled
  Find<QPushButton>("按钮EX2")->click();
  EXPECT_EQ(path->text(), QStringLiteral("/opt/jdk"));
}

TEST_F(EnvironmentPageTest, SetUpWritesTheSystemScriptAndProbesAgain) {
  UseJavac(false);
  OpenWindow();
  ASSERT_TRUE(WaitForStatus(JavaNotConfiguredText()));
  Find<QLineEdit>("编辑框EX1")->setText(QString::fromStdString(jdk));
  Find<QPushButton>("按钮EX1")->click();
  EXPECT_TRUE(presenter.shown.empty());
  const std::string script = ReadFile(options.profile.systemScript);
  EXPECT_NE(script.find("JAVA_HOME"), std::string::npos) << script;
  EXPECT_NE(script.find(jdk), std::string::npos) << script;
  EXPECT_NE(script.find("CLASSPATH"), std::string::npos) << script;
  EXPECT_NE(script.find("${JAVA_HOME}/bin"), std::string::npos) << script;
  // The login PATH is extended, never replaced.
  EXPECT_NE(script.find("${PATH}"), std::string::npos) << script;
  EXPECT_FALSE(std::filesystem::exists(options.profile.userProfile));
  EXPECT_EQ(StatusText(), JavaNotConfiguredText());
  EXPECT_TRUE(Find<QPushButton>("按钮EX1")->isEnabled());
}

struct RefusedCase {
  bool javac;         // status line green before the click
  const char* path;   // nullptr: the JDK folder
  int answer;         // the presenter's answer
  const char* shown;  // the message's main instruction
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
  *out << (c.path ? c.path : "JDK folder") << " -> " << c.answer;
}

class RefusedSetUpTest : public EnvironmentPageTest,
                         public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSetUpTest, WritesNothing) {
  const RefusedCase c = GetParam();
  presenter.answers = {c.answer};
  UseJavac(c.javac);
  OpenWindow();
  ASSERT_TRUE(WaitForStatus(c.javac ? JavaConfiguredText() : JavaNotConfiguredText()));
  Find<QLineEdit>("编辑框EX1")
      ->setText(c.path ? ToQString(Gbk(c.path)) : QString::fromStdString(jdk));
  Find<QPushButton>("按钮EX1")->click();
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].mainInstruction, Gbk(c.shown));
  EXPECT_EQ(presenter.shown[0].owner, window);
  EXPECT_FALSE(std::filesystem::exists(options.profile.systemScript));
  EXPECT_FALSE(std::filesystem::exists(options.profile.userProfile));
}

std::string RefusedCaseName(const ::testing::TestParamInfo<RefusedCase>& info) {
  static const char* const kNames[] = {"Placeholder", "Empty", "RepeatAnsweredNo"};
  return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(Checks, RefusedSetUpTest,
                         ::testing::Values(RefusedCase{false, "Jdk 路径..", kIdOk, "错误的JDK路径"},
                                           RefusedCase{false, "", kIdOk, "错误的JDK路径"},
                                           RefusedCase{
                                               true, nullptr, kIdNo,
                                               "您已成功配置Java环境，重复该操作可能会导致异常！"}),
                         RefusedCaseName);

TEST_F(EnvironmentPageTest, WithoutRightsOnTheSystemFolderTheUserProfileIsWrittenAndSaidSo) {
  options.profile.systemScript = temp.PathOf("missing/profile.d/quillet-java.sh");
  std::ofstream(options.profile.userProfile) << "export EDITOR=vi\n";
  UseJavac(false);
  OpenWindow();
  ASSERT_TRUE(WaitForStatus(JavaNotConfiguredText()));
  Find<QLineEdit>("编辑框EX1")->setText(QString::fromStdString(jdk));
  Find<QPushButton>("按钮EX1")->click();
  ASSERT_EQ(presenter.shown.size(), 1u);
  EXPECT_EQ(presenter.shown[0].mainInstruction, Gbk("已写入当前用户的环境配置"));
  const std::string profile = ReadFile(options.profile.userProfile);
  EXPECT_NE(profile.find("export EDITOR=vi"), std::string::npos) << profile;
  EXPECT_NE(profile.find(jdk), std::string::npos) << profile;
  // The user store had no PATH of its own: the login PATH is kept in front.
  EXPECT_NE(profile.find("${PATH}"), std::string::npos) << profile;
  EXPECT_FALSE(std::filesystem::exists(options.profile.systemScript));
}

}  // namespace
}  // namespace quillet::test
