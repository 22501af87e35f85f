// The home page's scraping over the program's real web routine, against
// loopback servers that play the community site (HTTPS, self-signed) and the
// account server (plain HTTP).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/home/home_links.h"
#include "core/home/page_fetch.h"
#include "core/home/site_statistics.h"
#include "core/home/slide_texts.h"
#include "raw_http_server.h"

namespace quillet {
namespace {

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QUILLET_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

test::ScriptedReply Page(const std::string& body) {
  return {test::MakeResponse(200, "OK", {"Content-Type: text/html; charset=utf-8"}, body)};
}

class HomePageServers : public ::testing::Test {
 protected:
  HomePageServers()
      : community_(
            [](const test::RecordedRequest&) {
              return Page(ReadFixture("home_three_slides.html"));
            },
            test::RawHttpServer::Transport::kTls),
        account_([](const test::RecordedRequest& request) {
          if (request.Target() != "/index.php") return Page("not found");
          return Page("<h3 class=\"mt-1 mb-2\">1234</h3>");
        }) {}

  void SetUp() override {
    ASSERT_TRUE(community_.started());
    ASSERT_TRUE(account_.started());
  }

  test::RawHttpServer community_;
  test::RawHttpServer account_;
};

TEST_F(HomePageServers, SlideTitlesAndLinksOverTheWire) {
  const Text communityUrl = community_.Url("/");
  const std::vector<SlideText> items = LoadSlideTexts(WinInetPageFetch(), communityUrl);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].title, Gbk("环境变量配置详解"));

  HomeLinkPaths links;
  EXPECT_EQ(OpenSlideItem(WinInetPageFetch(), communityUrl, links, 1, {}),
            communityUrl + "forum.php?mod=viewthread&tid=22");
  const auto requests = community_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].requestLine, "GET / HTTP/1.1");
}

TEST_F(HomePageServers, StatisticsOverTheWire) {
  const auto lines = LoadSiteStatistics(WinInetPageFetch(), account_.Url("/"), community_.Url("/"));
  EXPECT_EQ(lines[0], Gbk("\r\n盒子共『1234』人注册"));
  EXPECT_EQ(lines[1], Gbk("\r\nCorvane共『2048』人注册"));
  EXPECT_EQ(lines[2], Gbk("\r\n昨日共『37』帖子数"));
  EXPECT_EQ(account_.LastRequest().Target(), "/index.php");
  EXPECT_EQ(community_.Requests().size(), 2u);
}

TEST(HomePageNoServer, UnreachableSitesGiveEmptyContent) {
  // A port that was free a moment ago: nothing listens there now.
  std::string url;
  {
    test::RawHttpServer gone([](const test::RecordedRequest&) { return Page(""); });
    url = gone.Url("/");
  }
  EXPECT_TRUE(LoadSlideTexts(WinInetPageFetch(), url).empty());
  const auto lines = LoadSiteStatistics(WinInetPageFetch(), url, url);
  EXPECT_EQ(lines[1], Gbk("\r\nCorvane共『』人注册"));
}

}  // namespace
}  // namespace quillet
