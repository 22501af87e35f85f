#include "core/javaenv/java_setup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/javaenv/environment_store.h"
#include "core/javaenv/run_and_capture.h"
#include "platform/linux/linux_jdk_locator.h"
#include "platform/linux/profile_environment_backend.h"
#include "platform/linux/shell_process_runner.h"
#include "recording_page.h"
#include "temp_folder.h"

namespace quillet {
namespace {

using testing::FileExists;
using testing::ReadFile;
using testing::WriteFile;

// Answers the dialogs with a fixed button and remembers what they said.
class ScriptedPresenter final : public TaskMessagePresenter {
 public:
  struct Shown {
    Text mainInstruction, title, content;
    int buttons, icon;
  };
  int ShowTaskMessage(const Text& mainInstruction, const Text& title, const Text& content,
                      int buttons, int icon) override {
    shown.push_back({mainInstruction, title, content, buttons, icon});
    return answer;
  }
  int answer = 1;
  std::vector<Shown> shown;
};

class JavaSetupTest : public ::testing::Test {
 protected:
  JavaSetupTest()
      : backend_({root_ / "etc/profile.d/quillet-java.sh", root_ / "home/.profile"}),
        jdks_(root_ / "jvm", root_ / "no-java-home"),
        services_{runner_, pump_, backend_, jdks_, presenter_} {
    mkdir((root_ / "etc").c_str(), 0755);
    mkdir((root_ / "etc/profile.d").c_str(), 0755);
    WriteFile(jdk_ + "/bin/javac", "#!/bin/sh\necho 'javac 17.0.99-quillet'\n", true);
    page_.jdkPath = jdk_;
    // The probe after the set-up finds what this fake machine has: nothing.
    testing::WriteFile(tools_ / "systeminfo", "#!/bin/sh\necho info\n", true);
  }
  std::string Script() const { return ReadFile(backend_.FileOf(EnvironmentScope::kSystem)); }
  bool ScriptExists() const { return FileExists(backend_.FileOf(EnvironmentScope::kSystem)); }

  testing::TempFolder root_;
  testing::TempFolder tools_;
  std::string jdk_ = root_ / "jvm/jdk-17";
  testing::ScopedEnv path_{"PATH", tools_.path()};
  ProfileEnvironmentBackend backend_;
  LinuxJdkLocator jdks_;
  ShellProcessRunner runner_;
  SleepingEventPump pump_;
  ScriptedPresenter presenter_;
  JavaSetupServices services_;
  testing::RecordingPage page_;
};

TEST_F(JavaSetupTest, PathGetsTheJavaEntriesAfterWhatTheStoreHeld) {
  const struct {
    const char* name;
    const char* before;  // nullptr: the store holds no Path
    const char* after;
    const char* exported;
  } cases[] = {
      {"ends with ;", "%PATH%;/opt/tools;",
       "%PATH%;/opt/tools;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;",
       "${PATH}:/opt/tools:${JAVA_HOME}/bin:${JAVA_HOME}/jre/bin"},
      {"without ;", "%PATH%;/opt/a;/opt/b",
       "%PATH%;/opt/a;/opt/b;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;",
       "${PATH}:/opt/a:/opt/b:${JAVA_HOME}/bin:${JAVA_HOME}/jre/bin"},
      // Without a Path of its own the system Path is the login PATH, which
      // is extended, never replaced.
      {"absent", nullptr, "%PATH%;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;",
       "${PATH}:${JAVA_HOME}/bin:${JAVA_HOME}/jre/bin"},
  };
  for (const auto& c : cases) {
    std::remove(backend_.FileOf(EnvironmentScope::kSystem).c_str());
    EnvironmentStore store(backend_, pump_);
    if (c.before) {
      ASSERT_TRUE(store.Write("Path", c.before)) << c.name;
    }
    ConfigureJavaEnvironment(services_, page_);
    EXPECT_EQ(store.Read("JAVA_HOME"), jdk_) << c.name;
    EXPECT_EQ(store.Read("CLASSPATH"), ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar;")
        << c.name;
    EXPECT_EQ(store.Read("Path"), c.after) << c.name;
    const std::string script = Script();
    EXPECT_NE(script.find("export PATH=\"" + std::string(c.exported) + "\"\n"), std::string::npos)
        << c.name << "\n"
        << script;
    EXPECT_NE(script.find("export JAVA_HOME=\"" + jdk_ + "\"\n"), std::string::npos) << c.name;
    EXPECT_NE(
        script.find("export CLASSPATH=\".:${JAVA_HOME}/lib/dt.jar:${JAVA_HOME}/lib/tools.jar\"\n"),
        std::string::npos)
        << c.name;
  }
}

TEST_F(JavaSetupTest, WrittenScriptMakesTheFakeJdkRunInALoginShell) {
  ASSERT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kConfigured);
  // A login shell with an empty environment sources the script, then finds
  // javac only through what the script put on PATH.
  const std::string command = "env -i PATH=/nonexistent /bin/sh -c '. " +
                              backend_.FileOf(EnvironmentScope::kSystem) +
                              "; javac -version; echo \"$CLASSPATH\"'";
  testing::ScopedEnv path("PATH", "/usr/bin:/bin");
  EXPECT_EQ(RunAndCapture(runner_, pump_, command, nullptr, false),
            "javac 17.0.99-quillet\n.:" + jdk_ + "/lib/dt.jar:" + jdk_ + "/lib/tools.jar\n");
}

TEST_F(JavaSetupTest, SetUpShowsProbingTextsThenProbesAgain) {
  ASSERT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kConfigured);
  ASSERT_GE(page_.statusChanges.size(), 2u);
  EXPECT_EQ(page_.statusChanges[0].text, JavaProbingText());
  EXPECT_EQ(page_.systemInfoChanges.front(), SystemInfoProbingText());
  EXPECT_EQ(page_.systemInfo, "info\n");
  // The program's own environment is unchanged, so this probe still finds no
  // javac; a new login session will.
  EXPECT_EQ(page_.statusText, JavaNotConfiguredText());
}

TEST_F(JavaSetupTest, BadPathsShowTheErrorAndWriteNothing) {
  for (const Text& path : {Gbk("Jdk 路径.."), Text()}) {
    page_.jdkPath = path;
    presenter_.shown.clear();
    EXPECT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kBadPath);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    EXPECT_EQ(presenter_.shown[0].mainInstruction, Gbk("错误的JDK路径"));
    EXPECT_EQ(presenter_.shown[0].title, Gbk("错误信息"));
    EXPECT_EQ(presenter_.shown[0].content, " ");
    EXPECT_EQ(presenter_.shown[0].buttons, 1);
    EXPECT_EQ(presenter_.shown[0].icon, 0xFFF9);
    EXPECT_FALSE(ScriptExists());
  }
}

