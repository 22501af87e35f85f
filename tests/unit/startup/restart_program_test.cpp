#include "core/startup/restart_program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/startup/atomic_file.h"
#include "fake_launcher.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

TEST(RestartScriptTest, HasTheFourLinesWithPauseAndQuotedProgram) {
  EXPECT_EQ(RestartScriptText("/opt/q/quillet", 1),
            "#!/bin/sh\n"
            "sleep 1 >/dev/null 2>&1\n"
            "'/opt/q/quillet' >/dev/null 2>&1 &\n"
            "rm -f Restart.sh");
}

TEST(RestartProgramTest, MissingProgramFileWritesAndStartsNothing) {
  test::TempRunDirectory dir;
  test::FakeLauncher launcher;
  EXPECT_EQ(RestartProgram(dir, launcher), RestartResult::kNoProgramFile);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.PathOf(kRestartScriptName)));
}

TEST(RestartProgramTest, StartsTheScriptFromTheRunDirectory) {
  test::TempRunDirectory dir;
  dir.CreateProgramFile();
  test::FakeLauncher launcher;
  ASSERT_EQ(RestartProgram(dir, launcher), RestartResult::kStarted);
  ASSERT_EQ(launcher.starts.size(), 1u);
  const std::string script = dir.PathOf(kRestartScriptName);
  EXPECT_EQ(launcher.starts[0].program, "/bin/sh");
  EXPECT_EQ(launcher.starts[0].arguments, std::vector<std::string>{script});
  // Its last line deletes "Restart.sh" by relative name: the working
  // directory must be the program's folder.
  EXPECT_EQ(launcher.starts[0].workingDirectory, dir.Directory());
  EXPECT_EQ(ReadFileBytes(script, 4096), RestartScriptText(dir.ProgramPath(), 1));
}

TEST(RestartProgramTest, LauncherRefusalIsReportedAsFailure) {
  test::TempRunDirectory dir;
  dir.CreateProgramFile();
  test::FakeLauncher launcher;
  launcher.succeed = false;
  EXPECT_EQ(RestartProgram(dir, launcher), RestartResult::kFailed);
}

}  // namespace
}  // namespace quillet
