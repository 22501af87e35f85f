#include "file_download.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/text/digest.h"
#include "raw_http_server.h"
#include "temp_run_directory.h"

namespace quillet::updater {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string kBody = [] {
  std::string body;
  for (int i = 0; i < 300000; ++i) body += static_cast<char>(i * 7 % 251);
  return body;
}();

class FileDownloadTest : public ::testing::Test {
 protected:
  FileDownloadTest() { std::ofstream(Destination()) << "stale"; }
  std::string Destination() const { return dir.PathOf("file.part"); }
  DownloadRequest Request(const test::RawHttpServer& server) const {
    DownloadRequest request;
    request.url = server.Url("/QuilletUpdate/file");
    request.destination = Destination();
    request.maxBytes = kBody.size();
    request.stallTimeoutMs = 2000;
    return request;
  }
  test::TempRunDirectory dir;
};

TEST_F(FileDownloadTest, WritesTheBodyAndItsHash) {
  test::RawHttpServer server([](const test::RecordedRequest&) {
    return test::ScriptedReply{test::MakeResponse(200, "OK", {}, kBody)};
  });
  std::uint64_t lastProgress = 0;
  DownloadRequest request = Request(server);
  request.progress = [&](std::uint64_t received) { lastProgress = received; };
  const DownloadResult result = DownloadFile(request);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.bytes, kBody.size());
  EXPECT_EQ(result.sha256, Sha256Hex(kBody));
  EXPECT_EQ(lastProgress, kBody.size());
  EXPECT_EQ(ReadAll(Destination()), kBody);
  EXPECT_EQ(server.LastRequest().Target(), "/QuilletUpdate/file");
}

TEST_F(FileDownloadTest, FailuresAreReportedNotTakenForSuccess) {
  const struct {
    const char* name;
    test::ScriptedReply reply;
    const char* errorPart;
  } cases[] = {
      {"not found", {test::MakeResponse(404, "Not Found", {}, "missing")}, "404"},
      {"server error", {test::MakeResponse(500, "Oops", {}, "")}, "500"},
      {"dropped mid-body",
       {test::MakeResponse(200, "OK", {}, kBody).substr(0, 1000), 0, true},
       "下载中断"},
      {"longer than the list says", {test::MakeResponse(200, "OK", {}, kBody + "extra")}, "大小"},
      {"closed before answering", {"", 0, true}, "下载中断"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const test::ScriptedReply reply = c.reply;
    test::RawHttpServer server([reply](const test::RecordedRequest&) { return reply; });
    const DownloadResult result = DownloadFile(Request(server));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.cancelled);
    EXPECT_NE(result.error.find(c.errorPart), std::string::npos) << result.error;
  }
}

TEST_F(FileDownloadTest, NoServerAndNoFile) {
  DownloadRequest request;
  request.url = "http://127.0.0.1:1/QuilletUpdate/file";
  request.destination = Destination();
  request.maxBytes = 10;
  DownloadResult result = DownloadFile(request);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "无法连接更新服务器");

  request.destination = dir.PathOf("missing/file.part");
  result = DownloadFile(request);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "无法写入临时文件");
}

TEST_F(FileDownloadTest, CancelStopsAStalledTransfer) {
  std::atomic<bool> cancel{false};
  test::RawHttpServer server([](const test::RecordedRequest&) {
    // Headers and a little body, then nothing for a long time.
    return test::ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 300000\r\n\r\nabc", 0, false};
  });
  DownloadRequest request = Request(server);
  request.stallTimeoutMs = 60000;
  request.cancel = &cancel;
  request.progress = [&](std::uint64_t) { cancel = true; };
  const DownloadResult result = DownloadFile(request);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.cancelled);
}

}  // namespace
}  // namespace quillet::updater
