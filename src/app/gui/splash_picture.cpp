#include "app/gui/splash_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>

#include "core/program_version.h"
#include "surface/qt/qpainter_canvas.h"
#include "surface/renderer.h"
#include "surface/scene.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

namespace {

/// The longitudinal piezoelectric surface of a trigonal crystal of class 32 (d11 only, as in
/// quartz): d(u) = d11 (u1^3 - 3 u1 u2^2), six lobes of alternating sign about the threefold
/// axis.
TensorState SplashTensor() {
  TensorState t;
  SetKind(t, 5);  // i(jk)
  t.pointGroup = 12;
  t.At(1, 1, 1) = 1;
  t.At(1, 2, 2) = -1;
  t.At(2, 1, 2) = -1;
  t.At(2, 2, 1) = -1;
  t.scale = 1;
  return t;
}

/// The surface on a square canvas, its origin at the middle of the width and at `centreY`
/// (a fraction of the height). The renderer puts the origin at (2a, 1.4a), a = size div 4, so
/// the scene is shifted down by the difference, in scale units of K a pixels.
void PaintSurface(Canvas& canvas, Colour background, Real zoom, Real angleX, Real centreY,
                  int resolution = 5) {
  const TensorState t = SplashTensor();
  ViewSettings view;
  view.shiftY = (centreY - 0.35L) / (zoom * 0.25L);
  view.resolution = resolution;
  view.showAxes = false;
  view.showGrid = true;
  view.zoom = zoom;
  view.angleX = angleX;
  view.background = background;
  view.positiveLine = Colour::Exact(0, 150, 0);
  view.negativeLine = Colour::Exact(170, 0, 0);
  SceneList scene;
  SurfaceEvaluation evaluation;
  SceneInputs inputs;
  inputs.tensor = &t;
  inputs.evaluation = &evaluation;
  inputs.view = &view;
  BuildScene(scene, inputs);
  RenderPicture(scene, view, t, canvas);
}

QImage RenderSurface(int size, double pixelRatio, Colour background, Real zoom, Real angleX,
                     Real centreY) {
  QImage image;
  PaintAtPixelRatio(image, size, size, pixelRatio, [&](Canvas& canvas) {
    PaintSurface(canvas, background, zoom, angleX, centreY);
  });
  return image;
}

/// The icon's key colour: what is painted in it is left out, so the background is transparent.
const Colour kIconKey = Colour::Exact(255, 0, 255);
constexpr Real kIconZoom = 1.75L;
constexpr Real kIconAngleX = 2.6L;

/// Passes everything on but leaves out pens and brushes of the key colour.
class KeyedCanvas : public Canvas {
 public:
  explicit KeyedCanvas(Canvas& inner) : inner_(inner) {}
  int Width() const override { return inner_.Width(); }
  int Height() const override { return inner_.Height(); }
  double PixelRatio() const override { return inner_.PixelRatio(); }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override {
    inner_.FillRectangle(x0, y0, x1, y1, Keyed(pen), Keyed(brush));
  }
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override {
    inner_.Polygon(points, Keyed(pen), Keyed(brush));
  }
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override {
    inner_.Text(x, y, text, font, pointSize);
  }

 private:
  static Pen Keyed(Pen pen) {
    if (SameRgb(pen.colour, kIconKey)) pen.clear = true;
    return pen;
  }
  static Brush Keyed(Brush brush) {
    if (SameRgb(brush.colour, kIconKey)) brush.clear = true;
    return brush;
  }
  static bool SameRgb(const Colour& a, const Colour& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
  Canvas& inner_;
};

}  // namespace

QImage SplashPicture(int size, double pixelRatio) {
  // The surface sits a little below the middle, under the name.
  const Colour background = Colour::Exact(250, 250, 244);
  QImage picture = RenderSurface(size, pixelRatio, background, 1.35L, 2.25L, 0.58L);
  // The texts are placed in logical pixels; the painter scales them to the picture's ratio.
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QFont title(QStringLiteral("Liberation Serif"));
  title.setPixelSize(size / 8);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(120, 70, 0));
  p.drawText(QRect(0, size / 40, size, size / 6), Qt::AlignCenter, QStringLiteral("Quillmere"));

  QFont version(QStringLiteral("Liberation Sans"));
  version.setPixelSize(size / 22);
  p.setFont(version);
  p.setPen(QColor(60, 60, 60));
  p.drawText(QRect(0, size / 6 + size / 60, size, size / 16), Qt::AlignCenter,
             QStringLiteral("Ver. " QUILLMERE_VERSION_TEXT));
  p.drawText(QRect(0, size - size / 9, size, size / 12), Qt::AlignCenter,
             QStringLiteral("Click the picture to start the program"));
  p.setPen(QPen(QColor(120, 70, 0), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1, 1, size - 2, size - 2));
  return picture;
}

QImage ProgramIconPicture(int size) {
  const Colour key = kIconKey;
  QImage icon = RenderSurface(size, 1.0, key, kIconZoom, kIconAngleX, 0.5L)
                    .convertToFormat(QImage::Format_ARGB32);
  // The key colour becomes transparent.
  const QRgb keyRgb = qRgb(key.red, key.green, key.blue);
  for (int y = 0; y < icon.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
    for (int x = 0; x < icon.width(); ++x)
      if ((line[x] & 0xffffff) == (keyRgb & 0xffffff)) line[x] = qRgba(0, 0, 0, 0);
  }
  return icon;
}

}  // namespace quillmere

namespace quillmere {

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64})
    icon.addPixmap(QPixmap::fromImage(ProgramIconPicture(size)));
  return icon;
}

bool WriteProgramIconSvg(const QString& fileName) {
  // Drawn on a 256-pixel square, as the largest bitmap icon, and scaled freely by the viewer.
  constexpr int kSize = 256;
  QSvgGenerator svg;
  svg.setFileName(fileName);
  svg.setSize(QSize(kSize, kSize));
  svg.setViewBox(QRect(0, 0, kSize, kSize));
  svg.setTitle(QStringLiteral("Quillmere"));
  svg.setDescription(QStringLiteral("A representation surface of a piezoelectric tensor"));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  QPainterCanvas canvas(painter, kSize, kSize);
  KeyedCanvas keyed(canvas);
  // A coarser grid than the bitmaps' keeps the file small; scaled up, it still looks smooth.
  PaintSurface(keyed, kIconKey, kIconZoom, kIconAngleX, 0.5L, 3);
  return painter.end();
}

}  // namespace quillmere
