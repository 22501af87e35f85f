#include "gui/pictures.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quillet {

namespace {

const QColor kSteelBlue(0x46, 0x82, 0xB4);
const QColor kCoffee(0x8B, 0x5A, 0x2B);

QPixmap Blank(QSize size) {
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  return picture;
}

void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
}

// A steaming cup: the program's emblem (a nod to Java).
void DrawCup(QPainter& p, const QRectF& box, const QColor& colour) {
  const qreal w = box.width();
  const qreal h = box.height();
  QPainterPath cup;
  cup.moveTo(box.left() + w * 0.15, box.top() + h * 0.42);
  cup.lineTo(box.left() + w * 0.75, box.top() + h * 0.42);
  cup.quadTo(box.left() + w * 0.74, box.top() + h * 0.92, box.left() + w * 0.45,
             box.top() + h * 0.92);
  cup.quadTo(box.left() + w * 0.16, box.top() + h * 0.92, box.left() + w * 0.15,
             box.top() + h * 0.42);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(cup);
  QPen handle(colour, qMax<qreal>(1.5, w * 0.07));
  p.setPen(handle);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(box.left() + w * 0.62, box.top() + h * 0.5, w * 0.26, h * 0.22), -90 * 16,
            180 * 16);
  QPen steam(colour, qMax<qreal>(1.0, w * 0.045), Qt::SolidLine, Qt::RoundCap);
  p.setPen(steam);
  for (int i = 0; i < 3; ++i) {
    const qreal x = box.left() + w * (0.3 + 0.15 * i);
    QPainterPath s;
    s.moveTo(x, box.top() + h * 0.35);
    s.cubicTo(x - w * 0.06, box.top() + h * 0.27, x + w * 0.06, box.top() + h * 0.2, x,
              box.top() + h * 0.08);
    p.drawPath(s);
  }
}

}  // namespace

QPixmap MarkPicture(Mark mark, int size) {
  QPixmap picture = Blank(QSize(size, size));
  QPainter p(&picture);
  Prepare(p);
  const qreal s = size;
  QColor band;
  QString sign;
  switch (mark) {
    case Mark::kError:
      band = QColor(0xC4, 0x2B, 0x1C);
      sign = QStringLiteral("\u2715");
      break;
    case Mark::kSuccess:
      band = QColor(0x2E, 0x8B, 0x3A);
      sign = QStringLiteral("\u2713");
      break;
    case Mark::kInformation:
      band = QColor(0x1E, 0x64, 0xB4);
      sign = QStringLiteral("i");
      break;
  }
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  if (mark == Mark::kInformation) {
    p.drawEllipse(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9));
  } else {
    QPainterPath shield;
    shield.moveTo(s * 0.15, s * 0.1);
    shield.lineTo(s * 0.85, s * 0.1);
    shield.lineTo(s * 0.85, s * 0.5);
    shield.quadTo(s * 0.85, s * 0.8, s * 0.5, s * 0.95);
    shield.quadTo(s * 0.15, s * 0.8, s * 0.15, s * 0.5);
    shield.closeSubpath();
    p.drawPath(shield);
  }
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(qMax(6, size / 2));
  p.setFont(f);
  p.drawText(QRectF(0, 0, s, s * 0.95), Qt::AlignCenter, sign);
  return picture;
}

