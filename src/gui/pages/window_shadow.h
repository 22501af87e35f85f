#pragma once

// A soft shadow around a frameless top-level window: a separate frameless,
// translucent, click-through window that never takes the focus, owned by the
// shadowed window and a few pixels larger on every side. Its state lives in
// dynamic properties, so it can be attached to any top-level widget:
//   "Lumen.WndShadow"       on the window: the shadow window (QObject*)
//   "Lumen.WndShadow.Proc"  on the window: the event filter that follows it
//   "Lumen.WndShadow.Color" on the shadow: colour, 0x00BBGGRR (0 = black)
//   "Lumen.WndShadow.Size"  on the shadow: width in pixels on each side

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace quillet {

class MainWindow;
struct AppState;

// Attaches (or updates) the shadow. A size of 0 or less removes it and gives
// false; false also for a missing window or one that is not top-level. With
// `pictures` the stored shadow pictures are taken from (and decoded into)
// that state's two holders.
bool SetWindowShadow(QWidget* window, std::uint32_t colour = 0, int size = 5,
                     AppState* pictures = nullptr);

// Hides, shows, places and repaints the shadow; without `visible` the
// window's own visibility is used.
void UpdateWindowShadow(QWidget* window, std::optional<bool> visible = std::nullopt);

// The shadow window of `window`, or null.
QWidget* WindowShadowOf(const QWidget* window);

// The shadow picture for a shadow window of width x height with the given
// colour and size: the stored pictures for black at 5 and 10, rings
// otherwise. The stored pictures come from `pictures` when given.
QImage RenderWindowShadow(int width, int height, std::uint32_t colour, int size,
                          AppState* pictures = nullptr);

// The hook of the creation sequence: colour 0, size 5.
void AttachMainWindowShadow(MainWindow& window);
// The same hook drawing with the stored pictures held in `state`, which must
// outlive the window.
std::function<void(MainWindow&)> MakeAttachMainWindowShadow(AppState& state);

}  // namespace quillet
