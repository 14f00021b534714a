#include "files/constants_import.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "files/json_value.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

constexpr std::uintmax_t kMaxImportBytes = 256u << 20;
/// Elastic constants from a calculation or a rounded table are symmetric only to their last
/// digits; such differences are averaged, larger ones refused.
constexpr Real kSymmetryTolerance = 1e-3L;
constexpr int kPointGroupOne = 2;

using CellPlace = std::function<std::string(int row, int column)>;

/// Averages the mirror cells of a symmetric 6 x 6 matrix; refuses one pair that differs by more
/// than kSymmetryTolerance of the largest coefficient, naming where both stood.
void MakeSymmetric(VoigtMatrix& m, const CellPlace& place) {
  Real largest = 0;
  for (Real v : m.values) largest = std::max(largest, std::fabs(v));
  for (int r = 1; r <= m.rows; ++r)
    for (int c = r + 1; c <= m.columns; ++c) {
      if (std::fabs(m(r, c) - m(c, r)) > kSymmetryTolerance * largest)
        throw std::runtime_error(
            place(r, c) + ": " + FormatGeneral(m(r, c), '.', 10) + " differs from " + place(c, r) +
            ": " + FormatGeneral(m(c, r), '.', 10) + "; the elastic matrix must be symmetric");
      m(r, c) = m(c, r) = (m(r, c) + m(c, r)) / 2;
    }
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// ---- Plain text -----------------------------------------------------------------------------

ImportedConstants ReadText(const std::string& text, const ImportOptions& options) {
  ImportedConstants out;
  out.format = ImportFormat::Text;
  out.kind = options.kind;
  out.convention = options.convention.value_or(VoigtConvention::Stiffness);
  out.unitText = options.unitText;
  const std::vector<MatrixTextRow> rows = ReadMatrixRows(text);
  out.matrix = ShapeMatrixRows(options.kind, rows);
  out.source = "matrix of " + std::to_string(rows.size()) + " lines";
  if (options.kind == 3 && rows.size() == 6 && rows.front().values.size() == 6)
    MakeSymmetric(out.matrix, [&](int r, int c) {
      return "line " + std::to_string(rows[r - 1].line) + ", number " + std::to_string(c);
    });
  return out;
}

// ---- JSON -----------------------------------------------------------------------------------

/// A 6 x 6 list of numbers at `key` of the document; `path` names it in messages.
VoigtMatrix SixBySix(const JsonValue& v, const std::string& path) {
  if (v.type != JsonValue::Type::Array || v.items.size() != 6)
    throw std::runtime_error("line " + std::to_string(v.line) + ", key " + path +
                             ": a list of 6 rows expected");
  VoigtMatrix m(6, 6);
  for (int r = 0; r < 6; ++r) {
    const JsonValue& row = v.items[r];
    const std::string rowPath = path + "[" + std::to_string(r) + "]";
    if (row.type != JsonValue::Type::Array || row.items.size() != 6)
      throw std::runtime_error("line " + std::to_string(row.line) + ", key " + rowPath +
                               ": a row of 6 numbers expected");
    for (int c = 0; c < 6; ++c) {
      const JsonValue& x = row.items[c];
      if (x.type != JsonValue::Type::Number || !std::isfinite(x.number))
        throw std::runtime_error("line " + std::to_string(x.line) + ", key " + rowPath + "[" +
                                 std::to_string(c) + "]: a number expected");
      m(r + 1, c + 1) = x.number;
    }
  }
  return m;
}

/// The record of an API answer ({"data": [ {...} ]}) or the document itself.
const JsonValue& Record(const JsonValue& doc) {
  for (const char* list : {"data", "response"})
    if (const JsonValue* d = doc.Find(list);
        d && d->type == JsonValue::Type::Array && !d->items.empty())
      return d->items.front();
  return doc;
}

ImportedConstants ReadMaterialsProject(const JsonValue& doc) {
  const JsonValue& record = Record(doc);
  ImportedConstants out;
  out.format = ImportFormat::MaterialsProject;
  out.unitText = "GPa";
  const JsonValue* matrix = nullptr;
  std::string path;
  if (const JsonValue* e = record.Find("elastic_tensor")) {
    if (e->type == JsonValue::Type::Object) {
      for (const char* key : {"ieee_format", "raw"})
        if ((matrix = e->Find(key))) {
          path = std::string("elastic_tensor.") + key;
          break;
        }
      if (!matrix)
        throw std::runtime_error("line " + std::to_string(e->line) +
                                 ", key elastic_tensor: neither 'ieee_format' nor 'raw' found");
    } else {
      matrix = e;
      path = "elastic_tensor";
    }
  } else if (const JsonValue* old = record.Find("elasticity")) {
    matrix = old->Find("elastic_tensor");
    path = "elasticity.elastic_tensor";
    if (!matrix)
      throw std::runtime_error("line " + std::to_string(old->line) +
                               ", key elasticity: no 'elastic_tensor' in it");
  } else {
    throw std::runtime_error(
        "no key 'elastic_tensor' or 'elasticity': this is no Materials Project elasticity record");
  }
  out.matrix = SixBySix(*matrix, path);
  out.source = "Materials Project JSON, " + path;
  MakeSymmetric(out.matrix, [&](int r, int c) {
    return "key " + path + "[" + std::to_string(r - 1) + "][" + std::to_string(c - 1) + "]";
  });
  return out;
}

ImportedConstants ReadPymatgen(const JsonValue& doc) {
  const JsonValue* a = doc.Find("input_array");
  if (!a) throw std::runtime_error("no key 'input_array': this is no serialised pymatgen tensor");
  if (const JsonValue* cls = doc.Find("@class"); cls && cls->type == JsonValue::Type::String &&
                                                 cls->text != "ElasticTensor" &&
                                                 cls->text != "ElasticTensorExpansion")
    throw std::runtime_error("line " + std::to_string(cls->line) + ", key @class: '" + cls->text +
                             "' is no ElasticTensor");
  // The 81 components, each checked for shape and number, then the elastic index symmetries.
  Real c[3][3][3][3];
  std::function<void(const JsonValue&, int, std::string, int*)> walk =
      [&](const JsonValue& v, int level, std::string path, int* idx) {
        if (level == 4) {
          if (v.type != JsonValue::Type::Number || !std::isfinite(v.number))
            throw std::runtime_error("line " + std::to_string(v.line) + ", key " + path +
                                     ": a number expected");
          c[idx[0]][idx[1]][idx[2]][idx[3]] = v.number;
          return;
        }
        if (v.type != JsonValue::Type::Array || v.items.size() != 3)
          throw std::runtime_error("line " + std::to_string(v.line) + ", key " + path +
                                   ": a list of 3 expected (a 3 x 3 x 3 x 3 array)");
        for (int n = 0; n < 3; ++n) {
          idx[level] = n;
          walk(v.items[n], level + 1, path + "[" + std::to_string(n) + "]", idx);
        }
      };
  int idx[4] = {0, 0, 0, 0};
  walk(*a, 0, "input_array", idx);
  Real largest = 0;
  for (auto& x : c)
    for (auto& y : x)
      for (auto& z : y)
        for (Real v : z) largest = std::max(largest, std::fabs(v));
  const auto name = [](int i, int j, int k, int l) {
    return "key input_array[" + std::to_string(i) + "][" + std::to_string(j) + "][" +
           std::to_string(k) + "][" + std::to_string(l) + "]";
  };
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) {
          const int partners[3][4] = {{j, i, k, l}, {i, j, l, k}, {k, l, i, j}};
          for (const auto& p : partners) {
            const Real other = c[p[0]][p[1]][p[2]][p[3]];
            if (std::fabs(c[i][j][k][l] - other) > kSymmetryTolerance * largest)
              throw std::runtime_error(
                  name(i, j, k, l) + ": " + FormatGeneral(c[i][j][k][l], '.', 10) +
                  " differs from " + name(p[0], p[1], p[2], p[3]) + ": " +
                  FormatGeneral(other, '.', 10) + "; an elastic tensor must be symmetric");
          }
        }
  ImportedConstants out;
  out.format = ImportFormat::Pymatgen;
  out.unitText = "GPa";
  out.source = "pymatgen ElasticTensor, input_array";
  out.matrix = VoigtMatrix(6, 6);
  for (int r = 1; r <= 6; ++r)
    for (int s = 1; s <= 6; ++s) {
      int i, j, k, l;
      VoigtPair(r, i, j);
      VoigtPair(s, k, l);
      // The mean over the symmetry class, so that last-digit differences do not favour one.
      out.matrix(r, s) = (c[i - 1][j - 1][k - 1][l - 1] + c[j - 1][i - 1][l - 1][k - 1] +
                          c[k - 1][l - 1][i - 1][j - 1] + c[l - 1][k - 1][j - 1][i - 1]) /
                         4;
    }
  MakeSymmetric(out.matrix, [](int, int) { return std::string(); });
  return out;
}

