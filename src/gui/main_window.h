#pragma once

// The working window: a frameless window with its own caption buttons, the
// logo and navigation on the left, the page title and the pages on the
// right. Page contents that other parts of the program fill (home page
// lists, quick tools, Java environment) are reached through the hooks.

#include <QWidget>
#include <functional>

#include "core/text/text.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QTabWidget;

namespace quillet {

struct AppContext;
class MainWindow;

// Steps of the creation sequence that other parts of the program provide.
// Each may be left empty.
struct MainWindowHooks {
  std::function<Text()> versionText;                // "1.0.0.0"; the build's version by default
  std::function<void(MainWindow&)> attachShadow;    // colour 0, size 5
  std::function<void(MainWindow&)> fillPostList;    // 首页四格列表
  std::function<void(MainWindow&)> fillStatistics;  // 签到列表框
  std::function<void(MainWindow&)> startQuickTools;
  std::function<void(MainWindow&)> startEnvironmentProbe;
  std::function<void(QWidget* owner)> openBoxPass;  // the Login button
};

class MainWindow final : public QWidget {
  Q_OBJECT
 public:
  // The pages of 选择夹EX1.
  static constexpr int kHomePage = 0;
  static constexpr int kToolsPage = 2;
  static constexpr int kEnvironmentPage = 3;
  static constexpr int kAboutPage = 4;

  MainWindow(AppContext& context, MainWindowHooks hooks);

  // The creation sequence. False when another main window holds the
  // single-instance mark: the window must then not be shown and the program
  // ends.
  bool RunCreationSequence();

  // The home page's icon list; the user line is item 3.
  QListWidget* StatisticsList() const { return statistics_; }
  // Sets an item's title; the texts keep their CR LF. No item: nothing.
  static void SetItemText(QListWidget* list, int index, const Text& text);
  static Text ItemText(const QListWidgetItem* item);
  static QListWidgetItem* AddItem(QListWidget* list, const QPixmap& picture, const Text& text);
  // Shows the signed-in user's name in the user line.
  void ShowUserName(const Text& name);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildFrame();
  void BuildHomePage(QWidget* page);
  void BuildToolsPage(QWidget* page);
  void BuildEnvironmentPage(QWidget* page);
  void BuildAboutPage(QWidget* page);
  void FillNavigation();
  void OnNavigation(int row);
  void ToggleMaximised();

  AppContext& context_;
  MainWindowHooks hooks_;
  QListWidget* navigation_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* version_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QListWidget* statistics_ = nullptr;
  bool dragging_ = false;
  QPoint dragOffset_;
};

// The four statistics lines as they stand while no count is known (each
// count empty between its brackets), the user line last as a guest.
void FillStatisticsWithoutCounts(MainWindow& window);

}  // namespace quillet
