#include "files/constants_import.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "files/json_value.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

/// The message a refused text gives, or "accepted".
std::string Refusal(const std::string& text, ImportOptions options = {}) {
  try {
    ReadConstants(text, options);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "accepted";
}

// Copper's stiffnesses (GPa) in the layouts the importers meet.
const char kCopperRows[] =
    "168.4 121.4 121.4 0 0 0\n121.4 168.4 121.4 0 0 0\n121.4 121.4 168.4 0 0 0\n"
    "0 0 0 75.4 0 0\n0 0 0 0 75.4 0\n0 0 0 0 0 75.4\n";

std::string MatrixJson(const std::string& firstRow) {
  return "[" + firstRow +
         ",\n [121.4, 168.4, 121.4, 0, 0, 0], [121.4, 121.4, 168.4, 0, 0, 0],\n"
         " [0, 0, 0, 75.4, 0, 0], [0, 0, 0, 0, 75.4, 0], [0, 0, 0, 0, 0, 75.4]]";
}

TEST(ConstantsImport, PlainTextAndCsv) {
  const ImportedConstants c = ReadConstants(kCopperRows, {});
  EXPECT_EQ(c.format, ImportFormat::Text);
  EXPECT_EQ(c.matrix(4, 4), Real(75.4L));
  ImportOptions csv;
  csv.kind = 5;
  csv.convention = VoigtConvention::Compliance;
  csv.unitText = "pC/N";
  const ImportedConstants d =
      ReadConstants("0,0,0,0,392,0\n0,0,0,392,0,0\n-34.5,-34.5,85.6,0,0,0\n", csv);
  TensorState t;
  ApplyImportedConstants(t, d);
  EXPECT_EQ(t.kind, 5);
  EXPECT_EQ(t.At(1, 1, 3), 196) << "d15 = 392 is twice the component";
  EXPECT_EQ(t.unitText, "pC/N");
  EXPECT_EQ(t.pointGroup, 2);
  EXPECT_EQ(t.exponent, 2);
  // Damaged: a short row, a word, a broken symmetry.
  EXPECT_EQ(Refusal("1 2 3 4 5 6\n1 2 3 4\n"), "line 2: 6 numbers expected, found 4");
  EXPECT_EQ(Refusal("1 2 3 4 5 six\n"), "line 1: 'six' is not a number");
  std::string skew = kCopperRows;
  skew.replace(skew.find("121.4 168.4"), 5, "100.0");
  EXPECT_EQ(Refusal(skew),
            "line 1, number 2: 121.4 differs from line 2, number 1: 100; the elastic matrix must "
            "be symmetric");
}

TEST(ConstantsImport, MaterialsProjectRecords) {
  const std::string current = "{\"material_id\": \"mp-30\",\n \"elastic_tensor\": {\"raw\": " +
                              MatrixJson("[1, 2, 3, 4, 5, 6]") + ",\n \"ieee_format\": " +
                              MatrixJson("[168.4, 121.4, 121.4, 0, 0, 0]") + "}}";
  const ImportedConstants c = ReadConstants(current, {});
  EXPECT_EQ(c.format, ImportFormat::MaterialsProject);
  EXPECT_EQ(c.matrix(1, 1), Real(168.4L)) << "ieee_format is preferred to raw";
  EXPECT_EQ(c.unitText, "GPa");
  const std::string older = "{\"data\": [{\"elasticity\": {\"elastic_tensor\": " +
                            MatrixJson("[168.4, 121.4, 121.4, 0, 0, 0]") + "}}]}";
  EXPECT_EQ(ReadConstants(older, {}).matrix(1, 2), Real(121.4L));
  EXPECT_EQ(Refusal("{\"elastic_tensor\": {\"raw\": " +
                    MatrixJson("[168.4, 121.4, \"x\", 0, 0, 0]") + "}}"),
            "line 1, key elastic_tensor.raw[0][2]: a number expected");
  EXPECT_EQ(
      Refusal("{\"elastic_tensor\": {\"raw\": " + MatrixJson("[168.4, 121.4, 121.4, 0, 0]") + "}}"),
      "line 1, key elastic_tensor.raw[0]: a row of 6 numbers expected");
  EXPECT_EQ(Refusal("{\"material_id\": \"mp-30\"}"),
            "no key 'elastic_tensor' or 'elasticity': this is no Materials Project elasticity "
            "record");
  EXPECT_EQ(Refusal("{\"elastic_tensor\": {\"raw\": [\n[1, 2,\n"),
            "line 3: the text ends where a value is expected");
}

TEST(ConstantsImport, OutcarLastBlockInVaspOrder) {
  const auto block = [](const std::string& xy) {
    return " TOTAL ELASTIC MODULI (kBar)\n"
           " Direction    XX          YY          ZZ          XY          YZ          ZX\n"
           " --------------------------------------------------------------------------------\n"
           " XX        1684.0000   1214.0000   1214.0000      0.0000      0.0000      0.0000\n"
           " YY        1214.0000   1684.0000   1214.0000      0.0000      0.0000      0.0000\n"
           " ZZ        1214.0000   1214.0000   1684.0000      0.0000      0.0000      0.0000\n"
           " XY           0.0000      0.0000      0.0000 " +
           xy +
           "      0.0000      0.0000\n"
           " YZ           0.0000      0.0000      0.0000      0.0000    754.0000      0.0000\n"
           " ZX           0.0000      0.0000      0.0000      0.0000      0.0000    754.0000\n"
           " --------------------------------------------------------------------------------\n";
  };
  const std::string outcar = " vasp.6.3.0\n" + block("   100.0000") +
                             "\n ELASTIC MODULI IONIC CONTR (kBar)\n" + block("   760.0000");
  const ImportedConstants c = ReadConstants(outcar, {});
  EXPECT_EQ(c.format, ImportFormat::Outcar);
  EXPECT_EQ(c.matrix(6, 6), 76) << "XY is Voigt 6; the last block counts; kBar / 10";
  EXPECT_EQ(c.matrix(4, 4), Real(75.4L));
  EXPECT_NE(c.source.find("line 14"), std::string::npos) << c.source;
  std::string cut = outcar.substr(0, outcar.rfind(" YZ"));
  EXPECT_EQ(Refusal(cut),
            "line 21: the file ends before row YZ of the block 'TOTAL ELASTIC MODULI (kBar)'");
  std::string bad = outcar;
  bad.replace(bad.rfind("754.0000"), 8, "75x.0000");
  EXPECT_EQ(Refusal(bad), "line 22: '75x.0000' is not a number");
}

TEST(ConstantsImport, PymatgenElasticTensor) {
  // Written by the test in pymatgen's layout: a cubic tensor c11 = 2, c12 = 1, c44 = 0.5.
  std::string array = "[";
  for (int i = 1; i <= 3; ++i) {
    array += i > 1 ? ", [" : "[";
    for (int j = 1; j <= 3; ++j) {
      array += j > 1 ? ", [" : "[";
      for (int k = 1; k <= 3; ++k) {
        array += k > 1 ? ", [" : "[";
        for (int l = 1; l <= 3; ++l) {
          double v = 0;
          if (i == j && k == l) v = i == k ? 2 : 1;
          if (i != j && ((i == k && j == l) || (i == l && j == k))) v = 0.5;
          array += (l > 1 ? ", " : "") + std::to_string(v);
        }
        array += "]";
      }
      array += "]";
    }
    array += "]";
  }
  array += "]";
  const std::string doc =
      "{\"@module\": \"pymatgen.analysis.elasticity.elastic\", \"@class\": "
      "\"ElasticTensor\",\n \"input_array\": " +
      array + "}";
  const ImportedConstants c = ReadConstants(doc, {});
  EXPECT_EQ(c.format, ImportFormat::Pymatgen);
  EXPECT_EQ(c.matrix(1, 1), 2);
  EXPECT_EQ(c.matrix(1, 2), 1);
  EXPECT_EQ(c.matrix(6, 6), 0.5);
  std::string skew = doc;
  skew.replace(skew.find("1.000000"), 8, "1.500000");  // c1122 only, not c2211
  EXPECT_NE(Refusal(skew).find("key input_array[0][0][1][1]: 1.5 differs from"), std::string::npos)
      << Refusal(skew);
  EXPECT_EQ(Refusal("{\"@class\": \"ElasticTensor\", \"input_array\": [[1, 2, 3]]}"),
            "line 1, key input_array: a list of 3 expected (a 3 x 3 x 3 x 3 array)");
}

TEST(ConstantsImport, FilesAreNamedAndFoldersRefused) {
  test::TempDir dir;
  const auto path = dir.Write("cu.txt", kCopperRows);
  EXPECT_EQ(ReadConstantsFile(path, {}).matrix(2, 2), Real(168.4L));
  try {
    ReadConstantsFile(dir.path(), {});
    FAIL() << "a folder was read";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "'" + dir.path().string() + "': This is no regular file");
  }
  // A refused import leaves the tensor untouched.
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = 3;
  ImportedConstants bad = ReadConstants(kCopperRows, {});
  bad.matrix(2, 1) = 7;
  EXPECT_THROW(ApplyImportedConstants(t, bad), std::runtime_error);
  EXPECT_EQ(t.kind, 1);
  EXPECT_EQ(t.At(1, 1), 3);
}

}  // namespace
}  // namespace quillmere
