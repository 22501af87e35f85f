#include <gtest/gtest.h>
#include <unistd.h>

#include "core/javaenv/run_and_capture.h"
#include "platform/linux/shell_process_runner.h"

namespace quillet {
namespace {

// The systeminfo shipped beside the program, found by its bare name the way
// the environment page runs it.
Text RunSysteminfo(const std::string& after = "") {
  ShellProcessRunner runner(QUILLET_SYSTEMINFO_DIR);
  SleepingEventPump pump;
  return RunAndCapture(runner, pump, "systeminfo" + after, nullptr, false);
}

// The value on the line that starts with `label`, spaces before it removed.
Text ValueOf(const Text& report, const Text& label) {
  for (const Text& line : TextSplit(report, "\n")) {
    if (line.rfind(label, 0) == 0) return TextTrim(line.substr(label.size()));
  }
  return "<no such line>";
}

TEST(Systeminfo, ReportHasTheLabelsOfTheWindowsCommand) {
  const Text report = RunSysteminfo();
  for (const char* label :
       {"主机名:", "OS 名称:", "OS 版本:", "OS 内核:", "系统启动时间:", "系统运行时间:",
        "系统类型:", "处理器:", "物理内存总量:", "可用的物理内存:", "网卡:"}) {
    EXPECT_NE(ValueOf(report, Gbk(label)), "<no such line>") << label << "\n" << report;
  }
}

TEST(Systeminfo, ValuesDescribeThisMachine) {
  const Text report = RunSysteminfo();
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(ValueOf(report, Gbk("主机名:")), host);
  EXPECT_EQ(ValueOf(report, Gbk("处理器:")).rfind(Gbk("安装了 "), 0), 0u);
  const Text total = ValueOf(report, Gbk("物理内存总量:"));
  ASSERT_GE(total.size(), 4u);
  EXPECT_EQ(total.substr(total.size() - 3), " MB");
  EXPECT_NE(total[0], '0');
  EXPECT_EQ(ValueOf(report, Gbk("OS 内核:")).rfind("Linux ", 0), 0u);
}

TEST(Systeminfo, EndsWithExitStatusZero) {
  const Text report = RunSysteminfo(" >/dev/null; echo \"status=$?\"");
  EXPECT_EQ(report, "status=0\n");
}

}  // namespace
}  // namespace quillet
