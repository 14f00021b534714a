#include "app/edit_history.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/about_text.h"
#include "app/file_commands.h"
#include "app/program_state.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

TEST(EditHistory, EachChangeIsNamedAndTheFileNameAloneIsNone) {
  ProgramState state;
  state.currentSaveName = "/data/quartz.ten";
  const TensorSnapshot base = TakeTensorSnapshot(state);
  const auto after = [&](auto change) {
    ProgramState s = state;
    change(s);
    return ChangeName(base, TakeTensorSnapshot(s));
  };
  EXPECT_EQ(after([](ProgramState& s) { SetKind(s.tensor, 3); }), "Tensor Kind");
  EXPECT_EQ(after([](ProgramState& s) { s.tensor.pointGroup = 28; }), "Point Group");
  EXPECT_EQ(after([](ProgramState& s) { s.tensor.axial = true; }), "Change into Axial");
  EXPECT_EQ(after([](ProgramState& s) { s.tensor.scale = 1e-12L; }), "Power of Ten");
  EXPECT_EQ(after([](ProgramState& s) { s.tensor.unitText = "pC/N"; }), "Unit Text");
  EXPECT_EQ(after([](ProgramState& s) { s.tensor.At(3) = 1e-30L; }), "Components");
  EXPECT_EQ(after([](ProgramState& s) { s.evaluation.fixedDirections[1].flag = "yes"; }),
            "Fixed Directions");
  EXPECT_EQ(after([](ProgramState& s) {
              s.tensor.pointGroup = 3;
              s.tensor.unitText = "K";
            }),
            "Edit");
  // What the display derives, and a new save target, are no change of the tensor.
  EXPECT_EQ(after([](ProgramState& s) {
              s.tensor.exponent = 7;
              s.tensor.independentValues[1] = "3";
              s.currentSaveName = "/data/other.ten";
              s.saveNameValid = true;
              s.view.angleX = 1;
            }),
            "");
}

TEST(EditHistory, RestoreGivesTheExactTensorAndTheFileOnlyWhenAsked) {
  ProgramState state;
  SetKind(state.tensor, 6);
  state.tensor.pointGroup = 21;
  state.tensor.At(1, 1, 2, 2) = 0.1L / 3;  // no exact binary fraction: a copy must be exact
  state.tensor.unitText = "GPa";
  state.evaluation.fixedDirections[0] = {"yes", {0.6f, 0.8f, 0}};
  state.evaluation.anyDirectionFixed = true;
  state.currentSaveName = "a.ten";
  const TensorSnapshot kept = TakeTensorSnapshot(state);

  state.tensor = TensorState{};
  state.evaluation = SurfaceEvaluation{};
  state.currentSaveName = "b.ten";
  state.saveNameValid = true;
  RestoreTensorSnapshot(state, kept, /*withFile=*/false);
  EXPECT_EQ(state.tensor.kind, 6);
  EXPECT_EQ(state.tensor.rank, 4);
  EXPECT_EQ(state.tensor.pointGroup, 21);
  EXPECT_EQ(state.tensor.components, kept.tensor.components);
  EXPECT_EQ(state.tensor.unitText, "GPa");
  EXPECT_EQ(state.evaluation.fixedDirections[0].u[1], 0.8f);
  EXPECT_TRUE(state.evaluation.anyDirectionFixed);
  EXPECT_EQ(state.currentSaveName, "b.ten");
  EXPECT_TRUE(state.saveNameValid);
  RestoreTensorSnapshot(state, kept, /*withFile=*/true);
  EXPECT_EQ(state.currentSaveName, "a.ten");
  EXPECT_FALSE(state.saveNameValid);
  EXPECT_FALSE(TensorChanged(kept, TakeTensorSnapshot(state)));
}

TEST(EditHistory, QuestionAndStatusTexts) {
  EXPECT_EQ(SaveChangesQuestion("/home/u/quartz.ten"), "Save changes to quartz.ten?");
  EXPECT_EQ(SaveChangesQuestion(""), "Save changes to Untitled?");
  test::TempDir dir;
  const auto file = dir.path() / "quartz.wrl";
  std::ofstream(file) << std::string(10446, 'x');
  EXPECT_EQ(WrittenMessage("VRML", file), "VRML: 10 446 bytes written to quartz.wrl");
  EXPECT_EQ(WrittenMessage("STL", dir.path() / "gone.stl"), "STL: written to gone.stl");
  EXPECT_EQ(WrittenMessage("VRML", CountText(10446, "patch", "patches"), file),
            "VRML: 10 446 patches written to quartz.wrl");
  EXPECT_EQ(CountText(1, "triangle", "triangles"), "1 triangle");
  EXPECT_EQ(CountText(1234567, "triangle", "triangles"), "1 234 567 triangles");
}

TEST(AboutText, NamesVersionLicenceQtTableAndHomePage) {
  test::ShippedTable table;
  const auto path = table.services.SymmetryTablePath();
  const std::string text = AboutText("6.4.2", path, "https://example.org/quillmere");
  EXPECT_NE(text.find(std::string("Quillmere ") + kProgramVersionText), std::string::npos);
  EXPECT_NE(text.find(kLicenceText), std::string::npos);
  EXPECT_NE(text.find("Qt 6.4.2"), std::string::npos);
  EXPECT_NE(
      text.find(path.string() + " (" + std::to_string(CountSymmetryEntries(path)) + " entries)"),
      std::string::npos);
  EXPECT_NE(text.find("Home page: https://example.org/quillmere"), std::string::npos);
  // 32 groups, 12 kind codes, polar and axial.
  EXPECT_EQ(CountSymmetryEntries(path), 32 * 12 * 2);
  EXPECT_EQ(AboutText("6", "/nowhere/tensor.tab", "").find("Home page"), std::string::npos);
  EXPECT_NE(AboutText("6", "/nowhere/tensor.tab", "").find("(not readable)"), std::string::npos);
}

}  // namespace
}  // namespace quillmere
