// The enhanced metafile's recording (see emf_canvas.h).
#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "surface/qt/metafile_recording.h"
#include "surface/qt/metafile_text.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

namespace {

using namespace metafile;

/// The smallest rectangle around the points, and whether they all fit in 16 bits.
U_RECTL BoundsOf(const std::vector<ScreenPoint>& points, bool& small) {
  U_RECTL bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
  small = true;
  for (const ScreenPoint& p : points) {
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
    small = small && p.x == Clamp16(p.x) && p.y == Clamp16(p.y);
  }
  return bounds;
}

// The handles in use are 0 while a stock object (null pen or brush) or nothing is selected.
struct EmfRecording final : MetafileCanvas::Recording, SelectionState {
  EMFTRACK* et = nullptr;
  EMFHANDLES* eht = nullptr;
  int units;                                  // recording units to a pixel
  QImage reference = MakePictureImage(1, 1);  // measures text at 96 dots per inch

  EmfRecording(int width, int height, int unitsPerPixel, const std::string& title,
               const std::string& stamp);
  ~EmfRecording() override { Release(); }
  void Release() {
    if (et) emf_free(&et);
    if (eht) emf_htable_free(&eht);
  }
  void Append(char* rec) {
    if (!rec) {
      failed = true;
      return;
    }
    if (emf_append(reinterpret_cast<U_ENHMETARECORD*>(rec), et, 1) != 0) failed = true;
  }
  /// Selects `created` (a new object's handle) or the stock object, then deletes the object it
  /// replaces (an object may not be deleted while selected).
  void Replace(uint32_t& current, uint32_t created, uint32_t stock) {
    Append(selectobject_set(created ? created : stock, eht));
    if (current) Append(deleteobject_set(&current, eht));
    current = created;
  }
  void Use(const MetafilePen& pen, const Brush& brush) override;
  void Rectangle(int x0, int y0, int x1, int y1) override {
    Append(U_EMRRECTANGLE_set(U_RECTL{x0, y0, x1, y1}));
  }
  void Polygon(const std::vector<ScreenPoint>& points) override;
  void Polyline(const std::vector<ScreenPoint>& points) override;
  void Ellipse(int x0, int y0, int x1, int y1) override {
    Append(U_EMRELLIPSE_set(U_RECTL{x0, y0, x1, y1}));
  }
  void Text(int x, int y, const std::string& text, const MetafileFont& font,
            bool baseline) override;
  std::string Finish() override;
};

EmfRecording::EmfRecording(int width, int height, int unitsPerPixel, const std::string& title,
                           const std::string& stamp)
    : units(unitsPerPixel) {
  // A constructor that throws runs no destructor: the library's records are released here.
  if (emf_start(kDiscard, kInitialBytes, kGrowBytes, &et) != 0 ||
      emf_htable_create(128, 128, &eht) != 0) {
    Release();
    throw std::runtime_error("The enhanced metafile could not be started");
  }
  // The reference device has `units` pixels to a pixel of a 96 dots-per-inch screen (9600 of
  // them on 2540 millimetres at one unit), and the picture fills it from (0, 0).
  const U_RECTL bounds = {0, 0, width * units - 1, height * units - 1};
  // The frame in hundredths of a millimetre: the picture's size on a 96 dots-per-inch screen.
  const U_RECTL frame = {0, 0, static_cast<int32_t>(std::lround(width * 2540.0 / 96)),
                         static_cast<int32_t>(std::lround(height * 2540.0 / 96))};
  const U_SIZEL device = {9600 * units, 9600 * units};
  const U_SIZEL millimetres = {2540, 2540};
  std::u16string description = u"Quillmere";
  description.push_back(0);
  description += Utf8ToUtf16(title);
  if (!stamp.empty()) {
    // The stamp is printable ASCII, so each byte is its own UTF-16 unit.
    description += u": ";
    for (char c : stamp) description.push_back(static_cast<char16_t>(c));
  }
  description.push_back(0);
  description.push_back(0);
  Append(U_EMRHEADER_set(bounds, frame, nullptr, static_cast<U_CBSTR>(description.size()),
                         reinterpret_cast<uint16_t*>(description.data()), device, millimetres, 0));
  Append(U_EMRSETMAPMODE_set(U_MM_TEXT));
  Append(U_EMRSETBKMODE_set(U_TRANSPARENT));
  Append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
  Append(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
}

void EmfRecording::Use(const MetafilePen& pen, const Brush& brush) {
  const PenKey pk = KeyOf(pen);
  if (penKey != pk) {
    uint32_t created = 0;
    const uint32_t style = pen.dotted ? U_PS_DOT : U_PS_SOLID;
    const int width = std::max(1, pen.pen.width);
    if (pen.pen.clear) {
    } else if (units == 1) {
      Append(createpen_set(&created, eht,
                           logpen_set(style, point32_set(width, 0), ColourRef(pen.pen.colour))));
    } else {
      // In fractions of a pixel the line's width is a geometric one, drawn to scale, with flat
      // ends.
      PU_EXTLOGPEN elp =
          extlogpen_set(U_PS_GEOMETRIC | U_PS_ENDCAP_FLAT | style, static_cast<uint32_t>(width),
                        U_BS_SOLID, ColourRef(pen.pen.colour), 0, 0, nullptr);
      if (!elp) {
        failed = true;
        return;
      }
      Append(extcreatepen_set(&created, eht, nullptr, 0, nullptr, elp));
      std::free(elp);
    }
    Replace(this->pen, created, U_NULL_PEN);
    penKey = pk;
  }
  const BrushKey bk = KeyOf(brush);
  if (brushKey != bk) {
    uint32_t created = 0;
    if (!brush.clear)
      Append(createbrushindirect_set(&created, eht,
                                     logbrush_set(U_BS_SOLID, ColourRef(brush.colour), 0)));
    Replace(this->brush, created, U_NULL_BRUSH);
    brushKey = bk;
  }
}

/// The record of a polygon or polyline: the 16-bit form when every point fits, else the 32-bit
/// one (libUEMF builds both from the bounds, the count and the points).
template <typename Small, typename Large>
char* PointsRecord(const std::vector<ScreenPoint>& points, Small smallRecord, Large largeRecord) {
  bool small = true;
  const U_RECTL bounds = BoundsOf(points, small);
  const auto n = static_cast<uint32_t>(points.size());
  if (small) {
    std::vector<U_POINT16> p;
    for (const ScreenPoint& q : points) p.push_back(point16_set(Clamp16(q.x), Clamp16(q.y)));
    return smallRecord(bounds, n, p.data());
  }
  std::vector<U_POINTL> p;
  for (const ScreenPoint& q : points) p.push_back(point32_set(q.x, q.y));
  return largeRecord(bounds, n, p.data());
}

void EmfRecording::Polygon(const std::vector<ScreenPoint>& points) {
  Append(PointsRecord(points, U_EMRPOLYGON16_set, U_EMRPOLYGON_set));
}

void EmfRecording::Polyline(const std::vector<ScreenPoint>& points) {
  Append(PointsRecord(points, U_EMRPOLYLINE16_set, U_EMRPOLYLINE_set));
}

void EmfRecording::Text(int x, int y, const std::string& text, const MetafileFont& font,
                        bool byBaseline) {
  const LabelFont& face = font.face;
  const FontKey fk = KeyOf(font);
  if (fontKey != fk) {
    std::u16string name = FaceName(Utf8ToUtf16(face.family));
    name.push_back(0);
    const U_LOGFONT lf = logfont_set(-font.height, 0, 0, 0, face.bold ? U_FW_BOLD : U_FW_NORMAL,
                                     face.italic, face.underline, face.strikeOut, U_DEFAULT_CHARSET,
                                     U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                                     U_DEFAULT_PITCH, reinterpret_cast<uint16_t*>(name.data()));
    uint32_t created = 0;
    Append(extcreatefontindirectw_set(&created, eht, reinterpret_cast<const char*>(&lf), nullptr));
    Append(selectobject_set(created, eht));
    if (this->font) Append(deleteobject_set(&this->font, eht));
    this->font = created;
    fontKey = fk;
  }
  if (TextColourChanges(face)) Append(U_EMRSETTEXTCOLOR_set(ColourRef(face.colour)));
  if (AlignmentChanges(byBaseline))
    Append(U_EMRSETTEXTALIGN_set((byBaseline ? U_TA_BASELINE : U_TA_TOP) | U_TA_LEFT |
                                 U_TA_NOUPDATECP));

  std::u16string chars = Utf8ToUtf16(text);
  // Each character's advance, so that readers place the characters as this font sets them.
  const QFontMetricsF metrics(font.measured, &reference);
  std::vector<uint32_t> dx(chars.size());
  double pen = 0;
  long placed = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const bool pair = QChar::isHighSurrogate(chars[i]) && i + 1 < chars.size();
    const QString c =
        pair ? QString(reinterpret_cast<const QChar*>(&chars[i]), 2) : QString(QChar(chars[i]));
    pen += metrics.horizontalAdvance(c);
    const long next = std::lround(pen * units);
    dx[i] = static_cast<uint32_t>(std::max(0L, next - placed));
    placed = next;
    if (pair) dx[++i] = 0;
  }
  chars.push_back(0);
  char* emrtext = emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(dx.size()), 2, chars.data(),
                              U_ETO_NONE, U_RECTL{0, 0, -1, -1}, dx.data());
  if (!emrtext) {
    failed = true;
    return;
  }
  Append(U_EMREXTTEXTOUTW_set(U_RECTL{0, 0, -1, -1}, U_GM_COMPATIBLE, 1.0f, 1.0f,
                              reinterpret_cast<PU_EMRTEXT>(emrtext)));
  std::free(emrtext);
}

std::string EmfRecording::Finish() {
  StartFinishing("enhanced metafile");
  Append(U_EMREOF_set(0, nullptr, et));
  if (failed || emf_finish(et, eht) != 0)
    throw std::runtime_error("The enhanced metafile could not be recorded (out of memory?)");
  return std::string(et->buf, et->used);
}

}  // namespace

std::unique_ptr<MetafileCanvas::Recording> MakeEmfRecording(int width, int height,
                                                            int unitsPerPixel,
                                                            const std::string& title,
                                                            const std::string& stamp) {
  return std::make_unique<EmfRecording>(width, height, unitsPerPixel, title, stamp);
}

}  // namespace quillmere
