// The part of the metafile canvases each format supplies: its records for the drawing
// operations, in the recording's own units (whole pixels, or a fixed fraction of a pixel; the
// canvas converts), and the finished file. Internal to emf_canvas.cpp, wmf_canvas.cpp and
// metafile_canvas.cpp.
#pragma once

#include <QFont>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "surface/qt/emf_canvas.h"

extern "C" {
#include <uemf.h>
}

namespace quillmere {

/// A pen as the metafiles create it: the canvas's pen, and whether its line is dotted.
struct MetafilePen {
  Pen pen;
  bool dotted = false;
};

/// A font as the metafiles select it: the label font's face, styles and colour at a height in
/// the recording's units. `measured` is the same font at the picture's pixel size, by which the
/// enhanced format sets each character's advance.
struct MetafileFont {
  LabelFont face;
  int height = 1;
  QFont measured;
};

struct MetafileCanvas::Recording {
  virtual ~Recording() = default;
  /// Makes `pen` and `brush` the ones the next shapes are drawn with.
  virtual void Use(const MetafilePen& pen, const Brush& brush) = 0;
  virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
  virtual void Polygon(const std::vector<ScreenPoint>& points) = 0;
  virtual void Polyline(const std::vector<ScreenPoint>& points) = 0;
  virtual void Ellipse(int x0, int y0, int x1, int y1) = 0;
  /// `text` at (x, y): the top-left corner of its box, or with `baseline` the left end of its
  /// baseline.
  virtual void Text(int x, int y, const std::string& text, const MetafileFont& font,
                    bool baseline) = 0;
  virtual std::string Finish() = 0;
};

/// The recordings, `unitsPerPixel` units to a picture pixel. `title` names the picture in the
/// file; `stamp`, when given, follows it (see emf_canvas.h).
std::unique_ptr<MetafileCanvas::Recording> MakeEmfRecording(int width, int height,
                                                            int unitsPerPixel,
                                                            const std::string& title,
                                                            const std::string& stamp);
std::unique_ptr<MetafileCanvas::Recording> MakeWmfRecording(int width, int height,
                                                            int unitsPerPixel,
                                                            const std::string& title,
                                                            const std::string& stamp);

namespace metafile {

// libUEMF builds the whole file in memory and, when finished, also writes it to a file named
// at the start. The program writes the bytes itself (through its atomic replace, or onto the
// clipboard), so the library's own copy goes nowhere.
inline constexpr const char* kDiscard = "/dev/null";
inline constexpr uint32_t kInitialBytes = 1 << 18;
inline constexpr uint32_t kGrowBytes = 1 << 18;

inline U_COLORREF ColourRef(const Colour& c) {
  return colorref3_set(c.red, c.green, c.blue);
}

using PenKey = std::tuple<bool, int, uint8_t, uint8_t, uint8_t, bool>;
using BrushKey = std::tuple<bool, uint8_t, uint8_t, uint8_t>;
using FontKey = std::tuple<std::string, int, bool, bool, bool, bool>;

inline PenKey KeyOf(const MetafilePen& m) {
  const Pen& p = m.pen;
  if (p.clear) return {true, 0, 0, 0, 0, false};
  return {false, std::max(1, p.width), p.colour.red, p.colour.green, p.colour.blue, m.dotted};
}
inline BrushKey KeyOf(const Brush& b) {
  if (b.clear) return {true, 0, 0, 0};
  return {false, b.colour.red, b.colour.green, b.colour.blue};
}
inline FontKey KeyOf(const MetafileFont& f) {
  return {f.face.family, f.height, f.face.bold, f.face.italic, f.face.underline, f.face.strikeOut};
}

/// A font's face name as the metafiles hold it: at most 31 characters and a terminating zero.
template <typename Char>
std::basic_string<Char> FaceName(std::basic_string<Char> name) {
  if (name.size() > 31) name.resize(31);
  return name;
}

inline int16_t Clamp16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, -32767, 32767));
}

/// What both recordings remember between records: whether a record failed, whether the file is
/// finished, the handles and keys of the pen, brush and font in use, the text colour and the
/// text alignment, so that an object is created (or a mode set) only when the wanted one
/// differs from the one in use.
struct SelectionState {
  bool failed = false;
  bool finished = false;
  bool baseline = false;  ///< texts are placed by their baseline, not their box's top
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

  /// True once when texts change between placing by the box's top and by the baseline.
  bool AlignmentChanges(bool byBaseline) {
    if (baseline == byBaseline) return false;
    baseline = byBaseline;
    return true;
  }

  /// Marks the file finished; a second finish is a programming error.
  void StartFinishing(const char* what) {
    if (finished) throw std::logic_error(std::string("The ") + what + " is already finished");
    finished = true;
  }
};

}  // namespace metafile

}  // namespace quillmere
