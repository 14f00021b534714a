// The shipped symmetry table, checked entry by entry: every entry's walk must give tensors that
// carry the kind's index symmetry, are invariant under every operation of the point group (with
// the factor det R for an axial tensor), and span the whole invariant space, whose dimension is
// computed here by the character formula, not by the generator's row reduction.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "group_theory.h"
#include "support/test_support.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

// ---- Point groups in floating point --------------------------------------------------------

using Matrix = std::array<std::array<Real, 3>, 3>;

struct PointOperation {
  Matrix r{};
  int det = 1;
};

PointOperation Multiply(const PointOperation& a, const PointOperation& b) {
  PointOperation p;
  p.det = a.det * b.det;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) p.r[i][j] += a.r[i][k] * b.r[k][j];
  return p;
}

std::vector<PointOperation> GroupElements(int group) {
  const Real sqrt3 = std::sqrt(3.0L);
  std::vector<PointOperation> out;
  for (const group_theory::Operation& op : group_theory::PointGroupElements(group)) {
    PointOperation p;
    p.det = op.determinant;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) p.r[i][j] = (op.twice[i][j].a + op.twice[i][j].b * sqrt3) / 2;
    out.push_back(p);
  }
  return out;
}

TEST(PointGroupElements, AreOrthogonalAndHaveTheOrdersOfInternationalTables) {
  // Orders of the 32 point groups (International Tables vol. A, ch. 10), program numbering.
  const int orders[32] = {2, 1, 4, 2, 2,  8,  4,  4,  12, 6, 6, 6,  3,  16, 8,  8,
                          8, 8, 4, 4, 24, 12, 12, 12, 12, 6, 6, 48, 24, 24, 24, 12};
  for (int g = 1; g <= 32; ++g) {
    const std::vector<PointOperation> elements = GroupElements(g);
    EXPECT_EQ(elements.size(), orders[g - 1]) << "group " << g;
    for (const PointOperation& e : elements) {
      PointOperation transpose = e;
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) transpose.r[i][j] = e.r[j][i];
      const PointOperation p = Multiply(e, transpose);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(p.r[i][j], i == j ? 1 : 0, 1e-15) << "group " << g;
    }
  }
}

// ---- Tensor kinds ---------------------------------------------------------------------------

/// An order of the indices that the kind's intrinsic symmetry makes equal (sign +1) or opposite
/// (sign -1): position k of the reordered component takes index `from[k]` of the original.
struct IndexOrder {
  std::array<int, 5> from;
  int sign;
};

struct KindCase {
  int code;
  int rank;
  std::vector<IndexOrder> orders;  ///< the whole permutation group, identity first
};

const std::vector<KindCase>& Kinds() {
  static const std::vector<KindCase> kinds = {
      {0, 1, {{{0}, 1}}},
      {1, 2, {{{0, 1}, 1}, {{1, 0}, 1}}},
      {2, 3, {{{0, 1, 2}, 1}, {{1, 0, 2}, 1}}},
      {3,
       4,
       {{{0, 1, 2, 3}, 1},
        {{1, 0, 2, 3}, 1},
        {{0, 1, 3, 2}, 1},
        {{1, 0, 3, 2}, 1},
        {{2, 3, 0, 1}, 1},
        {{3, 2, 0, 1}, 1},
        {{2, 3, 1, 0}, 1},
        {{3, 2, 1, 0}, 1}}},
      {4, 4, {{{0, 1, 2, 3}, 1}, {{1, 0, 2, 3}, 1}}},
      {5, 3, {{{0, 1, 2}, 1}, {{0, 2, 1}, 1}}},
      {6, 4, {{{0, 1, 2, 3}, 1}, {{1, 0, 2, 3}, 1}, {{0, 1, 3, 2}, 1}, {{1, 0, 3, 2}, 1}}},
      {7, 2, {{{0, 1}, 1}}},
      {8, 3, {{{0, 1, 2}, 1}}},
      {9, 4, {{{0, 1, 2, 3}, 1}}},
      {10, 5, {{{0, 1, 2, 3, 4}, 1}}},
      {12, 3, {{{0, 1, 2}, 1}, {{1, 0, 2}, -1}}},
  };
  return kinds;
}

