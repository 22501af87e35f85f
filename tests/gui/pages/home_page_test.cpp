#include "gui/pages/home_page.h"

#include <QListWidget>
#include <QTimer>
#include <future>
#include <string>

#include "../windows/gui_fixture.h"
#include "gui/main_window.h"
#include "page_screenshot.h"
#include "raw_http_server.h"

namespace quillet::test {
namespace {

// The community home page as the site serves it (UTF-8): the slide show's
// script block with `slides` titles and links, and the two counts.
std::string CommunityPage(int slides) {
  std::string page =
      "<html><body><ul><li>今日: <em>7</em></li><li>昨日: <em>12</em></li>"
      "<li>会员: <em>3456</em></li></ul><script>\n"
      "var slideImgTexts = new Array();\nvar slideImgLinks = new Array();\n";
  for (int n = 1; n <= slides; ++n) {
    const std::string k = std::to_string(n);
    page += "slideImgTexts[" + k + "] = '第" + k + "篇 精选帖子';\n";
    page += "slideImgLinks[" + k + "] = 'thread-" + k + "-话题.html';\n";
  }
  return page + "</script></body></html>";
}

const std::string kAccountPage = "<div><h3 class=\"mt-1 mb-2\">1024</h3><p>registered</p></div>";

// One loopback server playing both sites: the account server under /box/,
// the community site at the root.
class HomePageTest : public GuiFixture {
 protected:
  void StartSites(int slides) {
    server = std::make_unique<RawHttpServer>([slides](const RecordedRequest& request) {
      const bool account = request.requestLine.find("/box/index.php") != std::string::npos;
      const std::string body = account ? kAccountPage : CommunityPage(slides);
      return ScriptedReply{
          MakeResponse(200, "OK", {"Content-Type: text/html; charset=utf-8"}, body)};
    });
    ASSERT_TRUE(server->started());
    Settings s = TestSettings(server->Url("/box/"));
    s.communityUrl = server->Url("/");
    Build(s);
  }

  // A main window whose creation sequence fills the two lists.
  MainWindow* OpenWindow() {
    MainWindowHooks hooks;
    hooks.fillPostList = MakeFillPostList(*context);
    hooks.fillStatistics = MakeFillStatistics(*context);
    auto* window = new MainWindow(*context, std::move(hooks));
    EXPECT_TRUE(window->RunCreationSequence());
    return window;
  }

  static QListWidget* List(MainWindow* window, const char* name) {
    return window->findChild<QListWidget*>(QString::fromUtf8(name));
  }

  std::unique_ptr<RawHttpServer> server;
};

TEST_F(HomePageTest, ThreeSlidesGiveThreeSteelBluePostsInSlideOrder) {
  StartSites(3);
  MainWindow* window = OpenWindow();
  QListWidget* posts = List(window, "首页四格列表");
  ASSERT_EQ(posts->count(), 3);
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i + 1);
    EXPECT_EQ(MainWindow::ItemText(posts->item(i)), Gbk(("第" + n + "篇 精选帖子").c_str()));
    EXPECT_EQ(posts->item(i)->data(Qt::UserRole).toInt(), i + 1);
    EXPECT_EQ(posts->item(i)->foreground().color().rgba(), 0xFF4682B4u);
    EXPECT_FALSE(posts->item(i)->icon().isNull());
  }
}

TEST_F(HomePageTest, StatisticsLinesCarryTheCountsInTheirOrder) {
  StartSites(3);
  MainWindow* window = OpenWindow();
  QListWidget* lines = List(window, "签到列表框");
  const char* const expected[] = {"\r\n盒子共『1024』人注册", "\r\nCorvane共『3456』人注册",
                                  "\r\n昨日共『12』帖子数", "\r\n用户名『游客』未登录"};
  ASSERT_EQ(lines->count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(MainWindow::ItemText(lines->item(i)), Gbk(expected[i])) << i;
    EXPECT_FALSE(lines->item(i)->icon().isNull());
  }
  ASSERT_TRUE(SavePageScreenshot(window->grab().toImage(), QStringLiteral("pages-home.png")));
}

