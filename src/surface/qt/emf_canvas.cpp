#include "surface/qt/emf_canvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "surface/qt/metafile_text.h"
#include "surface/qt/qpainter_canvas.h"

extern "C" {
#include <uemf.h>
#include <uwmf.h>
}

namespace quillmere {

namespace {

// libUEMF builds the whole file in memory and, when finished, also writes it to a file named
// at the start. The program writes the bytes itself (through its atomic replace, or onto the
// clipboard), so the library's own copy goes nowhere.
constexpr const char* kDiscard = "/dev/null";
constexpr uint32_t kInitialBytes = 1 << 18;
constexpr uint32_t kGrowBytes = 1 << 18;
/// The escape function of a standard metafile's comment record (MFCOMMENT).
constexpr uint16_t kMfComment = 0x000F;

/// The font's pixel height on the 96 dots-per-inch reference screen.
int PixelHeight(int pointSize) {
  return static_cast<int>(std::lround(pointSize * kMetafileUnitsPerInch / 72.0));
}

U_COLORREF ColourRef(const Colour& c) {
  return colorref3_set(c.red, c.green, c.blue);
}

using PenKey = std::tuple<bool, int, uint8_t, uint8_t, uint8_t>;
using BrushKey = std::tuple<bool, uint8_t, uint8_t, uint8_t>;
using FontKey = std::tuple<std::string, int, bool, bool, bool, bool>;

PenKey KeyOf(const Pen& p) {
  if (p.clear) return {true, 0, 0, 0, 0};
  return {false, std::max(1, p.width), p.colour.red, p.colour.green, p.colour.blue};
}
BrushKey KeyOf(const Brush& b) {
  if (b.clear) return {true, 0, 0, 0};
  return {false, b.colour.red, b.colour.green, b.colour.blue};
}
FontKey KeyOf(const LabelFont& f, int pixelHeight) {
  return {f.family, pixelHeight, f.bold, f.italic, f.underline, f.strikeOut};
}

/// A font's face name as the metafiles hold it: at most 31 characters and a terminating zero.
template <typename Char>
std::basic_string<Char> FaceName(std::basic_string<Char> name) {
  if (name.size() > 31) name.resize(31);
  return name;
}

int16_t Clamp16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, -32767, 32767));
}

/// What both recordings remember between records: whether a record failed, whether the file is
/// finished, the handles and keys of the pen, brush and font in use and the text colour, so that
/// an object is created only when the wanted one differs from the one selected.
struct SelectionState {
  bool failed = false;
  bool finished = false;
  uint32_t pen = 0, brush = 0, font = 0;
  std::optional<PenKey> penKey;
  std::optional<BrushKey> brushKey;
  std::optional<FontKey> fontKey;
  std::optional<uint32_t> textColour;

  /// True once when `font`'s colour differs from the text colour in use (which it then becomes).
  bool TextColourChanges(const LabelFont& font) {
    const uint32_t colour = font.colour.red | font.colour.green << 8 | font.colour.blue << 16;
    if (textColour == colour) return false;
    textColour = colour;
    return true;
  }

  /// Marks the file finished; a second finish is a programming error.
  void StartFinishing(const char* what) {
    if (finished) throw std::logic_error(std::string("The ") + what + " is already finished");
    finished = true;
  }
};

}  // namespace

struct MetafileCanvas::Recording {
  virtual ~Recording() = default;
  virtual void Rectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) = 0;
  virtual void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) = 0;
  virtual void Text(int x, int y, const std::string& text, const LabelFont& font,
                    int pointSize) = 0;
  virtual std::string Finish() = 0;
};

MetafileCanvas::MetafileCanvas(int width, int height, std::unique_ptr<Recording> recording)
    : width_(width), height_(height), r_(std::move(recording)) {}

MetafileCanvas::~MetafileCanvas() = default;

void MetafileCanvas::FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen,
                                   const Brush& brush) {
  if (x1 <= x0 || y1 <= y0) return;
  r_->Rectangle(x0, y0, x1, y1, pen, brush);
}

void MetafileCanvas::Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) {
  r_->Polygon(points, pen, brush);
}

void MetafileCanvas::Text(int x, int y, const std::string& text, const LabelFont& font,
                          int pointSize) {
  if (pointSize < 1 || text.empty()) return;
  r_->Text(x, y, text, font, pointSize);
}

std::string MetafileCanvas::Finish() {
  return r_->Finish();
}

