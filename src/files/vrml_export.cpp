#include "files/vrml_export.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "files/atomic_file.h"
#include "files/export_text.h"
#include "files/stl_export.h"

namespace quillmere {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr const char* kLineEnd = "\r\n";

/// Clears both variant flags when the export ends, however it ends, so that a failed export
/// cannot leave the printable minimum switched on for the screen drawing.
class VariantFlagsReset {
 public:
  VariantFlagsReset(SurfaceEvaluation& e, ExportSession& s) : e_(e), s_(s) {}
  ~VariantFlagsReset() {
    e_.printableExport = false;
    s_.stlExport = false;
  }
  VariantFlagsReset(const VariantFlagsReset&) = delete;
  VariantFlagsReset& operator=(const VariantFlagsReset&) = delete;

 private:
  SurfaceEvaluation& e_;
  ExportSession& s_;
};

void Line(std::string& out, const char* text) {
  out += text;
  out += kLineEnd;
}

void AppendChannels(std::string& out, const ExportColour& c) {
  export_text::AppendFixed(out, c.red / 255.0, 2, 4);
  out += ' ';
  export_text::AppendFixed(out, c.green / 255.0, 2, 4);
  out += ' ';
  export_text::AppendFixed(out, c.blue / 255.0, 2, 4);
}

void AppendAxes(std::string& out, const ExportColour& axes) {
  for (const char* text :
       {"Transform {", "translation 0.0 0.0 0.0", "rotation 0.0 0.0 0.0 0.0", "children [",
        "DEF AXIS Shape {", "appearance Appearance {", "material Material {", "diffuseColor"})
    Line(out, text);
  AppendChannels(out, axes);
  out += kLineEnd;
  for (const char* text :
       {"}", "}", "geometry Cylinder {", "height 9", "radius 0.03", "}", "}", "]", "}"})
    Line(out, text);
  // The cylinder stands on the scene's y axis; the three copies turn it about x, y and z.
  const char* rotations[3] = {"rotation 1.0 0.0 0.0 1.5708", "rotation 0.0 1.0 0.0 1.5708",
                              "rotation 0.0 0.0 1.0 1.5708"};
  for (int a = 0; a < 3; ++a) {
    Line(out, "Transform {");
    Line(out, rotations[a]);
    Line(out, "children [ USE AXIS ]");
    Line(out, a < 2 ? "}," : "}");
  }
}

}  // namespace

ExportGrid::ExportGrid(int resolution) : k(10 * resolution) {
  if (resolution < 1) throw std::runtime_error("The export resolution must be at least 1");
}

Real ExportGrid::Theta(int i) const {
  return static_cast<Real>(i) * kPi / static_cast<Real>(k);
}

Real ExportGrid::Phi(int j) const {
  return static_cast<Real>(j) * kPi / static_cast<Real>(k);
}

SurfacePointValue SurfacePoint(const TensorState& t, const SurfaceEvaluation& e, Real theta,
                               Real phi) {
  const Real st = std::sin(theta);
  const Real e1 = st * std::sin(phi);
  const Real e2 = st * std::cos(phi);
  const Real e3 = std::cos(theta);
  // The drawing frame reverses the first crystal axis, as on the screen.
  Real r = 3 * SurfaceValue(t, e, -e1, e2, e3);
  SurfacePointValue p;
  p.positive = r > 0;
  if (!p.positive) r = -r;
  p.x = r * e1;
  p.y = r * e2;
  p.z = r * e3;
  return p;
}