// ---- OUTCAR ---------------------------------------------------------------------------------

constexpr const char* kOutcarTitle = "TOTAL ELASTIC MODULI (kBar)";

ImportedConstants ReadOutcar(const std::string& text) {
  std::vector<std::string> lines;
  {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
  }
  std::size_t title = lines.size();
  for (std::size_t n = 0; n < lines.size(); ++n)
    if (lines[n].find(kOutcarTitle) != std::string::npos) title = n;
  if (title == lines.size())
    throw std::runtime_error(std::string("no block '") + kOutcarTitle +
                             "': this is no OUTCAR of an "
                             "elastic calculation (IBRION = 5, 6 with ISIF >= 3)");
  static const char* const kRows[6] = {"XX", "YY", "ZZ", "XY", "YZ", "ZX"};
  static const int kVoigt[6] = {1, 2, 3, 6, 4, 5};
  ImportedConstants out;
  out.format = ImportFormat::Outcar;
  out.unitText = "GPa";
  out.matrix = VoigtMatrix(6, 6);
  std::vector<long long> rowLine(7, 0);
  std::size_t n = title + 1;
  // The header "Direction XX YY ..." and a rule of dashes come before the rows.
  while (n < lines.size() && Trim(lines[n]).rfind("XX", 0) != 0) {
    if (n > title + 4)
      throw std::runtime_error("line " + std::to_string(n + 1) + ": the row XX of the block '" +
                               kOutcarTitle + "' (line " + std::to_string(title + 1) +
                               ") is missing");
    ++n;
  }
  for (int r = 0; r < 6; ++r, ++n) {
    const long long lineNumber = static_cast<long long>(n) + 1;
    if (n >= lines.size())
      throw std::runtime_error("line " + std::to_string(lineNumber) +
                               ": the file ends before row " + kRows[r] + " of the block '" +
                               kOutcarTitle + "'");
    std::istringstream in(lines[n]);
    std::string label;
    in >> label;
    if (label != kRows[r])
      throw std::runtime_error("line " + std::to_string(lineNumber) + ": row " + kRows[r] +
                               " expected, found '" + Trim(lines[n]) + "'");
    std::string token;
    int c = 0;
    while (in >> token) {
      Real v = 0;
      if (!TryParseReal(token, v) || !std::isfinite(v))
        throw std::runtime_error("line " + std::to_string(lineNumber) + ": '" + token +
                                 "' is not a number");
      if (c == 6)
        throw std::runtime_error("line " + std::to_string(lineNumber) +
                                 ": more than 6 numbers in row " + kRows[r]);
      out.matrix(kVoigt[r], kVoigt[c]) = v / 10;  // kBar -> GPa
      ++c;
    }
    if (c != 6)
      throw std::runtime_error("line " + std::to_string(lineNumber) +
                               ": 6 numbers expected in row " + kRows[r] + ", found " +
                               std::to_string(c));
    rowLine[kVoigt[r]] = lineNumber;
  }
  out.source =
      std::string("VASP OUTCAR, '") + kOutcarTitle + "' at line " + std::to_string(title + 1);
  MakeSymmetric(out.matrix, [&](int r, int c) {
    int vaspColumn = 0;
    for (int k = 0; k < 6; ++k)
      if (kVoigt[k] == c) vaspColumn = k;
    return "line " + std::to_string(rowLine[r]) + ", column " + kRows[vaspColumn];
  });
  return out;
}

}  // namespace