namespace {

// ---- Enhanced metafile -------------------------------------------------------------------

// The handles in use are 0 while a stock object (null pen or brush) or nothing is selected.
struct EmfRecording final : MetafileCanvas::Recording, SelectionState {
  EMFTRACK* et = nullptr;
  EMFHANDLES* eht = nullptr;
  QImage reference = MakePictureImage(1, 1);  // measures text at 96 dots per inch

  EmfRecording(int width, int height, const std::string& stamp);
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
  void Use(const Pen& pen, const Brush& brush);
  void Rectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;
  std::string Finish() override;
};

EmfRecording::EmfRecording(int width, int height, const std::string& stamp) {
  // A constructor that throws runs no destructor: the library's records are released here.
  if (emf_start(kDiscard, kInitialBytes, kGrowBytes, &et) != 0 ||
      emf_htable_create(128, 128, &eht) != 0) {
    Release();
    throw std::runtime_error("The enhanced metafile could not be started");
  }
  const U_RECTL bounds = {0, 0, width - 1, height - 1};
  // The frame in hundredths of a millimetre: the picture's size on a 96 dots-per-inch screen.
  const U_RECTL frame = {0, 0, static_cast<int32_t>(std::lround(width * 2540.0 / 96)),
                         static_cast<int32_t>(std::lround(height * 2540.0 / 96))};
  // The reference device, 9600 pixels on 2540 millimetres: 96 pixels to the inch.
  const U_SIZEL device = {9600, 9600};
  const U_SIZEL millimetres = {2540, 2540};
  std::u16string description = u"Quillmere";
  description.push_back(0);
  description += u"Representation surface";
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

void EmfRecording::Use(const Pen& pen, const Brush& brush) {
  EmfRecording& r = *this;
  const PenKey pk = KeyOf(pen);
  if (r.penKey != pk) {
    uint32_t created = 0;
    if (!pen.clear) {
      U_POINT width = point32_set(std::max(1, pen.width), 0);
      r.Append(
          createpen_set(&created, r.eht, logpen_set(U_PS_SOLID, width, ColourRef(pen.colour))));
    }
    r.Replace(r.pen, created, U_NULL_PEN);
    r.penKey = pk;
  }
  const BrushKey bk = KeyOf(brush);
  if (r.brushKey != bk) {
    uint32_t created = 0;
    if (!brush.clear)
      r.Append(createbrushindirect_set(&created, r.eht,
                                       logbrush_set(U_BS_SOLID, ColourRef(brush.colour), 0)));
    r.Replace(r.brush, created, U_NULL_BRUSH);
    r.brushKey = bk;
  }
}

void EmfRecording::Rectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) {
  Use(pen, brush);
  Append(U_EMRRECTANGLE_set(U_RECTL{x0, y0, x1, y1}));
}

void EmfRecording::Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) {
  Use(pen, brush);
  U_RECTL bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
  bool small = true;
  for (int i = 0; i < 4; ++i) {
    bounds.left = std::min(bounds.left, points[i].x);
    bounds.top = std::min(bounds.top, points[i].y);
    bounds.right = std::max(bounds.right, points[i].x);
    bounds.bottom = std::max(bounds.bottom, points[i].y);
    small = small && points[i].x == Clamp16(points[i].x) && points[i].y == Clamp16(points[i].y);
  }
  if (small) {
    U_POINT16 p[4];
    for (int i = 0; i < 4; ++i) p[i] = point16_set(Clamp16(points[i].x), Clamp16(points[i].y));
    Append(U_EMRPOLYGON16_set(bounds, 4, p));
  } else {
    U_POINTL p[4];
    for (int i = 0; i < 4; ++i) p[i] = point32_set(points[i].x, points[i].y);
    Append(U_EMRPOLYGON_set(bounds, 4, p));
  }
}

