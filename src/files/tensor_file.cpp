#include "files/tensor_file.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "core/regular_file.h"
#include "core/user_messages.h"
#include "files/atomic_file.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_check.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

const char kInvalidNumber[] = "Invalid numeric input";
const char kLineEnd[] = "\r\n";

/// Longest token taken as a number; anything longer is not one of ours and is refused rather
/// than collected without bound.
constexpr std::size_t kMaxTokenLength = 400;
/// A tensor file holds at most 243 numbers and a unit text: anything beyond this is not one.
constexpr std::size_t kTensorFileLimit = 1 << 20;
/// Longest unit text kept; the rest of an absurdly long line is skipped.
constexpr std::size_t kMaxUnitTextLength = 4096;

bool IsBlankOrControl(int c) {
  return c != EOF && static_cast<unsigned char>(c) <= ' ';
}

/// Reads the file's items the way the format defines them: before a number, blanks, control
/// characters and line ends are skipped; a token runs to the next blank, control character or
/// line end; at the end of the file a number reads as 0 and a text as empty. Characters already
/// taken from the stream to inspect the first line are handed back through `replay`.
class TokenReader {
 public:
  TokenReader(std::istream& in, std::string replay, int firstLine)
      : in_(in), replay_(std::move(replay)), line_(firstLine) {}

  /// The line of the last character taken, counted from 1.
  int Line() const { return line_; }

  int Peek() {
    if (pos_ < replay_.size()) return static_cast<unsigned char>(replay_[pos_]);
    return in_.peek();
  }
  int Get() {
    const int c = pos_ < replay_.size() ? static_cast<unsigned char>(replay_[pos_++]) : in_.get();
    if (c == '\n') ++line_;
    return c;
  }

  void SkipBlanks() {
    while (IsBlankOrControl(Peek())) Get();
  }
  bool AtEnd() {
    SkipBlanks();
    return Peek() == EOF;
  }

  /// The next token, empty at the end of the file.
  std::string Token() {
    SkipBlanks();
    std::string token;
    for (int c = Peek(); c != EOF && !IsBlankOrControl(c); c = Peek()) {
      if (token.size() >= kMaxTokenLength) throw std::runtime_error(kInvalidNumber);
      token += static_cast<char>(Get());
    }
    return token;
  }

  /// A decimal integer with an optional sign; no fraction, no exponent.
  long long Integer() {
    const std::string token = Token();
    if (token.empty()) return 0;
    const char* b = token.data();
    const char* e = b + token.size();
    if (*b == '+') ++b;
    long long value = 0;
    const auto res = std::from_chars(b, e, value);
    if (b == e || res.ec != std::errc() || res.ptr != e) throw std::runtime_error(kInvalidNumber);
    return value;
  }

  int IntField() {
    const long long v = Integer();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
      throw std::runtime_error(kInvalidNumber);
    return static_cast<int>(v);
  }

  /// Any integer or real notation with '.' as the decimal point; a value beyond the range of
  /// the extended type is not a number this program can hold.
  Real RealNumber() {
    const std::string token = Token();
    if (token.empty()) return 0;
    Real v = 0;
    if (!TryParseExtendedReal(token, v, '.') || !std::isfinite(v))
      throw std::runtime_error(kInvalidNumber);
    return v;
  }

  /// The rest of the current line without its line end.
  std::string RestOfLine() {
    std::string text;
    for (int c = Get(); c != EOF && c != '\n'; c = Get())
      if (text.size() < kMaxUnitTextLength) text += static_cast<char>(c);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  }
  void SkipLine() {
    for (int c = Get(); c != EOF && c != '\n'; c = Get()) {
    }
  }

