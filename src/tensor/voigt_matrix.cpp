#include "tensor/voigt_matrix.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "tensor/component_entry.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

/// Kinds whose rows (columns) run through the six Voigt numbers.
bool RowContracted(int kind) {
  return kind == 2 || kind == 3 || kind == 4 || kind == 6;
}
bool ColumnContracted(int kind) {
  return kind == 1 || kind == 3 || kind == 5 || kind == 6;
}
/// The contracted pairs that carry the factor 2 in the compliance-type convention. For
/// "(ij)(kl)" the first pair is an impermeability (no factor), the second a stress that the
/// sum over k, l counts twice: pi_IJ = 2 pi_ijkl for J = 4, 5, 6 only.
bool RowCarriesFactor(int kind) {
  return kind == 2 || kind == 3 || kind == 4;
}
bool ColumnCarriesFactor(int kind) {
  return ColumnContracted(kind);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trimmed(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

std::string ConventionCaption(VoigtConvention convention) {
  return convention == VoigtConvention::Stiffness ? "stiffness-type (no factors: c, e)"
                                                  : "compliance-type (factors 2 and 4: s, d)";
}

std::string ConventionWord(VoigtConvention convention) {
  return convention == VoigtConvention::Stiffness ? "stiffness" : "compliance";
}

std::optional<VoigtConvention> ParseConventionWord(const std::string& word) {
  const std::string w = Lower(Trimmed(word));
  if (w == "stiffness" || w == "c") return VoigtConvention::Stiffness;
  if (w == "compliance" || w == "s") return VoigtConvention::Compliance;
  return std::nullopt;
}

std::optional<VoigtConvention> ConventionFromUnit(const std::string& unitText) {
  std::string u = Lower(unitText);
  u.erase(std::remove_if(u.begin(), u.end(), [](char c) { return c == ' '; }), u.end());
  if (u.empty()) return std::nullopt;
  // An inverse: "1/GPa", "GPa^-1", "TPa-1", "m^2/N", "m2/N", "pC/N", "C/N", "pm/V", "m/V".
  const bool inverse = u.rfind("1/", 0) == 0 || u.find("^-1") != std::string::npos ||
                       u.find("pa-1") != std::string::npos ||
                       u.find("\xe2\x81\xbb\xc2\xb9") != std::string::npos;
  if (inverse) return VoigtConvention::Compliance;
  if (u.size() >= 2 && (u.substr(u.size() - 2) == "/n" || u.substr(u.size() - 2) == "/v"))
    return VoigtConvention::Compliance;
  // A modulus or a stress coefficient: "GPa", "N/m^2", "C/m^2", "kbar", "dyn/cm^2".
  if (u.find("pa") != std::string::npos || u.find("bar") != std::string::npos ||
      u.find("/m^2") != std::string::npos || u.find("/m2") != std::string::npos ||
      u.find("/cm^2") != std::string::npos || u.find("/m\xc2\xb2") != std::string::npos)
    return VoigtConvention::Stiffness;
  return std::nullopt;
}

bool ConventionMatters(int kind) {
  return RowCarriesFactor(kind) || ColumnCarriesFactor(kind);
}

VoigtMatrix EmptyVoigtMatrix(int kind) {
  const FullGridShape shape = FullGridShapeOf(kind);
  return VoigtMatrix(shape.rows, shape.columns);
}

std::string VoigtRowLabel(int kind, int row) {
  if (RowContracted(kind)) return std::to_string(row);
  return FullGridCellOf(kind, row, 1).rowLabel;
}

std::string VoigtColumnLabel(int kind, int column) {
  if (ColumnContracted(kind)) return std::to_string(column);
  return FullGridCellOf(kind, 1, column).columnLabel;
}

int VoigtFactor(int kind, int row, int column, VoigtConvention convention) {
  if (convention == VoigtConvention::Stiffness) return 1;
  int factor = 1;
  if (RowCarriesFactor(kind) && row >= 4) factor *= 2;
  if (ColumnCarriesFactor(kind) && column >= 4) factor *= 2;
  return factor;
}

bool VoigtCellIndependent(int kind, int row, int column) {
  return FullGridCellOf(kind, row, column).editable;
}

VoigtMatrix ToVoigtMatrix(const TensorState& t, VoigtConvention convention) {
  VoigtMatrix m = EmptyVoigtMatrix(t.kind);
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c)
      m(r, c) = t.At(FullGridCellOf(t.kind, r, c).indices) *
                static_cast<Real>(VoigtFactor(t.kind, r, c, convention));
  return m;
}

void SetFromVoigtMatrix(TensorState& t, const VoigtMatrix& m, VoigtConvention convention,
                        Real relativeTolerance) {
  const VoigtMatrix expected = EmptyVoigtMatrix(t.kind);
  if (expected.rows == 0) throw std::runtime_error("The tensor kind has no matrix form");
  if (m.rows != expected.rows || m.columns != expected.columns)
    throw std::runtime_error("A " + std::to_string(expected.rows) + " x " +
                             std::to_string(expected.columns) + " matrix is needed, not " +
                             std::to_string(m.rows) + " x " + std::to_string(m.columns));
  Real largest = 0;
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c) {
      if (!std::isfinite(m(r, c)))
        throw std::runtime_error("row " + std::to_string(r) + ", column " + std::to_string(c) +
                                 ": the value is not a finite number");
      largest = std::max(largest, std::fabs(m(r, c)));
    }
  // Built on a copy, so that a refused matrix leaves the tensor untouched.
  TensorState u = t;
  ResetComponents(u);
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      if (!cell.editable) continue;
      u.At(cell.indices) = m(r, c) / static_cast<Real>(VoigtFactor(t.kind, r, c, convention));
      CopyToPartners(u, cell.indices.i[0], cell.indices.i[1], cell.indices.i[2], cell.indices.i[3]);
    }
  const VoigtMatrix back = ToVoigtMatrix(u, convention);
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c) {
      if (std::fabs(back(r, c) - m(r, c)) <= relativeTolerance * largest) continue;
      std::string text = "row " + std::to_string(r) + ", column " + std::to_string(c) + ": " +
                         FormatGeneral(m(r, c), '.', 10);
      if (t.kind == 3)
        text += " differs from row " + std::to_string(c) + ", column " + std::to_string(r) + ": " +
                FormatGeneral(m(c, r), '.', 10) + "; the matrix must be symmetric";
      else
        text += " should be " + FormatGeneral(back(r, c), '.', 10) +
                " by the index symmetry of the kind";
      throw std::runtime_error(text);
    }
  t.components = u.components;
}