int Power3(int r) {
  int n = 1;
  while (r-- > 0) n *= 3;
  return n;
}

/// Indices (0..2) of position `offset` in a rank-r tensor, first index slowest.
std::array<int, 5> IndicesOf(int offset, int rank) {
  std::array<int, 5> d{};
  for (int k = rank - 1; k >= 0; --k, offset /= 3) d[k] = offset % 3;
  return d;
}

int OffsetOf(const std::array<int, 5>& d, int rank) {
  int o = 0;
  for (int k = 0; k < rank; ++k) o = o * 3 + d[k];
  return o;
}

/// Dimension of the invariant tensors by the character formula,
///   dim = 1/|G| sum_g det(g)^axial * 1/|H| sum_h sign(h) prod_{cycles c of h} tr(g^|c|),
/// H being the kind's group of index orders.
Real InvariantDimension(const KindCase& kind, const std::vector<PointOperation>& group,
                        bool axial) {
  Real total = 0;
  for (const PointOperation& g : group) {
    Real traceOfPower[6] = {3, 0, 0, 0, 0, 0};
    PointOperation p = g;
    for (int m = 1; m <= 5; ++m) {
      traceOfPower[m] = p.r[0][0] + p.r[1][1] + p.r[2][2];
      p = Multiply(p, g);
    }
    Real character = 0;
    for (const IndexOrder& h : kind.orders) {
      Real product = h.sign;
      std::array<bool, 5> seen{};
      for (int k = 0; k < kind.rank; ++k) {
        if (seen[k]) continue;
        int length = 0;
        for (int j = k; !seen[j]; j = h.from[j]) seen[j] = true, ++length;
        product *= traceOfPower[length];
      }
      character += product;
    }
    total += (axial ? g.det : 1) * character / static_cast<Real>(kind.orders.size());
  }
  return total / static_cast<Real>(group.size());
}

// ---- The walk -------------------------------------------------------------------------------

/// The rank-r tensor that the walk of `text` derives from the value texts, compactly indexed.
std::vector<Real> Walk(const KindCase& kind, const std::string& text,
                       const std::vector<std::string>& values) {
  TensorState t;
  SetKind(t, kind.code);
  ResetComponents(t);
  for (std::size_t n = 0; n < values.size(); ++n) t.independentValues[n + 1] = values[n];
  ApplySymmetryToText(t, SymmetryMode::ApplyTexts, text);
  std::vector<Real> out(Power3(kind.rank));
  for (int o = 0; o < static_cast<int>(out.size()); ++o) {
    const std::array<int, 5> d = IndicesOf(o, kind.rank);
    out[o] = t.At(d[0] + 1, kind.rank > 1 ? d[1] + 1 : 1, kind.rank > 2 ? d[2] + 1 : 1,
                  kind.rank > 3 ? d[3] + 1 : 1, kind.rank > 4 ? d[4] + 1 : 1);
  }
  return out;
}

/// det(g)^axial * (g x ... x g) T, one index position at a time.
std::vector<Real> Transform(const std::vector<Real>& tensor, int rank, const PointOperation& g,
                            bool axial) {
  std::vector<Real> t = tensor, next(tensor.size());
  for (int k = 0; k < rank; ++k) {
    const int stride = Power3(rank - 1 - k);
    for (int o = 0; o < static_cast<int>(t.size()); ++o) {
      const int a = (o / stride) % 3;
      const int base = o - a * stride;
      next[o] =
          g.r[a][0] * t[base] + g.r[a][1] * t[base + stride] + g.r[a][2] * t[base + 2 * stride];
    }
    std::swap(t, next);
  }
  if (axial && g.det < 0)
    for (Real& x : t) x = -x;
  return t;
}

