#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "community_site.h"
#include "core/home/home_links.h"
#include "core/home/page_fetch.h"
#include "core/home/site_statistics.h"
#include "core/home/slide_texts.h"
#include "core/net/wininet_fetch.h"
#include "core/text/encodings.h"
#include "core/text/text.h"
#include "password_hash.h"
#include "probe_site.h"
#include "quillet_server.h"

namespace quillet {
namespace {

// The service as quillet-server's main() puts it together, on free ports.
class BundledSite : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quillet-pages-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    server::ServerConfig config;
    config.port = 0;
    config.dbPath = (folder_ / "accounts.db").string();
    account_ = std::make_unique<server::QuilletServer>(config);
    std::string error;
    ASSERT_TRUE(account_->Start(&error)) << error;

    server::ProbeSiteConfig site;
    site.port = 0;
    site.marker = "搜索一下";
    site.page = [this, marker = site.marker] {
      return server::CommunityHomeHtml(marker, account_->Store().CountAccounts(), 7);
    };
    site.routes = server::RegisterCommunityPages;
    community_ = std::make_unique<server::ProbeSite>(site);
    ASSERT_TRUE(community_->Start(&error)) << error;
  }
  void TearDown() override {
    community_.reset();
    account_.reset();
    std::filesystem::remove_all(folder_);
  }

  void AddAccounts(int count) {
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(account_->Store().CreateAccount(std::to_string(100000000 + i), "n",
                                                server::HashPassword("pw", 1), "m", 0),
                server::StoreResult::kOk);
    }
  }

  Text CommunityUrl() const { return community_->Url(); }
  Text AccountUrl() const { return account_->BaseUrl(); }

  std::filesystem::path folder_;
  std::unique_ptr<server::QuilletServer> account_;
  std::unique_ptr<server::ProbeSite> community_;
};

TEST_F(BundledSite, HomePageListsTheFeaturedPostsInSlideOrder) {
  const std::vector<SlideText> slides = LoadSlideTexts(WinInetPageFetch(), CommunityUrl());
  const auto& posts = server::FeaturedPosts();
  ASSERT_EQ(slides.size(), posts.size());
  for (std::size_t i = 0; i < slides.size(); ++i) {
    EXPECT_EQ(slides[i].title, Utf8ToAnsi(posts[i].title));
    EXPECT_EQ(slides[i].value, static_cast<long>(i + 1));
  }
}

TEST_F(BundledSite, StatisticsCountTheAccountsTable) {
  AddAccounts(3);
  const auto lines = LoadSiteStatistics(WinInetPageFetch(), AccountUrl(), CommunityUrl());
  EXPECT_EQ(lines[0], Gbk("\r\n盒子共『3』人注册"));
  EXPECT_EQ(lines[1], Gbk("\r\nCorvane共『3』人注册"));
  EXPECT_EQ(lines[2], Gbk("\r\n昨日共『7』帖子数"));
}

TEST_F(BundledSite, SlideLinksLeadToThreadPagesOfTheSite) {
  HomeLinkPaths links{};
  ASSERT_TRUE(LoadSlideLinks(WinInetPageFetch(), CommunityUrl(), links, {}));
  for (std::size_t i = 0; i < server::FeaturedPosts().size(); ++i) {
    const Text url = CommunityUrl() + links[i];
    const Text page = FetchDecodedPage(WinInetPageFetch(), url);
    EXPECT_TRUE(TextContains(page, Utf8ToAnsi(server::FeaturedPosts()[i].title))) << url;
  }
  // The JDK-download link of the main window.
  const Text jdk =
      FetchDecodedPage(WinInetPageFetch(), CommunityUrl() + "forum.php?mod=viewthread&tid=4");
  EXPECT_TRUE(TextContains(jdk, Gbk("JDK 下载与安装指南")));
}

TEST_F(BundledSite, TheHomePageStillCarriesTheProbeMarker) {
  const Bytes body = WinInetFetch({.url = CommunityUrl()});
  const std::string raw(body.begin(), body.end());
  EXPECT_NE(raw.find("搜索一下"), std::string::npos);
}

}  // namespace
}  // namespace quillet
