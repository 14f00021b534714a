// A canvas that keeps what is painted on it and paints it again onto another canvas later. The
// printer gets its page this way: the page is painted (letting window events run, so Escape can
// stop it) before the printer job starts, and a stopped page never reaches the printer.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "surface/canvas.h"

namespace quillmere {

class CanvasRecording : public Canvas {
 public:
  CanvasRecording(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override {
    ops_.push_back(Rectangle{x0, y0, x1, y1, pen, brush});
  }
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override {
    ops_.push_back(Poly{{points[0], points[1], points[2], points[3]}, pen, brush});
  }
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override {
    ops_.push_back(Label{x, y, text, font, pointSize});
  }

  /// Paints everything recorded onto `target`, in the order it was painted here.
  void Replay(Canvas& target) const {
    for (const Op& op : ops_) {
      if (const auto* r = std::get_if<Rectangle>(&op))
        target.FillRectangle(r->x0, r->y0, r->x1, r->y1, r->pen, r->brush);
      else if (const auto* p = std::get_if<Poly>(&op))
        target.Polygon(p->points, p->pen, p->brush);
      else if (const auto* t = std::get_if<Label>(&op))
        target.Text(t->x, t->y, t->text, t->font, t->pointSize);
    }
  }
  std::size_t Size() const { return ops_.size(); }

 private:
  struct Rectangle {
    int x0, y0, x1, y1;
    Pen pen;
    Brush brush;
  };
  struct Poly {
    ScreenPoint points[4];
    Pen pen;
    Brush brush;
  };
  struct Label {
    int x, y;
    std::string text;
    LabelFont font;
    int pointSize;
  };
  using Op = std::variant<Rectangle, Poly, Label>;
  int width_, height_;
  std::vector<Op> ops_;
};

}  // namespace quillmere
