#include "core/javaenv/run_and_capture.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/shell_process_runner.h"
#include "temp_folder.h"

namespace quillet {
namespace {

Text Capture(const std::string& command) {
  ShellProcessRunner runner;
  SleepingEventPump pump;
  return RunAndCapture(runner, pump, command, nullptr, false);
}

Text MissingMessage(const std::string& name) {
  return "'" + name + "'" + Gbk(" 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。");
}

// "Z" in /proc/<pid>/stat: ended, but nobody has collected its exit status.
bool IsGoneOrNotZombie(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  if (!stat) return true;
  std::string line;
  std::getline(stat, line);
  const auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
}

TEST(RunAndCapture, TenMebibytesArriveWholeThroughTheSmallPipe) {
  const Text out = Capture("head -c 10485760 /dev/zero | tr '\\000' a");
  ASSERT_EQ(out.size(), 10485760u);
  EXPECT_EQ(out.find_first_not_of('a'), Text::npos);
}

TEST(RunAndCapture, StandardErrorIsCapturedInArrivalOrder) {
  EXPECT_EQ(Capture("echo out; sleep 0.05; echo err >&2; sleep 0.05; echo out2"),
            "out\nerr\nout2\n");
}

TEST(RunAndCapture, PieceEndsAtItsFirstZeroByte) {
  // printf writes all of it at once, so it is one piece.
  EXPECT_EQ(Capture("printf 'ab\\000cd'"), "ab");
}

TEST(RunAndCapture, OutputWrittenJustBeforeTheEndIsNotLost) {
  // A child that writes and ends at once: the end is often seen before the
  // bytes, and they must still be read.
  for (int i = 0; i < 50; ++i) ASSERT_EQ(Capture("printf x"), "x") << "run " << i;
}

TEST(RunAndCapture, MissingCommandGivesTheInterpreterMessage) {
  const struct {
    std::string command;
    std::string name;
  } cases[] = {
      {"quillet-no-such-command", "quillet-no-such-command"},
      {"quillet-no-such-command -version", "quillet-no-such-command"},
      {"  /nonexistent/javac", "/nonexistent/javac"},
  };
  for (const auto& c : cases) EXPECT_EQ(Capture(c.command), MissingMessage(c.name)) << c.command;
}

TEST(RunAndCapture, CommandsStartingWithShellSyntaxRunUnchecked) {
  EXPECT_EQ(Capture("QUILLET_X=7 sh -c 'echo $QUILLET_X'"), "7\n");
  EXPECT_EQ(Capture("if true; then echo yes; fi"), "yes\n");
}

TEST(RunAndCapture, ChildOutputIsConvertedToCodePage936) {
  EXPECT_EQ(Capture(Gbk("printf '中文 ok\\n'")), Gbk("中文 ok\n"));
  // The command itself is code page 936 text, names included.
  EXPECT_EQ(Capture(Gbk("不存在的命令 -x")),
            "'" + Gbk("不存在的命令") + "'" +
                Gbk(" 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。"));
}

TEST(RunAndCapture, CharacterSplitAcrossTwoReadsIsCarriedOver) {
  // "中" is E4 B8 AD: its first byte arrives alone, the rest a moment later.
  ShellProcessRunner runner;
  SleepingEventPump pump;
  std::vector<Text> pieces;
  const Text out = RunAndCapture(
      runner, pump, "printf '\\344'; sleep 0.3; printf '\\270\\255!'",
      [&](const Text& piece) {
        pieces.push_back(piece);
        return 0;
      },
      true);
  EXPECT_EQ(out, Gbk("中!"));
  ASSERT_EQ(pieces.size(), 1u);  // the lone first byte makes no piece of its own
  EXPECT_EQ(pieces[0], Gbk("中!"));
}

TEST(RunAndCapture, HandlerStopsAtFirstPieceAndTheChildIsReapedLater) {
  ShellProcessRunner runner;
  SleepingEventPump pump;
  std::vector<Text> pieces;
  const Text out = RunAndCapture(
      runner, pump, "echo $$; while :; do echo y; done",
      [&](const Text& piece) {
        pieces.push_back(piece);
        return 1;
      },
      true);
  EXPECT_EQ(out, "");
  ASSERT_EQ(pieces.size(), 1u);
  const int pid = std::atoi(pieces[0].c_str());
  ASSERT_GT(pid, 1);
  // The child dies on its next write to the closed pipe and must not stay
  // a zombie afterwards.
  bool collected = false;
  for (int i = 0; i < 1000 && !collected; ++i) {
    collected = IsGoneOrNotZombie(pid) && kill(pid, 0) != 0;
    if (!collected) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(collected) << "child " << pid << " still there";
}

TEST(RunAndCapture, StoppedChildEndsEvenWhenTheProgramIgnoresSigpipe) {
  // Programs with network code often ignore SIGPIPE; children must not
  // inherit that and write forever into the closed pipe.
  struct sigaction ignore {
  }, old{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &old);
  ShellProcessRunner runner;
  SleepingEventPump pump;
  Text first;
  RunAndCapture(
      runner, pump, "echo $$; while :; do echo y; done",
      [&](const Text& piece) {
        first = piece;
        return 1;
      },
      true);
  sigaction(SIGPIPE, &old, nullptr);
  const int pid = std::atoi(first.c_str());
  ASSERT_GT(pid, 1);
  bool ended = false;
  for (int i = 0; i < 1000 && !ended; ++i) {
    ended = kill(pid, 0) != 0;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(ended);
}

TEST(RunAndCapture, ChildSeesNoStandardInput) { EXPECT_EQ(Capture("cat; echo end"), "end\n"); }

TEST(RunAndCapture, ToolsBesideTheProgramAreFoundByBareName) {
  testing::TempFolder tools;
  testing::WriteFile(tools / "quillet-beside", "#!/bin/sh\necho beside\n", true);
  ShellProcessRunner runner(tools.path());
  SleepingEventPump pump;
  EXPECT_EQ(RunAndCapture(runner, pump, "quillet-beside", nullptr, false), "beside\n");
  EXPECT_EQ(Capture("quillet-beside"), MissingMessage("quillet-beside"));
}

TEST(RunAndCapture, PumpIsKeptBusyWhileWaiting) {
  struct CountingPump final : EventPump {
    void PumpPending() override { ++pumped; }
    void WaitPumping(int milliseconds) override {
      ++waits;
      std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    int pumped = 0;
    int waits = 0;
  } pump;
  ShellProcessRunner runner;
  EXPECT_EQ(RunAndCapture(runner, pump, "sleep 0.2; echo done", nullptr, false), "done\n");
  EXPECT_GT(pump.pumped, 0);
  EXPECT_GT(pump.waits, 0);
}

}  // namespace
}  // namespace quillet