 private:
  std::istream& in_;
  std::string replay_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

/// Reads the first line far enough to tell whether it is exactly the header. Returns the
/// characters taken, for the headerless layout to read again from the start.
bool ReadHeaderLine(std::istream& in, std::string& taken) {
  const std::size_t headerLength = std::strlen(kTensorFileHeader);
  // Enough for the header, a CR and the LF; a longer first line cannot be the header.
  for (int c = in.get(); c != EOF; c = in.get()) {
    taken += static_cast<char>(c);
    if (c == '\n' || taken.size() > headerLength + 1) break;
  }
  std::string line = taken;
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
  } else if (taken.size() > headerLength + 1) {
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line == kTensorFileHeader;
}

/// The text after the single separator blank that follows the last number of a line.
std::string UnitTextOf(std::string rest) {
  if (!rest.empty()) rest.erase(0, 1);
  return rest;
}

void CheckKind(int kind) {
  if (!FindKind(kind))
    throw std::runtime_error("The file names an unknown tensor kind (" + std::to_string(kind) +
                             ")");
}

void CheckPointGroup(int group) {
  if (group < 0 || group > kPointGroupCount)
    throw std::runtime_error("The file names an unknown point group (" + std::to_string(group) +
                             ")");
}

void CheckScale(Real scale) {
  if (!(scale > 0) || !std::isfinite(scale))
    throw std::runtime_error("The scale in the file is not a positive number");
}

void CheckConverted(Real value) {
  if (!std::isfinite(value))
    throw std::runtime_error("A value of the file is out of range at the locked scale");
}

/// Takes the file's scale, or, with the scale locked, keeps the tensor's and returns the factor
/// that brings the file's values to it.
Real ConversionFactor(TensorState& t, Real fileScale) {
  if (t.autoScale) {
    t.fileScaleFactor = 1;
    t.scale = fileScale;
  } else {
    const Real fileDecade = DecadeOf(t, fileScale);
    t.fileScaleFactor = fileDecade / DecadeOf(t, t.previousScale);
    t.scale = t.previousScale;
  }
  return t.fileScaleFactor;
}

/// The header layout stores only the independent values, so its tensor exists only through the
/// table's entry. Without a usable one every component would read as 0 and the file would be
/// written back as the zero tensor: such a file is refused.
SymmetryEntry UsableEntryFor(const TensorState& t, const CoreServices& s) {
  const SymmetryEntry entry = ReadSymmetryEntry(s, t.pointGroup, t.kind, t.axial);
  std::vector<std::string> relations;
  if (SplitRelations(entry.text, relations) <= 0) {
    const std::string group =
        t.pointGroup >= 1 && t.pointGroup <= kPointGroupCount
            ? PointGroups()[static_cast<std::size_t>(t.pointGroup - 1)].conventional
            : std::to_string(t.pointGroup);
    const TensorKindInfo* kind = FindKind(t.kind);
    throw std::runtime_error("tensor.tab has no usable entry for point group " + group +
                             " and the " + (t.axial ? "axial" : "polar") + " tensor kind " +
                             (kind ? kind->caption : std::to_string(t.kind)) +
                             ", so the file's components are unknown");
  }
  return entry;
}

void ReadHeaderLayout(TensorState& t, TokenReader& in, const CoreServices& s) {
  const int kind = in.IntField();
  const int group = in.IntField();
  const int axialNumber = in.IntField();
  const Real fileScale = in.RealNumber();
  const int count = in.IntField();
  const std::string unit = UnitTextOf(in.RestOfLine());
  CheckKind(kind);
  CheckPointGroup(group);
  CheckScale(fileScale);
  if (count < 0 || count > kMaxIndependent)
    throw std::runtime_error("The file gives " + std::to_string(count) +
                             " independent components; 0 to " + std::to_string(kMaxIndependent) +
                             " are possible");

  SetKind(t, kind);
  t.pointGroup = group;
  t.unitText = unit;
  const Real factor = ConversionFactor(t, fileScale);
  for (int i = 1; i <= count; ++i) {
    // A file cut short (caught while it is being rewritten) must not read as zeros.
    if (in.AtEnd())
      throw std::runtime_error("The file ends after " + std::to_string(i - 1) + " of " +
                               std::to_string(count) + " values");
    const Real v = in.RealNumber() * factor;
    in.SkipLine();
    CheckConverted(v);
    t.independentValues[i] = FormatGeneral(v, s.decimalSeparator, 15);
  }
  // A table with more relations than the file has values gives zeros for the rest, rather than
  // the value texts of whatever tensor was shown before.
  for (int i = count + 1; i <= kMaxIndependent; ++i) t.independentValues[i] = "0";
  t.axial = axialNumber == 1;
  const SymmetryEntry entry = UsableEntryFor(t, s);
  ResetComponents(t);
  // The values are well-formed texts by now: what fails here is the table, not this file.
  try {
    ApplySymmetryEntry(t, SymmetryMode::ApplyTexts, entry, s);
  } catch (const SymmetryTableError&) {
    throw;
  } catch (const std::runtime_error& e) {
    throw SymmetryTableError("'" + s.SymmetryTablePath().string() + "': " + e.what());
  }
}

void ReadHeaderlessLayout(TensorState& t, TokenReader& in) {
  const int kind = in.IntField();
  const Real fileScale = in.RealNumber();
  in.IntField();  // the rank, which always follows from the kind
  in.SkipLine();
  CheckKind(kind);
  CheckScale(fileScale);

  SetKind(t, kind);
  // This layout holds absolute values: with the scale locked only the shown power of ten stays
  // the tensor's, the values themselves are the file's whatever its scale.
  ConversionFactor(t, fileScale);
  t.fileScaleFactor = 1;
  for (Real& c : t.components) {
    c = in.RealNumber();
    in.SkipLine();
  }
  // Only white space after the components counts as the end: a trailing empty line must not
  // turn into point group 0.
  int axialNumber = 0;
  if (!in.AtEnd()) {
    axialNumber = in.IntField();
    const int group = in.IntField();
    CheckPointGroup(group);
    t.pointGroup = group;
    t.unitText = UnitTextOf(in.RestOfLine());
  }
  t.axial = axialNumber == 1;
}

void CheckWritable(const TensorState& t) {
  bool finite = std::isfinite(t.scale) && t.scale > 0;
  for (Real c : t.components) finite = finite && std::isfinite(c);
  if (!finite)
    throw std::runtime_error(
        "The tensor holds a value that is not a finite number and cannot be saved");
}

/// A unit text with a line feed in it would break the line structure of the file. (A carriage
/// return is harmless: the reader ends a line only at a line feed.)
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

std::string TensorFileText(TensorState& t, const CoreServices& s) {
  CheckWritable(t);
  const int n = ApplySymmetry(t, SymmetryMode::Describe, s);
  std::string text;
  // The header layout holds only the independent values. When the components do not follow
  // from them (after a change of kind, group or polarity the components may break the group's
  // relations), all 243 components are written, so the file holds what the user sees.
  if (n >= 1 && WalkReproducesComponents(t, s)) {
    text += kTensorFileHeader;
    text += kLineEnd;
    text += std::to_string(t.kind) + " " + std::to_string(t.pointGroup) + " " +
            (t.axial ? "1" : "0") + " " + FormatFileReal(t.scale) + " " + std::to_string(n) + " " +
            OneLine(t.unitText) + kLineEnd;
    for (int i = 1; i <= n; ++i)
      text +=
          FormatFileReal(ParseExtendedReal(t.independentValues[i], s.decimalSeparator)) + kLineEnd;
  } else {
    text += std::to_string(t.kind) + " " + FormatFileReal(t.scale) + " " + std::to_string(t.rank) +
            kLineEnd;
    for (Real c : t.components) text += FormatFileReal(c) + kLineEnd;
    text += std::string(t.axial ? "1" : "0") + " " + std::to_string(t.pointGroup) + " " +
            OneLine(t.unitText) + kLineEnd;
  }
  return text;
}

}  // namespace

