#include "files/vrml_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quillmere {
namespace {

/// Splits at CR LF; every line must end so, and no other line break may occur.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text after the last CR LF: " << text.substr(start);
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in " << line;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

std::string Scene(const TensorState& t, const SurfaceEvaluation& e, const ExportOptions& o) {
  std::ostringstream out;
  WriteVRML(out, t, e, o);
  return out.str();
}

TensorState Diagonal(Real a, Real b, Real c) {
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = a;
  t.At(2, 2) = b;
  t.At(3, 3) = c;
  return t;
}

/// Reads "x y z," with each number a fixed-point text of 4 decimals in at least 7 characters.
void ParsePoint(const std::string& line, double v[3]) {
  ASSERT_EQ(line.back(), ',') << line;
  std::size_t pos = 0;
  for (int a = 0; a < 3; ++a) {
    const std::size_t end =
        a < 2 ? line.find(' ', line.find_first_not_of(' ', pos)) : line.size() - 1;
    const std::string field = line.substr(pos, end - pos);
    ASSERT_GE(field.size(), 7u) << line;
    const std::size_t point = field.find('.');
    ASSERT_NE(point, std::string::npos) << line;
    EXPECT_EQ(field.size() - point - 1, 4u) << "4 decimals in " << line;
    v[a] = std::strtod(field.c_str(), nullptr);
    pos = end + 1;
  }
}

struct SceneParts {
  std::vector<std::string> points, faces, colours, tail;
};

/// Cuts a scene into its lists, checking the fixed lines around them on the way.
SceneParts Cut(const std::vector<std::string>& lines, const std::string& sky) {
  SceneParts s;
  const std::vector<std::string> head = {"#VRML V2.0 utf8",
                                         "Background {",
                                         "skyColor [",
                                         sky,
                                         "]",
                                         "}",
                                         "Shape {",
                                         "appearance Appearance {",
                                         "material Material {",
                                         "specularColor 1.0 1.0 1.0",
                                         "}",
                                         "}",
                                         "geometry IndexedFaceSet {",
                                         "creaseAngle 20",
                                         "coord Coordinate {",
                                         "point ["};
  std::size_t n = 0;
  for (; n < head.size() && n < lines.size(); ++n) EXPECT_EQ(lines[n], head[n]) << "line " << n;
  while (n < lines.size() && lines[n] != "]") s.points.push_back(lines[n++]);
  for (const char* want : {"]", "}", "coordIndex ["}) {
    EXPECT_EQ(n < lines.size() ? lines[n] : "", want);
    ++n;
  }
  while (n < lines.size() && lines[n] != "]") s.faces.push_back(lines[n++]);
  for (const char* want : {"]", "colorPerVertex TRUE", "color Color {", "color ["}) {
    EXPECT_EQ(n < lines.size() ? lines[n] : "", want);
    ++n;
  }
  while (n < lines.size() && lines[n] != "]") s.colours.push_back(lines[n++]);
  for (const char* want : {"]", "}", "convex FALSE", "}", "}"}) {
    EXPECT_EQ(n < lines.size() ? lines[n] : "", want);
    ++n;
  }
  while (n < lines.size()) s.tail.push_back(lines[n++]);
  return s;
}

const std::vector<std::string> kAxes = {"Transform {",
                                        "translation 0.0 0.0 0.0",
                                        "rotation 0.0 0.0 0.0 0.0",
                                        "children [",
                                        "DEF AXIS Shape {",
                                        "appearance Appearance {",
                                        "material Material {",
                                        "diffuseColor",
                                        "0.00 0.00 1.00",
                                        "}",
                                        "}",
                                        "geometry Cylinder {",
                                        "height 9",
                                        "radius 0.03",
                                        "}",
                                        "}",
                                        "]",
                                        "}",
                                        "Transform {",
                                        "rotation 1.0 0.0 0.0 1.5708",
                                        "children [ USE AXIS ]",
                                        "},",
                                        "Transform {",
                                        "rotation 0.0 1.0 0.0 1.5708",
                                        "children [ USE AXIS ]",
                                        "},",
                                        "Transform {",
                                        "rotation 0.0 0.0 1.0 1.5708",
                                        "children [ USE AXIS ]",
                                        "}"};

TEST(VrmlExport, ScreenSceneAtResolutionOne) {
  // diag(1, 2, 3): along crystal x, y, z the values are 1, 2, 3 and the points lie at three
  // times that distance.
  const TensorState t = Diagonal(1, 2, 3);
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  const SceneParts s = Cut(CrLfLines(Scene(t, e, o)), "1.00 1.00 1.00,");
  const int k = 10, m = 2 * k + 1;
  ASSERT_EQ(s.points.size(), static_cast<std::size_t>((k + 1) * m));
  ASSERT_EQ(s.colours.size(), s.points.size());
  ASSERT_EQ(s.faces.size(), static_cast<std::size_t>(2 * k * k));
  EXPECT_EQ(s.tail, kAxes);

  // The first 2k+1 points all lie on the pole theta = 0, the crystal z axis, which the scene
  // shows as its vertical axis.
  for (int j = 0; j < m; ++j) EXPECT_EQ(s.points[j], " 0.0000  9.0000  0.0000,") << j;
  // Row i = k/2 is the equator; phi = 0 points along the drawing-frame Y axis, which is the
  // crystal y axis and is written as the scene's -x.
  EXPECT_EQ(s.points[5 * m + k], "-6.0000  0.0000  0.0000,");
  // phi = pi/2 is the drawing-frame X axis, the crystal -x axis: value 1, written as -X.
  EXPECT_EQ(s.points[5 * m + k + 5], " 0.0000  0.0000 -3.0000,");
  for (int j = 0; j < m; ++j)
    EXPECT_EQ(s.points[k * m + j], " 0.0000 -9.0000  0.0000,") << "south pole " << j;

  for (const std::string& p : s.points) {
    double v[3];
    ParsePoint(p, v);
    const double r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    EXPECT_GE(r, 3 - 1e-3) << p;
    EXPECT_LE(r, 9 + 1e-3) << p;
  }
  for (const std::string& c : s.colours) EXPECT_EQ(c, "0.00 1.00 0.00,");

  EXPECT_EQ(s.faces.front(), "0 1 22 21 -1");
  EXPECT_EQ(s.faces[2 * k], "21 22 43 42 -1");  // the first face of the second row
  EXPECT_EQ(s.faces.back(), "208 209 230 229 -1");
  for (const std::string& f : s.faces) {
    std::istringstream in(f);
    long a, b, c, d, end;
    in >> a >> b >> c >> d >> end;
    EXPECT_EQ(end, -1) << f;
    EXPECT_TRUE(b == a + 1 && c == a + 1 + m && d == a + m) << f;
    EXPECT_LT(c, (k + 1) * m) << f;
  }
}

TEST(VrmlExport, ColoursFollowTheSignAndZeroIsNegative) {
  // A rank-1 tensor along z is positive on the upper half and negative on the lower half.
  TensorState t;
  t.rank = 1;
  t.At(3) = 2;
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  o.positiveFill = {255, 128, 0};
  o.negativeFill = {0, 0, 51};
  o.showAxes = false;
  const SceneParts s = Cut(CrLfLines(Scene(t, e, o)), "1.00 1.00 1.00,");
  const int m = 21;
  EXPECT_TRUE(s.tail.empty()) << "no axes when they are off";
  EXPECT_EQ(s.colours[0], "1.00 0.50 0.00,");
  EXPECT_EQ(s.colours[4 * m + 3], "1.00 0.50 0.00,");
  EXPECT_EQ(s.colours[6 * m + 3], "0.00 0.00 0.20,");
  EXPECT_EQ(s.colours[10 * m], "0.00 0.00 0.20,");

  // A zero tensor: every point at the origin, every colour negative.
  const TensorState zero = Diagonal(0, 0, 0);
  const SceneParts z = Cut(CrLfLines(Scene(zero, e, o)), "1.00 1.00 1.00,");
  for (const std::string& p : z.points) EXPECT_EQ(p, " 0.0000  0.0000  0.0000,");
  for (const std::string& c : z.colours) EXPECT_EQ(c, "0.00 0.00 0.20,");
}

TEST(VrmlExport, PrintableSceneHasNoAxesAndKeepsAwayFromTheOrigin) {
  const TensorState zero = Diagonal(0, 0, 0);
  SurfaceEvaluation e;
  e.printableExport = true;
  ExportOptions o;
  o.resolution = 1;
  o.showAxes = true;
  o.background = {0, 0, 0};
  const SceneParts s = Cut(CrLfLines(Scene(zero, e, o)), "0.00 0.00 0.00,");
  EXPECT_TRUE(s.tail.empty());
  // 0 becomes -0.1: a sphere of radius 0.3 in the negative colour.
  EXPECT_EQ(s.points[0], " 0.0000  0.3000  0.0000,");
  for (const std::string& p : s.points) {
    double v[3];
    ParsePoint(p, v);
    EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 0.3, 1e-4) << p;
  }
  for (const std::string& c : s.colours) EXPECT_EQ(c, "1.00 0.00 0.00,");
}

