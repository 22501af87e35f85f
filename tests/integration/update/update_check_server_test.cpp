#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/platform/event_pump.h"
#include "core/text/text.h"
#include "core/update/update_check.h"
#include "fake_launcher.h"
#include "platform/linux/exclusive_file_writer.h"
#include "temp_run_directory.h"
#include "update_site_server.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCarried = "carried updater bytes";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class UpdateCheckServerTest : public ::testing::Test {
 protected:
  UpdateCheckServerTest() { fs::create_directories(siteDir.PathOf("QuilletUpdate-root")); }
  void Publish(const Text& description) {
    std::ofstream(SiteRoot() + "/update.txt", std::ios::binary) << description;
  }
  std::string SiteRoot() const { return siteDir.PathOf("QuilletUpdate-root"); }
  UpdateCheckServices Services(const std::string& serverUrl) {
    UpdateCheckServices s;
    s.updateServerUrl = serverUrl;
    s.fetch = WinHttpUpdateFetch(&pump);
    s.ownVersion = [] { return Text("1.0.0.9"); };
    s.runDirectory = &runDirectory;
    s.fileWriter = &writer;
    s.launcher = &launcher;
    s.updaterBytes = kCarried;
    s.endProgram = [this] { ended = true; };
    return s;
  }

  test::TempRunDirectory siteDir;
  test::TempRunDirectory runDirectory;
  SleepingEventPump pump;
  ExclusiveFileWriter writer;
  test::FakeLauncher launcher;
  bool ended = false;
};

TEST_F(UpdateCheckServerTest, PublishedNewerVersionHandsOverToTheUpdater) {
  // As a publisher writes it: GBK section words, CR LF lines, a percent
  // escape, the file list over two lines.
  Publish(Gbk("更新版本{1.0.0.10}\r\n新版介绍{修复 %B5%C7录问题}\r\n"
              "文件列表{quillet,3,") +
          std::string(64, 'a') + "|\r\nUpdate,2," + std::string(64, 'b') +
          Gbk("}\r\n启动软件{quillet}\r\n"));
  test::UpdateSiteServer server(SiteRoot());
  UpdateRecord record;
  ASSERT_EQ(CheckForUpdate(Services(server.BaseUrl()), &record), UpdateCheckOutcome::kHandedOver);
  EXPECT_TRUE(ended);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("Update")), kCarried);
  ASSERT_EQ(launcher.starts.size(), 1u);
  const std::string dir = runDirectory.Directory();
  const std::vector<std::string> expected = {
      "3", "quillet,3," + std::string(64, 'a') + "|Update,2," + std::string(64, 'b'), dir + "/",
      "修复 登录问题", dir + "/quillet"};
  EXPECT_EQ(launcher.starts[0].arguments, expected);
  EXPECT_EQ(launcher.starts[0].program, dir + "/Update");
  EXPECT_EQ(record[UpdateRecord::kPublishedVersion], "1.0.0.10");
}

TEST_F(UpdateCheckServerTest, NoDescriptionNoServerNoUpdate) {
  {
    // The folder has no update.txt: 404.
    test::UpdateSiteServer server(SiteRoot());
    EXPECT_EQ(CheckForUpdate(Services(server.BaseUrl())), UpdateCheckOutcome::kNoUpdate);
  }
  // Nothing listens.
  EXPECT_EQ(CheckForUpdate(Services("http://127.0.0.1:1")), UpdateCheckOutcome::kNoUpdate);
  // Same version published.
  Publish(Gbk("更新版本{1.0.0.9}"));
  test::UpdateSiteServer server(SiteRoot());
  EXPECT_EQ(CheckForUpdate(Services(server.BaseUrl())), UpdateCheckOutcome::kNoUpdate);
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_FALSE(ended);
  EXPECT_FALSE(fs::exists(runDirectory.PathOf("Update")));
}

}  // namespace
}  // namespace quillet