std::string FormatFileReal(Real value) {
  constexpr std::size_t kWidth = 23;
  if (!std::isfinite(value)) {
    const std::string word = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    return std::string(kWidth - word.size(), ' ') + word;
  }
  if (value == 0) value = 0;  // a negative zero is written as zero
  // std::to_chars rounds correctly (as printf in the "C" locale), carries included:
  // 9.99999999999999995 becomes "1.00000000000000e+01".
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string digits(buf, res.ptr);  // [-]d.dddddddddddddde(+|-)xx...
  std::string out(1, ' ');
  if (digits[0] == '-') {
    out[0] = '-';
    digits.erase(0, 1);
  }
  const std::size_t e = digits.find('e');
  out += digits.substr(0, e);
  out += 'E';
  out += digits[e + 1];
  std::string exponent = digits.substr(e + 2);
  if (exponent.size() < 4) exponent.insert(0, 4 - exponent.size(), '0');
  out += exponent;
  if (out.size() < kWidth) out.insert(0, kWidth - out.size(), ' ');
  return out;
}

void ReadTensorFile(TensorState& t, std::istream& in, const CoreServices& s) {
  // Everything is read into the tensor directly, as the format is defined step by step; a
  // failure part-way puts the previous tensor back, so a damaged file never leaves a mixture
  // of two tensors.
  const TensorState before = t;
  std::optional<TokenReader> reader;
  try {
    t.previousScale = t.scale;
    // Editors may start a UTF-8 file with a byte-order mark; it is no part of the first line.
    std::string taken;
    if (in.peek() == 0xEF) {
      char mark[3] = {};
      in.read(mark, 3);
      taken.assign(mark, static_cast<std::size_t>(in.gcount()));
      if (taken == "\xEF\xBB\xBF") taken.clear();
      in.clear(in.rdstate() & ~std::ios::failbit);
    }
    if (ReadHeaderLine(in, taken)) {
      reader.emplace(in, std::string(), 2);
      ReadHeaderLayout(t, *reader, s);
    } else {
      reader.emplace(in, std::move(taken), 1);
      ReadHeaderlessLayout(t, *reader);
    }
  } catch (const SymmetryTableError&) {
    t = before;
    throw;
  } catch (const std::runtime_error& e) {
    t = before;
    // The line is exact where a number failed; the other checks come after a whole line.
    const bool number = std::strcmp(e.what(), kInvalidNumber) == 0;
    throw TensorFileError(e.what(), number && reader ? reader->Line() : 0);
  } catch (...) {
    t = before;
    throw;
  }
}