TEST(VrmlExport, LongNumbersTakeTheRoomTheyNeed) {
  // 3 * 4.083333 = 12.25 at both poles.
  const TensorState t = Diagonal(0, 0, 4.0833333333L);
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  const SceneParts s = Cut(CrLfLines(Scene(t, e, o)), "1.00 1.00 1.00,");
  EXPECT_EQ(s.points.front(), " 0.0000 12.2500  0.0000,");
  EXPECT_EQ(s.points.back(), " 0.0000 -12.2500  0.0000,");
}

TEST(VrmlExport, MakeVrmlClearsTheVariantFlagsWhateverHappens) {
  test::TempDir dir;
  const TensorState t = Diagonal(1, 2, 3);
  ExportOptions o;
  o.resolution = 1;
  SurfaceEvaluation e;
  ExportSession s;

  // Cancelled: nothing written, path unchanged, flags cleared.
  SelectExportVariant(ExportVariant::PrintableVRML, e, s);
  EXPECT_TRUE(e.printableExport);
  ExportDialogRequest seen;
  auto cancel = [&](const ExportDialogRequest& r) -> std::optional<std::filesystem::path> {
    seen = r;
    return std::nullopt;
  };
  EXPECT_FALSE(MakeVRML(t, e, s, o, cancel));
  EXPECT_EQ(seen.defaultExtension, "wrl");
  EXPECT_EQ(seen.filter, "VRML-2.0 data file (*.wrl)|*.wrl|All files|*.*");
  EXPECT_FALSE(e.printableExport);
  EXPECT_FALSE(s.stlExport);
  EXPECT_TRUE(s.lastExportPath.empty());

  // Written: the path is remembered and proposed next time, also to the STL export.
  const std::filesystem::path wrl = dir.path() / "scene.wrl";
  auto choose = [&](const ExportDialogRequest& r) -> std::optional<std::filesystem::path> {
    seen = r;
    return wrl;
  };
  SelectExportVariant(ExportVariant::ScreenVRML, e, s);
  ASSERT_EQ(MakeVRML(t, e, s, o, choose), wrl);
  EXPECT_EQ(s.lastExportPath, wrl.string());
  EXPECT_EQ(test::ReadFile(wrl).rfind("#VRML V2.0 utf8\r\n", 0), 0u);

  SelectExportVariant(ExportVariant::Stl, e, s);
  EXPECT_TRUE(e.printableExport && s.stlExport);
  const std::filesystem::path stl = dir.path() / "mesh.stl";
  auto chooseStl = [&](const ExportDialogRequest& r) -> std::optional<std::filesystem::path> {
    seen = r;
    return stl;
  };
  ASSERT_EQ(MakeVRML(t, e, s, o, chooseStl), stl);
  EXPECT_EQ(seen.proposedPath, wrl.string());
  EXPECT_EQ(seen.defaultExtension, "stl");
  EXPECT_EQ(seen.filter, "STL data file (*.stl)|*.stl|All files|*.*");
  EXPECT_EQ(test::ReadFile(stl).rfind("solid Quillmere STL\r\n", 0), 0u);
  EXPECT_FALSE(e.printableExport || s.stlExport);

  // A failed write propagates, and still leaves the screen drawing unaffected.
  SelectExportVariant(ExportVariant::PrintableVRML, e, s);
  auto unwritable = [&](const ExportDialogRequest&) -> std::optional<std::filesystem::path> {
    return dir.path() / "no such folder" / "x.wrl";
  };
  EXPECT_THROW(MakeVRML(t, e, s, o, unwritable), std::runtime_error);
  EXPECT_FALSE(e.printableExport || s.stlExport);
}

TEST(VrmlExport, AFailedExportLeavesTheEarlierFileIntact) {
  test::TempDir dir;
  const std::filesystem::path path = dir.Write("scene.wrl", "earlier scene\r\n");
  TensorState t = Diagonal(1, 2, 3);
  t.scale = 0;  // every value becomes infinite or not a number
  SurfaceEvaluation e;
  ExportOptions o;
  o.resolution = 1;
  try {
    ExportVRMLFile(path, t, e, o);
    ADD_FAILURE() << "a surface without finite points was exported";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Invalid floating point operation");
  }
  EXPECT_EQ(test::ReadFile(path), "earlier scene\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file left behind";

  o.resolution = 0;
  EXPECT_THROW(ExportVRMLFile(path, Diagonal(1, 1, 1), e, o), std::runtime_error);
  EXPECT_EQ(test::ReadFile(path), "earlier scene\r\n");
}

}  // namespace
}  // namespace quillmere
