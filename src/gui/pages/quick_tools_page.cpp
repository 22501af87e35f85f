#include "gui/pages/quick_tools_page.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QMetaObject>
#include <QPixmap>
#include <QPointer>
#include <QThread>
#include <memory>

#include "core/quicktools/quick_tools.h"
#include "gui/app_state.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "gui/pages/file_icon_picture.h"

namespace quillet {

namespace {

constexpr char kToolsListName[] = "快捷工具列表框";
constexpr int kIconSide = 30;
constexpr QRgb kWhite = 0xFFFFFFFF;

void AddToolItem(QListWidget* list, const QuickTool& tool) {
  const Bytes bmp =
      FileIconPicture(QString::fromStdString(tool.path), kIconSide, kIconSide, kWhite);
  QPixmap picture;
  if (!picture.loadFromData(bmp.data(), static_cast<uint>(bmp.size()), "BMP")) {
    picture = QPixmap(kIconSide, kIconSide);
    picture.fill(Qt::white);
  }
  // File names are native (UTF-8) bytes while item texts are code page 936.
  MainWindow::AddItem(list, picture, FromQString(QString::fromStdString(tool.name)));
}

}  // namespace

void StartQuickTools(MainWindow& window, AppContext& context) {
  QListWidget* list = window.findChild<QListWidget*>(QString::fromUtf8(kToolsListName));
  if (list == nullptr) return;
  auto tools = std::make_shared<std::vector<QuickTool>>();
  QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                   [&context, tools, list](QListWidgetItem* item) {
                     OpenQuickTool(context.services.shell, *tools, list->row(item));
                   });
  QPointer<QListWidget> alive(list);
  AppState* state = &context.state;
  const std::string folder = QuickToolsFolder(context.services.runDirectory.Directory());
  QThread* worker = QThread::create([folder, alive, tools, state] {
    std::vector<QuickTool> found = ListQuickTools(folder);
    QObject* gui = QCoreApplication::instance();
    // The whole list first, so a double-click only ever reads a finished
    // list; then one item per file.
    QMetaObject::invokeMethod(
        gui,
        [alive, tools, state, found] {
          if (!alive) return;
          *tools = found;
          state->quickToolPaths.clear();
          for (const QuickTool& tool : found) state->quickToolPaths.push_back(tool.path);
        },
        Qt::QueuedConnection);
    for (const QuickTool& tool : found) {
      QMetaObject::invokeMethod(
          gui,
          [alive, tool] {
            if (alive) AddToolItem(alive.data(), tool);
          },
          Qt::QueuedConnection);
    }
  });
  QObject::connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  worker->start();
}

std::function<void(MainWindow&)> MakeStartQuickTools(AppContext& context) {
  return [&context](MainWindow& window) { StartQuickTools(window, context); };
}

}  // namespace quillet