int Rank(std::vector<std::vector<Real>> rows) {
  int rank = 0;
  const int columns = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  for (int c = 0; c < columns && rank < static_cast<int>(rows.size()); ++c) {
    int best = rank;
    for (int r = rank; r < static_cast<int>(rows.size()); ++r)
      if (std::fabs(rows[r][c]) > std::fabs(rows[best][c])) best = r;
    if (std::fabs(rows[best][c]) < 1e-9L) continue;
    std::swap(rows[best], rows[rank]);
    for (int r = rank + 1; r < static_cast<int>(rows.size()); ++r) {
      const Real f = rows[r][c] / rows[rank][c];
      for (int j = c; j < columns; ++j) rows[r][j] -= f * rows[rank][j];
    }
    ++rank;
  }
  return rank;
}

std::string ValueText(double v) {
  return FormatGeneral(v);
}

// ---- The shipped file -----------------------------------------------------------------------

struct Entry {
  int group = 0;
  int kind = 0;
  int axial = 0;
  std::string text;
};

/// The entries of the shipped table in file order; a line that does not have the exact form
/// "<group> <kind> <axial> <text>" CR LF fails the test.
std::vector<Entry> ShippedEntries() {
  const std::string file = test::ReadFile(test::DataDirectory() / "tensor.tab");
  std::vector<Entry> entries;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line does not end in CR LF";
      break;
    }
    const std::string line = file.substr(start, end - start);
    start = end + 2;
    Entry e;
    int consumed = 0;
    if (std::sscanf(line.c_str(), "%d %d %d%n", &e.group, &e.kind, &e.axial, &consumed) != 3 ||
        consumed >= static_cast<int>(line.size()) || line[consumed] != ' ' ||
        line.find('\n') != std::string::npos) {
      ADD_FAILURE() << "malformed line: " << line;
      continue;
    }
    e.text = line.substr(consumed + 1);
    if (std::to_string(e.group) + " " + std::to_string(e.kind) + " " + std::to_string(e.axial) +
                " " + e.text !=
            line ||
        e.text.empty() || e.text[0] == ' ')
      ADD_FAILURE() << "numbers not separated by single blanks: " << line;
    entries.push_back(e);
  }
  return entries;
}

const KindCase* KindOf(int code) {
  for (const KindCase& k : Kinds())
    if (k.code == code) return &k;
  return nullptr;
}

TEST(ShippedTensorTab, HasOneLinePerCombinationInFixedOrder) {
  const std::vector<Entry> entries = ShippedEntries();
  ASSERT_EQ(entries.size(), 768u);
  std::size_t n = 0;
  for (int group = 1; group <= 32; ++group)
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12})
      for (int axial = 0; axial <= 1; ++axial, ++n) {
        EXPECT_EQ(entries[n].group, group) << "line " << n + 1;
        EXPECT_EQ(entries[n].kind, kind) << "line " << n + 1;
        EXPECT_EQ(entries[n].axial, axial) << "line " << n + 1;
      }
}