void EmfRecording::Text(int x, int y, const std::string& text, const LabelFont& font,
                        int pointSize) {
  EmfRecording& r = *this;
  const int px = PixelHeight(pointSize);
  const FontKey fk = KeyOf(font, px);
  if (r.fontKey != fk) {
    std::u16string face = FaceName(Utf8ToUtf16(font.family));
    face.push_back(0);
    const U_LOGFONT lf =
        logfont_set(-px, 0, 0, 0, font.bold ? U_FW_BOLD : U_FW_NORMAL, font.italic, font.underline,
                    font.strikeOut, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                    U_DEFAULT_QUALITY, U_DEFAULT_PITCH, reinterpret_cast<uint16_t*>(face.data()));
    uint32_t created = 0;
    r.Append(
        extcreatefontindirectw_set(&created, r.eht, reinterpret_cast<const char*>(&lf), nullptr));
    r.Append(selectobject_set(created, r.eht));
    if (r.font) r.Append(deleteobject_set(&r.font, r.eht));
    r.font = created;
    r.fontKey = fk;
  }
  if (r.TextColourChanges(font)) r.Append(U_EMRSETTEXTCOLOR_set(ColourRef(font.colour)));

  std::u16string units = Utf8ToUtf16(text);
  // Each character's advance, so that readers place the characters as this font sets them.
  const QFontMetricsF metrics(ToQFont(font, pointSize), &r.reference);
  std::vector<uint32_t> dx(units.size());
  double pen = 0;
  long placed = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const bool pair = QChar::isHighSurrogate(units[i]) && i + 1 < units.size();
    const QString c =
        pair ? QString(reinterpret_cast<const QChar*>(&units[i]), 2) : QString(QChar(units[i]));
    pen += metrics.horizontalAdvance(c);
    const long next = std::lround(pen);
    dx[i] = static_cast<uint32_t>(std::max(0L, next - placed));
    placed = next;
    if (pair) dx[++i] = 0;
  }
  units.push_back(0);
  char* emrtext = emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(dx.size()), 2, units.data(),
                              U_ETO_NONE, U_RECTL{0, 0, -1, -1}, dx.data());
  if (!emrtext) {
    r.failed = true;
    return;
  }
  r.Append(U_EMREXTTEXTOUTW_set(U_RECTL{0, 0, -1, -1}, U_GM_COMPATIBLE, 1.0f, 1.0f,
                                reinterpret_cast<PU_EMRTEXT>(emrtext)));
  std::free(emrtext);
}

std::string EmfRecording::Finish() {
  EmfRecording& r = *this;
  r.StartFinishing("enhanced metafile");
  r.Append(U_EMREOF_set(0, nullptr, r.et));
  if (r.failed || emf_finish(r.et, r.eht) != 0)
    throw std::runtime_error("The enhanced metafile could not be recorded (out of memory?)");
  return std::string(r.et->buf, r.et->used);
}

// ---- Standard metafile -------------------------------------------------------------------

// The handles in use are 0 until the first is selected. The standard format has no stock
// objects: "no outline" and "no filling" are objects of their own.
struct WmfRecording final : MetafileCanvas::Recording, SelectionState {
  WMFTRACK* wt = nullptr;
  WMFHANDLES* wht = nullptr;

  WmfRecording(int width, int height, const std::string& stamp);
  ~WmfRecording() override { Release(); }
  void Release() {
    if (wt) wmf_free(&wt);
    if (wht) wmf_htable_free(&wht);
  }
  void Append(char* rec) {
    if (!rec) {
      failed = true;
      return;
    }
    if (wmf_append(reinterpret_cast<U_METARECORD*>(rec), wt, 1) != 0) failed = true;
  }
  void Replace(uint32_t& current, uint32_t created) {
    Append(wselectobject_set(created, wht));
    if (current) Append(wdeleteobject_set(&current, wht));
    current = created;
  }
  void Use(const Pen& pen, const Brush& brush);
  void Rectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;
  std::string Finish() override;
};

