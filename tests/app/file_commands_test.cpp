#include "app/file_commands.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/program_state.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

struct OpenFixture : ::testing::Test {
  test::ShippedTable table;
  test::TempDir dir;
  ProgramState state;
  OpenFixture() { state.services = table.services; }
};

TEST_F(OpenFixture, OpeningReplacesTheTensorAndEndsTheSection) {
  state.tensor.At(2, 2, 2) = 7;  // a component the file does not have
  state.crossSectionMode = kSectionZ;
  state.saveNameValid = true;
  OpenTensorFile(state,
                 (test::SourceDirectory() / "examples" / "quartz-piezoelectric.ten").string());
  EXPECT_EQ(state.tensor.kind, 5);
  EXPECT_EQ(state.tensor.pointGroup, 12);
  EXPECT_EQ(state.tensor.unitText, "C/N");
  // Quartz, class 32: d11 = 2.3 pC/N (Nye, Physical Properties of Crystals, table of
  // piezoelectric moduli), stored as d_111.
  EXPECT_NEAR(static_cast<double>(state.tensor.At(1, 1, 1)), 2.3e-12, 1e-24);
  EXPECT_NEAR(static_cast<double>(state.tensor.At(2, 2, 2)), 0.0, 1e-30)
      << "components not in the file are zero";
  EXPECT_EQ(state.crossSectionMode, kFullSurface);
  EXPECT_FALSE(state.saveNameValid) << "the next Save asks for a name";
}

TEST_F(OpenFixture, AFailedOpenChangesNothing) {
  state.tensor.At(1, 1, 1) = 4;
  state.crossSectionMode = kSectionX;
  state.saveNameValid = true;
  const TensorState before = state.tensor;
  const std::string damaged =
      dir.Write("bad.ten", "Quillmere-Datafile\r\n1 14 0 abc 2\r\n").string();
  try {
    OpenTensorFile(state, damaged);
    ADD_FAILURE() << "a damaged file was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input");
  }
  EXPECT_NEAR(static_cast<double>(state.tensor.At(1, 1, 1)), 4.0, 1e-30);
  EXPECT_EQ(state.tensor.kind, before.kind);
  EXPECT_EQ(state.crossSectionMode, kSectionX);
  EXPECT_TRUE(state.saveNameValid);
  EXPECT_THROW(OpenTensorFile(state, (dir.path() / "absent.ten").string()), std::runtime_error);
}

TEST_F(OpenFixture, SaveWritesToTheChosenName) {
  state.tensor.At(1) = 2;
  state.tensor.pointGroup = 2;
  const std::string target = (dir.path() / "out.ten").string();
  ChooseSaveName(state, target);
  EXPECT_TRUE(state.saveNameValid);
  SaveTensorFile(state);
  ProgramState other;
  other.services = table.services;
  OpenTensorFile(other, target);
  EXPECT_NEAR(static_cast<double>(other.tensor.At(1)), 2.0, 1e-12);

  state.currentSaveName = (dir.path() / "no-folder" / "x.ten").string();
  EXPECT_THROW(SaveTensorFile(state), std::runtime_error);
}

TEST(Captions, FileNameWithoutItsFolder) {
  EXPECT_EQ(CaptionForFile("/home/ann/data/quartz.ten"), "Quillmere: quartz.ten");
  EXPECT_EQ(CaptionForFile("quartz.ten"), "Quillmere: quartz.ten");
}

}  // namespace
}  // namespace quillmere