TEST_F(JavaSetupTest, FolderWithoutJavacIsRefusedBeforeAnythingIsWritten) {
  const struct {
    const char* name;
    std::string folder;
  } cases[] = {
      {"missing folder", root_ / "nowhere"},
      {"JRE without javac", root_ / "jvm/jre"},
      {"javac not executable", root_ / "jvm/broken"},
  };
  WriteFile(root_ / "jvm/jre/bin/java", "#!/bin/sh\n", true);
  WriteFile(root_ / "jvm/broken/bin/javac", "#!/bin/sh\n", false);
  for (const auto& c : cases) {
    page_.jdkPath = c.folder;
    presenter_.shown.clear();
    EXPECT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kNotAJdk) << c.name;
    ASSERT_EQ(presenter_.shown.size(), 1u) << c.name;
    EXPECT_EQ(presenter_.shown[0].icon, 0xFFF9) << c.name;
    EXPECT_FALSE(ScriptExists()) << c.name;
  }
}

TEST_F(JavaSetupTest, RepeatWarningAnsweredNoWritesNothing) {
  page_.statusText = JavaConfiguredText();
  for (int answer : {7, 2, -1}) {
    presenter_.answer = answer;
    presenter_.shown.clear();
    EXPECT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kDeclined);
    ASSERT_EQ(presenter_.shown.size(), 1u);
    const auto& shown = presenter_.shown[0];
    EXPECT_EQ(shown.mainInstruction, Gbk("您已成功配置Java环境，重复该操作可能会导致异常！"));
    EXPECT_EQ(shown.title, Gbk("错误信息"));
    EXPECT_EQ(shown.content, Gbk("确定继续配置？"));
    EXPECT_EQ(shown.buttons, 1 | 4);
    EXPECT_EQ(shown.icon, 0xFFFD);
    EXPECT_FALSE(ScriptExists());
  }
  presenter_.answer = 1;
  EXPECT_EQ(OnSetupButtonClicked(services_, page_), SetupOutcome::kConfigured);
  EXPECT_TRUE(ScriptExists());
}

TEST_F(JavaSetupTest, UndoBringsBackTheStoreAsBeforeTheSetUp) {
  EnvironmentStore store(backend_, pump_);
  EXPECT_FALSE(UndoJavaSetup(backend_));  // nothing to undo yet
  // First set-up on a machine without the script: undo removes it again.
  ConfigureJavaEnvironment(services_, page_);
  ASSERT_TRUE(ScriptExists());
  EXPECT_TRUE(UndoJavaSetup(backend_));
  EXPECT_FALSE(ScriptExists());

  ASSERT_TRUE(store.Write("Path", "%PATH%;/opt/mine"));
  const std::string before = Script();
  ConfigureJavaEnvironment(services_, page_);
  ASSERT_NE(Script(), before);
  EXPECT_TRUE(UndoJavaSetup(backend_));
  EXPECT_EQ(Script(), before);
  EXPECT_EQ(store.Read("Path"), "%PATH%;/opt/mine");
}

