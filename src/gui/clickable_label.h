#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace quillet {

// A label or picture box that reports a left click, like the control pack's
// picture boxes and labels with their "clicked" event.
class ClickableLabel final : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
  }
};

}  // namespace quillet
