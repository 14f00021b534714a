// The exported files as independent programs read them: admesh checks STL meshes, and the
// VRML 2.0 reader of view3dscene (tovrmlx3d) converts the scenes, which it only does for files
// it understood.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

#include "files/stl_export.h"
#include "files/vrml_export.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

bool HaveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

/// Runs a shell command, returning its exit status; stdout and stderr go to the given files.
int RunTool(const std::string& command, const std::filesystem::path& out,
            const std::filesystem::path& err) {
  return std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "'").c_str());
}

std::vector<TensorState> SampleTensors() {
  std::vector<TensorState> tensors;
  TensorState zero;
  zero.rank = 2;
  tensors.push_back(zero);
  test::Random random(23);
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t;
    t.rank = rank;
    for (Real& c : t.components) c = random.Uniform(-2, 2);
    tensors.push_back(t);
  }
  return tensors;
}

/// The number after "label :" in admesh's report, or -1 when it is missing.
long Statistic(const std::string& report, const std::string& label) {
  std::smatch m;
  if (!std::regex_search(report, m, std::regex(label + R"( *: *(\d+))"))) return -1;
  return std::stol(m[1].str());
}

TEST(ExportReaders, AdmeshFindsNothingToRepair) {
  if (!HaveTool("admesh")) GTEST_SKIP() << "admesh is not installed (Debian package admesh)";
  test::TempDir dir;
  int n = 0;
  for (const TensorState& t : SampleTensors()) {
    for (int resolution : {1, 3}) {
      SCOPED_TRACE("rank " + std::to_string(t.rank) + ", resolution " + std::to_string(resolution));
      const std::filesystem::path stl = dir.path() / ("mesh" + std::to_string(n++) + ".stl");
      ExportSTLFile(stl, t, SurfaceEvaluation{}, resolution);
      ASSERT_EQ(RunTool("admesh '" + stl.string() + "'", dir.path() / "out", dir.path() / "err"), 0)
          << test::ReadFile(dir.path() / "err");
      const std::string report = test::ReadFile(dir.path() / "out");
      EXPECT_NE(report.find("File type          : ASCII STL file"), std::string::npos) << report;
      EXPECT_NE(report.find("Header             : solid Quillmere STL"), std::string::npos);
      EXPECT_EQ(Statistic(report, "Number of parts"), 1) << report;
      EXPECT_EQ(Statistic(report, "Total disconnected facets"), 0) << report;
      for (const char* label :
           {"Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed",
            "Backwards edges", "Normals fixed"})
        EXPECT_EQ(Statistic(report, label), 0) << label << "\n" << report;
    }
  }
}

/// How many numbers an X3D XML attribute such as point="..." holds.
long CountNumbers(const std::string& xml, const std::string& attribute) {
  const std::string key = " " + attribute + "=\"";
  std::size_t at = xml.find("\t" + attribute + "=\"");
  if (at == std::string::npos) at = xml.find(key);
  if (at == std::string::npos) return -1;
  at = xml.find('"', at) + 1;
  std::istringstream in(xml.substr(at, xml.find('"', at) - at));
  long count = 0;
  double value;
  while (in >> value) ++count;
  return count;
}

TEST(ExportReaders, Vrml2ReaderAcceptsBothVariants) {
  if (!HaveTool("tovrmlx3d"))
    GTEST_SKIP() << "tovrmlx3d is not installed (Debian package view3dscene); the VRML files "
                    "were not checked by a third-party reader";
  test::TempDir dir;
  int n = 0;
  for (const TensorState& t : SampleTensors()) {
    for (bool printable : {false, true}) {
      SCOPED_TRACE("rank " + std::to_string(t.rank) + (printable ? ", printable" : ", screen"));
      SurfaceEvaluation e;
      e.printableExport = printable;
      ExportOptions o;
      o.resolution = 1 + n % 2;
      const int k = 10 * o.resolution;
      const std::filesystem::path wrl = dir.path() / ("scene" + std::to_string(n++) + ".wrl");
      ExportVRMLFile(wrl, t, e, o);
      ASSERT_EQ(RunTool("tovrmlx3d --encoding=xml '" + wrl.string() + "'", dir.path() / "x3d",
                        dir.path() / "err"),
                0);
      // The reader reports every problem as a warning on stderr and still exits with 0.
      EXPECT_EQ(test::ReadFile(dir.path() / "err"), "");
      const std::string xml = test::ReadFile(dir.path() / "x3d");
      const long points = (k + 1) * (2 * k + 1);
      EXPECT_EQ(CountNumbers(xml, "point"), 3 * points);
      EXPECT_EQ(CountNumbers(xml, "color"), 3 * points);
      EXPECT_EQ(CountNumbers(xml, "coordIndex"), 5L * 2 * k * k);
      EXPECT_EQ(CountNumbers(xml, "skyColor"), 3);
      const bool axes = xml.find("DEF=\"AXIS\"") != std::string::npos;
      EXPECT_EQ(axes, !printable);
      long uses = 0;
      for (std::size_t at = xml.find("USE=\"AXIS\""); at != std::string::npos;
           at = xml.find("USE=\"AXIS\"", at + 1))
        ++uses;
      EXPECT_EQ(uses, printable ? 0 : 3);
    }
  }
}

}  // namespace
}  // namespace quillmere
