// Renders the windows to PNG files (QWidget::grab), for people to look at:
// into the test's build folder, and also into $QUILLET_SCREENSHOT_DIR when it
// is set (scripts/update-screenshots points it at docs/screenshots).

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QSet>
#include <QTabWidget>

#include "core/startup/remembered_account.h"
#include "gui/box_pass_window.h"
#include "gui/gui_text.h"
#include "gui/main_window.h"
#include "gui/network_failure_dialog.h"
#include "gui_fixture.h"

namespace quillet {
namespace {

class ScreenshotTest : public test::GuiFixture {
 protected:
  void SetUp() override {
    Build();
    StartUpHooks hooks;
    hooks.mainWindow.fillStatistics = FillStatisticsWithoutCounts;
    app = std::make_unique<Application>(*context, ProbeSteps{}, hooks);
  }

  // Saves the picture and checks that it really shows something.
  void Save(QWidget* window, const QString& name) {
    window->show();
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    ASSERT_EQ(image.size(), window->size()) << name.toStdString();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
      for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20) << name.toStdString();
    QStringList folders{test::ArtifactDirectory()};
    const QString extra = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
    if (!extra.isEmpty()) folders << extra;
    for (const QString& folder : folders) {
      ASSERT_TRUE(QDir().mkpath(folder));
      const QString path = folder + QStringLiteral("/") + name + QStringLiteral(".png");
      EXPECT_TRUE(image.save(path)) << path.toStdString();
    }
  }

  std::unique_ptr<Application> app;
};

TEST_F(ScreenshotTest, BoxPassWindowBothTabs) {
  WriteAccountFile(runDirectory.PathOf(kAccountFileName), AccountRecord("123456789"));
  auto* window = new BoxPassWindow(*context, *app);
  window->RunCreation({});
  ASSERT_TRUE(test::WaitUntil([&] { return window->Ready(); }));
  Save(window, QStringLiteral("box-pass-sign-in"));
  window->findChild<QTabWidget*>(QString::fromUtf8("选择夹1"))->setCurrentIndex(0);
  window->findChild<QLineEdit*>(QString::fromUtf8("编辑框5"))->setText(QString::fromUtf8("小明"));
  window->findChild<QLineEdit*>(QString::fromUtf8("编辑框7"))->setText(QStringLiteral("secret"));
  Save(window, QStringLiteral("box-pass-register"));
}

TEST_F(ScreenshotTest, MainWindowPages) {
  MainWindow* window = app->MainWindowForSignIn();
  ASSERT_NE(window, nullptr);
  window->ShowUserName(Gbk("小明"));
  auto* navigation = window->findChild<QListWidget*>(QString::fromUtf8("导航列表"));
  const char* names[] = {"main-home", "main-tools", "main-environment", "main-about"};
  for (int row = 0; row < 4; ++row) {
    navigation->setCurrentRow(row);
    Save(window, QString::fromUtf8(names[row]));
  }
}

TEST_F(ScreenshotTest, NetworkFailureDialog) {
  NetworkFailureDialog dialog;
  dialog.adjustSize();
  Save(&dialog, QStringLiteral("network-failure"));
}

}  // namespace
}  // namespace quillet