TEST(ShippedTensorTab, EveryEntryGivesExactlyTheInvariantTensorsOfItsGroup) {
  const std::vector<Entry> entries = ShippedEntries();
  ASSERT_EQ(entries.size(), 768u);
  test::Random random(20240611);
  std::vector<std::vector<PointOperation>> groups(33);
  for (int g = 1; g <= 32; ++g) groups[g] = GroupElements(g);
  for (const Entry& e : entries) {
    const KindCase* kind = KindOf(e.kind);
    ASSERT_NE(kind, nullptr);
    const std::string where =
        std::to_string(e.group) + " " + std::to_string(e.kind) + " " + std::to_string(e.axial);
    const std::vector<PointOperation>& group = groups[e.group];
    const Real dimension = InvariantDimension(*kind, group, e.axial == 1);
    const long long expected = std::llround(dimension);
    ASSERT_NEAR(dimension, expected, 1e-9) << where;

    std::vector<std::string> relations;
    const int count = SplitRelations(e.text, relations);
    if (count == 0) {
      EXPECT_EQ(expected, 0) << where << ": marked as not existing";
      continue;
    }
    if (count == -1) {
      EXPECT_GT(expected, 50) << where << ": marked as too large to list";
      continue;
    }
    EXPECT_EQ(count, expected) << where;

    // A random member: index symmetry and invariance under the whole group.
    std::vector<std::string> values(count);
    for (std::string& v : values) v = ValueText(random.Uniform(-1.0, 1.0));
    const std::vector<Real> tensor = Walk(*kind, e.text, values);
    for (int o = 0; o < static_cast<int>(tensor.size()); ++o) {
      const std::array<int, 5> d = IndicesOf(o, kind->rank);
      for (const IndexOrder& h : kind->orders) {
        std::array<int, 5> p{};
        for (int k = 0; k < kind->rank; ++k) p[k] = d[h.from[k]];
        const Real partner = tensor[OffsetOf(p, kind->rank)];
        ASSERT_NEAR(partner, h.sign * tensor[o], 1e-15) << where << " component " << o;
      }
    }
    for (std::size_t g = 1; g < group.size(); ++g) {
      const std::vector<Real> image = Transform(tensor, kind->rank, group[g], e.axial == 1);
      for (std::size_t o = 0; o < tensor.size(); ++o)
        ASSERT_NEAR(image[o], tensor[o], 1e-12)
            << where << " operation " << g << " component " << o;
    }

    // The independent values map onto the invariant space with full rank.
    std::vector<std::vector<Real>> basis;
    for (int n = 0; n < count; ++n) {
      std::vector<std::string> unit(count, "0");
      unit[n] = "1";
      basis.push_back(Walk(*kind, e.text, unit));
    }
    EXPECT_EQ(Rank(basis), count) << where;
  }
}

// ---- Published counts and relations ---------------------------------------------------------

/// Counts of independent components through the program's own lookup of the shipped file.
int Count(int group, int kind, bool axial) {
  test::ShippedTable table;
  TensorState t;
  t.pointGroup = group;
  SetKind(t, kind);
  t.axial = axial;
  return ApplySymmetry(t, SymmetryMode::Describe, table.services);
}

TEST(ShippedTensorTab, CountsMatchNyePhysicalPropertiesOfCrystals) {
  struct Published {
    const char* property;
    int kind;
    bool axial;
    int counts[32];  // point groups 1..32 in the program's numbering; 0 = no such tensor
  };
  const Published published[] = {
      // Nye ch. IV (pyroelectricity): only the ten polar classes.
      {"pyroelectric", 0, false, {0, 3, 0, 1, 2, 0, 1, 0, 0, 1, 0, 0, 1, 0, 1, 0,
                                  0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}},
      // Nye ch. I: symmetric second-rank tensors.
      {"second rank", 1, false, {6, 6, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2,
                                 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1}},
      // Nye ch. XIV: optical activity (axial symmetric second rank).
      {"gyration", 1, true, {0, 6, 0, 4, 2, 0, 1, 3, 0, 0, 0, 2, 2, 0, 0, 0,
                             2, 1, 2, 2, 0, 0, 0, 2, 0, 2, 0, 0, 0, 1, 0, 1}},
      // Nye ch. VII: piezoelectric moduli d_ijk = d_ikj.
      {"piezoelectric", 5, false, {0, 18, 0, 8, 10, 0, 5, 3, 0, 4, 0, 2, 6, 0, 3, 0,
                                   1, 2,  4, 4, 0,  3, 0, 1, 1, 4, 2, 0, 0, 0, 1, 1}},
      // Nye ch. VIII: elastic stiffnesses.
      {"elastic", 3, false, {21, 21, 13, 13, 13, 9, 9, 9, 6, 6, 7, 6, 7, 6, 6, 7,
                             6,  6,  7,  7,  5,  5, 5, 5, 5, 5, 5, 3, 3, 3, 3, 3}},
  };
  for (const Published& p : published)
    for (int g = 1; g <= 32; ++g)
      EXPECT_EQ(Count(g, p.kind, p.axial), p.counts[g - 1])
          << p.property << " in " << PointGroups()[g - 1].conventional;
}

