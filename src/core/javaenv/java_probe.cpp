#include "core/javaenv/java_probe.h"

#include "core/javaenv/run_and_capture.h"

namespace quillet {

Text JavaProbingText() { return Gbk("# 正 在 检 测 Java 环 境 中..."); }
Text JavaConfiguredText() { return Gbk("# 已 成 功 配 置 Java 环 境"); }
Text JavaNotConfiguredText() { return Gbk("# 未 配 置 Java 相 关 环 境"); }
Text SystemInfoProbingText() { return Gbk("# 正 在 检 测 系 统 信 息 中..."); }
Text MissingCommandMarker() { return Gbk("不是内部或外部命令"); }

std::int32_t HandleJavacOutput(ProbeSink& sink, const Text& piece) {
  // A plain byte search, no case folding: the marker is Chinese anyway, and
  // an empty piece counts as no match.
  const bool missing = !piece.empty() && TextFind(piece, MissingCommandMarker()) != -1;
  if (missing) {
    sink.SetJavaStatus(JavaNotConfiguredText(), kColourNotConfigured);
  } else {
    sink.SetJavaStatus(JavaConfiguredText(), kColourConfigured);
  }
  return 1;
}

void ProbeEnvironment(ProcessRunner& runner, EventPump& pump, ProbeSink& sink) {
  sink.SetSystemInfo(RunAndCapture(runner, pump, Text("systeminfo"), nullptr, false));
  RunAndCapture(
      runner, pump, Text("javac"),
      [&sink](const Text& piece) { return HandleJavacOutput(sink, piece); }, true);
}

void RefreshEnvironment(ProcessRunner& runner, EventPump& pump, ProbeSink& sink) {
  sink.SetJavaStatus(JavaProbingText(), std::nullopt);
  sink.SetSystemInfo(SystemInfoProbingText());
  ProbeEnvironment(runner, pump, sink);
}

}  // namespace quillet
