#include "tensor/symmetry_table.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <sstream>
#include <stdexcept>

#include "core/regular_file.h"
#include "core/user_messages.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

constexpr int kMaxTerms = 50;
/// The shipped table has some 50 kB; a file far beyond that is not the table.
constexpr std::size_t kSymmetryTableLimit = 4 << 20;
const char kNoSuchTensor[] = "This tensor does not exist";
const char kNoEntry[] = "this tensor and class have no independent components entrance";

/// Reads one whitespace-separated integer as the table's entries hold them. Returns false at the
/// end of the file; throws "Invalid numeric input" on a token that is not a decimal integer.
bool ReadTableInteger(std::istream& in, long long& value) {
  int c = in.peek();
  while (c != EOF && (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')) {
    in.get();
    c = in.peek();
  }
  if (c == EOF) return false;
  std::string token;
  while (c != EOF && !std::isspace(static_cast<unsigned char>(c)) && token.size() < 64) {
    token += static_cast<char>(in.get());
    c = in.peek();
  }
  const char* b = token.data();
  const char* e = b + token.size();
  if (b != e && *b == '+') ++b;
  auto res = std::from_chars(b, e, value);
  if (b == e || res.ec != std::errc() || res.ptr != e)
    throw std::runtime_error("Invalid numeric input");
  return true;
}

struct TableEntry {
  std::string text;
  long long line = 0;  ///< 1-based line of the file where the entry's relation text stands
};

/// Counts line ends as characters are consumed, so that an error can name the line.
class LineCountingReader {
 public:
  explicit LineCountingReader(std::istream& in) : in_(in) {}

  bool Integer(long long& v) {
    // Count the line ends skipped before the number.
    int c = in_.peek();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      if (c == '\n') ++line_;
      in_.get();
      c = in_.peek();
    }
    return ReadTableInteger(in_, v);
  }

  /// The single separator character and the relation text up to the end of the line.
  std::string RestOfLine() {
    int c = in_.peek();
    if (c != EOF && c != '\n' && c != '\r') in_.get();  // the separator
    std::string text;
    std::getline(in_, text);
    if (!in_.eof()) ++line_;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  }

  long long line() const { return line_; }

 private:
  std::istream& in_;
  long long line_ = 1;
};

TableEntry FindEntry(std::istream& table, int pointGroup, int kind, bool axial) {
  LineCountingReader reader(table);
  for (;;) {
    long long g = 0, k = 0, a = 0;
    if (!reader.Integer(g) || !reader.Integer(k) || !reader.Integer(a)) return {"?", 0};
    const long long line = reader.line();
    std::string text = reader.RestOfLine();
    if (g == pointGroup && k == kind && a == (axial ? 1 : 0)) return {text, line};
  }
}

TableEntry FindEntry(const CoreServices& services, int pointGroup, int kind, bool axial) {
  const std::filesystem::path path = services.SymmetryTablePath();
  const std::string name = "'" + path.string() + "': ";
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw SymmetryTableError(name + "This is a folder, not the symmetry table");
  std::string text;
  try {
    text = ReadRegularFile(path, kSymmetryTableLimit);
  } catch (const FileNotOpened&) {
    throw SymmetryTableError(name + "File not found (the symmetry table is looked for in " +
                             services.programDirectory.string() + ")");
  } catch (const std::runtime_error& e) {
    throw SymmetryTableError(e.what());
  }
  if (text.find_first_not_of(" \t\r\n") == std::string::npos)
    throw SymmetryTableError(name + "The symmetry table is empty");
  std::istringstream in(text);
  try {
    return FindEntry(in, pointGroup, kind, axial);
  } catch (const std::runtime_error& e) {
    throw SymmetryTableError(name + e.what());
  }
}

struct ParsedRelation {
  std::vector<SymmetryTerm> terms;
};

[[noreturn]] void Damaged(long long line, const std::string& what) {
  std::string where = line > 0 ? "tensor.tab, line " + std::to_string(line) : "tensor.tab";
  throw std::runtime_error("Damaged entry in " + where + ": " + what);
}

/// Splits and parses the whole entry before anything changes, so that a damaged entry is
/// refused as a whole.
int ParseEntry(const std::string& text, long long line, std::vector<ParsedRelation>& out) {
  std::vector<std::string> relations;
  const int count = SplitRelations(text, relations);
  if (count <= 0) return count;
  if (count > kMaxIndependent)
    Damaged(line, std::to_string(count) + " relations, at most " + std::to_string(kMaxIndependent) +
                      " are allowed");
  out.clear();
  for (const std::string& r : relations) {
    std::vector<std::string> terms = SplitTerms(r);
    if (static_cast<int>(terms.size()) > kMaxTerms)
      Damaged(line, "relation '" + QuoteForMessage(r) + "' has more than " +
                        std::to_string(kMaxTerms) + " terms");
    ParsedRelation parsed;
    for (const std::string& term : terms) {
      try {
        parsed.terms.push_back(ParseTerm(term));
      } catch (const std::runtime_error& e) {
        Damaged(line, e.what());
      }
    }
    if (parsed.terms.front().sum)
      Damaged(line, "relation '" + QuoteForMessage(r) + "' begins with a sum term");
    out.push_back(std::move(parsed));
  }
  return count;
}

