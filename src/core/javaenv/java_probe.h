#pragma once

#include <cstdint>
#include <optional>

#include "core/platform/event_pump.h"
#include "core/platform/process_runner.h"
#include "core/text/text.h"

namespace quillet {

inline constexpr std::uint32_t kColourConfigured = 0xFF00E080;     // ARGB green
inline constexpr std::uint32_t kColourNotConfigured = 0xFFFF0000;  // ARGB red

// The status line's texts. The set-up reads the line back and compares it
// with JavaConfiguredText(), so these texts are an interface of their own.
Text JavaProbingText();        // "# 正 在 检 测 Java 环 境 中..."
Text JavaConfiguredText();     // "# 已 成 功 配 置 Java 环 境"
Text JavaNotConfiguredText();  // "# 未 配 置 Java 相 关 环 境"
Text SystemInfoProbingText();  // "# 正 在 检 测 系 统 信 息 中..."

// The part of the interpreter's answer for a command it cannot find.
Text MissingCommandMarker();  // "不是内部或外部命令"

// Where the probe's results go: the Java status line and the system
// information label of the environment page.
class ProbeSink {
 public:
  virtual ~ProbeSink() = default;
  // Sets the status line; a colour that is left out keeps the current one.
  virtual void SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) = 0;
  virtual void SetSystemInfo(const Text& text) = 0;
};

// Decides the status line from the first piece of `javac` output; returns
// non-zero so that the capture stops after that piece.
std::int32_t HandleJavacOutput(ProbeSink& sink, const Text& piece);

// Fills the system information with the whole output of "systeminfo", then
// runs "javac" and lets its first piece decide the status line. A `javac`
// that prints nothing leaves the status line as it was.
void ProbeEnvironment(ProcessRunner& runner, EventPump& pump, ProbeSink& sink);

// The refresh button: both labels show their probing texts (the status
// line keeps its colour), then the probe runs.
void RefreshEnvironment(ProcessRunner& runner, EventPump& pump, ProbeSink& sink);

}  // namespace quillet
