#include "app/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    EXPECT_EQ(std::string(e.what()), "'" + damaged + "': Invalid numeric input (line 2)");
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

TEST(ProposedSavePath, NeverTheProgramFolderAndFallsBackInOrder) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  for (const char* f : {"program", "work", "last", "Documents"})
    fs::create_directories(dir.path() / f);
  ProgramState state;
  state.programDirectory = (dir.path() / "program").string() + "/";
  const std::string documents = (dir.path() / "Documents").string();

  // After New: the name chosen there, but in the user's Documents, not beside the program.
  state.currentSaveName = (dir.path() / "program" / "new.ten").string();
  EXPECT_EQ(ProposedSavePath(state, documents), (dir.path() / "Documents" / "new.ten").string());
  // The folder last used in a dialog comes before Documents.
  state.lastUsedFolder = (dir.path() / "last").string();
  EXPECT_EQ(ProposedSavePath(state, documents), (dir.path() / "last" / "new.ten").string());
  // The folder of the file shown comes first.
  state.openDialogFileName = (dir.path() / "work" / "quartz.ten").string();
  EXPECT_EQ(ProposedSavePath(state, documents), (dir.path() / "work" / "new.ten").string());
  // Without a save target the shown file's own name is proposed.
  state.currentSaveName.clear();
  EXPECT_EQ(ProposedSavePath(state, documents), (dir.path() / "work" / "quartz.ten").string());
  // A folder that has gone is passed over.
  fs::remove_all(dir.path() / "work");
  EXPECT_EQ(ProposedSavePath(state, documents), (dir.path() / "last" / "quartz.ten").string());
  // A file opened from the program's folder does not make that folder the proposal.
  state.openDialogFileName = (dir.path() / "program" / "example.ten").string();
  state.lastUsedFolder.clear();
  EXPECT_EQ(ProposedSavePath(state, documents),
            (dir.path() / "Documents" / "example.ten").string());
}

}  // namespace
}  // namespace quillmere
