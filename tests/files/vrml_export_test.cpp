#include "files/vrml_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/surface_export.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

/// The scene's lines; every line must end in CR LF, with no other line break.
std::vector<std::string> SceneLines(const TensorState& t, const SurfaceEvaluation& e,
                                    const ExportOptions& o) {
  std::ostringstream out;
  WriteVRML(out, t, e, o);
  const std::string text = out.str();
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
    end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << lines.back();
  }
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  return lines;
}

/// Lines [from, to) joined, each followed by '|'.
std::string Join(const std::vector<std::string>& l, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t n = from; n < to && n < l.size(); ++n) text += l[n] + "|";
  return text;
}

TensorState Diagonal(Real a, Real b, Real c) {
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = a;
  t.At(2, 2) = b;
  t.At(3, 3) = c;
  return t;
}

// Resolution 1: k = 10, (k+1)(2k+1) = 231 points and colours, 2k^2 = 200 faces.
constexpr int kM = 21, kPoints = 231, kFaces = 200;
constexpr int kPointAt = 16, kFaceAt = kPointAt + kPoints + 3, kColourAt = kFaceAt + kFaces + 4;
constexpr int kShapeEnd = kColourAt + kPoints + 5;

TEST(VrmlExport, ScreenSceneAtResolutionOne) {
  // diag(1, 2, 4.0833333): along crystal x, y, z the points lie at 3, 6 and 12.25.
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  const std::vector<std::string> l = SceneLines(Diagonal(1, 2, 4.0833333333L), e, o);
  ASSERT_EQ(l.size(), static_cast<std::size_t>(kShapeEnd + 30));
  EXPECT_EQ(Join(l, 0, kPointAt),
            "#VRML V2.0 utf8|Background {|skyColor [|1.00 1.00 1.00,|]|}|Shape {|"
            "appearance Appearance {|material Material {|specularColor 1.0 1.0 1.0|}|}|"
            "geometry IndexedFaceSet {|creaseAngle 20|coord Coordinate {|point [|");
  EXPECT_EQ(l[kFaceAt - 3] + l[kFaceAt - 2] + l[kFaceAt - 1], "]}coordIndex [");
  EXPECT_EQ(l[kColourAt - 4] + l[kColourAt - 3], "]colorPerVertex TRUE");
  EXPECT_EQ(l[kColourAt - 2] + l[kColourAt - 1], "color Color {color [");
  EXPECT_EQ(l[kShapeEnd - 5] + l[kShapeEnd - 4] + l[kShapeEnd - 3] + l[kShapeEnd - 1],
            "]}convex FALSE}");

  // The first row lies on the pole theta = 0, the crystal z axis, the scene's vertical; the
  // longer number takes the room it needs.
  for (int j = 0; j < kM; ++j) EXPECT_EQ(l[kPointAt + j], " 0.0000 12.2500  0.0000,");
  EXPECT_EQ(l[kFaceAt - 4], " 0.0000 -12.2500  0.0000,");
  // Equator, phi = 0: the drawing-frame Y axis = crystal y, written as the scene's -x; phi =
  // pi/2: drawing X = crystal -x, written as -X. Tiny rounding residues show no minus sign.
  EXPECT_EQ(l[kPointAt + 5 * kM + 10], "-6.0000  0.0000  0.0000,");
  EXPECT_EQ(l[kPointAt + 5 * kM + 15], " 0.0000  0.0000 -3.0000,");

  EXPECT_EQ(l[kFaceAt], "0 1 22 21 -1");
  EXPECT_EQ(l[kFaceAt + 20], "21 22 43 42 -1");  // the first face of the second row
  EXPECT_EQ(l[kFaceAt + kFaces - 1], "208 209 230 229 -1");
  for (int n = 0; n < kPoints; ++n) EXPECT_EQ(l[kColourAt + n], "0.00 1.00 0.00,");

  EXPECT_EQ(Join(l, kShapeEnd, l.size()),
            "Transform {|translation 0.0 0.0 0.0|rotation 0.0 0.0 0.0 0.0|children [|"
            "DEF AXIS Shape {|appearance Appearance {|material Material {|diffuseColor|"
            "0.00 0.00 1.00|}|}|geometry Cylinder {|height 9|radius 0.03|}|}|]|}|"
            "Transform {|rotation 1.0 0.0 0.0 1.5708|children [ USE AXIS ]|},|"
            "Transform {|rotation 0.0 1.0 0.0 1.5708|children [ USE AXIS ]|},|"
            "Transform {|rotation 0.0 0.0 1.0 1.5708|children [ USE AXIS ]|}|");
}

