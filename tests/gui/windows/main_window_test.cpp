#include "gui/main_window.h"

#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "gui/gui_text.h"
#include "gui_fixture.h"
#include "lock_holder_process.h"
#include "quillet/build_settings.h"

namespace quillet {
namespace {

struct Place {
  const char* name;
  QRect geometry;
  const char* text;  // nullptr: not checked
};

// Controls on the window itself.
const Place kWindowControls[] = {
    {"窗口EX1", {4, 4, 24, 24}, nullptr},
    {"图片框EX1", {6, 9, 200, 95}, nullptr},
    {"导航列表", {6, 104, 200, 436}, nullptr},
    {"标签EX1", {0, 518, 206, 16}, nullptr},
    {"主标题", {248, 64, 216, 21}, "# 今 日 打 卡"},
    {"Login", {655, 0, 31, 30}, ""},
    {"选择夹EX1", {208, 40, 573, 498}, nullptr},
};

// Controls on the pages, placed relative to the tab control.
const Place kPageControls[] = {
    {"签到列表框", {38, 71, 496, 276}, nullptr},
    {"主标题1", {32, 357, 216, 21}, "# 最 新 帖 子"},
    {"首页四格列表", {32, 385, 535, 104}, nullptr},
    {"快捷工具列表框", {29, 61, 514, 424}, nullptr},
    {"java环境_标签", {40, 56, 456, 21}, "# 正 在 检 测 Java 环 境 中..."},
    {"刷新", {513, 21, 31, 30}, ""},
    {"系统信息_标签", {64, 87, 502, 244}, "# 正 在 检 测 系 统 信 息 中..."},
    {"编辑框EX1", {50, 351, 420, 32}, "Jdk 路径.."},
    {"按钮EX2", {469, 351, 35, 32}, ""},
    {"按钮EX4", {50, 402, 157, 48}, "执 行 测 试"},
    {"按钮EX1", {223, 402, 157, 48}, "一 键 配 置"},
    {"标签EX2", {400, 421, 112, 17}, "Jdk 下 载 地 址"},
    {"图片框EX2", {66, 72, 201, 97}, nullptr},
    {"图片框EX3", {298, 72, 201, 97}, nullptr},
    {"java环境_标签2", {58, 224, 456, 96}, nullptr},
    {"java环境_标签1", {58, 360, 456, 128}, nullptr},
};

QString TextOf(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  return {};
}

class MainWindowTest : public test::GuiFixture {
 protected:
  void SetUp() override { Build(); }

  MainWindow* Create(MainWindowHooks hooks = {}) {
    auto* window = new MainWindow(*context, std::move(hooks));
    created = window->RunCreationSequence();
    if (created) window->show();
    return window;
  }

  template <typename T = QWidget>
  static T* Find(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
  }

