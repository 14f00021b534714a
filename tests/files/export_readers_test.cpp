// The exported files as independent programs read them: admesh checks STL meshes, and the
// VRML 2.0 reader of view3dscene (tovrmlx3d) converts the scenes to X3D XML.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "files/stl_export.h"
#include "files/vrml_export.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

bool HaveTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

/// Runs `command FILE`, returning its standard output; its standard error goes to `error`.
std::string RunTool(const std::string& command, const std::filesystem::path& file,
                    std::string& error) {
  const std::filesystem::path out = file.string() + ".out", err = file.string() + ".err";
  const int status = std::system(
      (command + " '" + file.string() + "' >'" + out.string() + "' 2>'" + err.string() + "'")
          .c_str());
  EXPECT_EQ(status, 0) << command;
  error = test::ReadFile(err);
  return test::ReadFile(out);
}

std::vector<TensorState> SampleTensors() {
  std::vector<TensorState> tensors(1);  // the zero tensor
  test::Random random(23);
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t;
    t.rank = rank;
    for (Real& c : t.components) c = random.Uniform(-2, 2);
    tensors.push_back(t);
  }
  return tensors;
}

TEST(ExportReaders, AdmeshFindsNothingToRepair) {
  if (!HaveTool("admesh")) GTEST_SKIP() << "admesh is not installed (Debian package admesh)";
  test::TempDir dir;
  int n = 0;
  for (const TensorState& t : SampleTensors()) {
    const std::filesystem::path stl = dir.path() / ("mesh" + std::to_string(n) + ".stl");
    const std::size_t triangles = ExportSTLFile(stl, t, SurfaceEvaluation{}, 1 + 2 * (n++ % 2));
    std::string error;
    const std::string report = RunTool("admesh", stl, error);
    SCOPED_TRACE("rank " + std::to_string(t.rank) + "\n" + report);
    EXPECT_NE(report.find("Header             : solid Quillmere STL"), std::string::npos);
    // The count the status line names is the one the reader finds.
    std::smatch facets;
    ASSERT_TRUE(std::regex_search(report, facets, std::regex(R"(Number of facets *: *(\d+))")));
    EXPECT_EQ(facets[1].str(), std::to_string(triangles));
    for (const char* label : {"Number of parts", "Total disconnected facets", "Degenerate facets",
                              "Edges fixed", "Facets removed", "Facets added", "Facets reversed",
                              "Backwards edges", "Normals fixed"}) {
      std::smatch m;
      ASSERT_TRUE(std::regex_search(report, m, std::regex(std::string(label) + R"( *: *(\d+))")));
      EXPECT_EQ(m[1].str(), label == std::string("Number of parts") ? "1" : "0") << label;
    }
  }
}

/// How many numbers the X3D attribute `name`="..." holds, -1 when it is missing. (No
/// std::regex here: its recursive matcher overflows the stack on long attributes.)
long CountNumbers(const std::string& xml, const std::string& name) {
  std::size_t at = std::string::npos;
  for (const char* before : {"\t", " ", "\n"})
    if (at == std::string::npos) at = xml.find(before + name + "=\"");
  if (at == std::string::npos) return -1;
  at = xml.find('"', at) + 1;
  std::istringstream in(xml.substr(at, xml.find('"', at) - at));
  long count = 0;
  for (double value; in >> value;) ++count;
  return count;
}

TEST(ExportReaders, Vrml2ReaderAcceptsBothVariants) {
  if (!HaveTool("tovrmlx3d"))
    GTEST_SKIP() << "tovrmlx3d is not installed (Debian package view3dscene): the VRML files "
                    "were not checked by a third-party reader";
  test::TempDir dir;
  int n = 0;
  for (const TensorState& t : SampleTensors()) {
    for (bool printable : {false, true}) {
      SurfaceEvaluation e;
      e.printableExport = printable;
      ExportOptions o;
      o.resolution = 1 + n % 2;
      const long k = 10 * o.resolution, points = (k + 1) * (2 * k + 1);
      const std::filesystem::path wrl = dir.path() / ("scene" + std::to_string(n++) + ".wrl");
      const std::size_t patches = ExportVRMLFile(wrl, t, e, o);
      std::string error;
      const std::string xml = RunTool("tovrmlx3d --encoding=xml", wrl, error);
      SCOPED_TRACE("rank " + std::to_string(t.rank) + (printable ? ", printable" : ", screen"));
      // The reader reports every problem as a warning on stderr, and exits with 0 regardless.
      EXPECT_EQ(error, "");
      EXPECT_EQ(CountNumbers(xml, "point"), 3 * points);
      EXPECT_EQ(CountNumbers(xml, "color"), 3 * points);
      EXPECT_EQ(CountNumbers(xml, "coordIndex"), 5 * 2 * k * k);
      EXPECT_EQ(static_cast<long>(patches), 2 * k * k) << "the count the status line names";
      EXPECT_EQ(CountNumbers(xml, "skyColor"), 3);
      long uses = 0;
      for (auto at = xml.find("USE=\"AXIS\""); at != std::string::npos;
           at = xml.find("USE=\"AXIS\"", at + 1))
        ++uses;
      EXPECT_EQ(xml.find("DEF=\"AXIS\"") != std::string::npos, !printable);
      EXPECT_EQ(uses, printable ? 0 : 3);
    }
  }
}

}  // namespace
}  // namespace quillmere
