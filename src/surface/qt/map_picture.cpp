#include "surface/qt/map_picture.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "core/file_names.h"
#include "files/atomic_file.h"
#include "surface/conventions_stamp.h"
#include "surface/derived_surface.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

struct Disc {
  QPointF centre;
  qreal radius;
  bool lower;
};

struct Layout {
  qreal unit;  // a hundredth of the width
  std::vector<Disc> discs;
  QRectF bar;
  qreal captionY;    // the baseline of the title
  qreal extremesY;   // the baseline of the first line about the extremes
  qreal discLabelY;  // below two discs: "Upper hemisphere", "Lower hemisphere"
};

Layout MakeLayout(int width, MapHemisphere hemisphere) {
  Layout l;
  const qreal u = width / 100.0;
  l.unit = u;
  l.captionY = 5 * u;
  if (hemisphere == MapHemisphere::Both) {
    l.discs = {{QPointF(22 * u, 34 * u), 18 * u, false}, {QPointF(62 * u, 34 * u), 18 * u, true}};
    l.bar = QRectF(86 * u, 16 * u, 3 * u, 36 * u);
    l.discLabelY = 58 * u;
    l.extremesY = 65 * u;
  } else {
    l.discs = {{QPointF(40 * u, 42 * u), 29 * u, hemisphere == MapHemisphere::Lower}};
    l.bar = QRectF(82 * u, 14 * u, 3.5 * u, 56 * u);
    l.discLabelY = 0;
    l.extremesY = 80 * u;
  }
  return l;
}

QColor ToQColor(const Colour& c) {
  return QColor(c.red, c.green, c.blue);
}

QFont MapFont(qreal pixels) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  return font;
}

std::string AxisName(int style, int axis) {
  static const char* const kNames[3][3] = {{"x", "y", "z"}, {"a", "b", "c"}, {"e1", "e2", "e3"}};
  return kNames[std::clamp(style, 1, 3) - 1][axis];
}

