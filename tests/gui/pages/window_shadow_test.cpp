#include "gui/pages/window_shadow.h"

#include <QPainter>

#include "../windows/gui_fixture.h"
#include "core/graphics/shadow_pictures.h"
#include "gui/main_window.h"
#include "page_screenshot.h"

namespace quillet::test {
namespace {

class WindowShadowTest : public GuiFixture {
 protected:
  void SetUp() override { Build(); }
  // The shadow is a top-level window of its own, owned by the main window:
  // it goes with the main window, before the fixture walks the top-level
  // windows that are left.
  void TearDown() override {
    delete window;
    GuiFixture::TearDown();
  }

  MainWindow* OpenWindow() {
    MainWindowHooks hooks;
    hooks.attachShadow = AttachMainWindowShadow;
    window = new MainWindow(*context, std::move(hooks));
    EXPECT_TRUE(window->RunCreationSequence());
    return window;
  }

  QWidget* Shadow() { return WindowShadowOf(window); }

  MainWindow* window = nullptr;
};

TEST_F(WindowShadowTest, FollowsTheMainWindowFiveLargerOnEachSide) {
  OpenWindow();
  ASSERT_NE(Shadow(), nullptr);
  EXPECT_FALSE(Shadow()->isVisible());  // the window is not shown yet
  window->show();
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->isVisible(); }));
  EXPECT_EQ(Shadow()->geometry(), QRect(45, 45, 799, 555));
  window->move(100, 120);
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->geometry() == QRect(95, 115, 799, 555); }))
      << Shadow()->geometry().x() << "," << Shadow()->geometry().y();
  window->resize(600, 400);
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->geometry() == QRect(95, 115, 610, 410); }));
  window->hide();
  ASSERT_TRUE(WaitUntil([&] { return !Shadow()->isVisible(); }));
}

TEST_F(WindowShadowTest, HiddenWhileMaximisedOrMinimisedBackWhenRestored) {
  OpenWindow();
  window->show();
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->isVisible(); }));
  window->showMaximized();
  ASSERT_TRUE(WaitUntil([&] { return !Shadow()->isVisible(); }));
  window->showNormal();
  window->setGeometry(50, 50, 789, 545);
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->isVisible(); }));
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->geometry() == QRect(45, 45, 799, 555); }));
  window->showMinimized();
  ASSERT_TRUE(WaitUntil([&] { return !Shadow()->isVisible(); }));
}

TEST_F(WindowShadowTest, IsAClickThroughTranslucentToolWindowThatTakesNoFocus) {
  OpenWindow();
  QWidget* shadow = Shadow();
  ASSERT_NE(shadow, nullptr);
  const Qt::WindowFlags flags = shadow->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowTransparentForInput));
  EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(shadow->windowType(), Qt::Tool);
  EXPECT_TRUE(shadow->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_TRUE(shadow->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(shadow->parentWidget(), window);
  EXPECT_EQ(shadow->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(shadow->property("Lumen.WndShadow.Color").toUInt(), 0u);
  EXPECT_EQ(shadow->property("Lumen.WndShadow.Size").toInt(), 5);
  EXPECT_NE(window->property("Lumen.WndShadow.Proc").value<QObject*>(), nullptr);
}

TEST_F(WindowShadowTest, AttachingAgainUpdatesAndSizeZeroRemoves) {
  OpenWindow();
  QWidget* first = Shadow();
  QObject* follower = window->property("Lumen.WndShadow.Proc").value<QObject*>();
  EXPECT_TRUE(SetWindowShadow(window, 0x0000FF, 10));
  EXPECT_EQ(Shadow(), first);
  EXPECT_EQ(window->property("Lumen.WndShadow.Proc").value<QObject*>(), follower);
  EXPECT_EQ(first->property("Lumen.WndShadow.Color").toUInt(), 0x0000FFu);
  EXPECT_EQ(first->property("Lumen.WndShadow.Size").toInt(), 10);
  EXPECT_FALSE(SetWindowShadow(window, 0, 0));
  EXPECT_EQ(Shadow(), nullptr);
  EXPECT_FALSE(window->property("Lumen.WndShadow.Proc").isValid());
  window->show();
  window->move(70, 70);  // no follower left to trip over
  EXPECT_FALSE(SetWindowShadow(nullptr, 0, 5));
}

int AlphaAt(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)); }

