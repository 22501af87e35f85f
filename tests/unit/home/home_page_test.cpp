#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "core/home/home_links.h"
#include "core/home/page_fetch.h"
#include "core/home/site_statistics.h"
#include "core/home/slide_script.h"
#include "core/home/slide_texts.h"

namespace quillet {
namespace {

const Text kCommunity = "https://community.test/";
const Text kAccountBase = "http://account.test/";

Bytes Utf8(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QUILLET_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Serves fixed bodies by address and records every address asked for; an
// unknown address answers nothing, as an unreachable site does.
struct FixedSite {
  std::map<Text, Bytes> pages;
  std::vector<Text> requests;
  PageFetch Fetch() {
    return [this](const Text& url) {
      requests.push_back(url);
      auto it = pages.find(url);
      return it == pages.end() ? Bytes() : it->second;
    };
  }
};

struct MessageLog {
  struct Entry {
    Text text, caption;
    int style;
  };
  std::vector<Entry> entries;
  ShowMessageBox Sink() {
    return [this](const Text& text, const Text& caption, int style) {
      entries.push_back({text, caption, style});
    };
  }
};

std::string SlideLinksPage(int links) {
  std::string page = "<script>var slideImgLinks = new Array();\n";
  for (int n = 1; n <= links; ++n) {
    page += "slideImgLinks[" + std::to_string(n) + "] = 'thread-" + std::to_string(n) + "';\n";
  }
  return page + "</script>";
}

TEST(FetchPageText, StopsAtTheFirstZeroByteAndDecodesUtf8) {
  FixedSite site;
  site.pages[kCommunity] = Utf8("会员 2048");
  site.pages[kCommunity].push_back(0);
  site.pages[kCommunity].push_back('x');
  EXPECT_EQ(FetchPageText(site.Fetch(), kCommunity), "会员 2048");
  EXPECT_EQ(FetchDecodedPage(site.Fetch(), kCommunity), Gbk("会员 2048"));
  EXPECT_EQ(site.requests, (std::vector<Text>{kCommunity, kCommunity}));
  EXPECT_EQ(FetchPageText(PageFetch(), kCommunity), "");
  EXPECT_EQ(FetchDecodedPage(site.Fetch(), "http://nowhere.test/"), "");
}

TEST(LoadSlideTexts, ThreeSlidesInSlideOrder) {
  FixedSite site;
  site.pages[kCommunity] = ReadFixture("home_three_slides.html");
  const std::vector<SlideText> items = LoadSlideTexts(site.Fetch(), kCommunity);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].title, Gbk("Java 入门：第一个程序"));
  EXPECT_EQ(items[1].title, Gbk("环境变量配置详解"));
  EXPECT_EQ(items[2].title, Gbk("每日打卡活动"));
  for (long n = 1; n <= 3; ++n) EXPECT_EQ(items[n - 1].value, n);
  EXPECT_EQ(site.requests, std::vector<Text>{kCommunity});
}

TEST(LoadSlideTexts, PagesWithoutASlideShow) {
  const char* pages[] = {
      "",                                                   // unreachable site
      "<html><body>nothing here</body></html>",             // no markers
      "<script>var slideImgTexts = new Array();</script>",  // declaration only
  };
  for (const char* body : pages) {
    FixedSite site;
    site.pages[kCommunity] = Utf8(body);
    EXPECT_TRUE(LoadSlideTexts(site.Fetch(), kCommunity).empty()) << body;
  }
}

TEST(LoadSlideTexts, AMissingTitleStillGivesItsItem) {
  FixedSite site;
  site.pages[kCommunity] = Utf8(
      "var slideImgTexts = [];\nslideImgTexts[1] = 'one';\n"
      "slideImgTexts[3] = 'three';\n// slideImgTexts[2] was removed\n");
  const std::vector<SlideText> items = LoadSlideTexts(site.Fetch(), kCommunity);
  ASSERT_EQ(items.size(), 3u);  // four mentions of the name, minus the declaration
  EXPECT_EQ(items[0].title, "one");
  EXPECT_EQ(items[1].title, "");
  EXPECT_EQ(items[2].title, "three");
}

// The one-pass scan must agree with searching each marker on its own.
TEST(SlideValues, AgreesWithMarkerSearch) {
  const std::string trailByteTrap = std::string("\x81") + "slideImgTexts[1] = 'not a marker';";
  const std::string pages[] = {
      "slideImgTexts slideImgTexts[1] = 'a'; slideImgTexts[2] = 'b'; slideImgTexts[1] = 'late';",
      trailByteTrap + " slideImgTexts[1] = 'real'; slideImgTexts",
      "SLIDEIMGTEXTS[1] = 'upper'; slideImgtexts[1] = 'mixed'; slideImgTexts[1] = 'exact'; x",
      "slideImgTexts[01] = 'zero'; slideImgTexts[1]='tight'; slideImgTexts[1] = 'ok'; s s",
      "slideImgTexts[2] = 'two'; slideImgTexts[1] = 'unterminated",
      "slideImgTexts[12] = 'twelve'; slideImgTexts[1] = 'one'; slideImgTexts[99999999999999999999] "
      "= 'huge' slideImgTexts",
      Gbk("slideImgTexts[1] = '中文标题'; slideImgTexts[2] = '再见'; slideImgTexts"),
      // A lead byte takes the quote after it as its second byte.
      "slideImgTexts[1] = 'ab\x81'; c'; slideImgTexts[2] = 'x\x81'; slideImgTexts",
  };
  for (const std::string& page : pages) {
    const long count = SlideCount(page, kSlideTextsArray);
    const std::vector<Text> values = SlideValues(page, kSlideTextsArray, count);
    ASSERT_EQ(values.size(), static_cast<std::size_t>(std::max(0L, count))) << page;
    for (long n = 1; n <= count; ++n) {
      EXPECT_EQ(values[n - 1],
                TextBetween(page, "slideImgTexts[" + std::to_string(n) + "] = '", "'"))
          << page << " slide " << n;
    }
  }
  EXPECT_EQ(SlideValues(trailByteTrap + " slideImgTexts[1] = 'real'; s", kSlideTextsArray, 1),
            std::vector<Text>{"real"});
}

TEST(LoadSlideLinks, StoresTheLinksAndKeepsLaterSlots) {
  FixedSite site;
  site.pages[kCommunity] = ReadFixture("home_three_slides.html");
  HomeLinkPaths links;
  links.fill("earlier");
  MessageLog log;
  EXPECT_TRUE(LoadSlideLinks(site.Fetch(), kCommunity, links, log.Sink()));
  EXPECT_EQ(links[0], "forum.php?mod=viewthread&tid=11");
  EXPECT_EQ(links[1], "forum.php?mod=viewthread&tid=22");
  EXPECT_EQ(links[2], "forum.php?mod=viewthread&tid=33");
  for (std::size_t i = 3; i < kHomeLinkSlots; ++i) EXPECT_EQ(links[i], "earlier") << i;
  EXPECT_TRUE(log.entries.empty());
}

TEST(LoadSlideLinks, TwentyNineLinksFitThirtyOverflow) {
  FixedSite site;
  site.pages[kCommunity] = Utf8(SlideLinksPage(29));
  HomeLinkPaths links;
  links.fill("earlier");
  MessageLog log;
  EXPECT_TRUE(LoadSlideLinks(site.Fetch(), kCommunity, links, log.Sink()));
  for (int n = 1; n <= 29; ++n) EXPECT_EQ(links[n - 1], "thread-" + std::to_string(n));
  EXPECT_EQ(links[29], "earlier");
  EXPECT_TRUE(log.entries.empty());

  site.pages[kCommunity] = Utf8(SlideLinksPage(30));
  const HomeLinkPaths before = links;
  EXPECT_FALSE(LoadSlideLinks(site.Fetch(), kCommunity, links, log.Sink()));
  EXPECT_EQ(links, before);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].text, Gbk("数据溢出"));
  EXPECT_EQ(log.entries[0].caption, " ");
  EXPECT_EQ(log.entries[0].style, 48);

  site.pages[kCommunity] = Utf8(SlideLinksPage(500));
  EXPECT_FALSE(LoadSlideLinks(site.Fetch(), kCommunity, links, ShowMessageBox()));
  EXPECT_EQ(links, before);
}