  bool created = false;
};

TEST_F(MainWindowTest, WindowIsFramelessAtItsPlaceWithEveryControl) {
  MainWindow* window = Create();
  ASSERT_TRUE(created);
  EXPECT_EQ(window->geometry(), QRect(50, 50, 789, 545));
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window->windowTitle(), "Quillet");
  for (const Place& p : kWindowControls) {
    QWidget* w = Find(window, p.name);
    ASSERT_NE(w, nullptr) << p.name;
    EXPECT_EQ(w->parentWidget(), window) << p.name;
    EXPECT_EQ(w->geometry(), p.geometry) << p.name;
    if (p.text != nullptr) {
      EXPECT_EQ(TextOf(w), QString::fromUtf8(p.text)) << p.name;
    }
  }
  EXPECT_EQ(Find<QLabel>(window, "标签EX1")->text(),
            QStringLiteral("v") + QString::fromUtf8(build::kVersion));
  auto* tabs = Find<QTabWidget>(window, "选择夹EX1");
  ASSERT_EQ(tabs->count(), 6);
  const char* pageNames[] = {"今日打卡", "开发工具", "插件市场",
                             "环境配置", "关于我们", "友情链接"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(pageNames[i]));
  for (const Place& p : kPageControls) {
    QWidget* w = Find(window, p.name);
    ASSERT_NE(w, nullptr) << p.name;
    const QRect placed(w->mapTo(tabs, QPoint(0, 0)), w->size());
    EXPECT_EQ(placed, p.geometry) << p.name;
    if (p.text != nullptr) {
      EXPECT_EQ(TextOf(w), QString::fromUtf8(p.text)) << p.name;
    }
  }
}

TEST_F(MainWindowTest, AboutPageNamesProductSupportSiteAndStage) {
  MainWindow* window = Create();
  const QString about = Find<QLabel>(window, "java环境_标签1")->text();
  const QStringList paragraphs = about.split(QStringLiteral("\n\n"));
  ASSERT_EQ(paragraphs.size(), 4);
  EXPECT_EQ(paragraphs[0], QString::fromUtf8("产品名称：Quillet"));
  EXPECT_TRUE(paragraphs[1].startsWith(QString::fromUtf8("技术支持：")));
  EXPECT_EQ(paragraphs[2], QString::fromUtf8("官方网站：https://community.invalid/"));
  EXPECT_EQ(paragraphs[3], QString::fromUtf8("内测版不代表最终品质"));
  const QString motto = Find<QLabel>(window, "java环境_标签2")->text();
  EXPECT_TRUE(motto.startsWith(QString::fromUtf8("“")) && motto.endsWith(QString::fromUtf8("”")));
}

TEST_F(MainWindowTest, NavigationSwitchesPagesAndTitles) {
  MainWindow* window = Create();
  auto* navigation = Find<QListWidget>(window, "导航列表");
  auto* tabs = Find<QTabWidget>(window, "选择夹EX1");
  auto* title = Find<QLabel>(window, "主标题");
  ASSERT_EQ(navigation->count(), 4);
  EXPECT_EQ(navigation->currentRow(), 0);
  EXPECT_EQ(tabs->currentIndex(), 0);
  struct Step {
    int row;
    const char* itemText;
    int page;
  };
  const Step steps[] = {{1, " 快 捷 工 具", 2},
                        {2, " 环 境 配 置", 3},
                        {3, " 关 于 我 们", 4},
                        {0, " 今 日 打 卡", 0}};
  for (const Step& s : steps) {
    navigation->setCurrentRow(s.row);
    EXPECT_EQ(navigation->item(s.row)->text(), QString::fromUtf8(s.itemText));
    EXPECT_EQ(tabs->currentIndex(), s.page) << s.itemText;
    EXPECT_EQ(title->text(), QStringLiteral("#") + QString::fromUtf8(s.itemText));
  }
  for (int row = 0; row < navigation->count(); ++row) {
    navigation->setCurrentRow(row);
    EXPECT_NE(tabs->currentIndex(), 1);
    EXPECT_NE(tabs->currentIndex(), 5);
  }
}

TEST_F(MainWindowTest, ClickingThroughTheMouseAlsoSwitches) {
  MainWindow* window = Create();
  auto* navigation = Find<QListWidget>(window, "导航列表");
  const QRect second = navigation->visualItemRect(navigation->item(2));
  QTest::mouseClick(navigation->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(Find<QTabWidget>(window, "选择夹EX1")->currentIndex(), 3);
}

TEST_F(MainWindowTest, LinksAndConsolesGoThroughTheShell) {
  MainWindow* window = Create();
  QTest::mouseClick(Find(window, "图片框EX1"), Qt::LeftButton);
  QTest::mouseClick(Find(window, "标签EX2"), Qt::LeftButton);
  QTest::mouseClick(Find(window, "按钮EX4"), Qt::LeftButton);
  EXPECT_EQ(shell.urls, (std::vector<std::string>{
                            "https://community.invalid/",
                            "https://community.invalid/forum.php?mod=viewthread&tid=4#lastpost"}));
  EXPECT_EQ(shell.terminals, (std::vector<std::string>{"java", "javac", "java -version"}));
}

TEST_F(MainWindowTest, CaptionButtonsMinimiseMaximiseAndClose) {
  MainWindow* window = Create();
  QPointer<MainWindow> alive(window);
  QTest::mouseClick(Find(window, "最大化按钮"), Qt::LeftButton);
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
  QTest::mouseClick(Find(window, "最大化按钮"), Qt::LeftButton);
  EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
  QTest::mouseClick(Find(window, "最小化按钮"), Qt::LeftButton);
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  window->showNormal();
  QTest::mouseClick(Find(window, "关闭按钮"), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());
  test::WaitUntil([&] { return alive.isNull(); }, std::chrono::seconds(2));
  EXPECT_TRUE(alive.isNull());  // closing destroys it
}

TEST_F(MainWindowTest, DraggingTheFrameMovesTheWindow) {
  MainWindow* window = Create();
  const QPoint start = window->pos();
  // Offscreen there is no system move; the window follows the mouse itself.
  QTest::mousePress(window, Qt::LeftButton, {}, QPoint(300, 20));
  QMouseEvent move(QEvent::MouseMove, QPointF(340, 50), window->mapToGlobal(QPointF(340, 50)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &move);
  QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(340, 50));
  EXPECT_EQ(window->pos(), start + QPoint(40, 30));
}

TEST_F(MainWindowTest, CreationRunsItsStepsInOrderAndMakesTheToolsFolder) {
  std::vector<std::string> order;
  MainWindowHooks hooks;
  hooks.versionText = [&] {
    order.push_back("version");
    return Text("2.3.4.5");
  };
  hooks.attachShadow = [&](MainWindow&) { order.push_back("shadow"); };
  hooks.fillPostList = [&](MainWindow& w) {
    // The navigation is filled by then.
    EXPECT_EQ(w.findChild<QListWidget*>(QStringLiteral("导航列表"))->count(), 4);
    order.push_back("posts");
  };
  hooks.fillStatistics = [&](MainWindow&) { order.push_back("statistics"); };
  hooks.startQuickTools = [&](MainWindow&) {
    order.push_back("tools");
    // The folder comes after the tools worker was started.
    EXPECT_FALSE(std::filesystem::exists(runDirectory.PathOf("QuickTools")));
  };
  hooks.startEnvironmentProbe = [&](MainWindow&) { order.push_back("environment"); };
  MainWindow* window = Create(hooks);
  ASSERT_TRUE(created);
  EXPECT_EQ(order, (std::vector<std::string>{"version", "shadow", "posts", "statistics", "tools",
                                             "environment"}));
  EXPECT_EQ(Find<QLabel>(window, "标签EX1")->text(), "v2.3.4.5");
  EXPECT_TRUE(std::filesystem::is_directory(runDirectory.PathOf("QuickTools")));
}

TEST_F(MainWindowTest, ExistingToolsFolderIsLeftAlone) {
  std::filesystem::create_directory(runDirectory.PathOf("QuickTools"));
  std::ofstream(runDirectory.PathOf("QuickTools/tool.sh")) << "x";
  Create();
  EXPECT_TRUE(std::filesystem::exists(runDirectory.PathOf("QuickTools/tool.sh")));
}

TEST_F(MainWindowTest, StatisticsWithoutCountsShowEmptyBracketsAndTheGuestLine) {
  MainWindowHooks hooks;
  hooks.fillStatistics = FillStatisticsWithoutCounts;
  MainWindow* window = Create(hooks);
  QListWidget* list = window->StatisticsList();
  ASSERT_EQ(list->count(), 4);
  EXPECT_EQ(MainWindow::ItemText(list->item(0)), Gbk("\r\n盒子共『』人注册"));
  EXPECT_EQ(MainWindow::ItemText(list->item(1)), Gbk("\r\nCorvane共『』人注册"));
  EXPECT_EQ(MainWindow::ItemText(list->item(2)), Gbk("\r\n昨日共『』帖子数"));
  EXPECT_EQ(MainWindow::ItemText(list->item(3)), Gbk("\r\n用户名『游客』未登录"));
  window->ShowUserName(Gbk("小明"));
  EXPECT_EQ(MainWindow::ItemText(list->item(3)), Gbk("\r\n『小明』"));
  EXPECT_EQ(list->item(3)->text(), QString::fromUtf8("\n『小明』"));
}

TEST_F(MainWindowTest, UserNameWithoutAUserLineChangesNothing) {
  MainWindow* window = Create();
  window->ShowUserName("x");
  EXPECT_EQ(window->StatisticsList()->count(), 0);
}

TEST_F(MainWindowTest, SecondMainWindowInThisProcessEndsTheProgramSilently) {
  Create();
  ASSERT_TRUE(created);
  std::unique_ptr<MainWindow> second(new MainWindow(*context, {}));
  second->setAttribute(Qt::WA_DeleteOnClose, false);
  EXPECT_FALSE(second->RunCreationSequence());
  EXPECT_EQ(endProgramCalls, 1);
  EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(MainWindowTest, MainWindowOfAnotherProcessRefusesThisOne) {
  test::LockHolderProcess other(guard.LockPath("quillet"));
  ASSERT_TRUE(other.Holds());
  MainWindow* window = Create();
  EXPECT_FALSE(created);
  EXPECT_EQ(endProgramCalls, 1);
  EXPECT_FALSE(std::filesystem::exists(runDirectory.PathOf("QuickTools")));
  delete window;
}

}  // namespace
}  // namespace quillet