/// Every term names a component by at most `rank` index positions, digits 1..3 or blanks (a
/// blank or a missing position is index 1), with at least one digit; anything else (a word, an
/// empty relation) would name a component that was never meant.
void CheckIndices(const std::vector<ParsedRelation>& relations, int rank, long long line) {
  for (const ParsedRelation& r : relations)
    for (const SymmetryTerm& term : r.terms) {
      const std::string& index = term.indexText;
      bool ok =
          static_cast<int>(index.size()) <= rank && index.find_first_of("123") != std::string::npos;
      for (char ch : index) ok = ok && ((ch >= '1' && ch <= '3') || ch == ' ');
      if (!ok)
        Damaged(line, "'" + QuoteForMessage(index) + "' is not up to " + std::to_string(rank) +
                          " index digits 1, 2 or 3");
    }
}

Real& Component(TensorState& t, const SymmetryTerm& term) {
  return t.At(term.indices);
}

void CopyTermToPartners(TensorState& t, const SymmetryTerm& term) {
  CopyToPartners(t, term.indices.i[0], term.indices.i[1], term.indices.i[2], term.indices.i[3]);
}

/// Sets independent component n (1-based) to `value` and derives everything that the relations
/// give, the other independent components keeping their values as set by `valueOf`.
template <typename ValueOf>
void DeriveComponents(TensorState& t, const std::vector<ParsedRelation>& relations,
                      ValueOf valueOf) {
  for (std::size_t n = 0; n < relations.size(); ++n) {
    Real s = 0;
    bool first = true;
    for (const SymmetryTerm& term : relations[n].terms) {
      if (term.sum) {
        s += static_cast<Real>(term.factor) * Component(t, term);
      } else if (first) {
        Real& x = Component(t, term);
        x = valueOf(static_cast<int>(n) + 1);
        s = x;
        CopyTermToPartners(t, term);
        first = false;
      } else if (term.factor != 0) {
        Component(t, term) = s / static_cast<Real>(term.factor);
        CopyTermToPartners(t, term);
      }
    }
  }
}

std::string SignedDecimal(long long v) {
  return std::to_string(v);
}

void DescribeRelations(TensorState& t, const std::vector<ParsedRelation>& relations,
                       char decimalSeparator) {
  const Real decade = DecadeOf(t, t.scale);
  for (std::size_t n = 0; n < relations.size(); ++n) {
    std::string label = "t";
    bool first = true;
    for (const SymmetryTerm& term : relations[n].terms) {
      if (term.sum) {
        label += "...+" + SignedDecimal(term.factor) + "*t" + term.indexText;
      } else if (first) {
        t.independentValues[n + 1] =
            FormatGeneral(Component(t, term) / decade, decimalSeparator, 15);
        label += term.indexText;
        first = false;
      } else if (term.factor != 0) {
        label += "=";
        if (term.factor == -1) label += "-";
        if (term.factor != 1 && term.factor != -1) label += SignedDecimal(term.factor) + "*";
        label += "t" + term.indexText;
      }
    }
    t.independentLabels[n + 1] = label;
  }
}

void CoefficientSumsOf(TensorState& t, const std::vector<ParsedRelation>& relations) {
  const std::array<Real, kComponentCount> weights = t.components;
  const int count = static_cast<int>(relations.size());
  for (int n = 1; n <= count; ++n) {
    ResetComponents(t);
    DeriveComponents(t, relations, [n](int m) { return m == n ? 1.0L : 0.0L; });
    Real sum = 0;
    for (int c = 0; c < kComponentCount; ++c) sum += weights[c] * t.components[c];
    t.coefficientSums[n] = sum;
    const std::string& index = relations[n - 1].terms.front().indexText;
    t.independentLabels[n] = index;
    t.independentValues[n] = index;
  }
  t.components = weights;
}