std::optional<ImportFormat> ParseImportFormat(const std::string& word) {
  if (word == "auto") return ImportFormat::Automatic;
  if (word == "text" || word == "csv") return ImportFormat::Text;
  if (word == "materials-project" || word == "mp") return ImportFormat::MaterialsProject;
  if (word == "outcar" || word == "vasp") return ImportFormat::Outcar;
  if (word == "pymatgen") return ImportFormat::Pymatgen;
  return std::nullopt;
}

std::string ImportFormatCaption(ImportFormat format) {
  switch (format) {
    case ImportFormat::Text:
      return "plain text matrix";
    case ImportFormat::MaterialsProject:
      return "Materials Project JSON";
    case ImportFormat::Outcar:
      return "VASP OUTCAR";
    case ImportFormat::Pymatgen:
      return "pymatgen ElasticTensor";
    default:
      return "automatic";
  }
}

ImportFormat DetectImportFormat(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string::npos && (text[first] == '{' || text[first] == '['))
    return text.find("\"input_array\"") != std::string::npos ? ImportFormat::Pymatgen
                                                             : ImportFormat::MaterialsProject;
  if (text.find(kOutcarTitle) != std::string::npos) return ImportFormat::Outcar;
  return ImportFormat::Text;
}

ImportedConstants ReadConstants(const std::string& text, const ImportOptions& options) {
  ImportFormat format = options.format;
  if (format == ImportFormat::Automatic) format = DetectImportFormat(text);
  switch (format) {
    case ImportFormat::MaterialsProject:
      return ReadMaterialsProject(ParseJson(text));
    case ImportFormat::Pymatgen:
      return ReadPymatgen(ParseJson(text));
    case ImportFormat::Outcar:
      return ReadOutcar(text);
    default:
      return ReadText(text, options);
  }
}

ImportedConstants ReadConstantsFile(const std::filesystem::path& path,
                                    const ImportOptions& options) {
  const std::string name = "'" + path.string() + "': ";
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) throw std::runtime_error(name + "File not found");
  if (!std::filesystem::is_regular_file(path, ec))
    throw std::runtime_error(name + "This is no regular file");
  if (std::filesystem::file_size(path, ec) > kMaxImportBytes)
    throw std::runtime_error(name + "The file is larger than 256 MiB");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(name + "The file cannot be opened");
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return ReadConstants(text.str(), options);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(name + e.what());
  }
}

void ApplyImportedConstants(TensorState& t, const ImportedConstants& constants) {
  TensorState u = t;
  SetKind(u, constants.kind);
  ComponentGridShape(u, constants.kind);
  SetFromVoigtMatrix(u, constants.matrix, constants.convention);
  u.unitText = constants.unitText;
  u.axial = false;
  u.pointGroup = kPointGroupOne;
  const Real largest = LargestAbsoluteComponent(u);
  u.scale = largest > 0 ? largest : 1.0L;
  DecadeOf(u, u.scale);
  t = u;
}

}  // namespace quillmere