// ---- Matrix text -------------------------------------------------------------------------

std::vector<MatrixTextRow> ReadMatrixRows(const std::string& text) {
  std::vector<MatrixTextRow> rows;
  long long line = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string content = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    const std::string trimmed = Trimmed(content);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    MatrixTextRow row;
    row.line = line;
    std::string token;
    auto flush = [&] {
      if (token.empty()) return;
      Real v = 0;
      if (!TryParseReal(token, v))
        throw std::runtime_error("line " + std::to_string(line) + ": '" + token +
                                 "' is not a number");
      row.values.push_back(v);
      token.clear();
    };
    for (char ch : content) {
      if (std::isspace(static_cast<unsigned char>(ch)) || ch == ',' || ch == ';' || ch == '[' ||
          ch == ']')
        flush();
      else
        token += ch;
    }
    flush();
    if (!row.values.empty()) rows.push_back(std::move(row));
  }
  return rows;
}

namespace {

bool RowLengthsAre(const std::vector<MatrixTextRow>& rows, int first, int step) {
  for (std::size_t n = 0; n < rows.size(); ++n)
    if (static_cast<int>(rows[n].values.size()) != first + step * static_cast<int>(n)) return false;
  return true;
}

}  // namespace

VoigtMatrix ShapeMatrixRows(int kind, const std::vector<MatrixTextRow>& rows) {
  VoigtMatrix m = EmptyVoigtMatrix(kind);
  if (m.rows == 0) throw std::runtime_error("The tensor kind has no matrix form");
  const int count = static_cast<int>(rows.size());
  const auto fullOf = [&](int r, int c, bool transposed) {
    VoigtMatrix out = m;
    for (int i = 1; i <= r; ++i)
      for (int j = 1; j <= c; ++j) {
        const Real v = rows[i - 1].values[j - 1];
        if (transposed)
          out(j, i) = v;
        else
          out(i, j) = v;
      }
    return out;
  };
  if (count == m.rows && RowLengthsAre(rows, m.columns, 0)) return fullOf(m.rows, m.columns, false);
  if (m.rows != m.columns && count == m.columns && RowLengthsAre(rows, m.rows, 0))
    return fullOf(m.columns, m.rows, true);
  if (kind == 3 && count == m.rows) {
    if (RowLengthsAre(rows, m.columns, -1)) {
      for (int i = 1; i <= m.rows; ++i)
        for (int j = i; j <= m.columns; ++j) m(i, j) = m(j, i) = rows[i - 1].values[j - i];
      return m;
    }
    if (RowLengthsAre(rows, 1, 1)) {
      for (int i = 1; i <= m.rows; ++i)
        for (int j = 1; j <= i; ++j) m(i, j) = m(j, i) = rows[i - 1].values[j - 1];
      return m;
    }
  }
  // Name the first line that fits no accepted layout.
  const std::string shape =
      std::to_string(m.rows) + (m.rows == 1 ? " row of " : " rows of ") + std::to_string(m.columns);
  if (count == 0) throw std::runtime_error("No numbers found; " + shape + " numbers are needed");
  const int wanted = (m.rows != m.columns && static_cast<int>(rows[0].values.size()) == m.rows)
                         ? m.rows
                         : m.columns;
  for (int n = 0; n < count && n < std::max(m.rows, m.columns); ++n) {
    const int found = static_cast<int>(rows[n].values.size());
    const bool triangle = kind == 3 && (found == m.columns - n || found == n + 1);
    if (found != wanted && !triangle)
      throw std::runtime_error("line " + std::to_string(rows[n].line) + ": " +
                               std::to_string(wanted) + " numbers expected, found " +
                               std::to_string(found));
  }
  if (count > std::max(m.rows, m.columns))
    throw std::runtime_error("line " + std::to_string(rows[std::max(m.rows, m.columns)].line) +
                             ": more rows than the " + shape + " matrix has");
  throw std::runtime_error(std::to_string(count) + (count == 1 ? " row" : " rows") + " found; " +
                           shape + " numbers are needed" +
                           (kind == 3 ? " (or its upper triangle)" : ""));
}

