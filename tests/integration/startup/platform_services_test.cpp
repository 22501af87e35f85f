#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/startup/atomic_file.h"
#include "fake_launcher.h"
#include "lock_holder_process.h"
#include "platform/linux/desktop_shell.h"
#include "platform/linux/executable_run_directory.h"
#include "platform/linux/lock_file_instance_guard.h"
#include "platform/linux/posix_process_launcher.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 400 && !done(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return done();
}

TEST(PosixProcessLauncherTest, StartsInTheWorkingDirectoryWithArguments) {
  test::TempRunDirectory dir;
  PosixProcessLauncher launcher;
  ASSERT_TRUE(launcher.StartDetached("sh", {"-c", "pwd > where; echo \"$1\" > arg", "sh", "a b"},
                                     dir.Directory()));
  ASSERT_TRUE(WaitFor(
      [&] { return fs::exists(dir.PathOf("arg")) && fs::file_size(dir.PathOf("arg")) > 0; }));
  EXPECT_EQ(ReadFileBytes(dir.PathOf("arg"), 100), "a b\n");
  EXPECT_EQ(ReadFileBytes(dir.PathOf("where"), 4096), dir.Directory() + "\n");
}

TEST(PosixProcessLauncherTest, ReportsWhatCannotBeStarted) {
  test::TempRunDirectory dir;
  PosixProcessLauncher launcher;
  EXPECT_FALSE(launcher.StartDetached("no-such-program-quillet", {}, {}));
  EXPECT_FALSE(launcher.StartDetached("", {}, {}));
  EXPECT_FALSE(launcher.StartDetached("/bin/sh", {"-c", "true"}, dir.PathOf("missing folder")));
  // A file that is there but cannot be run.
  const std::string notExecutable = dir.PathOf("plain.txt");
  std::ofstream(notExecutable) << "text";
  EXPECT_FALSE(launcher.StartDetached(notExecutable, {}, {}));
}

TEST(PosixProcessLauncherTest, TheStartedProgramOutlivesItsStarterAndLeavesNoZombie) {
  test::TempRunDirectory dir;
  PosixProcessLauncher launcher;
  ASSERT_TRUE(launcher.StartDetached("sh", {"-c", "echo $$ > pid; sleep 0.3; echo done > end"},
                                     dir.Directory()));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(dir.PathOf("end")); }));
  // The grandchild was re-parented: this process has no child left to reap.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(LockFileInstanceGuardTest, SecondHolderInTheSameProcessIsRefused) {
  test::TempRunDirectory dir;
  LockFileInstanceGuard first(dir.Directory());
  LockFileInstanceGuard second(dir.Directory());
  EXPECT_TRUE(first.Acquire("quillet"));
  EXPECT_FALSE(second.Acquire("quillet"));
  EXPECT_FALSE(first.Acquire("quillet"));
  EXPECT_TRUE(second.Acquire("other"));
}

TEST(LockFileInstanceGuardTest, AnotherProcessSeesTheMarkUntilItsHolderEnds) {
  test::TempRunDirectory dir;
  LockFileInstanceGuard guard(dir.Directory());
  test::LockHolderProcess other(guard.LockPath("quillet"));
  ASSERT_TRUE(other.Holds());
  EXPECT_FALSE(guard.Acquire("quillet"));
  other.Release();
  // The holder is gone, and with it the mark: no stale file blocks us.
  EXPECT_TRUE(guard.Acquire("quillet"));
}

TEST(LockFileInstanceGuardTest, NamesCannotLeaveTheFolder) {
  LockFileInstanceGuard guard("/run/user/x");
  EXPECT_EQ(guard.LockPath("../../etc/passwd").find('/', std::string("/run/user/x/").size()),
            std::string::npos);
}