void WriteVRML(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
               const ExportOptions& o) {
  const ExportGrid grid(o.resolution);
  const int k = grid.k;
  const int m = grid.Columns();

  // Each grid point is evaluated once and serves both its coordinates and its colour.
  std::vector<SurfacePointValue> points;
  points.reserve(static_cast<std::size_t>(grid.Points()));
  for (int i = 0; i <= k; ++i) {
    for (int j = -k; j <= k; ++j) {
      SurfacePointValue p = SurfacePoint(t, e, grid.Theta(i), grid.Phi(j));
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        throw std::runtime_error("Invalid floating point operation");
      // The coordinates are written from doubles: beyond their range they would read "inf".
      constexpr Real kLargest = std::numeric_limits<double>::max();
      if (std::fabs(p.x) > kLargest || std::fabs(p.y) > kLargest || std::fabs(p.z) > kLargest)
        throw std::runtime_error(
            "The surface has values beyond the range of double precision numbers (1.8E+308) "
            "and cannot be exported");
      points.push_back(p);
    }
  }

  std::string text;
  text.reserve(static_cast<std::size_t>(grid.Points()) * 40 + 2048);
  Line(text, "#VRML V2.0 utf8");
  if (!o.stamp.empty()) Line(text, ("# " + o.stamp).c_str());
  Line(text, "Background {");
  Line(text, "skyColor [");
  AppendChannels(text, o.background);
  text += ',';
  text += kLineEnd;
  for (const char* line : {"]", "}", "Shape {", "appearance Appearance {", "material Material {",
                           "specularColor 1.0 1.0 1.0", "}", "}", "geometry IndexedFaceSet {",
                           "creaseAngle 20", "coord Coordinate {", "point ["})
    Line(text, line);

  // The scene's vertical axis is the tensor's third axis: (X, Y, Z) is written as (-Y, Z, -X).
  for (const SurfacePointValue& p : points) {
    export_text::AppendFixed(text, static_cast<double>(-p.y), 4, 7);
    text += ' ';
    export_text::AppendFixed(text, static_cast<double>(p.z), 4, 7);
    text += ' ';
    export_text::AppendFixed(text, static_cast<double>(-p.x), 4, 7);
    text += ',';
    text += kLineEnd;
  }

  Line(text, "]");
  Line(text, "}");
  Line(text, "coordIndex [");
  // Face (r, b) joins points (r-1, b-1-k), (r-1, b-k), (r, b-k), (r, b-1-k); the faces at the
  // poles are degenerate and are written all the same, so the list is regular.
  for (int r = 1; r <= k; ++r) {
    for (int b = 1; b <= 2 * k; ++b) {
      const long long a = static_cast<long long>(r - 1) * m + b;
      const long long c = static_cast<long long>(r) * m + b;
      export_text::AppendInteger(text, a - 1);
      text += ' ';
      export_text::AppendInteger(text, a);
      text += ' ';
      export_text::AppendInteger(text, c);
      text += ' ';
      export_text::AppendInteger(text, c - 1);
      text += " -1";
      text += kLineEnd;
    }
  }

  for (const char* line : {"]", "colorPerVertex TRUE", "color Color {", "color ["})
    Line(text, line);
  std::string positive, negative;
  AppendChannels(positive, o.positiveFill);
  positive += ',';
  positive += kLineEnd;
  AppendChannels(negative, o.negativeFill);
  negative += ',';
  negative += kLineEnd;
  for (const SurfacePointValue& p : points) text += p.positive ? positive : negative;
  for (const char* line : {"]", "}", "convex FALSE", "}", "}"}) Line(text, line);

  if (o.showAxes && !e.printableExport) AppendAxes(text, o.axesColour);

  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void ExportVRMLFile(const std::filesystem::path& path, const TensorState& t,
                    const SurfaceEvaluation& e, const ExportOptions& o) {
  WriteFileAtomically(path, [&](std::ostream& out) { WriteVRML(out, t, e, o); });
}

void SelectExportVariant(ExportVariant v, SurfaceEvaluation& e, ExportSession& s) {
  e.printableExport = v != ExportVariant::ScreenVRML;
  s.stlExport = v == ExportVariant::Stl;
}

std::optional<std::filesystem::path> MakeVRML(const TensorState& t, SurfaceEvaluation& e,
                                              ExportSession& s, const ExportOptions& o,
                                              const ChooseExportPath& choose) {
  VariantFlagsReset reset(e, s);
  ExportDialogRequest request;
  if (s.stlExport) {
    request.defaultExtension = "stl";
    request.filter = "STL data file (*.stl)|*.stl|All files|*.*";
  } else {
    request.defaultExtension = "wrl";
    request.filter = "VRML-2.0 data file (*.wrl)|*.wrl|All files|*.*";
  }
  request.proposedPath = s.lastExportPath;
  std::optional<std::filesystem::path> path = choose(request);
  if (!path) return std::nullopt;
  s.lastExportPath = path->string();
  if (s.stlExport)
    ExportSTLFile(*path, t, e, o.resolution);
  else
    ExportVRMLFile(*path, t, e, o);
  return path;
}

}  // namespace quillmere