std::string FormatMatrixText(const TensorState& t, VoigtConvention convention,
                             const std::string& separator) {
  const int exponent = DecadeExponent(t.scale);
  const Real decade = std::pow(10.0L, static_cast<Real>(exponent));
  std::string out = "# " + (ConventionMatters(t.kind) ? ConventionCaption(convention)
                                                      : std::string("component grid"));
  out += ", unit " + (t.unitText.empty() ? std::string("(none)") : t.unitText) + " x 10^" +
         std::to_string(exponent) + "\n";
  const VoigtMatrix m = ToVoigtMatrix(t, convention);
  for (int r = 1; r <= m.rows; ++r) {
    for (int c = 1; c <= m.columns; ++c) {
      if (c > 1) out += separator;
      out += FormatGeneral(m(r, c) / decade, '.', 15);
    }
    out += "\n";
  }
  return out;
}

std::string FormatMatrixJson(const TensorState& t, VoigtConvention convention) {
  const int exponent = DecadeExponent(t.scale);
  const Real decade = std::pow(10.0L, static_cast<Real>(exponent));
  const auto quoted = [](const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
      if (c == '"' || c == '\\') out += '\\';
      if (static_cast<unsigned char>(c) >= 0x20) out += c;
    }
    return out + "\"";
  };
  const TensorKindInfo* kind = FindKind(t.kind);
  std::string out = "{\n  \"kind\": " + quoted(kind ? kind->caption : "") + ",\n";
  out += "  \"convention\": " +
         quoted(ConventionMatters(t.kind) ? ConventionWord(convention) : "none") + ",\n";
  out += "  \"unit\": " + quoted(t.unitText) + ",\n";
  out += "  \"power_of_ten\": " + std::to_string(exponent) + ",\n  \"matrix\": [";
  const VoigtMatrix m = ToVoigtMatrix(t, convention);
  for (int r = 1; r <= m.rows; ++r) {
    out += r > 1 ? ",\n    [" : "\n    [";
    for (int c = 1; c <= m.columns; ++c)
      out += (c > 1 ? ", " : "") + FormatGeneral(m(r, c) / decade, '.', 15);
    out += "]";
  }
  return out + "\n  ]\n}\n";
}

}  // namespace quillmere
