// The standard metafile's recording (see emf_canvas.h).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "surface/qt/metafile_recording.h"
#include "surface/qt/metafile_text.h"

extern "C" {
#include <uwmf.h>
}

namespace quillmere {

namespace {

using namespace metafile;

/// The escape function of a standard metafile's comment record (MFCOMMENT).
constexpr uint16_t kMfComment = 0x000F;

U_RECT16 Rect16(int x0, int y0, int x1, int y1) {
  return U_RECT16_set(point16_set(Clamp16(x0), Clamp16(y0)), point16_set(Clamp16(x1), Clamp16(y1)));
}

std::vector<U_POINT16> Points16(const std::vector<ScreenPoint>& points) {
  std::vector<U_POINT16> p;
  for (const ScreenPoint& q : points) p.push_back(point16_set(Clamp16(q.x), Clamp16(q.y)));
  return p;
}

// The handles in use are 0 until the first is selected. The standard format has no stock
// objects: "no outline" and "no filling" are objects of their own.
struct WmfRecording final : MetafileCanvas::Recording, SelectionState {
  WMFTRACK* wt = nullptr;
  WMFHANDLES* wht = nullptr;

  WmfRecording(int width, int height, int unitsPerPixel, const std::string& title,
               const std::string& stamp);
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
  void Use(const MetafilePen& pen, const Brush& brush) override;
  void Rectangle(int x0, int y0, int x1, int y1) override {
    Append(U_WMRRECTANGLE_set(Rect16(x0, y0, x1, y1)));
  }
  void Polygon(const std::vector<ScreenPoint>& points) override {
    const std::vector<U_POINT16> p = Points16(points);
    Append(U_WMRPOLYGON_set(static_cast<uint16_t>(p.size()), p.data()));
  }
  void Polyline(const std::vector<ScreenPoint>& points) override {
    const std::vector<U_POINT16> p = Points16(points);
    Append(U_WMRPOLYLINE_set(static_cast<uint16_t>(p.size()), p.data()));
  }
  void Ellipse(int x0, int y0, int x1, int y1) override {
    Append(U_WMRELLIPSE_set(Rect16(x0, y0, x1, y1)));
  }
  void Text(int x, int y, const std::string& text, const MetafileFont& font,
            bool baseline) override;
  std::string Finish() override;
};

WmfRecording::WmfRecording(int width, int height, int units, const std::string& title,
                           const std::string& stamp) {
  char* header = nullptr;
  if (wmf_start(kDiscard, kInitialBytes, kGrowBytes, &wt) == 0 &&
      wmf_htable_create(128, 128, &wht) == 0) {
    U_PAIRF* inches = U_PAIRF_set(static_cast<float>(width) / kMetafileUnitsPerInch,
                                  static_cast<float>(height) / kMetafileUnitsPerInch);
    header = U_WMRHEADER_set(inches, kMetafileUnitsPerInch * units);
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
    std::string name = title;
    if (!name.empty())
      name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    std::string comment = "Quillmere " + name + ": " + stamp;
    comment.push_back(0);
    if (comment.size() % 2 != 0) comment.push_back(0);
    comment.resize(std::min<std::size_t>(comment.size(), 8000));
    Append(U_WMRESCAPE_set(kMfComment, static_cast<uint16_t>(comment.size()), comment.data()));
  }
  Append(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
  Append(U_WMRSETWINDOWEXT_set(point16_set(Clamp16(width * units), Clamp16(height * units))));
  Append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  Append(U_WMRSETBKMODE_set(U_TRANSPARENT));
  Append(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
  Append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
}

void WmfRecording::Use(const MetafilePen& pen, const Brush& brush) {
  const PenKey pk = KeyOf(pen);
  if (penKey != pk) {
    uint32_t created = 0;
    const Pen& p = pen.pen;
    Append(wcreatepenindirect_set(
        &created, wht,
        U_PEN_set(p.clear ? U_PS_NULL : (pen.dotted ? U_PS_DOT : U_PS_SOLID),
                  static_cast<uint16_t>(p.clear ? 0 : std::clamp(p.width, 1, 1000)),
                  ColourRef(p.colour))));
    Replace(this->pen, created);
    penKey = pk;
  }
  const BrushKey bk = KeyOf(brush);
  if (brushKey != bk) {
    uint32_t created = 0;
    Append(wcreatebrushindirect_set(
        &created, wht,
        U_WLOGBRUSH_set(brush.clear ? U_BS_NULL : U_BS_SOLID, ColourRef(brush.colour), 0)));
    Replace(this->brush, created);
    brushKey = bk;
  }
}

void WmfRecording::Text(int x, int y, const std::string& text, const MetafileFont& font,
                        bool byBaseline) {
  const LabelFont& face = font.face;
  const FontKey fk = KeyOf(font);
  if (fontKey != fk) {
    std::string name = FaceName(Utf8ToWindows1252(face.family));
    U_FONT* f = U_FONT_set(static_cast<int16_t>(-std::min(font.height, 32767)), 0, 0, 0,
                           static_cast<int16_t>(face.bold ? U_FW_BOLD : U_FW_NORMAL), face.italic,
                           face.underline, face.strikeOut, U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS,
                           U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY, U_DEFAULT_PITCH, name.data());
    if (!f) {
      failed = true;
      return;
    }
    uint32_t created = 0;
    Append(wcreatefontindirect_set(&created, wht, f));
    std::free(f);
    Replace(this->font, created);
    fontKey = fk;
  }
  if (TextColourChanges(face)) Append(U_WMRSETTEXTCOLOR_set(ColourRef(face.colour)));
  if (AlignmentChanges(byBaseline))
    Append(U_WMRSETTEXTALIGN_set((byBaseline ? U_TA_BASELINE : U_TA_TOP) | U_TA_LEFT |
                                 U_TA_NOUPDATECP));
  std::string bytes = Utf8ToWindows1252(text);
  if (bytes.size() > 2000) bytes.resize(2000);
  Append(U_WMRTEXTOUT_set(point16_set(Clamp16(x), Clamp16(y)), bytes.data()));
}

std::string WmfRecording::Finish() {
  StartFinishing("standard metafile");
  Append(U_WMREOF_set());
  if (failed || wmf_finish(wt) != 0)
    throw std::runtime_error("The standard metafile could not be recorded (out of memory?)");
  return std::string(wt->buf, wt->used);
}

}  // namespace

std::unique_ptr<MetafileCanvas::Recording> MakeWmfRecording(int width, int height,
                                                            int unitsPerPixel,
                                                            const std::string& title,
                                                            const std::string& stamp) {
  return std::make_unique<WmfRecording>(width, height, unitsPerPixel, title, stamp);
}

}  // namespace quillmere
