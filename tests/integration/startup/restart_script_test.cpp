// The restart helper end to end: the real script, the real shell, the real
// detached start. The "program" is a stand-in script that leaves a mark.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/startup/atomic_file.h"
#include "core/startup/restart_program.h"
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

TEST(RestartScriptEndToEndTest, StartsTheProgramAgainAndRemovesItself) {
  test::TempRunDirectory dir;  // its name holds a blank and Chinese
  const std::string mark = dir.PathOf("started again");
  dir.CreateProgramFile("#!/bin/sh\necho \"$PWD\" > '" + mark + "'\n");
  PosixProcessLauncher launcher;
  ASSERT_EQ(RestartProgram(dir, launcher), RestartResult::kStarted);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(mark) && fs::file_size(mark) > 0; }));
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(dir.PathOf(kRestartScriptName)); }));
}

TEST(ShellQuoteTest, HostileTextsStayOneWordForSh) {
  test::TempRunDirectory dir;
  const std::string out = dir.PathOf("out");
  const std::string texts[] = {"plain", "two words", "it's",      "\"quoted\"",  "$(touch pwned)",
                               "`id`",  "a;b&c|d",   "路径 中文", "back\\slash", "'"};
  PosixProcessLauncher launcher;
  for (const std::string& text : texts) {
    fs::remove(out);
    const std::string command = "printf %s " + ShellQuote(text) + " > '" + out + "'";
    ASSERT_TRUE(launcher.StartDetached("/bin/sh", {"-c", command}, dir.Directory()));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(out) && ReadFileBytes(out, 4096) == text; }))
        << text;
  }
  EXPECT_FALSE(fs::exists(dir.PathOf("pwned")));
}

}  // namespace
}  // namespace quillet
