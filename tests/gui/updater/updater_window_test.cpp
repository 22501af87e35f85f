#include "updater_window.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>

#include "core/text/digest.h"
#include "fake_launcher.h"
#include "qt_test_environment.h"
#include "raw_http_server.h"
#include "temp_run_directory.h"
#include "update_site_server.h"
#include "updater_prompts.h"

namespace quillet::updater {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::set<std::string> Listing(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    names.insert(fs::relative(entry.path(), dir).string());
  }
  return names;
}

// Answers from a script and keeps every text it was shown.
class ScriptedPrompts final : public UpdaterPrompts {
 public:
  bool AskRetry(QWidget*, const QString& text) override {
    retries.push_back(text);
    if (retryAnswers.empty()) return false;
    const bool answer = retryAnswers.front();
    retryAnswers.pop_front();
    return answer;
  }
  bool AskStartProgram(QWidget*, const QString& text) override {
    startQuestions.push_back(text);
    return startAnswer;
  }
  void ShowError(QWidget*, const QString& text) override { errors.push_back(text); }

  std::deque<bool> retryAnswers;
  bool startAnswer = true;
  std::vector<QString> retries;
  std::vector<QString> startQuestions;
  std::vector<QString> errors;
};

struct PublishedFile {
  std::string name;
  std::string bytes;
  bool executable = false;
};

std::string ListOf(const std::vector<PublishedFile>& files) {
  std::string list;
  for (const PublishedFile& f : files) {
    if (!list.empty()) list += "|";
    list += f.name + "," + std::to_string(f.bytes.size()) + "," + Sha256Hex(f.bytes) +
            (f.executable ? ",x" : "");
  }
  return list;
}

const std::string kNewProgram = "#!/bin/sh\necho new quillet\n";
const std::string kNewLibrary = std::string(200000, 'L') + "new library";

class UpdaterWindowTest : public ::testing::Test {
 protected:
  UpdaterWindowTest() {
    WriteFile(runDirectory.PathOf("quillet"), "old program");
    WriteFile(runDirectory.PathOf("lib/libquillet.so"), "old library");
    WriteFile(runDirectory.PathOf("data.dll"), "remembered account");
  }

  // The files as the server publishes them.
  std::vector<PublishedFile> Published() const {
    return {{"quillet", kNewProgram, true}, {"lib/libquillet.so", kNewLibrary, false}};
  }

  std::unique_ptr<UpdaterWindow> MakeWindow(const std::string& serverUrl, const std::string& list) {
    UpdaterSetup setup;
    setup.serverUrl = serverUrl;
    setup.words = {list, runDirectory.Directory() + "/", "修复了登录问题\n新增快捷工具",
                   runDirectory.Directory() + "/quillet"};
    setup.launcher = &launcher;
    setup.prompts = &prompts;
    auto window = std::make_unique<UpdaterWindow>(setup);
    QObject::connect(window.get(), &UpdaterWindow::finished,
                     [this](bool updated) { finishedWith.push_back(updated); });
    return window;
  }

  bool RunToEnd(UpdaterWindow& window) {
    window.show();
    window.Start();
    return test::WaitUntil([&] { return !finishedWith.empty(); });
  }

  void ExpectNothingChanged() {
    EXPECT_EQ(ReadAll(runDirectory.PathOf("quillet")), "old program");
    EXPECT_EQ(ReadAll(runDirectory.PathOf("lib/libquillet.so")), "old library");
    EXPECT_EQ(Listing(runDirectory.Directory()),
              (std::set<std::string>{"quillet", "lib", "lib/libquillet.so", "data.dll"}));
    EXPECT_TRUE(launcher.starts.empty());
  }

  test::TempRunDirectory siteDirectory;
  test::TempRunDirectory runDirectory;
  test::FakeLauncher launcher;
  ScriptedPrompts prompts;
  std::vector<bool> finishedWith;
};

TEST_F(UpdaterWindowTest, GoodUpdateReplacesEveryFileAndStartsTheProgram) {
  for (const PublishedFile& f : Published()) WriteFile(siteDirectory.PathOf(f.name), f.bytes);
  test::UpdateSiteServer server(siteDirectory.Directory());
  auto window = MakeWindow(server.BaseUrl(), ListOf(Published()));
  EXPECT_EQ(window->windowTitle(), "软件更新");
  ASSERT_TRUE(RunToEnd(*window));

  EXPECT_EQ(finishedWith, std::vector<bool>{true});
  EXPECT_EQ(window->state(), UpdaterWindow::State::kUpdated);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("quillet")), kNewProgram);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("lib/libquillet.so")), kNewLibrary);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("data.dll")), "remembered account");
  EXPECT_EQ(Listing(runDirectory.Directory()),
            (std::set<std::string>{"quillet", "lib", "lib/libquillet.so", "data.dll"}));
  EXPECT_TRUE(prompts.retries.empty());
  EXPECT_TRUE(prompts.errors.empty());
  ASSERT_EQ(prompts.startQuestions.size(), 1u);
  EXPECT_EQ(prompts.startQuestions[0], "更新完成，是否立即启动软件？");
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].program, runDirectory.PathOf("quillet"));
  EXPECT_EQ(window->findChild<QProgressBar*>("进度条")->value(),
            window->findChild<QProgressBar*>("进度条")->maximum());
  EXPECT_EQ(window->findChild<QLabel*>("状态")->text(), "更新完成");
}

