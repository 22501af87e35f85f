#include "core/update/update_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "core/text/encodings.h"
#include "core/update/updater_command_line.h"
#include "fake_launcher.h"
#include "platform/linux/exclusive_file_writer.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

constexpr std::string_view kCarriedUpdater = "#!/bin/sh\n# carried updater\n";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A writer that cannot write (a read-only folder, a full disk).
class RefusingWriter final : public NewFileWriter {
 public:
  bool Exists(const std::string&) const override { return false; }
  bool WriteNew(const std::string&, std::string_view, bool) override { return false; }
};

class UpdateCheckTest : public ::testing::Test {
 protected:
  UpdateCheckServices Services(const Text& page, const Text& ownVersion) {
    UpdateCheckServices s;
    s.updateServerUrl = "http://update.invalid:81";
    s.fetch = [this, page](const Text& url) {
      fetchedUrls.push_back(url);
      return page;
    };
    s.ownVersion = [ownVersion] { return ownVersion; };
    s.runDirectory = &runDirectory;
    s.fileWriter = &writer;
    s.launcher = &launcher;
    s.updaterBytes = kCarriedUpdater;
    s.endProgram = [this] { ++endCalls; };
    return s;
  }
  std::string UpdaterPath() const { return runDirectory.PathOf(kUpdaterFileName); }

  test::TempRunDirectory runDirectory;
  ExclusiveFileWriter writer;
  test::FakeLauncher launcher;
  std::vector<Text> fetchedUrls;
  int endCalls = 0;
};