WmfRecording::WmfRecording(int width, int height, const std::string& stamp) {
  char* header = nullptr;
  if (wmf_start(kDiscard, kInitialBytes, kGrowBytes, &wt) == 0 &&
      wmf_htable_create(128, 128, &wht) == 0) {
    U_PAIRF* inches = U_PAIRF_set(static_cast<float>(width) / kMetafileUnitsPerInch,
                                  static_cast<float>(height) / kMetafileUnitsPerInch);
    header = U_WMRHEADER_set(inches, kMetafileUnitsPerInch);
    std::free(inches);
  }
  if (!header || wmf_header_append(reinterpret_cast<U_METARECORD*>(header), wt, 1) != 0) {
    // A constructor that throws runs no destructor: the library's records are released here.
    Release();
    throw std::runtime_error("The standard metafile could not be started");
  }
  if (!stamp.empty()) {
    // A comment escape: readers that draw skip it. The text is padded with zeros to whole
    // 16-bit words, as the records are counted in words.
    std::string comment = "Quillmere representation surface: " + stamp;
    comment.push_back(0);
    if (comment.size() % 2 != 0) comment.push_back(0);
    comment.resize(std::min<std::size_t>(comment.size(), 8000));
    Append(U_WMRESCAPE_set(kMfComment, static_cast<uint16_t>(comment.size()), comment.data()));
  }
  Append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
  Append(U_WMRSETWINDOWEXT_set(point16_set(Clamp16(width), Clamp16(height))));
  Append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  Append(U_WMRSETBKMODE_set(U_TRANSPARENT));
  Append(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
  Append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
}

void WmfRecording::Use(const Pen& pen, const Brush& brush) {
  WmfRecording& r = *this;
  const PenKey pk = KeyOf(pen);
  if (r.penKey != pk) {
    uint32_t created = 0;
    r.Append(wcreatepenindirect_set(
        &created, r.wht,
        U_PEN_set(pen.clear ? U_PS_NULL : U_PS_SOLID,
                  static_cast<uint16_t>(pen.clear ? 0 : std::clamp(pen.width, 1, 1000)),
                  ColourRef(pen.colour))));
    r.Replace(r.pen, created);
    r.penKey = pk;
  }
  const BrushKey bk = KeyOf(brush);
  if (r.brushKey != bk) {
    uint32_t created = 0;
    r.Append(wcreatebrushindirect_set(
        &created, r.wht,
        U_WLOGBRUSH_set(brush.clear ? U_BS_NULL : U_BS_SOLID, ColourRef(brush.colour), 0)));
    r.Replace(r.brush, created);
    r.brushKey = bk;
  }
}

void WmfRecording::Rectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) {
  Use(pen, brush);
  Append(U_WMRRECTANGLE_set(
      U_RECT16_set(point16_set(Clamp16(x0), Clamp16(y0)), point16_set(Clamp16(x1), Clamp16(y1)))));
}

void WmfRecording::Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) {
  Use(pen, brush);
  U_POINT16 p[4];
  for (int i = 0; i < 4; ++i) p[i] = point16_set(Clamp16(points[i].x), Clamp16(points[i].y));
  Append(U_WMRPOLYGON_set(4, p));
}

void WmfRecording::Text(int x, int y, const std::string& text, const LabelFont& font,
                        int pointSize) {
  WmfRecording& r = *this;
  const int px = PixelHeight(pointSize);
  const FontKey fk = KeyOf(font, px);
  if (r.fontKey != fk) {
    std::string face = FaceName(Utf8ToWindows1252(font.family));
    U_FONT* f = U_FONT_set(static_cast<int16_t>(-std::min(px, 32767)), 0, 0, 0,
                           static_cast<int16_t>(font.bold ? U_FW_BOLD : U_FW_NORMAL), font.italic,
                           font.underline, font.strikeOut, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                           U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face.data());
    if (!f) {
      r.failed = true;
      return;
    }
    uint32_t created = 0;
    r.Append(wcreatefontindirect_set(&created, r.wht, f));
    std::free(f);
    r.Replace(r.font, created);
    r.fontKey = fk;
  }
  if (r.TextColourChanges(font)) r.Append(U_WMRSETTEXTCOLOR_set(ColourRef(font.colour)));
  std::string bytes = Utf8ToWindows1252(text);
  if (bytes.size() > 2000) bytes.resize(2000);
  r.Append(U_WMRTEXTOUT_set(point16_set(Clamp16(x), Clamp16(y)), bytes.data()));
}

std::string WmfRecording::Finish() {
  WmfRecording& r = *this;
  r.StartFinishing("standard metafile");
  r.Append(U_WMREOF_set());
  if (r.failed || wmf_finish(r.wt) != 0)
    throw std::runtime_error("The standard metafile could not be recorded (out of memory?)");
  return std::string(r.wt->buf, r.wt->used);
}

}  // namespace

EmfCanvas::EmfCanvas(int width, int height, const std::string& stamp)
    : MetafileCanvas(
          std::max(1, width), std::max(1, height),
          std::make_unique<EmfRecording>(std::max(1, width), std::max(1, height), stamp)) {}

// The standard format counts in signed 16-bit units.
WmfCanvas::WmfCanvas(int width, int height, const std::string& stamp)
    : MetafileCanvas(std::clamp(width, 1, 32767), std::clamp(height, 1, 32767),
                     std::make_unique<WmfRecording>(std::clamp(width, 1, 32767),
                                                    std::clamp(height, 1, 32767), stamp)) {}

}  // namespace quillmere
