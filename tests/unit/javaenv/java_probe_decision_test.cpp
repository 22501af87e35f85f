#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/javaenv/java_probe.h"

namespace quillet {
namespace {

struct StatusChange {
  Text text;
  std::optional<std::uint32_t> argb;
};

class RecordingPage final : public ProbeSink {
 public:
  void SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) override {
    status.push_back({text, argb});
  }
  void SetSystemInfo(const Text& text) override { systemInfo.push_back(text); }
  std::vector<StatusChange> status;
  std::vector<Text> systemInfo;
};

struct DecisionCase {
  const char* name;
  Text piece;
  bool configured;
};

TEST(HandleJavacOutput, FirstPieceDecidesTheStatusLineAndStopsTheCapture) {
  const DecisionCase cases[] = {
      {"interpreter's missing-command message",
       Gbk("'javac' 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。"), false},
      {"marker in the middle of other output", Gbk("x 不是内部或外部命令 y"), false},
      {"javac usage text", Gbk("用法: javac <options> <source files>\n"), true},
      {"empty piece counts as no match", Text(), true},
      {"only the start of the message, without the marker", Gbk("'javac' 不是内部"), true},
      {"message of another display language", "'javac' is not recognized as an internal", true},
      {"marker bytes shifted by one byte are no match", "x" + Gbk("不是内部或外部命令").substr(1),
       true},
  };
  for (const DecisionCase& c : cases) {
    RecordingPage page;
    EXPECT_NE(HandleJavacOutput(page, c.piece), 0) << c.name;
    ASSERT_EQ(page.status.size(), 1u) << c.name;
    EXPECT_EQ(page.status[0].text, c.configured ? Gbk("# 已 成 功 配 置 Java 环 境")
                                                : Gbk("# 未 配 置 Java 相 关 环 境"))
        << c.name;
    EXPECT_EQ(page.status[0].argb, c.configured ? 0xFF00E080u : 0xFFFF0000u) << c.name;
  }
}

TEST(HandleJavacOutput, ConfiguredTextIsTheOneTheSetUpComparesWith) {
  RecordingPage page;
  HandleJavacOutput(page, "javac 17");
  EXPECT_EQ(page.status.at(0).text, JavaConfiguredText());
}

}  // namespace
}  // namespace quillet
