#include "gui/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <filesystem>
#include <system_error>

#include "gui/app_state.h"
#include "gui/clickable_label.h"
#include "gui/gui_text.h"
#include "gui/pictures.h"
#include "quillet/build_settings.h"

namespace quillet {

namespace {

constexpr char kInstanceName[] = "quillet";
constexpr char kThreadPage[] = "forum.php?mod=viewthread&tid=4#lastpost";
constexpr int kPageRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;

struct NavigationItem {
  const char* text;
  int page;
};

constexpr NavigationItem kNavigation[] = {
    {" 今 日 打 卡", MainWindow::kHomePage},
    {" 快 捷 工 具", MainWindow::kToolsPage},
    {" 环 境 配 置", MainWindow::kEnvironmentPage},
    {" 关 于 我 们", MainWindow::kAboutPage},
};

constexpr const char* kPageNames[] = {"今日打卡", "开发工具", "插件市场",
                                      "环境配置", "关于我们", "友情链接"};

const char kMotto[] =
    "“自律不是束缚，而是通往自由的阶梯。每天多写一行代码，多读一页文档，"
    "多问一个为什么；日积月累，曾经遥不可及的目标，终会被你踩在脚下。"
    "愿你在编程的路上坚持热爱，保持专注，不负韶华。”";

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(geometry);
  return label;
}

ClickableLabel* MakePicture(QWidget* parent, const char* name, QRect geometry,
                            const QPixmap& picture) {
  auto* box = new ClickableLabel(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setGeometry(geometry);
  box->setPixmap(picture);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry,
                        const QString& text = {}) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(geometry);
  return button;
}

QListWidget* MakeList(QWidget* parent, const char* name, QRect geometry) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromUtf8(name));
  list->setGeometry(geometry);
  return list;
}

// The list shows a CR LF as one line break; the item keeps the exact text.
QString DisplayText(const Text& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

}  // namespace

MainWindow::MainWindow(AppContext& context, MainWindowHooks hooks)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      context_(context),
      hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("主窗口"));
  setWindowTitle(QStringLiteral("Quillet"));
  setAttribute(Qt::WA_DeleteOnClose);
  setGeometry(50, 50, 789, 545);
  BuildFrame();
}

void MainWindow::BuildFrame() {
  setStyleSheet(QStringLiteral(
      "QListWidget { border: none; background: transparent; }"
      "QListWidget#导航列表::item { height: 52px; padding-left: 14px; color: #34495e;"
      " border-left: 4px solid transparent; }"
      "QListWidget#导航列表::item:selected { background: #dce9f5; color: #1f4e79;"
      " border-left: 4px solid #4682B4; }"
      "QListWidget#导航列表::item:hover:!selected { background: #e9f0f7; }"
      "QPushButton#关闭按钮:hover { background: #e81123; color: white; }"
      "QPushButton#最小化按钮, QPushButton#最大化按钮, QPushButton#关闭按钮, QPushButton#Login,"
      "QPushButton#刷新 { border: none; background: transparent; font-size: 15px; }"
      "QPushButton#最小化按钮:hover, QPushButton#最大化按钮:hover, QPushButton#Login:hover,"
      "QPushButton#刷新:hover { background: #dde6ef; }"
      "QLabel#主标题, QLabel#主标题1, QLabel#java环境_标签 { font-size: 15px; font-weight: bold;"
      " color: #2c3e50; }"
      "QLabel#标签EX1 { color: #8a97a5; }"
      "QLabel#标签EX2 { color: #4682B4; text-decoration: underline; }"));

  // The frame component: it gives the window its skin and caption buttons
  // and draws nothing of its own at its place.
  auto* frame = new QWidget(this);
  frame->setObjectName(QStringLiteral("窗口EX1"));
  frame->setGeometry(4, 4, 24, 24);
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);

  auto* logo = MakePicture(this, "图片框EX1", QRect(6, 9, 200, 95), LogoPicture(QSize(200, 95)));
  logo->setCursor(Qt::PointingHandCursor);
  connect(logo, &ClickableLabel::clicked, this,
          [this] { context_.services.shell.OpenUrl(context_.state.settings.communityUrl); });

  navigation_ = MakeList(this, "导航列表", QRect(6, 104, 200, 436));
  navigation_->setIconSize(QSize(30, 30));
  navigation_->setFocusPolicy(Qt::NoFocus);
  QFont navFont = navigation_->font();
  navFont.setPixelSize(15);
  navigation_->setFont(navFont);
  connect(navigation_, &QListWidget::currentRowChanged, this, &MainWindow::OnNavigation);

  version_ = MakeLabel(this, "标签EX1", QRect(0, 518, 206, 16));
  version_->setAlignment(Qt::AlignCenter);
  title_ = MakeLabel(this, "主标题", QRect(248, 64, 216, 21), Ui("# 今 日 打 卡"));

  auto* login = MakeButton(this, "Login", QRect(655, 0, 31, 30));
  login->setIcon(AccountPicture(QSize(24, 24)));
  login->setIconSize(QSize(24, 24));
  login->setToolTip(Ui("登录"));
  connect(login, &QPushButton::clicked, this, [this] {
    if (hooks_.openBoxPass) hooks_.openBoxPass(this);
  });

  // Caption buttons of the frame.
  auto* minimise = MakeButton(this, "最小化按钮", QRect(696, 0, 31, 30), QStringLiteral("\u2013"));
  connect(minimise, &QPushButton::clicked, this, &QWidget::showMinimized);
  auto* maximise = MakeButton(this, "最大化按钮", QRect(727, 0, 31, 30), QStringLiteral("\u25a1"));
  connect(maximise, &QPushButton::clicked, this, &MainWindow::ToggleMaximised);
  auto* close = MakeButton(this, "关闭按钮", QRect(758, 0, 31, 30), QStringLiteral("\u2715"));
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("选择夹EX1"));
  pages_->setGeometry(208, 40, 573, 498);
  // Only the navigation chooses the page: no page headers, no frame, so the
  // page controls sit at their places relative to the tab control itself.
  pages_->setDocumentMode(true);
  pages_->tabBar()->hide();
  pages_->setStyleSheet(QStringLiteral("QTabWidget::pane { border: none; }"));
  for (const char* name : kPageNames) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromUtf8(name));
    pages_->addTab(page, Ui(name));
  }
  BuildHomePage(pages_->widget(kHomePage));
  BuildToolsPage(pages_->widget(kToolsPage));
  BuildEnvironmentPage(pages_->widget(kEnvironmentPage));
  BuildAboutPage(pages_->widget(kAboutPage));
}