/// The tensor the shipped entry gives for random independent values.
std::vector<Real> RandomMember(int group, int code, test::Random& random) {
  const std::string text = FindSymmetryLine(test::ShippedTable().services, group, code, false);
  std::vector<std::string> relations;
  const int count = SplitRelations(text, relations);
  std::vector<std::string> values(count > 0 ? count : 0);
  for (std::string& v : values) v = ValueText(random.Uniform(0.5, 1.5));
  return Walk(*KindOf(code), text, values);
}

TEST(ShippedTensorTab, RelationsMatchTheStandardTables) {
  test::Random random(7);
  auto at = [](const std::vector<Real>& t, const char* digits) {
    int o = 0;
    for (const char* c = digits; *c; ++c) o = o * 3 + (*c - '1');
    return t[o];
  };
  // Hexagonal elastic stiffness (Nye ch. VIII): c66 = (c11 - c12)/2, c22 = c11, c23 = c13,
  // c55 = c44.
  const std::vector<Real> c = RandomMember(21, 3, random);
  EXPECT_NEAR(at(c, "1212"), (at(c, "1111") - at(c, "1122")) / 2, 1e-15);
  EXPECT_NEAR(at(c, "2222"), at(c, "1111"), 1e-15);
  EXPECT_NEAR(at(c, "2233"), at(c, "1133"), 1e-15);
  EXPECT_NEAR(at(c, "1313"), at(c, "2323"), 1e-15);
  // Trigonal 32 elastic stiffness: c24 = -c14, c56 = c14, c15 = 0.
  const std::vector<Real> t = RandomMember(12, 3, random);
  EXPECT_GT(std::fabs(at(t, "1123")), 0.1);
  EXPECT_NEAR(at(t, "2223"), -at(t, "1123"), 1e-15);
  EXPECT_NEAR(at(t, "1312"), at(t, "1123"), 1e-15);
  EXPECT_NEAR(at(t, "1113"), 0, 1e-15);
  // Quartz-type 32 piezoelectric moduli: d122 = -d111 (d12 = -d11), d212 = -d111
  // (d26 = -2 d11), d213 = -d123 (d25 = -d14).
  const std::vector<Real> d = RandomMember(12, 5, random);
  EXPECT_GT(std::fabs(at(d, "111")), 0.1);
  EXPECT_NEAR(at(d, "122"), -at(d, "111"), 1e-15);
  EXPECT_NEAR(at(d, "212"), -at(d, "111"), 1e-15);
  EXPECT_NEAR(at(d, "213"), -at(d, "123"), 1e-15);
  EXPECT_NEAR(at(d, "222"), 0, 1e-15);
  // Cubic elastic stiffness: c11 = c22 = c33, c12 = c13 = c23, c44 = c55 = c66.
  const std::vector<Real> k = RandomMember(28, 3, random);
  EXPECT_NEAR(at(k, "3333"), at(k, "1111"), 1e-15);
  EXPECT_NEAR(at(k, "2233"), at(k, "1122"), 1e-15);
  EXPECT_NEAR(at(k, "1212"), at(k, "2323"), 1e-15);
}

TEST(ShippedTensorTab, IndependentComponentsAreTheTextbookOnes) {
  // The customary choices: hexagonal c11 c12 c13 c33 c44; quartz d11 d14; trigonal 3 elastic
  // c11 c12 c13 c14 c15 c33 c44 (Nye ch. VIII), each named by its first tensor component.
  auto firsts = [](int group, int kind) {
    test::ShippedTable table;
    TensorState t;
    t.pointGroup = group;
    SetKind(t, kind);
    std::string s;
    const int count = ApplySymmetry(t, SymmetryMode::Describe, table.services);
    for (int n = 1; n <= count; ++n) {
      const std::string& label = t.independentLabels[n];
      s += (n > 1 ? " " : "") + label.substr(1, label.find_first_of("=.") - 1);
    }
    return s;
  };
  EXPECT_EQ(firsts(21, 3), "1111 1122 1133 3333 2323");
  EXPECT_EQ(firsts(12, 5), "111 123");
  EXPECT_EQ(firsts(13, 3), "1111 1122 1133 1123 1113 3333 2323");
}

}  // namespace
}  // namespace quillmere