QString Text(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

/// Text with its left end at x and its baseline at y.
void DrawText(QPainter& p, qreal x, qreal y, const QString& text) {
  p.drawText(QPointF(x, y), text);
}

/// Text centred on x with its middle at y.
void DrawCentred(QPainter& p, qreal x, qreal y, const QString& text) {
  const QFontMetricsF m(p.font());
  p.drawText(QPointF(x - m.horizontalAdvance(text) / 2, y + (m.ascent() - m.descent()) / 2), text);
}

/// A triangle marker: pointing up and filled dark for the largest value, pointing down and open
/// for the smallest.
void DrawMarker(QPainter& p, QPointF at, qreal size, bool largest) {
  QPolygonF triangle;
  const qreal s = largest ? -1 : 1;
  triangle << QPointF(at.x(), at.y() + s * size)
           << QPointF(at.x() - 0.87 * size, at.y() - s * size / 2)
           << QPointF(at.x() + 0.87 * size, at.y() - s * size / 2);
  p.setPen(QPen(largest ? Qt::white : Qt::black, std::max<qreal>(1, size / 5)));
  p.setBrush(largest ? QColor(20, 20, 20) : QColor(Qt::white));
  p.drawPolygon(triangle);
  p.setPen(QPen(largest ? Qt::black : Qt::white, std::max<qreal>(0.5, size / 10)));
  p.setBrush(Qt::NoBrush);
}

/// Cuts a contour piece to the unit disc (vector pictures may ignore a clip path); false when
/// it lies outside. The pieces are a grid cell long, so one with both ends outside is dropped.
bool ClipToDisc(ContourSegment& s) {
  const bool in0 = s.x0 * s.x0 + s.y0 * s.y0 <= 1, in1 = s.x1 * s.x1 + s.y1 * s.y1 <= 1;
  if (in0 && in1) return true;
  if (!in0 && !in1) return false;
  if (!in0) std::swap(s.x0, s.x1), std::swap(s.y0, s.y1);
  // |p0 + f (p1 - p0)| = 1 for f in (0, 1].
  const Real dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const Real a = dx * dx + dy * dy, b = 2 * (s.x0 * dx + s.y0 * dy),
             c = s.x0 * s.x0 + s.y0 * s.y0 - 1;
  const Real f = (-b + std::sqrt(std::max<Real>(0, b * b - 4 * a * c))) / (2 * a);
  s.x1 = s.x0 + f * dx;
  s.y1 = s.y0 + f * dy;
  return true;
}

/// The directions to mark for an extreme: all its repeats when they are a few symmetric
/// copies, only the reported one (and its opposite on an even surface) when a whole ring or
/// cone shares the value.
std::vector<Direction> MarkedDirections(const SurfaceExtreme& x, bool even) {
  if (x.repeats.size() <= 12) return x.repeats;
  std::vector<Direction> marks = {x.direction};
  if (even) marks.push_back({-x.direction[0], -x.direction[1], -x.direction[2]});
  return marks;
}

void PaintDisc(QPainter& p, const Disc& d, const Layout& l, const DirectionValue& value, bool even,
               const MapLevels& levels, const SurfaceExtremes& extremes, const MapPictureOptions& o,
               bool vector) {
  const qreal R = d.radius;
  const int cells = std::max(
      8, vector ? std::min(200, static_cast<int>(2 * R)) : static_cast<int>(std::lround(2 * R)));
  const MapGrid grid = ComputeMapGrid(value, o.projection, d.lower, cells);
  const qreal cell = 2 * R / cells;
  const qreal left = d.centre.x() - R, top = d.centre.y() - R;

  p.save();
  QPainterPath disc;
  disc.addEllipse(d.centre, R, R);
  p.setClipPath(disc);
  // The colour field: runs of equal band colour along each row; in vector pictures each run
  // overlaps its neighbours by half a cell so no seam shows between them.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  const qreal rim = (1 + 2.0 / cells) * (1 + 2.0 / cells);
  for (int row = 0; row < cells; ++row) {
    const Real y = grid.Y(row);
    int start = -1;
    Colour runColour;
    // The widest chord of the disc within this row: runs never reach beyond it.
    const qreal rowTop = 1 - 2.0 * row / cells, rowBottom = 1 - 2.0 * (row + 1) / cells;
    const qreal nearest =
        rowTop * rowBottom <= 0 ? 0 : std::min(std::fabs(rowTop), std::fabs(rowBottom));
    const qreal chord = R * std::sqrt(std::max<qreal>(0, 1 - nearest * nearest));
    auto flush = [&](int end) {
      if (start < 0) return;
      p.setBrush(ToQColor(runColour));
      const qreal overlap = vector ? 0.5 * cell : 0;
      const qreal x0 = std::max(left + start * cell, d.centre.x() - chord);
      const qreal x1 = std::min(left + end * cell + overlap, d.centre.x() + chord);
      if (x1 > x0) p.drawRect(QRectF(x0, top + row * cell, x1 - x0, cell + overlap));
      start = -1;
    };
    for (int column = 0; column < cells; ++column) {
      const Real x = grid.X(column);
      const Real v = grid.At(row, column);
      if (x * x + y * y > rim || std::isnan(v)) {
        flush(column);
        continue;
      }
      const Colour c = BandColour(levels, v);
      if (start >= 0 && c.Value() != runColour.Value()) flush(column);
      if (start < 0) start = column, runColour = c;
    }
    flush(cells);
  }

  // Circles at 30 and 60 degrees from the pole, faint, for reading off angles.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(150, 150, 150), std::max<qreal>(0.5, l.unit * 0.12), Qt::DotLine));
  for (const double degrees : {30.0, 60.0}) {
    const qreal r = R * static_cast<qreal>(MapRadius(o.projection, degrees * M_PI / 180));
    p.drawEllipse(d.centre, r, r);
  }

  // Contour lines at the levels of the colour bar, the zero contour bold.
  auto toPicture = [&](Real x, Real y) {
    return QPointF(d.centre.x() + R * x, d.centre.y() - R * y);
  };
  for (const Real level : levels.levels) {
    const bool zero = std::fabs(level) < levels.step * 1e-9L;
    p.setPen(
        QPen(zero ? QColor(0, 0, 0) : QColor(60, 60, 60),
             zero ? std::max<qreal>(1.5, 0.45 * l.unit) : std::max<qreal>(0.6, 0.15 * l.unit)));
    const std::vector<ContourSegment> segments = ContourLines(grid, level);
    std::vector<QLineF> lines;
    lines.reserve(segments.size());
    for (ContourSegment s : segments)
      if (ClipToDisc(s)) lines.emplace_back(toPicture(s.x0, s.y0), toPicture(s.x1, s.y1));
    if (!lines.empty()) p.drawLines(lines.data(), static_cast<int>(lines.size()));
  }
  p.restore();

  // The rim (the equator), the axes at the rim and the pole.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  const qreal u = l.unit;
  p.setPen(QPen(Qt::black, std::max<qreal>(1, 0.25 * u)));
  p.drawEllipse(d.centre, R, R);
  const QPointF c = d.centre;
  p.drawLine(QPointF(c.x() + R, c.y()), QPointF(c.x() + R + 1.2 * u, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - R), QPointF(c.x(), c.y() - R - 1.2 * u));
  p.drawLine(QPointF(c.x() - 0.8 * u, c.y()), QPointF(c.x() + 0.8 * u, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - 0.8 * u), QPointF(c.x(), c.y() + 0.8 * u));
  p.setFont(MapFont(2.8 * u));
  p.setPen(Qt::black);
  DrawCentred(p, c.x() + R + 2.8 * u, c.y(), Text(AxisName(o.captionStyle, 0)));
  DrawCentred(p, c.x(), c.y() - R - 3 * u, Text(AxisName(o.captionStyle, 1)));
  const std::string pole = (d.lower ? "-" : "") + AxisName(o.captionStyle, 2);
  p.setFont(MapFont(2.2 * u));
  DrawText(p, c.x() + 0.9 * u, c.y() + 2.9 * u, Text(pole));

  // The extremes where they lie on this disc.
  for (const bool largest : {true, false}) {
    const SurfaceExtreme& x = largest ? extremes.largest : extremes.smallest;
    if (!std::isfinite(x.value) || extremes.largest.value == extremes.smallest.value) continue;
    for (const Direction& n : MarkedDirections(x, even)) {
      Real mx, my;
      if (MapPoint(o.projection, d.lower, n, mx, my))
        DrawMarker(p, toPicture(mx, my), 1.3 * u, largest);
    }
  }
}

/// The value as the colour bar labels it: a multiple of 10^exponent, up to four digits.
std::string BarLabel(Real value, int exponent, char separator) {
  const Real shown = value / std::pow(Real(10), exponent);
  return FormatGeneral(std::fabs(shown) < 1e-12L ? 0 : shown, separator, 4);
}

void PaintBar(QPainter& p, const Layout& l, const MapLevels& levels, const TensorState& t, Real lo,
              Real hi, char separator) {
  const qreal u = l.unit;
  const QRectF& bar = l.bar;
  // The bar spans the bands of the values there are.
  Real from = std::floor(lo / levels.step + 1e-9L) * levels.step;
  Real to = std::ceil(hi / levels.step - 1e-9L) * levels.step;
  if (!(to > from)) from -= levels.step, to += levels.step;
  const Real span = to > from ? to - from : 1;
  auto yOf = [&](Real v) {
    return bar.bottom() - bar.height() * static_cast<qreal>((v - from) / span);
  };
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  const long long first = std::llround(from / levels.step), last = std::llround(to / levels.step);
  for (long long k = first; k < last && k - first < 400; ++k) {
    const Real a = k * levels.step;
    p.setBrush(ToQColor(BandColour(levels, a + levels.step / 2)));
    p.drawRect(
        QRectF(bar.left(), yOf(a + levels.step), bar.width(), yOf(a) - yOf(a + levels.step) + 0.3));
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, std::max<qreal>(0.8, 0.15 * u)));
  p.drawRect(bar);

  // Ticks and labels at the contour levels, the ends and zero, none crowding the one before.
  const int exponent = t.exponent;
  p.setFont(MapFont(2.3 * u));
  const QFontMetricsF metrics(p.font());
  std::vector<Real> marks = levels.levels;
  marks.push_back(from);
  marks.push_back(to);
  if (from < 0 && to > 0) marks.push_back(0);
  std::sort(marks.begin(), marks.end());
  qreal lastY = 1e9;
  for (const Real v : marks) {
    const qreal y = yOf(v);
    if (std::fabs(y - lastY) < metrics.height() * 0.95) continue;
    const bool zero = std::fabs(v) < levels.step * 1e-9L;
    p.setPen(
        QPen(Qt::black, zero ? std::max<qreal>(1.5, 0.45 * u) : std::max<qreal>(0.6, 0.15 * u)));
    p.drawLine(QPointF(bar.left(), y), QPointF(bar.right() + 0.8 * u, y));
    p.setPen(Qt::black);
    DrawCentred(p,
                bar.right() + 1.2 * u +
                    metrics.horizontalAdvance(Text(BarLabel(v, exponent, separator))) / 2,
                y, Text(BarLabel(v, exponent, separator)));
    lastY = y;
  }

  // The power of ten and the unit above the bar, its right end at the picture's edge.
  const QFont normal = MapFont(2.4 * u), small = MapFont(1.7 * u);
  const QString ten = exponent != 0 ? QStringLiteral("\u00d710") : QString();
  const QString power = exponent != 0 ? QString::number(exponent) : QString();
  const QString unit = t.unitText.empty() ? QString() : QStringLiteral(" ") + Text(t.unitText);
  const qreal width = QFontMetricsF(normal).horizontalAdvance(ten + unit) +
                      QFontMetricsF(small).horizontalAdvance(power);
  qreal x = std::min(bar.left(), 99 * u - width);
  const qreal y = bar.top() - 1.6 * u;
  p.setFont(normal);
  DrawText(p, x, y, ten);
  x += QFontMetricsF(normal).horizontalAdvance(ten);
  p.setFont(small);
  DrawText(p, x, y - 1.1 * u, power);
  x += QFontMetricsF(small).horizontalAdvance(power);
  p.setFont(normal);
  DrawText(p, x, y, unit);
}

