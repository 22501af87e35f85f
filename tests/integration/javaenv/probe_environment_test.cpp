#include <gtest/gtest.h>

#include "core/javaenv/java_probe.h"
#include "platform/linux/shell_process_runner.h"
#include "recording_page.h"
#include "temp_folder.h"

namespace quillet {
namespace {

// A machine of our own: PATH holds only a temp folder, with a fake
// systeminfo and, depending on the case, a fake javac.
class ProbeTest : public ::testing::Test {
 protected:
  ProbeTest() : path_("PATH", bin_.path()) {
    testing::WriteFile(bin_ / "systeminfo", "#!/bin/sh\nprintf '主机名:   test-host\\n'\n", true);
  }
  void InstallJavac(const std::string& body) {
    testing::WriteFile(bin_ / "javac", "#!/bin/sh\n" + body, true);
  }
  void Probe() { ProbeEnvironment(runner_, pump_, page_); }

  testing::TempFolder bin_;
  testing::ScopedEnv path_;
  ShellProcessRunner runner_;
  SleepingEventPump pump_;
  testing::RecordingPage page_;
};

TEST_F(ProbeTest, JavacOnThePathTurnsTheStatusGreen) {
  InstallJavac("echo '用法: javac <options> <source files>' >&2\nexit 2\n");
  Probe();
  EXPECT_EQ(page_.systemInfo, Gbk("主机名:   test-host\n"));
  ASSERT_EQ(page_.statusChanges.size(), 1u);
  EXPECT_EQ(page_.statusText, Gbk("# 已 成 功 配 置 Java 环 境"));
  EXPECT_EQ(page_.statusChanges[0].argb, 0xFF00E080u);
}

TEST_F(ProbeTest, NoJavacTurnsTheStatusRed) {
  Probe();
  ASSERT_EQ(page_.statusChanges.size(), 1u);
  EXPECT_EQ(page_.statusText, Gbk("# 未 配 置 Java 相 关 环 境"));
  EXPECT_EQ(page_.statusChanges[0].argb, 0xFFFF0000u);
}

TEST_F(ProbeTest, SilentJavacLeavesTheStatusAsItWas) {
  InstallJavac("exit 1\n");
  Probe();
  EXPECT_TRUE(page_.statusChanges.empty());
  EXPECT_EQ(page_.systemInfo, Gbk("主机名:   test-host\n"));
}

TEST_F(ProbeTest, MissingSysteminfoShowsTheInterpreterMessage) {
  std::remove((bin_ / "systeminfo").c_str());
  Probe();
  EXPECT_EQ(page_.systemInfo,
            "'systeminfo'" + Gbk(" 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。"));
}

TEST_F(ProbeTest, RefreshShowsBothProbingTextsFirstAndKeepsTheColour) {
  InstallJavac("echo javac 17\n");
  RefreshEnvironment(runner_, pump_, page_);
  ASSERT_EQ(page_.statusChanges.size(), 2u);
  EXPECT_EQ(page_.statusChanges[0].text, Gbk("# 正 在 检 测 Java 环 境 中..."));
  EXPECT_FALSE(page_.statusChanges[0].argb.has_value());
  ASSERT_EQ(page_.systemInfoChanges.size(), 2u);
  EXPECT_EQ(page_.systemInfoChanges[0], Gbk("# 正 在 检 测 系 统 信 息 中..."));
  EXPECT_EQ(page_.systemInfoChanges[1], Gbk("主机名:   test-host\n"));
  EXPECT_EQ(page_.statusText, JavaConfiguredText());
}

}  // namespace
}  // namespace quillet
