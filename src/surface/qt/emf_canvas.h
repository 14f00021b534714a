// Recording canvases for the two Windows metafile formats, written with libUEMF: EmfCanvas
// records an enhanced metafile (EMF), WmfCanvas a standard metafile (WMF, with the placeable
// header that gives office programs its size). Both record in pixel units of a 96 dots-per-inch
// reference screen, so a picture of a0 pixels is placed at a0 / 96 inches.
//
// What is recorded: the background rectangle, each polygon with its own solid pen (width,
// colour, or the null pen for "no outline") and solid or null brush, and transparent text with
// the top-left corner of its box at the given point, in the named font at a pixel height of
// pointSize * 96 / 72. Pens, brushes and fonts are created when they change and deleted once
// replaced, so the object table stays small.
//
// Finish() ends the recording and returns the complete file; the canvas is then spent.
// Needs a QGuiApplication (the enhanced format stores each character's advance, measured with
// the font).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "surface/canvas.h"

namespace quillmere {

/// Logical units per inch of both metafiles.
inline constexpr int kMetafileUnitsPerInch = 96;

/// The recording canvas both formats share: each format supplies its recording, the canvas
/// hands it the drawing.
class MetafileCanvas : public Canvas {
 public:
  /// What one format records: the drawing as its records, and the finished file.
  struct Recording;

  ~MetafileCanvas() override;
  MetafileCanvas(const MetafileCanvas&) = delete;
  MetafileCanvas& operator=(const MetafileCanvas&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;

  /// The finished file's bytes. Throws std::runtime_error when the recording failed.
  std::string Finish();

 protected:
  MetafileCanvas(int width, int height, std::unique_ptr<Recording> recording);

 private:
  int width_, height_;
  std::unique_ptr<Recording> r_;
};

/// `stamp`, when given, follows the picture's name in the header's description.
class EmfCanvas final : public MetafileCanvas {
 public:
  EmfCanvas(int width, int height, const std::string& stamp = {});
};

/// `stamp`, when given, is recorded as a comment (an escape record) after the header.
class WmfCanvas final : public MetafileCanvas {
 public:
  WmfCanvas(int width, int height, const std::string& stamp = {});
};

}  // namespace quillmere
