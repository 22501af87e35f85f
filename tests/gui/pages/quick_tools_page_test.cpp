#include "gui/pages/quick_tools_page.h"

#include <QListWidget>
#include <QPixmap>
#include <filesystem>
#include <fstream>
#include <set>

#include "../windows/gui_fixture.h"
#include "core/quicktools/path_file_name.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "gui/pages/file_icon_picture.h"
#include "page_screenshot.h"

namespace quillet::test {
namespace {

class QuickToolsPageTest : public GuiFixture {
 protected:
  void SetUp() override {
    Build();
    folder = runDirectory.PathOf("QuickTools");
    std::filesystem::create_directories(folder + "/sub");
  }

  void Put(const std::string& name) { std::ofstream(folder + "/" + name) << "x"; }

  MainWindow* OpenWindow() {
    MainWindowHooks hooks;
    hooks.startQuickTools = MakeStartQuickTools(*context);
    auto* window = new MainWindow(*context, std::move(hooks));
    EXPECT_TRUE(window->RunCreationSequence());
    return window;
  }

  static QListWidget* Tools(MainWindow* window) {
    return window->findChild<QListWidget*>(QStringLiteral("快捷工具列表框"));
  }

  std::string folder;
};

TEST_F(QuickToolsPageTest, EveryFileOfTheFolderBecomesAnItemNamedWithoutItsExtension) {
  for (const char* name : {"a.b.c.txt", "tool.sh", ".hidden", "README", "说明.txt"}) Put(name);
  std::ofstream(folder + "/sub/inner.txt") << "x";
  MainWindow* window = OpenWindow();
  QListWidget* list = Tools(window);
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 5; }));
  ASSERT_EQ(state->quickToolPaths.size(), 5u);
  std::set<Text> names;
  for (int i = 0; i < list->count(); ++i) {
    // Item i belongs to path i, whatever order the folder gave.
    const std::string& path = state->quickToolPaths[i];
    EXPECT_EQ(path.rfind(folder + "/", 0), 0u) << path;
    EXPECT_EQ(MainWindow::ItemText(list->item(i)),
              FromQString(QString::fromStdString(PathFileName(path))));
    EXPECT_FALSE(list->item(i)->icon().isNull());
    names.insert(MainWindow::ItemText(list->item(i)));
  }
  EXPECT_EQ(names, (std::set<Text>{"a.b.c", "tool", "", "README", Gbk("说明")}));
  window->resize(789, 545);
  QListWidget* navigation = window->findChild<QListWidget*>(QStringLiteral("导航列表"));
  navigation->setCurrentRow(1);
  ASSERT_TRUE(SavePageScreenshot(window->grab().toImage(), QStringLiteral("pages-tools.png")));
}

TEST_F(QuickToolsPageTest, DoubleClickOpensThatItemsFileThroughTheShell) {
  Put("first.txt");
  Put("second.desktop");
  MainWindow* window = OpenWindow();
  QListWidget* list = Tools(window);
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 2; }));
  for (int i : {1, 0}) emit list->itemDoubleClicked(list->item(i));
  ASSERT_EQ(shell.files.size(), 2u);
  EXPECT_EQ(shell.files[0], state->quickToolPaths[1]);
  EXPECT_EQ(shell.files[1], state->quickToolPaths[0]);
}

TEST_F(QuickToolsPageTest, MissingFolderGivesAnEmptyPage) {
  std::filesystem::remove_all(folder);
  MainWindow* window = OpenWindow();
  // The worker finds nothing; the creation sequence makes the folder after it.
  WaitUntil([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(Tools(window)->count(), 0);
  EXPECT_TRUE(state->quickToolPaths.empty());
}

TEST(FileIconPictureTest, IsA32BitBmpOfTheAskedSizeOnTheBackground) {
  EnsureQtApplication();
  const std::string file =
      (std::filesystem::temp_directory_path() / "quillet-icon-test.txt").string();
  std::ofstream(file) << "x";
  const Bytes bmp = FileIconPicture(QString::fromStdString(file), 30, 30, 0xFFFFFFFF);
  ASSERT_EQ(bmp.size(), 54u + 4u * 30u * 30u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(bmp[28], 32);  // bits per pixel
  QPixmap picture;
  ASSERT_TRUE(picture.loadFromData(bmp.data(), static_cast<uint>(bmp.size()), "BMP"));
  EXPECT_EQ(picture.size(), QSize(30, 30));
  // Opaque everywhere: the icon is drawn over a solid background.
  const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << x << "," << y;
  }
  for (const QSize size : {QSize(0, 30), QSize(30, 0), QSize(-1, -1)}) {
    EXPECT_TRUE(
        FileIconPicture(QString::fromStdString(file), size.width(), size.height(), 0xFFFFFFFF)
            .empty());
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace quillet::test
