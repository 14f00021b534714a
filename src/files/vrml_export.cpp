#include "files/vrml_export.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "files/atomic_file.h"
#include "files/export_text.h"

namespace quillmere {

namespace {

constexpr const char* kLineEnd = "\r\n";

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

std::size_t WriteVRML(std::ostream& out, const SurfaceMesh& mesh, const ExportOptions& o,
                      bool printable) {
  for (const SurfacePointValue& p : mesh.points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
      throw std::runtime_error("Invalid floating point operation");
    // The coordinates are written from doubles: beyond their range they would read "inf".
    constexpr Real kLargest = std::numeric_limits<double>::max();
    if (std::fabs(p.x) > kLargest || std::fabs(p.y) > kLargest || std::fabs(p.z) > kLargest)
      throw std::runtime_error(
          "The surface has values beyond the range of double precision numbers (1.8E+308) "
          "and cannot be exported");
  }
  const std::vector<SurfacePointValue>& points = mesh.points;

  std::string text;
  text.reserve(points.size() * 40 + 2048);
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
  std::size_t faces = 0;
  // Each cell is a face through its corners a, d, c, b; the faces at the poles are degenerate
  // and are written all the same, so the list is regular.
  mesh.ForEachCell([&](std::size_t a, std::size_t b, std::size_t c, std::size_t d) {
    for (const std::size_t corner : {a, d, c, b}) {
      export_text::AppendInteger(text, static_cast<long long>(corner));
      text += ' ';
    }
    text += "-1";
    text += kLineEnd;
    ++faces;
  });

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

  if (o.showAxes && !printable) AppendAxes(text, o.axesColour);

  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return faces;
}

std::size_t WriteVRML(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
                      const ExportOptions& o) {
  return WriteVRML(out, SampleSurfaceMesh(t, e, o.resolution), o, e.printableExport);
}

std::size_t ExportVRMLFile(const std::filesystem::path& path, const TensorState& t,
                           const SurfaceEvaluation& e, const ExportOptions& o) {
  std::size_t faces = 0;
  WriteFileAtomically(path, [&](std::ostream& out) { faces = WriteVRML(out, t, e, o); });
  return faces;
}

}  // namespace quillmere