TEST_F(UpdateCheckTest, DecidesByTheMendedVersionOrder) {
  const struct {
    const char* published;
    const char* own;
    bool update;
  } cases[] = {
      {"1.0.0.1", "1.0.0.0", true},
      {"1.0.0.0", "1.0.0.0", false},
      {"1.0.0.10", "1.0.0.9", true},
      {"1.0.0.0", "1.0.0.1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.published) + " over " + c.own);
    launcher.starts.clear();
    endCalls = 0;
    const Text page = Gbk("更新版本{") + c.published + Gbk("}文件列表{a,1,x}启动软件{quillet}");
    const UpdateCheckOutcome outcome = CheckForUpdate(Services(page, c.own));
    EXPECT_EQ(outcome, c.update ? UpdateCheckOutcome::kHandedOver : UpdateCheckOutcome::kNoUpdate);
    EXPECT_EQ(launcher.starts.size(), c.update ? 1u : 0u);
    EXPECT_EQ(endCalls, c.update ? 1 : 0);
  }
  ASSERT_FALSE(fetchedUrls.empty());
  EXPECT_EQ(fetchedUrls[0], "http://update.invalid:81/QuilletUpdate/update.txt");
}

TEST_F(UpdateCheckTest, ServerAddressWithTrailingSlashGivesOnePathSeparator) {
  UpdateCheckServices services = Services("", "1.0.0.0");
  services.updateServerUrl = "http://update.invalid:81/";
  CheckForUpdate(services);
  ASSERT_EQ(fetchedUrls.size(), 1u);
  EXPECT_EQ(fetchedUrls[0], "http://update.invalid:81/QuilletUpdate/update.txt");
}

TEST_F(UpdateCheckTest, NoUpdateWithoutVersionSectionOrDescription) {
  for (const Text& page : {Text(), Gbk("新版介绍{x}文件列表{a,1,x}"), Text("garbage } { %%")}) {
    EXPECT_EQ(CheckForUpdate(Services(page, "1.0.0.0")), UpdateCheckOutcome::kNoUpdate);
  }
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(endCalls, 0);
  EXPECT_FALSE(writer.Exists(UpdaterPath()));
}

TEST_F(UpdateCheckTest, UnreadableOwnVersionNeverHandsOver) {
  EXPECT_EQ(CheckForUpdate(Services(Gbk("更新版本{1.0.0.1}"), "")), UpdateCheckOutcome::kNoUpdate);
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(UpdateCheckTest, HandsOverWithFiveSeparateWords) {
  // Percent escapes, a description with spaces and a line break, a file list
  // over several lines.
  const Text page =
      Gbk("更新版本{1.0.0.%31}\r\n新版介绍{新 功能%0A第二行}\r\n"
          "文件列表{quillet,5,aa|\r\ndata/a.txt,1,bb}\r\n启动软件{quillet}");
  UpdateRecord record;
  ASSERT_EQ(CheckForUpdate(Services(page, "1.0.0.0"), &record), UpdateCheckOutcome::kHandedOver);

  ASSERT_EQ(launcher.starts.size(), 1u);
  const test::FakeLauncher::Start& start = launcher.starts[0];
  const std::string dir = runDirectory.Directory();
  EXPECT_EQ(start.program, UpdaterPath());
  EXPECT_EQ(start.workingDirectory, dir);
  const std::vector<std::string> expected = {"3", "quillet,5,aa|data/a.txt,1,bb", dir + "/",
                                             "新 功能\n第二行", dir + "/quillet"};
  EXPECT_EQ(start.arguments, expected);
  const std::optional<UpdaterWords> parsed = ParseUpdaterArguments(start.arguments);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->description, "新 功能\n第二行");
  EXPECT_EQ(endCalls, 1);

  const Text dirText = Utf8ToAnsi(dir);
  EXPECT_EQ(record[UpdateRecord::kOwnVersion], "1.0.0.0");
  EXPECT_EQ(record[UpdateRecord::kPublishedVersion], "1.0.0.1");
  EXPECT_EQ(record[UpdateRecord::kDescription], Gbk("新 功能\n第二行"));
  EXPECT_EQ(record[UpdateRecord::kFileList], "quillet,5,aa|data/a.txt,1,bb");
  EXPECT_EQ(record[UpdateRecord::kTargetDirectory], dirText + "/");
  EXPECT_EQ(record[UpdateRecord::kFirstWord], "3");
  EXPECT_EQ(record[UpdateRecord::kUnused], "");
  EXPECT_EQ(record[UpdateRecord::kStartProgram], dirText + "/quillet");
  EXPECT_EQ(record[UpdateRecord::kCommandLine], "3 quillet,5,aa|data/a.txt,1,bb " + dirText + "/ " +
                                                    Gbk("新 功能\n第二行 ") + dirText + "/quillet");
}

TEST_F(UpdateCheckTest, WritesTheCarriedUpdaterOnlyWhenMissing) {
  const Text page = Gbk("更新版本{2.0.0.0}");
  ASSERT_EQ(CheckForUpdate(Services(page, "1.0.0.0")), UpdateCheckOutcome::kHandedOver);
  EXPECT_EQ(ReadAll(UpdaterPath()), kCarriedUpdater);
  EXPECT_EQ(
      std::filesystem::status(UpdaterPath()).permissions() & std::filesystem::perms::owner_exec,
      std::filesystem::perms::owner_exec);

  // A different updater already there is kept as it is.
  std::filesystem::remove(UpdaterPath());
  { std::ofstream(UpdaterPath(), std::ios::binary) << "older updater"; }
  ASSERT_EQ(CheckForUpdate(Services(page, "1.0.0.0")), UpdateCheckOutcome::kHandedOver);
  EXPECT_EQ(ReadAll(UpdaterPath()), "older updater");
  EXPECT_EQ(launcher.starts.size(), 2u);
}

TEST_F(UpdateCheckTest, FailedHandOverKeepsTheProgramRunning) {
  const Text page = Gbk("更新版本{2.0.0.0}");
  // The updater cannot be started.
  launcher.succeed = false;
  UpdateRecord record;
  EXPECT_EQ(CheckForUpdate(Services(page, "1.0.0.0"), &record),
            UpdateCheckOutcome::kHandOverFailed);
  EXPECT_EQ(endCalls, 0);
  EXPECT_EQ(record[UpdateRecord::kCommandLine], "");

  // The updater cannot be written: nothing is started.
  launcher.succeed = true;
  launcher.starts.clear();
  RefusingWriter refusing;
  UpdateCheckServices services = Services(page, "1.0.0.0");
  services.fileWriter = &refusing;
  EXPECT_EQ(CheckForUpdate(services), UpdateCheckOutcome::kHandOverFailed);
  EXPECT_TRUE(launcher.starts.empty());

  // No carried updater (a build without one) writes no empty file.
  std::filesystem::remove(UpdaterPath());
  services = Services(page, "1.0.0.0");
  services.updaterBytes = {};
  EXPECT_EQ(CheckForUpdate(services), UpdateCheckOutcome::kHandOverFailed);
  EXPECT_FALSE(writer.Exists(UpdaterPath()));
  EXPECT_EQ(endCalls, 0);
}

}  // namespace
}  // namespace quillet