TEST_F(UpdaterWindowTest, DecliningToStartOnlyEndsTheUpdater) {
  for (const PublishedFile& f : Published()) WriteFile(siteDirectory.PathOf(f.name), f.bytes);
  test::UpdateSiteServer server(siteDirectory.Directory());
  prompts.startAnswer = false;
  auto window = MakeWindow(server.BaseUrl(), ListOf(Published()));
  ASSERT_TRUE(RunToEnd(*window));
  EXPECT_EQ(finishedWith, std::vector<bool>{true});
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(UpdaterWindowTest, FileWithWrongHashIsRejectedAndNothingIsReplaced) {
  std::vector<PublishedFile> listed = Published();
  // The server holds a different library than the list describes.
  WriteFile(siteDirectory.PathOf("quillet"), kNewProgram);
  std::string tampered = kNewLibrary;
  tampered[100] = 'X';
  WriteFile(siteDirectory.PathOf("lib/libquillet.so"), tampered);
  test::UpdateSiteServer server(siteDirectory.Directory());
  prompts.retryAnswers = {true, false};  // try once more, then give up
  auto window = MakeWindow(server.BaseUrl(), ListOf(listed));
  ASSERT_TRUE(RunToEnd(*window));

  EXPECT_EQ(finishedWith, std::vector<bool>{false});
  EXPECT_EQ(window->state(), UpdaterWindow::State::kCancelled);
  ASSERT_EQ(prompts.retries.size(), 2u);
  EXPECT_TRUE(prompts.retries[0].contains("lib/libquillet.so"));
  EXPECT_TRUE(prompts.retries[0].contains("校验失败"));
  EXPECT_TRUE(prompts.startQuestions.empty());
  ExpectNothingChanged();
}

TEST_F(UpdaterWindowTest, DroppedDownloadOffersRetryAndNothingIsHalfWritten) {
  const std::vector<PublishedFile> files = Published();
  std::mutex mutex;
  int libraryRequests = 0;
  int dropsLeft = 0;
  test::RawHttpServer server([&](const test::RecordedRequest& request) {
    for (const PublishedFile& f : files) {
      if (request.Target() != "/QuilletUpdate/" + f.name) continue;
      const std::string whole = test::MakeResponse(200, "OK", {}, f.bytes);
      std::lock_guard<std::mutex> lock(mutex);
      if (f.name == "lib/libquillet.so") {
        ++libraryRequests;
        if (dropsLeft > 0) {
          --dropsLeft;
          // Headers and part of the body, then the connection is gone.
          return test::ScriptedReply{whole.substr(0, whole.size() / 2), 0, true};
        }
      }
      return test::ScriptedReply{whole};
    }
    return test::ScriptedReply{test::MakeResponse(404, "Not Found", {}, "")};
  });
  const std::string serverUrl = server.Url("");

  // Given up after the drop: the old files stay, no partial file is left.
  {
    dropsLeft = 100;
    prompts.retryAnswers = {false};
    auto window = MakeWindow(serverUrl, ListOf(files));
    ASSERT_TRUE(RunToEnd(*window));
    EXPECT_EQ(finishedWith, std::vector<bool>{false});
    ASSERT_EQ(prompts.retries.size(), 1u);
    EXPECT_TRUE(prompts.retries[0].contains("下载 lib/libquillet.so 失败"));
    ExpectNothingChanged();
  }

  // Retried after one drop: the update completes.
  finishedWith.clear();
  prompts.retries.clear();
  libraryRequests = 0;
  dropsLeft = 1;
  prompts.retryAnswers = {true};
  auto window = MakeWindow(serverUrl, ListOf(files));
  ASSERT_TRUE(RunToEnd(*window));
  EXPECT_EQ(finishedWith, std::vector<bool>{true});
  EXPECT_EQ(prompts.retries.size(), 1u);
  EXPECT_EQ(libraryRequests, 2);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("lib/libquillet.so")), kNewLibrary);
  EXPECT_EQ(ReadAll(runDirectory.PathOf("quillet")), kNewProgram);
}

TEST_F(UpdaterWindowTest, MalformedFileListChangesNothing) {
  auto window = MakeWindow("http://127.0.0.1:1", "../../etc/passwd,1," + std::string(64, 'a'));
  ASSERT_TRUE(RunToEnd(*window));
  EXPECT_EQ(finishedWith, std::vector<bool>{false});
  EXPECT_EQ(window->state(), UpdaterWindow::State::kFailed);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_TRUE(prompts.errors[0].startsWith("更新文件列表有误"));
  ExpectNothingChanged();
}

TEST_F(UpdaterWindowTest, ScreenshotWhileDownloading) {
  const std::vector<PublishedFile> files = Published();
  test::RawHttpServer server([&](const test::RecordedRequest& request) {
    if (request.Target() == "/QuilletUpdate/quillet") {
      return test::ScriptedReply{test::MakeResponse(200, "OK", {}, kNewProgram)};
    }
    // The library arrives in part, then stalls until the server stops.
    const std::string whole = test::MakeResponse(200, "OK", {}, kNewLibrary);
    return test::ScriptedReply{whole.substr(0, whole.size() * 3 / 5)};
  });
  auto window = MakeWindow(server.Url(""), ListOf(files));
  window->show();
  window->Start();
  QProgressBar* bar = window->findChild<QProgressBar*>("进度条");
  ASSERT_TRUE(test::WaitUntil([&] { return bar->value() > 300; }));
  const QPixmap shot = window->grab();
  QDir().mkpath(test::ArtifactDirectory());
  EXPECT_TRUE(shot.save(test::ArtifactDirectory() + "/updater.png"));
  // The README's picture only when asked for (scripts/update-screenshots).
  const QString docs = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
  if (!docs.isEmpty()) {
    QDir().mkpath(docs);
    EXPECT_TRUE(shot.save(docs + "/updater.png"));
  }
  window->close();  // cancels the stalled download
  EXPECT_EQ(window->state(), UpdaterWindow::State::kCancelled);
  server.Stop();
  ExpectNothingChanged();
}

}  // namespace
}  // namespace quillet::updater