TEST(TerminalInvocationTest, EachTerminalRunsTheCommandAndKeepsAShellOpen) {
  struct Case {
    const char* terminal;
    std::vector<std::string> arguments;
  };
  const std::vector<std::string> shell = {"/bin/sh", "-c", "java -version; exec /bin/sh"};
  const auto with = [&](const char* option) {
    std::vector<std::string> a{option};
    a.insert(a.end(), shell.begin(), shell.end());
    return a;
  };
  const Case cases[] = {{"x-terminal-emulator", with("-e")},
                        {"gnome-terminal", with("--")},
                        {"xfce4-terminal", with("-x")},
                        {"konsole", with("-e")},
                        {"xterm", with("-e")}};
  for (const Case& c : cases) {
    const TerminalCommand t = TerminalInvocation(c.terminal, "java -version");
    EXPECT_EQ(t.program, c.terminal);
    EXPECT_EQ(t.arguments, c.arguments) << c.terminal;
  }
}

class PathScope {
 public:
  explicit PathScope(const std::string& path)
      : old_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    setenv("PATH", path.c_str(), 1);
  }
  ~PathScope() { setenv("PATH", old_.c_str(), 1); }

 private:
  std::string old_;
};

TEST(DesktopShellTest, UsesTheFirstTerminalFoundAndXdgOpen) {
  test::TempRunDirectory dir;
  for (const char* name : {"xterm", "konsole"}) {
    const std::string path = dir.PathOf(name);
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, fs::perms::owner_all);
  }
  PathScope scope(dir.Directory());
  test::FakeLauncher launcher;
  DesktopShell shell(launcher);
  ASSERT_TRUE(shell.OpenTerminal("javac"));
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].program, "konsole");  // before xterm in preference
  EXPECT_EQ(launcher.starts[0].arguments.back(), "javac; exec /bin/sh");

  ASSERT_TRUE(shell.OpenUrl("https://example.invalid/a?b=1&c"));
  EXPECT_EQ(launcher.starts[1].program, "xdg-open");
  EXPECT_EQ(launcher.starts[1].arguments,
            std::vector<std::string>{"https://example.invalid/a?b=1&c"});
  EXPECT_FALSE(shell.OpenUrl(""));
}

TEST(DesktopShellTest, OpensFilesAsAFileManagerWould) {
  test::TempRunDirectory dir;
  const std::string gio = dir.PathOf("gio");
  std::ofstream(gio) << "#!/bin/sh\n";
  fs::permissions(gio, fs::perms::owner_all);
  const std::string tool = dir.PathOf("tool");
  std::ofstream(tool) << "#!/bin/sh\n";
  fs::permissions(tool, fs::perms::owner_all);
  const std::string launcherFile = dir.PathOf("editor.desktop");
  std::ofstream(launcherFile) << "[Desktop Entry]\nType=Application\nExec=true\n";
  const std::string document = dir.PathOf("notes.txt");
  std::ofstream(document) << "x";
  PathScope scope(dir.Directory());
  test::FakeLauncher launcher;
  DesktopShell shell(launcher);

  ASSERT_TRUE(shell.OpenFile(launcherFile));
  ASSERT_TRUE(shell.OpenFile(tool));
  ASSERT_TRUE(shell.OpenFile(document));
  EXPECT_FALSE(shell.OpenFile(""));
  ASSERT_EQ(launcher.starts.size(), 3u);
  EXPECT_EQ(launcher.starts[0].program, "gio");
  EXPECT_EQ(launcher.starts[0].arguments, (std::vector<std::string>{"launch", launcherFile}));
  EXPECT_EQ(launcher.starts[1].program, tool);
  EXPECT_TRUE(launcher.starts[1].arguments.empty());
  EXPECT_EQ(launcher.starts[2].program, "xdg-open");
  EXPECT_EQ(launcher.starts[2].arguments, std::vector<std::string>{document});
}

TEST(DesktopShellTest, NoTerminalInstalledIsReported) {
  test::TempRunDirectory dir;
  PathScope scope(dir.Directory());
  test::FakeLauncher launcher;
  DesktopShell shell(launcher);
  EXPECT_FALSE(shell.OpenTerminal("java"));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST(ExecutableRunDirectoryTest, IsTheFolderOfThisProgram) {
  ExecutableRunDirectory run;
  EXPECT_TRUE(fs::equivalent(run.ProgramPath(), "/proc/self/exe"));
  EXPECT_EQ(fs::path(run.ProgramPath()).parent_path().string(), run.Directory());
}

}  // namespace
}  // namespace quillet