void MainWindow::BuildHomePage(QWidget* page) {
  statistics_ = MakeList(page, "签到列表框", QRect(38, 71, 496, 276));
  statistics_->setIconSize(QSize(32, 32));
  statistics_->setSpacing(4);
  MakeLabel(page, "主标题1", QRect(32, 357, 216, 21), Ui("# 最 新 帖 子"));
  auto* posts = MakeList(page, "首页四格列表", QRect(32, 385, 535, 104));
  posts->setIconSize(QSize(25, 14));
}

void MainWindow::BuildToolsPage(QWidget* page) {
  auto* tools = MakeList(page, "快捷工具列表框", QRect(29, 61, 514, 424));
  tools->setViewMode(QListView::IconMode);
  tools->setIconSize(QSize(48, 48));
  tools->setResizeMode(QListView::Adjust);
}

void MainWindow::BuildEnvironmentPage(QWidget* page) {
  MakeLabel(page, "java环境_标签", QRect(40, 56, 456, 21), Ui("# 正 在 检 测 Java 环 境 中..."));
  auto* refresh = MakeButton(page, "刷新", QRect(513, 21, 31, 30));
  refresh->setIcon(RefreshPicture(QSize(24, 24)));
  refresh->setIconSize(QSize(24, 24));
  auto* system = MakeLabel(page, "系统信息_标签", QRect(64, 87, 502, 244),
                           Ui("# 正 在 检 测 系 统 信 息 中..."));
  system->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  system->setWordWrap(true);
  auto* jdk = new QLineEdit(Ui("Jdk 路径.."), page);
  jdk->setObjectName(QStringLiteral("编辑框EX1"));
  jdk->setGeometry(50, 351, 420, 32);
  auto* browse = MakeButton(page, "按钮EX2", QRect(469, 351, 35, 32));
  browse->setIcon(FolderPicture(QSize(24, 24)));
  auto* test = MakeButton(page, "按钮EX4", QRect(50, 402, 157, 48), Ui("执 行 测 试"));
  connect(test, &QPushButton::clicked, this, [this] {
    // Three consoles, one after the other, none waited for; each stays open
    // so the user reads the answer, Java installed or not.
    for (const char* command : {"java", "javac", "java -version"}) {
      context_.services.shell.OpenTerminal(command);
    }
  });
  MakeButton(page, "按钮EX1", QRect(223, 402, 157, 48), Ui("一 键 配 置"));
  auto* download = new ClickableLabel(Ui("Jdk 下 载 地 址"), page);
  download->setObjectName(QStringLiteral("标签EX2"));
  download->setGeometry(400, 421, 112, 17);
  download->setCursor(Qt::PointingHandCursor);
  connect(download, &ClickableLabel::clicked, this, [this] {
    context_.services.shell.OpenUrl(context_.state.settings.communityUrl + kThreadPage);
  });
}

