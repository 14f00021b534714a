#include "app/gui/speed_button_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace quillmere {

namespace {

// Drawn on a 48 x 48 grid; QIcon scales for the bar.
constexpr int kSize = 48;
const QColor kInk(40, 40, 40);
const QColor kPositive(0, 200, 0);
const QColor kNegative(230, 0, 0);
const QColor kAxes(0, 0, 230);
const QColor kPaper(255, 255, 250);

void Sheet(QPainter& p) {
  QPolygonF page;
  page << QPointF(10, 4) << QPointF(30, 4) << QPointF(38, 12) << QPointF(38, 44) << QPointF(10, 44);
  p.setPen(QPen(kInk, 2));
  p.setBrush(kPaper);
  p.drawPolygon(page);
  p.drawLine(QPointF(30, 4), QPointF(30, 12));
  p.drawLine(QPointF(30, 12), QPointF(38, 12));
}

void Lobes(QPainter& p, QRectF box) {
  // Two lobes of a representation surface: positive above, negative below.
  const QPointF c = box.center();
  const qreal rx = box.width() * 0.28;
  const qreal ry = box.height() * 0.24;
  QRadialGradient g(c + QPointF(-rx * 0.3, -ry * 1.3), rx * 1.2);
  g.setColorAt(0, Qt::white);
  g.setColorAt(1, kPositive);
  p.setPen(QPen(kPositive.darker(150), 1.5));
  p.setBrush(g);
  p.drawEllipse(QPointF(c.x(), c.y() - ry), rx, ry);
  QRadialGradient r(c + QPointF(-rx * 0.3, ry * 0.7), rx * 1.2);
  r.setColorAt(0, Qt::white);
  r.setColorAt(1, kNegative);
  p.setPen(QPen(kNegative.darker(150), 1.5));
  p.setBrush(r);
  p.drawEllipse(QPointF(c.x(), c.y() + ry), rx, ry);
}

void Letters(QPainter& p, const QString& text, QRectF box, int pixelSize, bool bold = true,
             const QColor& colour = kInk, const char* family = "Liberation Sans") {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  p.setFont(f);
  p.setPen(colour);
  p.drawText(box, Qt::AlignCenter, text);
}

void Swatch(QPainter& p, const QColor& fill, const QString& sign) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(7, 7, 34, 34), 5, 5);
  if (!sign.isEmpty()) Letters(p, sign, QRectF(7, 5, 34, 34), 30, true, Qt::white);
}

void Grid(QPainter& p, int columns, int rows, QRectF box) {
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(kPaper);
  p.drawRect(box);
  for (int c = 1; c < columns; ++c) {
    const qreal x = box.left() + box.width() * c / columns;
    p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
  }
  for (int r = 1; r < rows; ++r) {
    const qreal y = box.top() + box.height() * r / rows;
    p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
  }
}