TEST(VrmlExport, SignsColoursAndThePrintableVariant) {
  // Rank 1 along z: positive above the equator, negative below; a zero value is negative.
  TensorState t;
  t.rank = 1;
  t.At(3) = 2;
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  o.positiveFill = {255, 128, 0};
  o.negativeFill = {0, 0, 51};
  o.showAxes = false;
  std::vector<std::string> l = SceneLines(t, e, o);
  EXPECT_EQ(l.size(), static_cast<std::size_t>(kShapeEnd)) << "nothing after the shape";
  EXPECT_EQ(l[kColourAt + 4 * kM + 3], "1.00 0.50 0.00,");
  EXPECT_EQ(l[kColourAt + 6 * kM + 3], "0.00 0.00 0.20,");
  l = SceneLines(Diagonal(0, 0, 0), e, o);
  EXPECT_EQ(l[kPointAt + 100], " 0.0000  0.0000  0.0000,");
  EXPECT_EQ(l[kColourAt + 100], "0.00 0.00 0.20,");

  // Printable: no axes although they are on; 0 becomes -0.1, a sphere of radius 0.3.
  e.printableExport = true;
  o.showAxes = true;
  o.background = {0, 0, 0};
  l = SceneLines(Diagonal(0, 0, 0), e, o);
  EXPECT_EQ(l.size(), static_cast<std::size_t>(kShapeEnd));
  EXPECT_EQ(l[3], "0.00 0.00 0.00,");
  EXPECT_EQ(l[kPointAt], " 0.0000  0.3000  0.0000,");
  EXPECT_EQ(l[kPointAt + 5 * kM + 10], "-0.3000  0.0000  0.0000,");
  EXPECT_EQ(l[kColourAt + 100], "0.00 0.00 0.20,");
}

TEST(VrmlExport, MakeVrmlClearsTheVariantFlagsWhateverHappens) {
  test::TempDir dir;
  const TensorState t = Diagonal(1, 2, 3);
  ExportOptions o;
  o.resolution = 1;
  SurfaceEvaluation e;
  ExportSession s;
  ExportDialogRequest seen;
  std::optional<std::filesystem::path> answer;
  auto dialog = [&](const ExportDialogRequest& r) {
    seen = r;
    return answer;
  };

  SelectExportVariant(ExportVariant::PrintableVRML, e, s);
  EXPECT_FALSE(MakeVRML(t, e, s, o, dialog)) << "cancelled";
  EXPECT_EQ(seen.filter, "VRML-2.0 data file (*.wrl)|*.wrl|All files|*.*");
  EXPECT_FALSE(e.printableExport || s.stlExport);
  EXPECT_TRUE(s.lastExportPath.empty());

  answer = dir.path() / "mesh.stl";
  SelectExportVariant(ExportVariant::Stl, e, s);
  EXPECT_EQ(MakeVRML(t, e, s, o, dialog)->path, *answer);
  EXPECT_EQ(seen.defaultExtension, "stl");
  EXPECT_EQ(seen.filter, "STL data file (*.stl)|*.stl|All files|*.*");
  EXPECT_EQ(test::ReadFile(*answer).rfind("solid Quillmere STL\r\n", 0), 0u);
  EXPECT_FALSE(e.printableExport || s.stlExport);

  // The last path is proposed next time; a failed write propagates and still clears the flags,
  // so the screen drawing never keeps the printable minimum.
  answer = dir.path() / "no such folder" / "x.wrl";
  SelectExportVariant(ExportVariant::PrintableVRML, e, s);
  EXPECT_THROW(MakeVRML(t, e, s, o, dialog), std::runtime_error);
  EXPECT_EQ(seen.proposedPath, (dir.path() / "mesh.stl").string());
  EXPECT_FALSE(e.printableExport || s.stlExport);
}

TEST(VrmlExport, AFailedExportLeavesTheEarlierFileIntact) {
  test::TempDir dir;
  const std::filesystem::path path = dir.Write("scene.wrl", "earlier scene\r\n");
  TensorState t = Diagonal(1, 2, 3);
  t.scale = 0;  // every value infinite or not a number
  ExportOptions o;
  o.resolution = 1;
  try {
    ExportVRMLFile(path, t, SurfaceEvaluation{}, o);
    ADD_FAILURE() << "a surface without finite points was exported";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Invalid floating point operation");
  }
  EXPECT_EQ(test::ReadFile(path), "earlier scene\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "a temporary file was left behind";
}

}  // namespace
}  // namespace quillmere