TEST(RenderWindowShadowTest, StoredPicturesKeepTheirCornersAndEdgeRamps) {
  EnsureQtApplication();
  for (const int size : {5, 10}) {
    const QImage image =
        RenderWindowShadow(799, 555, 0, size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(799, 555));
    const std::vector<std::uint8_t> alpha = ShadowPictureAlpha(size);
    // The 20 x 20 corners are the picture's corners, unscaled.
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        ASSERT_EQ(AlphaAt(image, x, y), alpha[y * 100 + x]) << size << ":" << x << "," << y;
        ASSERT_EQ(AlphaAt(image, 798 - x, 554 - y), alpha[(99 - y) * 100 + 99 - x])
            << size << ":" << x << "," << y;
      }
    }
    // Along the top edge, far from the corners: the ramp, then nothing.
    for (int y = 0; y < size; ++y) EXPECT_EQ(AlphaAt(image, 400, y), alpha[y * 100 + 50]);
    EXPECT_EQ(AlphaAt(image, 400, size), 0);
    EXPECT_EQ(AlphaAt(image, 400, 277), 0);
    EXPECT_EQ(qRed(image.pixel(400, 0)), 0);
  }
}

TEST_F(WindowShadowTest, StoredPicturesAreDecodedIntoTheStateOnceAndDrawnFromThere) {
  EXPECT_EQ(state->shadowImageSmall.GetImageHandle(), nullptr);
  const QImage drawn = RenderWindowShadow(300, 200, 0, 5, state.get());
  ASSERT_NE(state->shadowImageSmall.GetImageHandle(), nullptr);
  EXPECT_EQ(state->shadowImageLarge.GetImageHandle(), nullptr);  // size 10 not used yet
  const DecodedImage* held = state->shadowImageSmall.GetImageHandle();
  // Same result as the pictures kept outside the state, and the held
  // picture is reused, not decoded again.
  EXPECT_EQ(drawn, RenderWindowShadow(300, 200, 0, 5));
  RenderWindowShadow(300, 200, 0, 5, state.get());
  EXPECT_EQ(state->shadowImageSmall.GetImageHandle(), held);
  RenderWindowShadow(300, 200, 0, 10, state.get());
  EXPECT_EQ(state->shadowImageLarge.GetWidth(), 100);
}

TEST_F(WindowShadowTest, HookWithTheStateDrawsFromTheStatesPictures) {
  MainWindowHooks hooks;
  hooks.attachShadow = MakeAttachMainWindowShadow(*state);
  window = new MainWindow(*context, std::move(hooks));
  ASSERT_TRUE(window->RunCreationSequence());
  QWidget* shadow = WindowShadowOf(window);
  ASSERT_NE(shadow, nullptr);
  const QImage painted = shadow->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_NE(state->shadowImageSmall.GetImageHandle(), nullptr);
  EXPECT_EQ(state->shadowImageLarge.GetImageHandle(), nullptr);
  EXPECT_EQ(qAlpha(painted.pixel(painted.width() / 2, 0)), kShadowRamp5[0]);
}

TEST(RenderWindowShadowTest, OtherColoursDrawRingsFaintOutsideDarkInside) {
  EnsureQtApplication();
  const QImage image =
      RenderWindowShadow(200, 100, 0x0000FF, 5).convertToFormat(QImage::Format_ARGB32);
  const int expected[] = {20, 40, 60, 80, 100};
  for (int i = 0; i < 5; ++i) {
    const QRgb top = image.pixel(100, i);
    EXPECT_NEAR(qAlpha(top), expected[i], 2) << i;
    EXPECT_EQ(qRed(top), 255) << i;
    EXPECT_EQ(qGreen(top), 0);
    EXPECT_NEAR(qAlpha(image.pixel(i, 50)), expected[i], 2) << i;
  }
  // The area under the window stays clear.
  EXPECT_EQ(qAlpha(image.pixel(100, 5)), 0);
  EXPECT_EQ(qAlpha(image.pixel(5, 50)), 0);
  EXPECT_TRUE(RenderWindowShadow(0, 100, 0, 5).isNull());
}

TEST_F(WindowShadowTest, ScreenshotOfTheShadowedWindow) {
  OpenWindow();
  window->show();
  ASSERT_TRUE(WaitUntil([&] { return Shadow()->isVisible(); }));
  const QRect shadow = Shadow()->geometry();
  QImage composed(shadow.width() + 40, shadow.height() + 40, QImage::Format_ARGB32);
  composed.fill(QColor(0xE8, 0xEC, 0xF0));
  QPainter painter(&composed);
  painter.drawImage(20, 20, RenderWindowShadow(shadow.width(), shadow.height(), 0, 5));
  painter.drawPixmap(20 + window->x() - shadow.x(), 20 + window->y() - shadow.y(), window->grab());
  painter.end();
  EXPECT_TRUE(SavePageScreenshot(composed, QStringLiteral("pages-shadow.png")));
}

}  // namespace
}  // namespace quillet::test