void Projection(QPainter& p, const QString& axis) {
  p.setPen(QPen(kAxes, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(24, 24), 18, 12);
  p.setPen(QPen(kPositive.darker(130), 3));
  p.drawEllipse(QPointF(24, 24), 12, 7);
  Letters(p, axis, QRectF(0, 0, 48, 48), 22, true, kInk);
}

void Paint(QPainter& p, SpeedIcon which) {
  switch (which) {
    case SpeedIcon::New:
      Sheet(p);
      p.setPen(QPen(kPositive.darker(130), 4));
      p.drawLine(QPointF(24, 20), QPointF(24, 36));
      p.drawLine(QPointF(16, 28), QPointF(32, 28));
      break;
    case SpeedIcon::Open: {
      p.setPen(QPen(kInk, 2));
      p.setBrush(QColor(240, 200, 90));
      p.drawRect(QRectF(4, 12, 36, 28));
      QPolygonF flap;
      flap << QPointF(10, 20) << QPointF(46, 20) << QPointF(40, 40) << QPointF(4, 40);
      p.setBrush(QColor(250, 220, 120));
      p.drawPolygon(flap);
      break;
    }
    case SpeedIcon::Save:
      p.setPen(QPen(kInk, 2));
      p.setBrush(QColor(70, 110, 200));
      p.drawRoundedRect(QRectF(6, 6, 36, 36), 3, 3);
      p.setBrush(kPaper);
      p.drawRect(QRectF(13, 6, 22, 13));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(12, 27, 24, 15));
      break;
    case SpeedIcon::Print:
      p.setPen(QPen(kInk, 2));
      p.setBrush(kPaper);
      p.drawRect(QRectF(14, 4, 20, 14));
      p.setBrush(QColor(160, 160, 170));
      p.drawRoundedRect(QRectF(4, 16, 40, 18), 3, 3);
      p.setBrush(kPaper);
      p.drawRect(QRectF(12, 28, 24, 16));
      break;
    case SpeedIcon::Draw:
      Lobes(p, QRectF(4, 2, 40, 44));
      break;
    case SpeedIcon::TensorSymmetry:
      Letters(p, QStringLiteral("T"), QRectF(2, 2, 30, 40), 38, true, kInk, "Liberation Serif");
      Letters(p, QStringLiteral("ij"), QRectF(24, 20, 24, 26), 20, false, kInk, "Liberation Serif");
      break;
    case SpeedIcon::PointGroup: {
      QPolygonF hex;
      for (int i = 0; i < 6; ++i) {
        const qreal a = 3.14159265358979 / 3 * i;
        hex << QPointF(24 + 19 * std::cos(a), 24 + 19 * std::sin(a));
      }
      p.setPen(QPen(kAxes, 2.5));
      p.setBrush(QColor(220, 230, 255));
      p.drawPolygon(hex);
      p.setPen(QPen(kInk, 2));
      p.drawLine(QPointF(5, 24), QPointF(43, 24));
      p.drawLine(QPointF(14.5, 7.5), QPointF(33.5, 40.5));
      p.drawLine(QPointF(33.5, 7.5), QPointF(14.5, 40.5));
      break;
    }
    case SpeedIcon::IndependentComponents:
      Grid(p, 2, 4, QRectF(8, 4, 32, 40));
      p.fillRect(QRectF(25, 5, 14, 9), kPositive);
      break;
    case SpeedIcon::ClearComponents:
      Grid(p, 3, 3, QRectF(5, 5, 38, 38));
      p.setPen(QPen(kNegative, 5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(12, 12), QPointF(36, 36));
      p.drawLine(QPointF(36, 12), QPointF(12, 36));
      break;
    case SpeedIcon::DrawUtilities:
      p.setPen(QPen(kInk, 2));
      for (int i = 0; i < 3; ++i) {
        const qreal y = 10 + i * 14;
        p.drawLine(QPointF(6, y), QPointF(42, y));
        p.setBrush(i == 1 ? kPositive : kAxes);
        p.drawRect(QRectF(10 + i * 11, y - 5, 8, 10));
      }
      break;
    case SpeedIcon::Stereo:
      Lobes(p, QRectF(-2, 6, 28, 36));
      Lobes(p, QRectF(22, 6, 28, 36));
      break;
    case SpeedIcon::Normal:
      Lobes(p, QRectF(6, 2, 36, 44));
      break;
    case SpeedIcon::PositiveFill:
      Swatch(p, kPositive, QStringLiteral("+"));
      break;
    case SpeedIcon::NegativeFill:
      Swatch(p, kNegative, QString(QChar(0x2212)));
      break;
    case SpeedIcon::Background:
      Swatch(p, kPaper, QString());
      Lobes(p, QRectF(12, 10, 24, 28));
      break;
    case SpeedIcon::AxesColour:
      p.setPen(QPen(kAxes, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(20, 30), QPointF(20, 4));
      p.drawLine(QPointF(20, 30), QPointF(46, 36));
      p.drawLine(QPointF(20, 30), QPointF(4, 44));
      break;
    case SpeedIcon::TextStyle:
      Letters(p, QStringLiteral("A"), QRectF(0, 0, 34, 46), 40, true, QColor(120, 70, 0),
              "Liberation Serif");
      Letters(p, QStringLiteral("a"), QRectF(26, 14, 22, 32), 26, false, kInk, "Liberation Serif");
      break;
    case SpeedIcon::ProjectionX:
      Projection(p, QStringLiteral("X"));
      break;
    case SpeedIcon::ProjectionY:
      Projection(p, QStringLiteral("Y"));
      break;
    case SpeedIcon::ProjectionZ:
      Projection(p, QStringLiteral("Z"));
      break;
    case SpeedIcon::Help:
      p.setPen(QPen(kAxes.darker(120), 2.5));
      p.setBrush(QColor(225, 235, 255));
      p.drawEllipse(QPointF(24, 24), 20, 20);
      Letters(p, QStringLiteral("?"), QRectF(4, 4, 40, 40), 30, true, kAxes.darker(120));
      break;
  }
}

}  // namespace

QIcon SpeedButtonIcon(SpeedIcon which) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Paint(p, which);
  }
  return QIcon(pixmap);
}

}  // namespace quillmere