TEST_F(JavaSetupTest, UserScopeIsABlockThatLeavesTheRestOfTheProfileAlone) {
  const std::string profile = root_ / "home/.profile";
  const std::string original = "# my profile\nexport EDITOR=vi";  // no final line break
  WriteFile(profile, original);
  EnvironmentStore store(backend_, pump_);
  ASSERT_TRUE(store.Write("JAVA_HOME", "/opt/jdk", EnvironmentScope::kUser));
  ASSERT_TRUE(store.Write("Path", "%PATH%;%JAVA_HOME%\\bin", EnvironmentScope::kUser));
  const std::string written = ReadFile(profile);
  EXPECT_EQ(written.rfind(original + "\n", 0), 0u) << written;
  EXPECT_NE(written.find("export PATH=\"${PATH}:${JAVA_HOME}/bin\"\n"), std::string::npos);
  EXPECT_EQ(store.Count(EnvironmentScope::kUser), 2);
  // The system scope is another store.
  EXPECT_EQ(store.Read("Path"), "%PATH%");
  ASSERT_TRUE(store.Remove("JAVA_HOME", EnvironmentScope::kUser));
  ASSERT_TRUE(store.Remove("path", EnvironmentScope::kUser));
  EXPECT_EQ(ReadFile(profile), original + "\n");
  EXPECT_FALSE(store.Remove("path", EnvironmentScope::kUser));
}

TEST_F(JavaSetupTest, StoreOperations) {
  EnvironmentStore store(backend_, pump_);
  testing::ScopedEnv own("QUILLET_TEST_OWN", "from the program");
  // Read falls back to the program's own environment.
  EXPECT_EQ(store.Read("QUILLET_TEST_OWN"), "from the program");
  ASSERT_TRUE(store.Write("QUILLET_TEST_OWN", "stored"));
  EXPECT_EQ(store.Read("quillet_test_own"), "stored");
  // A name the shell cannot hold is refused, nothing changes.
  const std::string before = Script();
  EXPECT_FALSE(store.Write("BAD NAME", "x"));
  EXPECT_FALSE(store.Write("A", "two\nlines"));
  EXPECT_EQ(Script(), before);

  std::vector<Text> listing{"kept"};
  EXPECT_EQ(store.List(listing), 3);  // appends to what the list held
  EXPECT_EQ(listing[1], "QUILLET_TEST_OWN=stored");
  EXPECT_EQ(listing[2], "Path=%PATH%");
  EXPECT_EQ(store.Count(), 2);

  const Text module = store.ModuleFile(true);
  EXPECT_EQ(module.front(), '/');
  EXPECT_EQ(module.substr(module.size() - store.ModuleFile(false).size()), store.ModuleFile(false));
  EXPECT_EQ(store.ModuleFile(false), "test_javaenv_integration");
  EXPECT_FALSE(store.CurrentDirectory().empty());
  EXPECT_FALSE(store.CommandInterpreter().empty());
  std::vector<Text> arguments{"stale"};
  const long count = store.Arguments(arguments);
  EXPECT_EQ(count, static_cast<long>(arguments.size()));
  for (const Text& a : arguments) EXPECT_NE(a, "stale");
}

TEST_F(JavaSetupTest, UnreadableStoreCountsAsMissing) {
  // A folder where the script should be cannot be read as one.
  mkdir(backend_.FileOf(EnvironmentScope::kSystem).c_str(), 0755);
  EnvironmentStore store(backend_, pump_);
  std::vector<Text> listing;
  EXPECT_EQ(store.Count(), -1);
  EXPECT_EQ(store.List(listing), -1);
  EXPECT_FALSE(store.Write("JAVA_HOME", "/x"));
  EXPECT_FALSE(store.Remove("JAVA_HOME"));
}

TEST_F(JavaSetupTest, JdkCandidatesForTheFolderDialog) {
  WriteFile(root_ / "jvm/jdk-21/bin/javac", "#!/bin/sh\n", true);
  WriteFile(root_ / "jvm/jre-8/bin/java", "#!/bin/sh\n", true);
  symlink((root_ / "jvm/jdk-21").c_str(), (root_ / "jvm/default-java").c_str());
  WriteFile(root_ / "home-jdk/bin/javac", "#!/bin/sh\n", true);
  LinuxJdkLocator locator(root_ / "jvm", root_ / "home-jdk");
  const std::vector<Text> expected = {root_ / "home-jdk", root_ / "jvm/jdk-21",
                                      root_ / "jvm/jdk-17"};
  EXPECT_EQ(locator.Candidates(), expected);
  EXPECT_EQ(JdkDialogStartFolder(locator), root_ / "home-jdk");
  LinuxJdkLocator empty(root_ / "nowhere", root_ / "nowhere");
  EXPECT_EQ(JdkDialogStartFolder(empty), "");
}

}  // namespace
}  // namespace quillet
