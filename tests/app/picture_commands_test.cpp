#include "app/picture_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillmere {
namespace {

namespace fs = std::filesystem;

TEST(ProposePicturePath, TensorFolderThenLastPictureFolderThenPictures) {
  const fs::path base = fs::temp_directory_path() / "quillmere-picture-proposal";
  fs::remove_all(base);
  fs::create_directories(base / "tensors");
  fs::create_directories(base / "pictures-saved");
  const fs::path pictures = base / "Pictures";

  // The tensor file's folder and name, the extension replaced.
  EXPECT_EQ(ProposePicturePath((base / "tensors" / "quartz.ten").string(), base / "pictures-saved",
                               pictures, "EMF"),
            base / "tensors" / "quartz.EMF");
  // Its folder is gone: the folder of the last picture.
  EXPECT_EQ(ProposePicturePath((base / "gone" / "quartz.ten").string(), base / "pictures-saved",
                               pictures, "BMP"),
            base / "pictures-saved" / "quartz.BMP");
  // No tensor file and no earlier picture: the pictures folder and a name of its own.
  EXPECT_EQ(ProposePicturePath("", "", pictures, "PDF"), pictures / "picture.PDF");
  EXPECT_EQ(ProposePicturePath("", base / "missing", pictures, "WMF"), pictures / "picture.WMF");
  // A name with dots keeps everything before its last extension.
  EXPECT_EQ(ProposePicturePath((base / "tensors" / "a.b.ten").string(), "", pictures, "SVG"),
            base / "tensors" / "a.b.SVG");
  fs::remove_all(base);
}

}  // namespace
}  // namespace quillmere