std::string DirectionText(const Direction& n, char separator) {
  std::string text = "[";
  for (int i = 0; i < 3; ++i) {
    char buffer[32];
    const double c = static_cast<double>(n[i]);
    std::snprintf(buffer, sizeof buffer, "%.3f", std::fabs(c) < 5e-4 ? 0.0 : c);
    for (char* q = buffer; *q; ++q)
      if (*q == '.') *q = separator;
    text += (i ? ", " : "") + std::string(buffer);
  }
  return text + "]";
}

}  // namespace

MapFormat MapFormatOf(const std::filesystem::path& path) {
  const std::string ext = LowercaseExtension(path);
  if (ext == ".png") return MapFormat::Png;
  if (ext == ".svg") return MapFormat::Svg;
  if (ext == ".pdf") return MapFormat::Pdf;
  if (ext == ".csv") return MapFormat::Csv;
  throw std::runtime_error("The map must be a .png, .svg, .pdf or .csv file, not '" +
                           path.string() + "'");
}

int MapPictureHeight(int width, MapHemisphere hemisphere) {
  return static_cast<int>(std::lround(width * (hemisphere == MapHemisphere::Both ? 0.75 : 0.9)));
}

void PaintMap(QPainter& p, int width, int height, const TensorState& t, const SurfaceEvaluation& e,
              const MapPictureOptions& o, bool vector) {
  p.save();
  p.fillRect(QRectF(0, 0, width, height), Qt::white);
  const Layout l = MakeLayout(width, o.hemisphere);
  const DirectionValue value = ShownValue(t, e);
  const bool even = ShownValueIsEven(t, e);
  const SurfaceExtremes extremes = FindShownExtremes(t, e);
  const Real lo = extremes.smallest.value, hi = extremes.largest.value;
  const MapLevels levels = ContourLevels(std::isfinite(lo) ? lo : 0, std::isfinite(hi) ? hi : 0);
  const qreal u = l.unit;

  const char* projection = o.projection == MapProjection::EqualArea ? "equal-area projection"
                                                                    : "stereographic projection";
  p.setPen(Qt::black);
  p.setFont(MapFont(3 * u));
  std::string title;
  if (o.hemisphere == MapHemisphere::Both)
    title = std::string(o.projection == MapProjection::EqualArea ? "Equal-area" : "Stereographic") +
            " projection";
  else
    title = std::string(o.hemisphere == MapHemisphere::Lower ? "Lower" : "Upper") +
            " hemisphere, " + projection;
  DrawText(p, 2 * u, l.captionY, Text(title));

  for (const Disc& d : l.discs) {
    PaintDisc(p, d, l, value, even, levels, extremes, o, vector);
    if (o.hemisphere == MapHemisphere::Both) {
      p.setPen(Qt::black);
      p.setFont(MapFont(2.6 * u));
      DrawCentred(p, d.centre.x(), l.discLabelY,
                  QString::fromUtf8(d.lower ? "Lower hemisphere" : "Upper hemisphere"));
    }
  }
  PaintBar(p, l, levels, t, std::isfinite(lo) ? lo : 0, std::isfinite(hi) ? hi : 0,
           o.decimalSeparator);

  // The two extremes in words, each after its marker; a zero surface has none.
  p.setFont(MapFont(2.5 * u));
  qreal y = l.extremesY;
  if (extremes.zero) {
    p.setPen(Qt::black);
    DrawText(p, 2 * u, y, Text(kMsgZeroSurface));
  }
  for (const bool largest : {true, false}) {
    if (extremes.zero) break;
    const SurfaceExtreme& x = largest ? extremes.largest : extremes.smallest;
    DrawMarker(p, QPointF(3.5 * u, y - 0.9 * u), 1.3 * u, largest);
    std::string line = std::string(largest ? "Largest value:  " : "Smallest value: ") +
                       FormatGeneral(x.value, o.decimalSeparator, 6);
    if (!t.unitText.empty()) line += " " + t.unitText;
    if (std::isfinite(x.value)) line += " along " + DirectionText(x.direction, o.decimalSeparator);
    p.setPen(Qt::black);
    DrawText(p, 6 * u, y, Text(line));
    y += 4.5 * u;
  }
  p.restore();
}

