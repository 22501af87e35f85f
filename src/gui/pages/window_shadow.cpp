#include "gui/pages/window_shadow.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QVariant>

#include "core/graphics/nine_slice.h"
#include "core/graphics/shadow_geometry.h"
#include "gui/app_state.h"
#include "gui/graphics/qt_image_decoder.h"
#include "gui/graphics/shadow_picture_cache.h"
#include "gui/main_window.h"

namespace quillet {

namespace {

constexpr char kShadowProperty[] = "Lumen.WndShadow";
constexpr char kFilterProperty[] = "Lumen.WndShadow.Proc";
constexpr char kColourProperty[] = "Lumen.WndShadow.Color";
constexpr char kSizeProperty[] = "Lumen.WndShadow.Size";

QRect ToQRect(const PixelRect& r) { return QRect(r.x, r.y, r.width, r.height); }

// The stored picture for size 5 or 10, decoded on first use into the
// program state's holders; without a state (a shadow outside the program's
// main window) into holders of this file, kept for the run.
const QImage* ShadowPicture(int size, AppState* pictures) {
  static GdipImage ownSmall(QtImageDecoderInstance());
  static GdipImage ownLarge(QtImageDecoderInstance());
  GdipImage& small = pictures != nullptr ? pictures->shadowImageSmall : ownSmall;
  GdipImage& large = pictures != nullptr ? pictures->shadowImageLarge : ownLarge;
  return size == 10 ? ShadowPictureFrom(large, 10) : ShadowPictureFrom(small, 5);
}

void DrawNineSlice(QPainter& painter, const QImage* picture, int width, int height) {
  if (picture == nullptr) return;
  for (const SliceCopy& copy :
       NineSliceCopies(picture->width(), picture->height(), PixelRect{0, 0, width, height})) {
    if (copy.destination.width <= 0 || copy.destination.height <= 0) continue;
    if (copy.source.width <= 0 || copy.source.height <= 0) continue;
    painter.drawImage(ToQRect(copy.destination), *picture, ToQRect(copy.source));
  }
}

// The drawing API counts arc angles clockwise from the x axis; Qt counts
// them anticlockwise, so both the start and the sweep change sign.
QPainterPath ToPainterPath(const RoundRectPath& path) {
  QPainterPath out;
  if (path.plainRectangle) {
    out.addRect(ToQRect(path.rectangle));
    return out;
  }
  // An empty path starts at (0, 0); without moving to the first arc's start
  // an extra line from the origin would be drawn.
  if (!path.arcs.empty()) {
    out.arcMoveTo(ToQRect(path.arcs.front().bounds), -path.arcs.front().startAngle);
  }
  for (const PathArc& arc : path.arcs) {
    out.arcTo(ToQRect(arc.bounds), -arc.startAngle, -arc.sweepAngle);
  }
  out.closeSubpath();
  return out;
}

void DrawRings(QPainter& painter, int width, int height, std::uint32_t colour, int size) {
  const ShadowRings rings = BuildShadowRings(width, height, size, colour);
  // Everything except the area under the window.
  painter.setClipRegion(QRegion(0, 0, width, height).xored(QRegion(ToQRect(rings.uncovered))));
  painter.setRenderHint(QPainter::Antialiasing);
  // Qt puts pixel centres at half coordinates; shifting by half a pixel makes
  // a 1-pixel outline at x cover column x alone, so ring i lies on the i-th
  // pixel row from the border and keeps its full alpha.
  painter.translate(0.5, 0.5);
  for (const ShadowRing& ring : rings.rings) {
    painter.setPen(QPen(QColor::fromRgba(ring.argb), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ToPainterPath(ring.path));
  }
  painter.setClipping(false);
}

class ShadowWindow final : public QWidget {
 public:
  explicit ShadowWindow(QWidget* owner)
      : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint) {
    setObjectName(QStringLiteral("Lumen.Shadow"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

  void SetPictures(AppState* pictures) { pictures_ = pictures; }

 protected:
  void paintEvent(QPaintEvent*) override {
    const QImage picture = RenderWindowShadow(width(), height(), property(kColourProperty).toUInt(),
                                              property(kSizeProperty).toInt(), pictures_);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
  }

 private:
  AppState* pictures_ = nullptr;
};

// Follows the shadowed window: moves, resizes, shows, hides and state
// changes re-place the shadow after the window has handled them.
class ShadowFollower final : public QObject {
 public:
  explicit ShadowFollower(QWidget* window) : QObject(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr) return false;
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowStateChange:
        UpdateWindowShadow(window);
        break;
      case QEvent::Show:
        UpdateWindowShadow(window, true);
        break;
      case QEvent::Hide:
        UpdateWindowShadow(window, false);
        break;
      default:
        break;
    }
    return false;
  }
};

}  // namespace

QWidget* WindowShadowOf(const QWidget* window) {
  if (window == nullptr) return nullptr;
  return qobject_cast<QWidget*>(window->property(kShadowProperty).value<QObject*>());
}

bool SetWindowShadow(QWidget* window, std::uint32_t colour, int size, AppState* pictures) {
  if (window == nullptr || !window->isWindow()) return false;
  QWidget* shadow = WindowShadowOf(window);
  if (size <= 0) {
    delete shadow;
    window->setProperty(kShadowProperty, QVariant());
    if (auto* follower = window->property(kFilterProperty).value<QObject*>()) {
      window->removeEventFilter(follower);
      delete follower;
    }
    window->setProperty(kFilterProperty, QVariant());
    return false;
  }
  if (shadow == nullptr) {
    shadow = new ShadowWindow(window);
    window->setProperty(kShadowProperty, QVariant::fromValue<QObject*>(shadow));
  }
  if (pictures != nullptr) {
    if (auto* own = dynamic_cast<ShadowWindow*>(shadow)) own->SetPictures(pictures);
  }
  shadow->setProperty(kColourProperty, static_cast<uint>(colour));
  shadow->setProperty(kSizeProperty, size);
  UpdateWindowShadow(window);
  shadow->update();
  if (!window->property(kFilterProperty).value<QObject*>()) {
    auto* follower = new ShadowFollower(window);
    window->installEventFilter(follower);
    window->setProperty(kFilterProperty, QVariant::fromValue<QObject*>(follower));
  }
  return true;
}

void UpdateWindowShadow(QWidget* window, std::optional<bool> visible) {
  QWidget* shadow = WindowShadowOf(window);
  if (shadow == nullptr) return;
  const QRect frame = window->frameGeometry();
  ShadowedWindowState state;
  state.frame = PixelRect{frame.x(), frame.y(), frame.width(), frame.height()};
  state.visible = visible.value_or(window->isVisible());
  state.maximised = window->isMaximized() || window->isFullScreen();
  state.minimised = window->isMinimized();
  const ShadowPlacement placement = PlaceShadow(state, shadow->property(kSizeProperty).toInt());
  if (!placement.show) {
    shadow->hide();
    return;
  }
  if (placement.place) shadow->setGeometry(ToQRect(placement.frame));
  // The shadow is transparent over the window itself, so where the window
  // manager stacks it relative to its owner does not matter.
  if (shadow->isHidden()) shadow->show();
  shadow->update();
}

QImage RenderWindowShadow(int width, int height, std::uint32_t colour, int size,
                          AppState* pictures) {
  if (width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  switch (ChooseShadowDrawing(colour, size)) {
    case ShadowDrawing::SmallPicture:
      DrawNineSlice(painter, ShadowPicture(5, pictures), width, height);
      break;
    case ShadowDrawing::LargePicture:
      DrawNineSlice(painter, ShadowPicture(10, pictures), width, height);
      break;
    case ShadowDrawing::Rings:
      DrawRings(painter, width, height, colour, size);
      break;
  }
  return image;
}

void AttachMainWindowShadow(MainWindow& window) { SetWindowShadow(&window, 0, 5); }

std::function<void(MainWindow&)> MakeAttachMainWindowShadow(AppState& state) {
  return [&state](MainWindow& window) { SetWindowShadow(&window, 0, 5, &state); };
}

}  // namespace quillet
