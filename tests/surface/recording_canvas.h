// A canvas that records what the renderer paints, for tests of the painting rules.
#pragma once

#include <string>
#include <vector>

#include "surface/canvas.h"

namespace quillmere::test {

class RecordingCanvas : public Canvas {
 public:
  struct PolygonCall {
    ScreenPoint points[4];
    Pen pen;
    Brush brush;
  };
  struct TextCall {
    int x, y;
    std::string text;
    LabelFont font;
    int pointSize;
  };
  struct RectangleCall {
    int x0, y0, x1, y1;
    Pen pen;
    Brush brush;
  };

  RecordingCanvas(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override {
    rectangles.push_back({x0, y0, x1, y1, pen, brush});
  }
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override {
    PolygonCall c{{points[0], points[1], points[2], points[3]}, pen, brush};
    polygons.push_back(c);
  }
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override {
    texts.push_back({x, y, text, font, pointSize});
  }

  std::vector<RectangleCall> rectangles;
  std::vector<PolygonCall> polygons;
  std::vector<TextCall> texts;

 private:
  int width_, height_;
};

}  // namespace quillmere::test