void ReadTensorFile(TensorState& t, const std::filesystem::path& path, const CoreServices& s) {
  // Every failure names the file, so the user knows which of the files is meant.
  const std::string name = "'" + path.string() + "': ";
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw std::runtime_error(name + "This is a folder, not a tensor file");
  std::string text;
  try {
    text = ReadRegularFile(path, kTensorFileLimit);
  } catch (const FileNotOpened& e) {
    throw std::runtime_error(e.missing ? name + "File not found" : e.what());
  }
  if (text.empty()) throw std::runtime_error(name + "The file is empty");
  std::istringstream in(text);
  try {
    ReadTensorFile(t, in, s);
  } catch (const SymmetryTableError&) {
    throw;
  } catch (const TensorFileError& e) {
    if (e.line > 0)
      throw std::runtime_error(name + e.what() + " (line " + std::to_string(e.line) + ")");
    throw std::runtime_error(name + e.what());
  }
}

void WriteTensorFile(TensorState& t, std::ostream& out, const CoreServices& s) {
  const std::string text = TensorFileText(t, s);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw std::runtime_error("Disk full or write error");
}

void WriteTensorFile(TensorState& t, const std::filesystem::path& path, const CoreServices& s) {
  // The text is complete before the file is touched; the rename makes the switch atomic.
  const std::string text = TensorFileText(t, s);
  WriteFileAtomically(path, [&text](std::ostream& out) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  });
}

}  // namespace quillmere