QPixmap LogoPicture(QSize size) {
  QPixmap picture = Blank(size);
  QPainter p(&picture);
  Prepare(p);
  const qreal h = size.height();
  const qreal cup = h * 0.62;
  DrawCup(p, QRectF(6, (h - cup) / 2 - 4, cup, cup), kCoffee);
  const QRectF textBox(cup + 12, 0, size.width() - cup - 16, h * 0.62);
  QFont f = p.font();
  f.setBold(true);
  // The largest size at which the name still fits beside the cup.
  int pixels = static_cast<int>(h * 0.34);
  for (; pixels > 8; --pixels) {
    f.setPixelSize(pixels);
    if (QFontMetricsF(f).horizontalAdvance(QStringLiteral("Quillet")) <= textBox.width()) break;
  }
  p.setFont(f);
  p.setPen(kSteelBlue.darker(130));
  p.drawText(textBox, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Quillet"));
  QFont small = f;
  small.setBold(false);
  small.setPixelSize(static_cast<int>(h * 0.14));
  p.setFont(small);
  p.setPen(QColor(0x70, 0x70, 0x70));
  p.drawText(QRectF(textBox.left() + 2, h * 0.64, textBox.width(), h * 0.2),
             Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Java toolbox"));
  return picture;
}

QPixmap NavigationPicture(int item) {
  QPixmap picture = Blank(QSize(30, 30));
  QPainter p(&picture);
  Prepare(p);
  const QColor c = kSteelBlue;
  QPen pen(c, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (item) {
    case 0: {  // a calendar with a tick: the daily check-in
      p.drawRoundedRect(QRectF(5, 7, 20, 18), 3, 3);
      p.drawLine(QPointF(5, 12), QPointF(25, 12));
      p.drawLine(QPointF(10, 4), QPointF(10, 9));
      p.drawLine(QPointF(20, 4), QPointF(20, 9));
      QPainterPath tick;
      tick.moveTo(10, 18);
      tick.lineTo(14, 21.5);
      tick.lineTo(20, 15);
      p.drawPath(tick);
      break;
    }
    case 1: {  // four tiles: the tools
      p.setBrush(c.lighter(150));
      p.drawRoundedRect(QRectF(5, 5, 8.5, 8.5), 2, 2);
      p.drawRoundedRect(QRectF(16.5, 5, 8.5, 8.5), 2, 2);
      p.drawRoundedRect(QRectF(5, 16.5, 8.5, 8.5), 2, 2);
      p.setBrush(c);
      p.drawRoundedRect(QRectF(16.5, 16.5, 8.5, 8.5), 2, 2);
      break;
    }
    case 2: {  // a cup: the Java environment
      DrawCup(p, QRectF(3, 2, 25, 25), c);
      break;
    }
    default: {  // an "i" in a circle: about
      p.drawEllipse(QRectF(4, 4, 22, 22));
      p.drawPoint(QPointF(15, 10));
      p.drawLine(QPointF(15, 14), QPointF(15, 21));
      break;
    }
  }
  return picture;
}

QPixmap AccountPicture(QSize size) {
  QPixmap picture = Blank(size);
  QPainter p(&picture);
  Prepare(p);
  const qreal w = size.width();
  const qreal h = size.height();
  p.setPen(Qt::NoPen);
  p.setBrush(kSteelBlue);
  p.drawEllipse(QRectF(w * 0.34, h * 0.18, w * 0.32, h * 0.32));
  QPainterPath body;
  body.moveTo(w * 0.18, h * 0.86);
  body.quadTo(w * 0.2, h * 0.54, w * 0.5, h * 0.54);
  body.quadTo(w * 0.8, h * 0.54, w * 0.82, h * 0.86);
  body.closeSubpath();
  p.drawPath(body);
  return picture;
}

QPixmap StatisticsPicture(int line) {
  static const QColor kColours[] = {QColor(0x46, 0x82, 0xB4), QColor(0x3C, 0xA0, 0x6E),
                                    QColor(0xE0, 0x8A, 0x2E), QColor(0x8E, 0x5C, 0xC2)};
  QPixmap picture = Blank(QSize(32, 32));
  QPainter p(&picture);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(kColours[(line % 4 + 4) % 4]);
  p.drawEllipse(QRectF(2, 2, 28, 28));
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  switch (line) {
    case 0:  // people
    case 1:
      p.drawEllipse(QRectF(12, 8, 8, 8));
      p.drawArc(QRectF(9, 17, 14, 12), 0, 180 * 16);
      break;
    case 2:  // a page of posts
      p.drawLine(QPointF(10, 11), QPointF(22, 11));
      p.drawLine(QPointF(10, 16), QPointF(22, 16));
      p.drawLine(QPointF(10, 21), QPointF(18, 21));
      break;
    default:  // the user's star
      p.drawLine(QPointF(16, 8), QPointF(16, 24));
      p.drawLine(QPointF(8, 16), QPointF(24, 16));
      break;
  }
  return picture;
}

QPixmap PostItemPicture() {
  QPixmap picture = Blank(QSize(25, 14));
  QPainter p(&picture);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE0, 0x5A, 0x3C));
  p.drawRoundedRect(QRectF(1, 1, 23, 12), 3, 3);
  p.setPen(Qt::white);
  QFont f = p.font();
  f.setPixelSize(9);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(1, 0, 23, 14), Qt::AlignCenter, QStringLiteral("NEW"));
  return picture;
}

QPixmap AboutPicture(int which, QSize size) {
  QPixmap picture = Blank(size);
  QPainter p(&picture);
  Prepare(p);
  const QRectF box(1, 1, size.width() - 2, size.height() - 2);
  QLinearGradient g(box.topLeft(), box.bottomRight());
  g.setColorAt(0, which == 0 ? kSteelBlue.lighter(140) : QColor(0xF2, 0xC0, 0x8A));
  g.setColorAt(1, which == 0 ? kSteelBlue : kCoffee);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(box, 10, 10);
  if (which == 0) {
    DrawCup(p, QRectF(box.left() + 10, box.top() + 8, box.height() - 16, box.height() - 16),
            Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(static_cast<int>(box.height() * 0.26));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(box.adjusted(box.height() - 2, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Quillet"));
  } else {
    QFont f(QStringLiteral("monospace"));
    f.setPixelSize(static_cast<int>(box.height() * 0.2));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("class Hello {\n  main() { }\n}"));
  }
  return picture;
}

QPixmap RefreshPicture(QSize size) {
  QPixmap picture = Blank(size);
  QPainter p(&picture);
  Prepare(p);
  const qreal s = qMin(size.width(), size.height());
  const QRectF ring(s * 0.2, s * 0.2, s * 0.6, s * 0.6);
  p.setPen(QPen(kSteelBlue, s * 0.09, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(ring, 30 * 16, 300 * 16);
  QPainterPath head;
  head.moveTo(s * 0.78, s * 0.12);
  head.lineTo(s * 0.8, s * 0.38);
  head.lineTo(s * 0.56, s * 0.3);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kSteelBlue);
  p.drawPath(head);
  return picture;
}

QPixmap FolderPicture(QSize size) {
  QPixmap picture = Blank(size);
  QPainter p(&picture);
  Prepare(p);
  const qreal w = size.width();
  const qreal h = size.height();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE8, 0xB3, 0x3C));
  p.drawRoundedRect(QRectF(w * 0.15, h * 0.28, w * 0.32, h * 0.16), 2, 2);
  p.drawRoundedRect(QRectF(w * 0.15, h * 0.36, w * 0.7, h * 0.4), 3, 3);
  return picture;
}

}  // namespace quillet