TEST(LoadSlideLinks, UnreachableSiteChangesNothing) {
  FixedSite site;
  HomeLinkPaths links;
  links.fill("kept");
  MessageLog log;
  EXPECT_TRUE(LoadSlideLinks(site.Fetch(), kCommunity, links, log.Sink()));
  for (const Text& slot : links) EXPECT_EQ(slot, "kept");
  EXPECT_TRUE(log.entries.empty());
}

TEST(OpenSlideItem, DoubleClickOpensTheSlidesLink) {
  FixedSite site;
  site.pages[kCommunity] = ReadFixture("home_three_slides.html");
  HomeLinkPaths links;
  MessageLog log;
  EXPECT_EQ(OpenSlideItem(site.Fetch(), kCommunity, links, 1, log.Sink()),
            kCommunity + "forum.php?mod=viewthread&tid=22");

  // The site went away: the earlier link is opened.
  site.pages.clear();
  EXPECT_EQ(OpenSlideItem(site.Fetch(), kCommunity, links, 2, log.Sink()),
            kCommunity + "forum.php?mod=viewthread&tid=33");
  // Never filled: the base address alone.
  EXPECT_EQ(OpenSlideItem(site.Fetch(), kCommunity, links, 5, log.Sink()), kCommunity);
}

TEST(SlideItemAddress, NeverReadsOutsideTheTable) {
  HomeLinkPaths links;
  links[29] = "last";
  struct Case {
    long item;
    std::optional<Text> address;
  };
  const Case cases[] = {{29, kCommunity + "last"},
                        {0, kCommunity},
                        {30, std::nullopt},
                        {1000, std::nullopt},
                        {-1, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(SlideItemAddress(kCommunity, links, c.item), c.address);
}

TEST(LoadSiteStatistics, FourLinesFromThreeFetches) {
  FixedSite site;
  site.pages[kAccountBase + "index.php"] =
      Utf8("<div><h3 class=\"mt-1 mb-2\">1234</h3><p>已注册</p></div>");
  site.pages[kCommunity] = ReadFixture("home_three_slides.html");
  std::vector<std::pair<std::size_t, Text>> added;
  const auto lines = LoadSiteStatistics(
      site.Fetch(), kAccountBase, kCommunity,
      [&](std::size_t position, const Text& line) { added.emplace_back(position, line); });
  const std::array<Text, 4> expected = {
      Gbk("\r\n盒子共『1234』人注册"), Gbk("\r\nCorvane共『2048』人注册"),
      Gbk("\r\n昨日共『37』帖子数"), Gbk("\r\n用户名『游客』未登录")};
  EXPECT_EQ(lines, expected);
  ASSERT_EQ(added.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(added[i].first, i);
    EXPECT_EQ(added[i].second, expected[i]);
  }
  EXPECT_EQ(site.requests, (std::vector<Text>{kAccountBase + "index.php", kCommunity, kCommunity}));
}

TEST(LoadSiteStatistics, UnreachableSitesLeaveEmptyBrackets) {
  FixedSite site;
  const auto lines = LoadSiteStatistics(site.Fetch(), kAccountBase, kCommunity);
  EXPECT_EQ(lines[0], Gbk("\r\n盒子共『』人注册"));
  EXPECT_EQ(lines[1], Gbk("\r\nCorvane共『』人注册"));
  EXPECT_EQ(lines[2], Gbk("\r\n昨日共『』帖子数"));
  EXPECT_EQ(lines[3], GuestUserLine());
}

TEST(LoadSiteStatistics, MarkupInsideACountIsShownUnchanged) {
  FixedSite site;
  site.pages[kAccountBase + "index.php"] =
      Utf8("<h3 class=\"mt-1 mb-2\"><span class=\"n\">77</span></h3>");
  const auto lines = LoadSiteStatistics(site.Fetch(), kAccountBase, kCommunity);
  EXPECT_EQ(lines[0], Gbk("\r\n盒子共『<span class=\"n\">77</span>』人注册"));
}

}  // namespace
}  // namespace quillet