QByteArray MapFileBytes(MapFormat format, int width, const TensorState& t,
                        const SurfaceEvaluation& e, const MapPictureOptions& o) {
  // Every map file says what it shows: a comment line in the CSV, the description or title of
  // the pictures.
  const QString stamp = QString::fromLatin1(ConventionsStamp(t, &e));
  if (format == MapFormat::Csv) {
    std::ostringstream out;
    out << "# " << stamp.toStdString() << "\n";
    // The tensor's own value goes through its polynomial, row by row; a derived quantity one
    // direction at a time.
    if (e.derivedValue)
      WriteMapCsv(out, ShownValue(t, e), o.projection, o.hemisphere, width);
    else
      WriteMapCsv(out, DirectionalPolynomial(t, e), o.projection, o.hemisphere, width);
    const std::string text = out.str();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  }
  const int height = MapPictureHeight(width, o.hemisphere);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == MapFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Projection map"));
    svg.setDescription(QStringLiteral("Drawn by Quillmere. ") + stamp);
    QPainter painter;
    if (!painter.begin(&svg)) throw std::runtime_error("The SVG generator did not start");
    PaintMap(painter, width, height, t, e, o, true);
    painter.end();
  } else if (format == MapFormat::Pdf) {
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(72);
    pdf.setTitle(QStringLiteral("Projection map: ") + stamp);
    pdf.setCreator(QStringLiteral("Quillmere"));
    QPainter painter;
    if (!painter.begin(&pdf)) throw std::runtime_error("The PDF writer did not start");
    PaintMap(painter, width, height, t, e, o, true);
    painter.end();
  } else {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) throw std::runtime_error("Not enough memory for the map");
    {
      QPainter painter(&image);
      PaintMap(painter, width, height, t, e, o, false);
    }
    image.setText(QStringLiteral("Description"), stamp);
    if (!image.save(&buffer, "PNG")) throw std::runtime_error("The PNG writer failed");
  }
  return bytes;
}

void WriteMapFile(const std::filesystem::path& path, MapFormat format, int width,
                  const TensorState& t, const SurfaceEvaluation& e, const MapPictureOptions& o) {
  const QByteArray bytes = MapFileBytes(format, width, t, e, o);
  WriteFileAtomically(path, [&](std::ostream& out) { out.write(bytes.constData(), bytes.size()); });
}

}  // namespace quillmere