int Walk(TensorState& t, SymmetryMode mode, const std::string& text, long long line,
         char decimalSeparator) {
  std::vector<ParsedRelation> relations;
  const int count = ParseEntry(text, line, relations);
  if (count <= 0) return count;
  CheckIndices(relations, t.rank, line);
  const bool fitMode = mode == SymmetryMode::UnitValues || mode == SymmetryMode::CoefficientSums;
  if (fitMode && count > kMaxFitComponents)
    Damaged(line, std::to_string(count) + " independent components, the fit takes at most " +
                      std::to_string(kMaxFitComponents));
  switch (mode) {
    case SymmetryMode::Describe:
      DescribeRelations(t, relations, decimalSeparator);
      break;
    case SymmetryMode::UnitValues:
      DeriveComponents(t, relations, [](int) { return 1.0L; });
      break;
    case SymmetryMode::CoefficientSums:
      CoefficientSumsOf(t, relations);
      break;
    case SymmetryMode::ApplyTexts:
    case SymmetryMode::ApplyTypedTexts: {
      const Real decade = DecadeOf(t, t.scale);
      const bool typed = mode == SymmetryMode::ApplyTypedTexts;
      // Each value text is read when its relation is reached: a bad text stops the walk there,
      // with the relations before it applied.
      DeriveComponents(t, relations, [&](int n) {
        const std::string& text = t.independentValues[n];
        return (typed ? ParseReal(text, decimalSeparator)
                      : ParseExtendedReal(text, decimalSeparator)) *
               decade;
      });
      break;
    }
  }
  return count;
}

}  // namespace

std::string FindSymmetryLine(std::istream& table, int pointGroup, int kind, bool axial) {
  return FindEntry(table, pointGroup, kind, axial).text;
}

std::string FindSymmetryLine(const CoreServices& services, int pointGroup, int kind, bool axial) {
  return FindEntry(services, pointGroup, kind, axial).text;
}

int SplitRelations(const std::string& text, std::vector<std::string>& relations) {
  relations.clear();
  if (text.find('%') != std::string::npos) return 0;
  if (text.find('?') != std::string::npos) return -1;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    relations.push_back(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return static_cast<int>(relations.size());
}

std::vector<std::string> SplitTerms(const std::string& relation) {
  std::vector<std::string> terms;
  std::size_t start = 0;
  for (;;) {
    const std::size_t eq = relation.find('=', start);
    terms.push_back(relation.substr(start, eq == std::string::npos ? eq : eq - start));
    if (eq == std::string::npos) break;
    start = eq + 1;
  }
  return terms;
}

SymmetryTerm ParseTerm(const std::string& term) {
  SymmetryTerm t;
  std::string rest = term;
  if (std::size_t p = rest.find('&'); p != std::string::npos) {
    t.sum = true;
    rest.erase(0, p + 1);
  }
  if (std::size_t p = rest.find('-'); p != std::string::npos) {
    t.factor = -1;
    rest.erase(0, p + 1);
  }
  if (std::size_t p = rest.find('*'); p != std::string::npos) {
    const std::string factorText = rest.substr(0, p);
    long long f = 0;
    const char* b = factorText.data();
    const char* e = b + factorText.size();
    auto res = std::from_chars(b, e, f);
    if (b == e || res.ec != std::errc() || res.ptr != e || f > 1000000 || f < -1000000)
      throw std::runtime_error("factor '" + QuoteForMessage(factorText) + "' of term '" +
                               QuoteForMessage(term) + "' is not a decimal integer");
    t.factor *= f;
    rest.erase(0, p + 1);
  }
  t.indexText = rest;
  for (int k = 0; k < 5; ++k) {
    int index = 1;
    if (k < static_cast<int>(rest.size()) && std::isdigit(static_cast<unsigned char>(rest[k]))) {
      index = rest[k] - '0';
      if (index < 1 || index > 3)
        throw std::runtime_error("index digit '" + std::string(1, rest[k]) + "' of term '" +
                                 QuoteForMessage(term) + "' is not 1, 2 or 3");
    }
    t.indices.i[k] = index;
  }
  return t;
}

int ApplySymmetryToText(TensorState& t, SymmetryMode mode, const std::string& relationText,
                        char decimalSeparator) {
  return Walk(t, mode, relationText, 0, decimalSeparator);
}

SymmetryEntry ReadSymmetryEntry(const CoreServices& services, int pointGroup, int kind,
                                bool axial) {
  const TableEntry entry = FindEntry(services, pointGroup, kind, axial);
  return {entry.text, entry.line};
}

int ApplySymmetry(TensorState& t, SymmetryMode mode, const CoreServices& services) {
  return ApplySymmetryEntry(t, mode, ReadSymmetryEntry(services, t.pointGroup, t.kind, t.axial),
                            services);
}

int ApplySymmetryEntry(TensorState& t, SymmetryMode mode, const SymmetryEntry& entry,
                       const CoreServices& services) {
  // Validate before anything changes; a damaged entry leaves the state as it was.
  const int count = Walk(t, mode, entry.text, entry.line, services.decimalSeparator);
  t.independentCount = count;
  if (count == 0) services.Tell(kNoSuchTensor);
  if (count == -1) services.Tell(kNoEntry);
  return count;
}

}  // namespace quillmere