void MainWindow::BuildAboutPage(QWidget* page) {
  MakePicture(page, "图片框EX2", QRect(66, 72, 201, 97), AboutPicture(0, QSize(201, 97)));
  MakePicture(page, "图片框EX3", QRect(298, 72, 201, 97), AboutPicture(1, QSize(201, 97)));
  auto* motto = MakeLabel(page, "java环境_标签2", QRect(58, 224, 456, 96), Ui(kMotto));
  motto->setWordWrap(true);
  motto->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const Text about = Gbk("产品名称：Quillet\n\n技术支持：Quillet 工作室\n\n官方网站：") +
                     context_.state.settings.communityUrl + Gbk("\n\n内测版不代表最终品质");
  auto* info = MakeLabel(page, "java环境_标签1", QRect(58, 360, 456, 128), ToQString(about));
  info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  info->setWordWrap(true);
}

bool MainWindow::RunCreationSequence() {
  // 1. One main window per user session, across processes.
  if (!context_.services.instanceGuard.Acquire(kInstanceName)) {
    if (context_.endProgram) context_.endProgram();
    return false;
  }
  // 2. Version line.
  const Text version = hooks_.versionText ? hooks_.versionText() : Text(build::kVersion);
  version_->setText(ToQString("v" + version));
  // 3. Shadow.
  if (hooks_.attachShadow) hooks_.attachShadow(*this);
  // 4. Navigation, item 0 and page 0.
  FillNavigation();
  // 5, 6. Home page lists.
  if (hooks_.fillPostList) hooks_.fillPostList(*this);
  if (hooks_.fillStatistics) hooks_.fillStatistics(*this);
  // 7, 8. Workers of the tools and environment pages.
  if (hooks_.startQuickTools) hooks_.startQuickTools(*this);
  if (hooks_.startEnvironmentProbe) hooks_.startEnvironmentProbe(*this);
  // 9. The tools folder; an existing one stays, a failure is ignored.
  std::error_code ec;
  std::filesystem::create_directory(context_.services.runDirectory.Directory() + "/QuickTools", ec);
  return true;
}

void MainWindow::FillNavigation() {
  QSignalBlocker quiet(navigation_);
  for (int i = 0; i < static_cast<int>(std::size(kNavigation)); ++i) {
    auto* item = new QListWidgetItem(NavigationPicture(i), Ui(kNavigation[i].text), navigation_);
    item->setData(kPageRole, kNavigation[i].page);
  }
  navigation_->setCurrentRow(0);
  pages_->setCurrentIndex(kHomePage);
}

void MainWindow::OnNavigation(int row) {
  QListWidgetItem* item = navigation_->item(row);
  if (item == nullptr) return;
  title_->setText(QStringLiteral("#") + item->text());
  pages_->setCurrentIndex(item->data(kPageRole).toInt());
}

QListWidgetItem* MainWindow::AddItem(QListWidget* list, const QPixmap& picture, const Text& text) {
  auto* item = new QListWidgetItem(QIcon(picture), DisplayText(text), list);
  item->setData(kTextRole, QByteArray::fromStdString(text));
  return item;
}

void MainWindow::SetItemText(QListWidget* list, int index, const Text& text) {
  QListWidgetItem* item = list->item(index);
  if (item == nullptr) return;
  item->setText(DisplayText(text));
  item->setData(kTextRole, QByteArray::fromStdString(text));
}

Text MainWindow::ItemText(const QListWidgetItem* item) {
  if (item == nullptr) return {};
  const QVariant exact = item->data(kTextRole);
  return exact.isValid() ? exact.toByteArray().toStdString() : FromQString(item->text());
}

void MainWindow::ShowUserName(const Text& name) {
  SetItemText(statistics_, 3, Gbk("\r\n『") + name + Gbk("』"));
}

void FillStatisticsWithoutCounts(MainWindow& window) {
  const char* const lines[] = {"\r\n盒子共『』人注册", "\r\nCorvane共『』人注册",
                               "\r\n昨日共『』帖子数", "\r\n用户名『游客』未登录"};
  for (int i = 0; i < 4; ++i) {
    MainWindow::AddItem(window.StatisticsList(), StatisticsPicture(i), Gbk(lines[i]));
  }
}

void MainWindow::ToggleMaximised() {
  if (isMaximized()) {
    showNormal();
  } else {
    showMaximized();
  }
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0xFF, 0xFF, 0xFF));
  p.fillRect(QRect(0, 0, 206, height()), QColor(0xF3, 0xF6, 0xFA));
  p.setPen(QColor(0xC8, 0xD3, 0xDE));
  p.drawLine(206, 0, 206, height());
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The whole window surface that no control covers is the frame to drag.
void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || isMaximized()) return QWidget::mousePressEvent(event);
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - dragOffset_);
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace quillet
