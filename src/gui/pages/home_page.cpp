#include "gui/pages/home_page.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QListWidget>
#include <QMetaObject>
#include <QPointer>
#include <memory>

#include "core/home/home_links.h"
#include "core/home/site_statistics.h"
#include "core/home/slide_texts.h"
#include "core/text/encodings.h"
#include "gui/app_state.h"
#include "gui/main_window.h"
#include "gui/pictures.h"
#include "gui/run_responsive.h"
#include "gui/task_message.h"

namespace quillet {

namespace {

constexpr char kPostListName[] = "首页四格列表";
constexpr char kStatisticsName[] = "签到列表框";
// Set on the post list while a double-click waits for the page, so a second
// double-click does not start a nested fetch.
constexpr char kBusyProperty[] = "quillet.fetchingLinks";
constexpr int kPostRowHeight = 25;
// The exclamation mark of a message box.
constexpr int kIconWarning = 0xFFFF;
const QColor kSteelBlue = QColor::fromRgba(0xFF4682B4);

QListWidget* FindList(MainWindow& window, const char* name) {
  return window.findChild<QListWidget*>(QString::fromUtf8(name));
}

void OpenPostItem(MainWindow& window, AppContext& context, const PageFetch& fetch,
                  QListWidget* posts, int row) {
  if (posts->property(kBusyProperty).toBool()) return;
  posts->setProperty(kBusyProperty, true);
  QPointer<QListWidget> alive(posts);
  const Text communityUrl = context.state.settings.communityUrl;
  const Bytes page = RunResponsive([fetch, communityUrl] { return fetch(communityUrl); });
  if (!alive) return;
  alive->setProperty(kBusyProperty, false);
  // The page is already here; the links are read from it on this thread so
  // the overflow message belongs to the window.
  const PageFetch fetched = [page](const Text&) { return page; };
  QPointer<MainWindow> owner(&window);
  const ShowMessageBox show = [&context, owner](const Text& text, const Text& caption, int) {
    context.messages.ShowTaskMessage(owner.data(), text, caption, Text(), kButtonOk, 0,
                                     kIconWarning);
  };
  const std::optional<Text> address =
      OpenSlideItem(fetched, communityUrl, context.state.homeLinkPaths, row, show);
  // The shell takes native (UTF-8) addresses.
  if (address) context.services.shell.OpenUrl(AnsiToUtf8(*address));
}

}  // namespace

void FillPostList(MainWindow& window, AppContext& context, const PageFetch& fetch) {
  QListWidget* posts = FindList(window, kPostListName);
  if (posts == nullptr) return;
  QPointer<QListWidget> alive(posts);
  const Text communityUrl = context.state.settings.communityUrl;
  const std::vector<SlideText> slides =
      RunResponsive([fetch, communityUrl] { return LoadSlideTexts(fetch, communityUrl); });
  if (!alive) return;
  const QPixmap picture = PostItemPicture();
  for (const SlideText& slide : slides) {
    QListWidgetItem* item = MainWindow::AddItem(posts, picture, slide.title);
    item->setData(Qt::UserRole, static_cast<qlonglong>(slide.value));
    item->setForeground(QBrush(kSteelBlue));
    item->setSizeHint(QSize(item->sizeHint().width(), kPostRowHeight));
  }
  QObject::connect(posts, &QListWidget::itemDoubleClicked, posts,
                   [&window, &context, fetch, posts](QListWidgetItem* item) {
                     OpenPostItem(window, context, fetch, posts, posts->row(item));
                   });
}

void FillStatistics(MainWindow& window, AppContext& context, const PageFetch& fetch) {
  QListWidget* lines = FindList(window, kStatisticsName);
  if (lines == nullptr) return;
  QPointer<QListWidget> alive(lines);
  // A line is added only at its own position, so lines arriving from the
  // worker and the completion below never reorder or repeat one another.
  const auto addAt = [](QListWidget* list, std::size_t position, const Text& line) {
    if (static_cast<std::size_t>(list->count()) != position) return;
    MainWindow::AddItem(list, StatisticsPicture(static_cast<int>(position)), line);
  };
  const Text accountUrl = context.state.settings.accountBaseUrl;
  const Text communityUrl = context.state.settings.communityUrl;
  const auto all = RunResponsive([=] {
    return LoadSiteStatistics(fetch, accountUrl, communityUrl,
                              [alive, addAt](std::size_t position, const Text& line) {
                                QMetaObject::invokeMethod(
                                    QCoreApplication::instance(),
                                    [alive, addAt, position, line] {
                                      if (alive) addAt(alive.data(), position, line);
                                    },
                                    Qt::QueuedConnection);
                              });
  });
  if (!alive) return;
  for (std::size_t i = 0; i < all.size(); ++i) addAt(alive.data(), i, all[i]);
}

std::function<void(MainWindow&)> MakeFillPostList(AppContext& context, PageFetch fetch) {
  return [&context, fetch = std::move(fetch)](MainWindow& window) {
    FillPostList(window, context, fetch);
  };
}

std::function<void(MainWindow&)> MakeFillStatistics(AppContext& context, PageFetch fetch) {
  return [&context, fetch = std::move(fetch)](MainWindow& window) {
    FillStatistics(window, context, fetch);
  };
}

}  // namespace quillet
