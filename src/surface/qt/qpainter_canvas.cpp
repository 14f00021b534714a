#include "surface/qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLineF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygonF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace quillmere {

QColor ToQColor(Colour c) {
  return QColor(c.red, c.green, c.blue);
}

QFont ToQFont(const LabelFont& font, int pointSize) {
  QFont f(QString::fromStdString(font.family));
  f.setPointSize(pointSize);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  return f;
}

QImage MakePictureImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(kPictureDotsPerMetre);
  image.setDotsPerMeterY(kPictureDotsPerMetre);
  return image;
}

QPainterCanvas::QPainterCanvas(QPainter& painter, int width, int height, double pixelRatio)
    : painter_(painter),
      width_(width),
      height_(height),
      ratio_(pixelRatio),
      // Vector pictures (SVG, PDF) are written as they always were: their writers group the
      // shapes by every pen and brush they are given.
      remember_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

namespace {

bool SamePen(const Pen& a, const Pen& b) {
  if (a.clear || b.clear) return a.clear == b.clear;
  return a.colour.SameRgb(b.colour) && (a.width > 1 ? a.width : 0) == (b.width > 1 ? b.width : 0);
}

bool SameBrush(const Brush& a, const Brush& b) {
  if (a.clear || b.clear) return a.clear == b.clear;
  return a.colour.SameRgb(b.colour);
}

}  // namespace

void QPainterCanvas::Apply(const Pen& pen, const Brush& brush) {
  const bool penSet = applied_ && SamePen(pen, pen_);
  const bool brushSet = applied_ && SameBrush(brush, brush_);
  applied_ = remember_;
  pen_ = pen;
  brush_ = brush;
  if (penSet && brushSet) return;
  if (penSet) {
    if (brush.clear)
      painter_.setBrush(Qt::NoBrush);
    else
      painter_.setBrush(ToQColor(brush.colour));
    return;
  }
  if (pen.clear) {
    painter_.setPen(Qt::NoPen);
  } else {
    QPen p(ToQColor(pen.colour));
    p.setWidth(pen.width > 1 ? pen.width : 0);  // 0: a one-pixel cosmetic line
    p.setStyle(Qt::SolidLine);
    painter_.setPen(p);
  }
  if (brush.clear)
    painter_.setBrush(Qt::NoBrush);
  else
    painter_.setBrush(ToQColor(brush.colour));
}

void QPainterCanvas::FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen,
                                   const Brush& brush) {
  if (x1 <= x0 || y1 <= y0) return;
  if (!brush.clear) painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), ToQColor(brush.colour));
  if (!pen.clear) {
    applied_ = false;
    Apply(pen, Brush{brush.colour, true});
    painter_.drawRect(QRect(x0, y0, x1 - x0 - 1, y1 - y0 - 1));
  }
}

void QPainterCanvas::Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) {
  Apply(pen, brush);
  const QPoint q[4] = {{points[0].x, points[0].y},
                       {points[1].x, points[1].y},
                       {points[2].x, points[2].y},
                       {points[3].x, points[3].y}};
  painter_.drawPolygon(q, 4);
}

void QPainterCanvas::Text(int x, int y, const std::string& text, const LabelFont& font,
                          int pointSize) {
  if (pointSize < 1 || text.empty()) return;
  QFont f = ToQFont(font, pointSize);
  if (ratio_ != 1) f.setPointSizeF(pointSize * ratio_);
  painter_.setFont(f);
  painter_.setPen(ToQColor(font.colour));
  painter_.setBrush(Qt::NoBrush);
  applied_ = false;
  // The text's box has its top-left corner at (x, y); Qt places text by its baseline.
  const QFontMetrics metrics(f, painter_.device());
  painter_.drawText(QPoint(x, y + metrics.ascent()), QString::fromStdString(text));
}

namespace {

QPen ToQPen(const Stroke& s) {
  return QPen(QBrush(ToQColor(s.colour)), s.width, s.dotted ? Qt::DotLine : Qt::SolidLine);
}

QString ToQString(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void QPainterCanvas::SetSmoothing(bool on) {
  painter_.setRenderHint(QPainter::Antialiasing, on);
}

void QPainterCanvas::FillRectF(double x, double y, double w, double h, Colour fill) {
  applied_ = false;
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQColor(fill));
  painter_.drawRect(QRectF(x, y, w, h));
}

void QPainterCanvas::OutlineRectF(double x, double y, double w, double h, const Stroke& stroke) {
  applied_ = false;
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(ToQPen(stroke));
  painter_.drawRect(QRectF(x, y, w, h));
}

void QPainterCanvas::Circle(PointF centre, double r, const Stroke& stroke) {
  applied_ = false;
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(ToQPen(stroke));
  painter_.drawEllipse(QPointF(centre.x, centre.y), r, r);
}

void QPainterCanvas::Lines(const std::vector<LineF>& lines, const Stroke& stroke) {
  applied_ = false;
  painter_.setPen(ToQPen(stroke));
  std::vector<QLineF> q;
  q.reserve(lines.size());
  for (const LineF& l : lines) q.emplace_back(l.from.x, l.from.y, l.to.x, l.to.y);
  painter_.drawLines(q.data(), static_cast<int>(q.size()));
}

void QPainterCanvas::PolygonF(const std::vector<PointF>& points, const Stroke& stroke,
                              Colour fill) {
  applied_ = false;
  painter_.setPen(ToQPen(stroke));
  painter_.setBrush(ToQColor(fill));
  QPolygonF polygon;
  for (const PointF& p : points) polygon << QPointF(p.x, p.y);
  painter_.drawPolygon(polygon);
}

void QPainterCanvas::ClipToCircle(PointF centre, double r) {
  painter_.save();
  QPainterPath disc;
  disc.addEllipse(QPointF(centre.x, centre.y), r, r);
  painter_.setClipPath(disc);
}

void QPainterCanvas::EndClip() {
  // Restoring brings back the pen, brush and font of before the clip as well.
  painter_.restore();
  applied_ = false;
}

QFont PictureFace(double pixels) {
  QFont font(QString::fromLatin1(kPictureFaceFamily));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  return font;
}

QFont QPainterCanvas::FaceAt(double pixels) const {
  return QFont(PictureFace(pixels), painter_.device());
}

void QPainterCanvas::SetFace(double pixels) {
  painter_.setFont(FaceAt(pixels));
}

void QPainterCanvas::TextAt(double x, double y, const std::string& text, Colour colour) {
  applied_ = false;
  painter_.setPen(ToQColor(colour));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawText(QPointF(x, y), ToQString(text));
}

double QPainterCanvas::TextWidth(const std::string& text, double pixels) const {
  return QFontMetricsF(FaceAt(pixels)).horizontalAdvance(ToQString(text));
}

FontMeasure QPainterCanvas::Measure(double pixels) const {
  const QFontMetricsF m(FaceAt(pixels));
  return {m.ascent(), m.descent(), m.height()};
}

}  // namespace quillmere