// The community page is held back until the window has shown the first
// line: that only happens when the lines are added one by one and the
// window keeps handling events while the later pages load.
TEST_F(HomePageTest, EachStatisticsLineAppearsWhileTheNextPageIsStillLoading) {
  std::promise<void> firstLineSeen;
  std::shared_future<void> released = firstLineSeen.get_future().share();
  server = std::make_unique<RawHttpServer>([released](const RecordedRequest& request) {
    const bool account = request.requestLine.find("/box/index.php") != std::string::npos;
    if (!account) released.wait_for(std::chrono::seconds(10));
    return ScriptedReply{MakeResponse(200, "OK", {}, account ? kAccountPage : CommunityPage(1))};
  });
  ASSERT_TRUE(server->started());
  Settings s = TestSettings(server->Url("/box/"));
  s.communityUrl = server->Url("/");
  Build(s);
  MainWindowHooks hooks;
  hooks.fillStatistics = MakeFillStatistics(*context);
  auto* window = new MainWindow(*context, std::move(hooks));
  QListWidget* lines = window->StatisticsList();
  bool seen = false;
  Text firstLine;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (seen || lines->count() == 0) return;
    seen = true;
    firstLine = MainWindow::ItemText(lines->item(0));
    EXPECT_EQ(lines->count(), 1);
    firstLineSeen.set_value();
  });
  poll.start(5);
  ASSERT_TRUE(window->RunCreationSequence());
  poll.stop();
  EXPECT_TRUE(seen);
  EXPECT_EQ(firstLine, Gbk("\r\n盒子共『1024』人注册"));
  EXPECT_EQ(lines->count(), 4);
  EXPECT_EQ(MainWindow::ItemText(lines->item(1)), Gbk("\r\nCorvane共『3456』人注册"));
  if (!seen) firstLineSeen.set_value();
}

TEST_F(HomePageTest, DoubleClickOpensTheSlidesLinkAsUtf8) {
  StartSites(3);
  MainWindow* window = OpenWindow();
  QListWidget* posts = List(window, "首页四格列表");
  emit posts->itemDoubleClicked(posts->item(1));
  ASSERT_EQ(shell.urls.size(), 1u);
  EXPECT_EQ(shell.urls[0], server->Url("/") + "thread-2-话题.html");
  EXPECT_EQ(state->homeLinkPaths[2], Gbk("thread-3-话题.html"));
  EXPECT_TRUE(presenter.shown.empty());
}

struct LinkTableCase {
  int slides;
  bool overflow;
};

void PrintTo(const LinkTableCase& c, std::ostream* out) { *out << c.slides << " slides"; }

class HomePageLinkTableTest : public HomePageTest,
                              public ::testing::WithParamInterface<LinkTableCase> {};

TEST_P(HomePageLinkTableTest, TakesTwentyNineLinksAndRefusesThirty) {
  const LinkTableCase c = GetParam();
  StartSites(c.slides);
  MainWindow* window = OpenWindow();
  QListWidget* posts = List(window, "首页四格列表");
  ASSERT_EQ(posts->count(), c.slides);
  emit posts->itemDoubleClicked(posts->item(0));
  ASSERT_EQ(shell.urls.size(), 1u);
  if (c.overflow) {
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].mainInstruction, Gbk("数据溢出"));
    EXPECT_EQ(presenter.shown[0].owner, window);
    // Nothing was stored: the base address with the empty slot.
    EXPECT_EQ(shell.urls[0], server->Url("/"));
    EXPECT_TRUE(state->homeLinkPaths[0].empty());
  } else {
    EXPECT_TRUE(presenter.shown.empty());
    EXPECT_EQ(shell.urls[0], server->Url("/") + "thread-1-话题.html");
    EXPECT_EQ(state->homeLinkPaths[28], Gbk("thread-29-话题.html"));
  }
}

INSTANTIATE_TEST_SUITE_P(Slides, HomePageLinkTableTest,
                         ::testing::Values(LinkTableCase{29, false}, LinkTableCase{30, true}),
                         [](const auto& info) { return std::to_string(info.param.slides); });

TEST_F(HomePageTest, ItemsPastTheLinkTableOpenNothing) {
  StartSites(31);
  MainWindow* window = OpenWindow();
  QListWidget* posts = List(window, "首页四格列表");
  ASSERT_EQ(posts->count(), 31);
  emit posts->itemDoubleClicked(posts->item(30));
  EXPECT_TRUE(shell.urls.empty());
}

TEST_F(HomePageTest, WithoutNetworkTheCountsAreEmptyAndThePostListToo) {
  Build();  // both sites on a port where nothing listens
  MainWindow* window = OpenWindow();
  EXPECT_EQ(List(window, "首页四格列表")->count(), 0);
  QListWidget* lines = List(window, "签到列表框");
  ASSERT_EQ(lines->count(), 4);
  EXPECT_EQ(MainWindow::ItemText(lines->item(0)), Gbk("\r\n盒子共『』人注册"));
  EXPECT_EQ(MainWindow::ItemText(lines->item(1)), Gbk("\r\nCorvane共『』人注册"));
  EXPECT_EQ(MainWindow::ItemText(lines->item(2)), Gbk("\r\n昨日共『』帖子数"));
  window->show();
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace quillet::test
