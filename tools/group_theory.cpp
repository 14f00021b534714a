#include "group_theory.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "tensor/tensor_state.h"

namespace quillmere::group_theory {

namespace {

// ---- Exact arithmetic ------------------------------------------------------------------------

using Wide = __int128;

[[noreturn]] void Overflow() {
  throw std::runtime_error("integer overflow in the exact symmetry arithmetic");
}

Wide Mul(Wide a, Wide b) {
  Wide r;
  if (__builtin_mul_overflow(a, b, &r)) Overflow();
  return r;
}

Wide Sub(Wide a, Wide b) {
  Wide r;
  if (__builtin_sub_overflow(a, b, &r)) Overflow();
  return r;
}

Wide Abs(Wide a) {
  return a < 0 ? -a : a;
}

Wide Gcd(Wide a, Wide b) {
  a = Abs(a);
  b = Abs(b);
  while (b != 0) {
    Wide t = a % b;
    a = b;
    b = t;
  }
  return a;
}

long long Narrow(Wide a) {
  if (a > Wide(1) << 62 || a < -(Wide(1) << 62)) Overflow();
  return static_cast<long long>(a);
}

Sqrt3Integer operator+(Sqrt3Integer x, Sqrt3Integer y) {
  return {x.a + y.a, x.b + y.b};
}

Sqrt3Integer operator*(Sqrt3Integer x, Sqrt3Integer y) {
  return {x.a * y.a + 3 * x.b * y.b, x.a * y.b + x.b * y.a};
}

bool IsZero(Sqrt3Integer x) {
  return x.a == 0 && x.b == 0;
}

// ---- Operations ------------------------------------------------------------------------------

Operation FromTwice(std::array<std::array<Sqrt3Integer, 3>, 3> m, int det) {
  Operation op;
  op.twice = m;
  op.determinant = det;
  return op;
}

const Sqrt3Integer k0{0, 0}, k1{1, 0}, k2{2, 0}, kR{0, 1};  // kR = sqrt(3)
const Sqrt3Integer km1{-1, 0}, km2{-2, 0}, kmR{0, -1};

Operation Diagonal(int x, int y, int z) {
  const int det = x * y * z;
  return FromTwice({{{{{2LL * x, 0}, k0, k0}}, {{k0, {2LL * y, 0}, k0}}, {{k0, k0, {2LL * z, 0}}}}},
                   det);
}

Operation Inversion() {
  return Diagonal(-1, -1, -1);
}
Operation TwofoldX() {
  return Diagonal(1, -1, -1);
}
Operation TwofoldY() {
  return Diagonal(-1, 1, -1);
}
Operation TwofoldZ() {
  return Diagonal(-1, -1, 1);
}
Operation MirrorX() {
  return Diagonal(-1, 1, 1);
}
Operation MirrorY() {
  return Diagonal(1, -1, 1);
}
/// Rotation by +90 degrees about x3.
Operation FourfoldZ() {
  return FromTwice({{{{k0, km2, k0}}, {{k2, k0, k0}}, {{k0, k0, k2}}}}, 1);
}
/// Rotation by +120 degrees about x3.
Operation ThreefoldZ() {
  return FromTwice({{{{km1, kmR, k0}}, {{kR, km1, k0}}, {{k0, k0, k2}}}}, 1);
}
/// Rotation by +60 degrees about x3.
Operation SixfoldZ() {
  return FromTwice({{{{k1, kmR, k0}}, {{kR, k1, k0}}, {{k0, k0, k2}}}}, 1);
}
/// Rotation by +120 degrees about [111]: x1 -> x2 -> x3 -> x1.
Operation ThreefoldDiagonal() {
  return FromTwice({{{{k0, k0, k2}}, {{k2, k0, k0}}, {{k0, k2, k0}}}}, 1);
}

Operation Identity() {
  return Diagonal(1, 1, 1);
}

// ---- Index symmetry of the kinds ---------------------------------------------------------------

/// A permutation of index positions with the sign it gives to the component.
struct IndexPermutation {
  std::vector<int> to;  ///< position k of the permuted indices takes index to[k] of the original
  int sign = 1;
};

std::vector<IndexPermutation> IndexSymmetryGenerators(int code) {
  switch (code) {
    case 1:
      return {{{1, 0}, 1}};
    case 2:
      return {{{1, 0, 2}, 1}};
    case 5:
      return {{{0, 2, 1}, 1}};
    case 12:
      return {{{1, 0, 2}, -1}};
    case 4:
      return {{{1, 0, 2, 3}, 1}};
    case 6:
      return {{{1, 0, 2, 3}, 1}, {{0, 1, 3, 2}, 1}};
    case 3:
      return {{{1, 0, 2, 3}, 1}, {{0, 1, 3, 2}, 1}, {{2, 3, 0, 1}, 1}};
    default:
      return {};
  }
}

std::vector<int> DigitsOf(int offset, int rank) {
  std::vector<int> d(rank);
  for (int k = rank - 1; k >= 0; --k) {
    d[k] = offset % 3;
    offset /= 3;
  }
  return d;
}

int OffsetOf(const std::vector<int>& digits) {
  int o = 0;
  for (int d : digits) o = o * 3 + d;
  return o;
}

// ---- Row reduction ---------------------------------------------------------------------------

/// Reduced row echelon form of integer rows, built row by row. Every stored row is divided by
/// the greatest common divisor of its entries, has a positive pivot, and is zero in the pivot
/// columns of all other rows.
class RowEchelon {
 public:
  explicit RowEchelon(int columns) : columns_(columns), rowOfPivot_(columns, -1) {}

  void Add(std::vector<Wide> row) {
    for (int c = 0; c < columns_; ++c) {
      if (row[c] == 0 || rowOfPivot_[c] < 0) continue;
      const std::vector<Wide>& p = rows_[rowOfPivot_[c]];
      const Wide f = row[c], g = p[c];
      for (int j = 0; j < columns_; ++j)
        if (row[j] != 0 || p[j] != 0) row[j] = Sub(Mul(g, row[j]), Mul(f, p[j]));
      Normalize(row);  // keeps the entries small while the row is reduced
    }
    Normalize(row);
    int lead = 0;
    while (lead < columns_ && row[lead] == 0) ++lead;
    if (lead == columns_) return;
    if (row[lead] < 0)
      for (Wide& x : row) x = -x;
    for (std::vector<Wide>& q : rows_) {
      if (q[lead] == 0) continue;
      const Wide f = q[lead], g = row[lead];
      for (int j = 0; j < columns_; ++j)
        if (q[j] != 0 || row[j] != 0) q[j] = Sub(Mul(g, q[j]), Mul(f, row[j]));
      Normalize(q);
    }
    rowOfPivot_[lead] = static_cast<int>(rows_.size());
    rows_.push_back(std::move(row));
  }

  int Rank() const { return static_cast<int>(rows_.size()); }
  /// The row whose pivot is column c, or nullptr when c is a free column.
  const std::vector<Wide>* PivotRow(int c) const {
    return rowOfPivot_[c] < 0 ? nullptr : &rows_[rowOfPivot_[c]];
  }

 private:
  static void Normalize(std::vector<Wide>& row) {
    Wide g = 0;
    for (Wide x : row)
      if (x != 0) g = Gcd(g, x);
    if (g > 1)
      for (Wide& x : row) x /= g;
  }

  int columns_;
  std::vector<int> rowOfPivot_;
  std::vector<std::vector<Wide>> rows_;
};

// ---- Relation texts --------------------------------------------------------------------------

/// A term in the table's notation: [&][-][factor*]digits, the factor omitted when it is 1.
std::string TermText(bool sum, long long factor, const std::string& digits) {
  std::string s = sum ? "&" : "";
  if (factor < 0) s += "-";
  const long long magnitude = factor < 0 ? -factor : factor;
  if (magnitude != 1) s += std::to_string(magnitude) + "*";
  return s + digits;
}

/// The sum terms that turn the running sum `s` into `target` (both indexed by walk position).
std::vector<std::pair<int, long long>> SumDifferences(const std::map<int, long long>& s,
                                                      const std::map<int, long long>& target) {
  std::map<int, long long> diff;
  for (const auto& [p, v] : target) diff[p] += v;
  for (const auto& [p, v] : s) diff[p] -= v;
  std::vector<std::pair<int, long long>> out;
  for (const auto& [p, v] : diff)
    if (v != 0) out.emplace_back(p, v);
  return out;
}

/// Writes one relation: the independent component at walk position `x` and the dependents it
/// hosts. The running sum starts as T[x]; before each dependent Y, sum terms bring it to an
/// integer multiple k of Y's numerators, and the plain term k*denominator*Y follows. The
/// dependent and multiple needing the fewest (then shortest) sum terms come first.
std::vector<std::string> RelationTerms(const KindSymmetry& kind, int x,
                                       std::vector<const Dependent*> hosted) {
  auto digits = [&](int position) { return IndexDigits(kind, kind.walk[position]); };
  std::vector<std::string> terms{TermText(false, 1, digits(x))};
  std::map<int, long long> s{{x, 1}};
  while (!hosted.empty()) {
    std::size_t bestIndex = 0;
    long long bestK = 0;
    std::pair<std::size_t, std::size_t> bestCost{~std::size_t{0}, ~std::size_t{0}};
    for (std::size_t i = 0; i < hosted.size(); ++i) {
      const Dependent& d = *hosted[i];
      std::vector<long long> multiples{1, -1};
      for (const auto& [p, n] : d.terms) {
        auto it = s.find(p);
        if (it != s.end() && it->second != 0 && it->second % n == 0)
          multiples.push_back(it->second / n);
      }
      for (long long k : multiples) {
        std::map<int, long long> target;
        for (const auto& [p, n] : d.terms) target[p] = Narrow(Mul(k, n));
        std::size_t length = 0;
        const auto diffs = SumDifferences(s, target);
        for (const auto& [p, v] : diffs) length += TermText(true, v, digits(p)).size() + 1;
        length += TermText(false, Narrow(Mul(k, d.denominator)), digits(d.component)).size();
        const std::pair<std::size_t, std::size_t> cost{diffs.size(), length};
        if (cost < bestCost) {
          bestCost = cost;
          bestIndex = i;
          bestK = k;
        }
      }
    }
    const Dependent& d = *hosted[bestIndex];
    std::map<int, long long> target;
    for (const auto& [p, n] : d.terms) target[p] = bestK * n;
    for (const auto& [p, v] : SumDifferences(s, target)) {
      terms.push_back(TermText(true, v, digits(p)));
      s[p] += v;
    }
    terms.push_back(TermText(false, Narrow(Mul(bestK, d.denominator)), digits(d.component)));
    hosted.erase(hosted.begin() + static_cast<std::ptrdiff_t>(bestIndex));
  }
  return terms;
}

}  // namespace

Operation Compose(const Operation& a, const Operation& b) {
  Operation r;
  r.determinant = a.determinant * b.determinant;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      Sqrt3Integer sum;
      for (int k = 0; k < 3; ++k) sum = sum + a.twice[i][k] * b.twice[k][j];
      // (2A)(2B) = 2(2AB): the product of two group elements is one, so its entries halve.
      if (sum.a % 2 != 0 || sum.b % 2 != 0)
        throw std::runtime_error("product of operations is not a crystallographic operation");
      r.twice[i][j] = {sum.a / 2, sum.b / 2};
    }
  return r;
}

std::vector<Operation> PointGroupGenerators(int number) {
  const Operation i = Inversion();
  const Operation x2 = TwofoldX(), y2 = TwofoldY(), z2 = TwofoldZ();
  const Operation z3 = ThreefoldZ(), z4 = FourfoldZ(), z6 = SixfoldZ(), d3 = ThreefoldDiagonal();
  const Operation z4bar = Compose(i, z4), z6bar = Compose(i, z6);
  switch (number) {
    case 1:
      return {i};  // -1
    case 2:
      return {};  // 1
    case 3:
      return {y2, i};  // 2/m
    case 4:
      return {y2};  // 2
    case 5:
      return {MirrorY()};  // m
    case 6:
      return {x2, y2, i};  // mmm
    case 7:
      return {MirrorX(), MirrorY()};  // mm2
    case 8:
      return {x2, y2};  // 222
    case 9:
      return {z3, x2, i};  // -3m
    case 10:
      return {z3, MirrorX()};  // 3m
    case 11:
      return {z3, i};  // -3
    case 12:
      return {z3, x2};  // 32
    case 13:
      return {z3};  // 3
    case 14:
      return {z4, x2, i};  // 4/mmm
    case 15:
      return {z4, MirrorX()};  // 4mm
    case 16:
      return {z4, i};  // 4/m
    case 17:
      return {z4, x2};  // 422
    case 18:
      return {z4bar, x2};  // -42m
    case 19:
      return {z4};  // 4
    case 20:
      return {z4bar};  // -4
    case 21:
      return {z6, x2, i};  // 6/mmm
    case 22:
      return {z6, MirrorX()};  // 6mm
    case 23:
      return {z6, i};  // 6/m
    case 24:
      return {z6, x2};  // 622
    case 25:
      return {z6bar, x2};  // -62m
    case 26:
      return {z6};  // 6
    case 27:
      return {z6bar};  // -6
    case 28:
      return {z4, d3, i};  // m-3m
    case 29:
      return {z2, x2, d3, i};  // m-3
    case 30:
      return {z4, d3};  // 432
    case 31:
      return {z4bar, d3};  // -43m
    case 32:
      return {z2, x2, d3};  // 23
    default:
      throw std::runtime_error("point group " + std::to_string(number) + " is not 1..32");
  }
}

std::vector<Operation> PointGroupElements(int number) {
  const std::vector<Operation> generators = PointGroupGenerators(number);
  std::vector<Operation> elements{Identity()};
  for (std::size_t n = 0; n < elements.size(); ++n)
    for (const Operation& g : generators) {
      Operation e = Compose(g, elements[n]);
      if (std::find(elements.begin(), elements.end(), e) == elements.end()) elements.push_back(e);
      if (elements.size() > 48) throw std::runtime_error("point group closure exceeds 48");
    }
  return elements;
}

KindSymmetry MakeKindSymmetry(int code) {
  const TensorKindInfo* info = FindKind(code);
  if (!info) throw std::runtime_error("kind " + std::to_string(code) + " is not defined");
  KindSymmetry k;
  k.code = code;
  k.rank = info->rank;
  k.componentCount = 1;
  for (int r = 0; r < k.rank; ++r) k.componentCount *= 3;

  // Classes: orbits of the index permutations, with the sign each member carries. A member
  // reached with both signs is zero throughout its class.
  const std::vector<IndexPermutation> perms = IndexSymmetryGenerators(code);
  std::vector<int> orbitOf(k.componentCount, -1);
  std::vector<int> signInOrbit(k.componentCount, 0);
  std::vector<bool> orbitIsZero;
  for (int start = 0; start < k.componentCount; ++start) {
    if (orbitOf[start] >= 0) continue;
    const int orbit = static_cast<int>(orbitIsZero.size());
    orbitIsZero.push_back(false);
    std::vector<int> queue{start};
    orbitOf[start] = orbit;
    signInOrbit[start] = 1;
    for (std::size_t q = 0; q < queue.size(); ++q) {
      const std::vector<int> d = DigitsOf(queue[q], k.rank);
      for (const IndexPermutation& p : perms) {
        std::vector<int> e(k.rank);
        for (int pos = 0; pos < k.rank; ++pos) e[pos] = d[p.to[pos]];
        const int o = OffsetOf(e);
        const int sign = signInOrbit[queue[q]] * p.sign;
        if (orbitOf[o] < 0) {
          orbitOf[o] = orbit;
          signInOrbit[o] = sign;
          queue.push_back(o);
        } else if (signInOrbit[o] != sign) {
          orbitIsZero[orbit] = true;
        }
      }
    }
  }

  // Walk order of the representatives.
  std::vector<int> order;
  if (code == 12) {
    // No grid shape: Tijk with i < j, in the order of (i, j, k) with k fastest.
    for (int i = 0; i < 3; ++i)
      for (int j = i + 1; j < 3; ++j)
        for (int m = 0; m < 3; ++m) order.push_back(OffsetOf({i, j, m}));
  } else {
    for (int row = 1; row <= info->gridRows; ++row)
      for (int column = 1; column <= info->gridColumns; ++column) {
        const GridCell cell = ComponentGridCell(code, row, column);
        std::vector<int> d(k.rank);
        for (int pos = 0; pos < k.rank; ++pos) d[pos] = cell.indices.i[pos] - 1;
        order.push_back(OffsetOf(d));
      }
  }
  std::vector<int> positionOfOrbit(orbitIsZero.size(), -1);
  std::vector<int> representativeSign(orbitIsZero.size(), 1);
  for (int o : order) {
    const int orbit = orbitOf[o];
    if (orbitIsZero[orbit] || positionOfOrbit[orbit] >= 0) continue;
    positionOfOrbit[orbit] = static_cast<int>(k.walk.size());
    representativeSign[orbit] = signInOrbit[o];
    k.walk.push_back(o);
  }
  k.classOf.assign(k.componentCount, -1);
  k.signOf.assign(k.componentCount, 0);
  for (int c = 0; c < k.componentCount; ++c) {
    const int orbit = orbitOf[c];
    if (orbitIsZero[orbit]) continue;
    if (positionOfOrbit[orbit] < 0)
      throw std::runtime_error("the walk of kind " + std::to_string(code) + " misses a class");
    k.classOf[c] = positionOfOrbit[orbit];
    k.signOf[c] = signInOrbit[c] * representativeSign[orbit];
  }
  return k;
}

std::string IndexDigits(const KindSymmetry& kind, int offset) {
  std::string s;
  for (int d : DigitsOf(offset, kind.rank)) s += static_cast<char>('1' + d);
  return s;
}

InvariantSolution SolveInvariants(const KindSymmetry& kind,
                                  const std::vector<Operation>& generators, bool axial) {
  // Unknowns: one value per class. Columns are the classes in reverse walk order, so that the
  // free columns of the reduced constraints are the components not fixed by those before them
  // in the walk, and each pivot row expresses a component through earlier ones.
  const int n = static_cast<int>(kind.walk.size());
  auto column = [n](int position) { return n - 1 - position; };
  RowEchelon echelon(n);
  long long scaleOfRank = 1;
  for (int r = 0; r < kind.rank; ++r) scaleOfRank *= 2;

  for (const Operation& g : generators) {
    const long long detFactor = axial ? g.determinant : 1;
    for (int w = 0; w < n && echelon.Rank() < n; ++w) {
      // Row c of det^axial * (2R x ... x 2R), c the representative: the products of one entry
      // of 2R per index position, expanded over the non-zero entries only.
      const std::vector<int> d = DigitsOf(kind.walk[w], kind.rank);
      std::vector<std::pair<int, Sqrt3Integer>> partial{{0, {detFactor, 0}}};
      for (int pos = 0; pos < kind.rank; ++pos) {
        std::vector<std::pair<int, Sqrt3Integer>> next;
        for (const auto& [o, v] : partial)
          for (int j = 0; j < 3; ++j)
            if (!IsZero(g.twice[d[pos]][j])) next.emplace_back(o * 3 + j, v * g.twice[d[pos]][j]);
        partial = std::move(next);
      }
      std::vector<Sqrt3Integer> coefficient(n);
      for (const auto& [o, v] : partial) {
        const int cls = kind.classOf[o];
        if (cls < 0) continue;
        coefficient[cls] = coefficient[cls] + v * Sqrt3Integer{kind.signOf[o], 0};
      }
      coefficient[w] = coefficient[w] + Sqrt3Integer{-scaleOfRank, 0};
      // The invariant space has a rational basis (each group is closed under sqrt(3) -> -sqrt(3)),
      // so the rational and the sqrt(3) parts of each equation hold separately.
      std::vector<Wide> rational(n), irrational(n);
      for (int c = 0; c < n; ++c) {
        rational[column(c)] = coefficient[c].a;
        irrational[column(c)] = coefficient[c].b;
      }
      echelon.Add(std::move(rational));
      echelon.Add(std::move(irrational));
    }
  }

  InvariantSolution solution;
  for (int w = 0; w < n; ++w) {
    const std::vector<Wide>* row = echelon.PivotRow(column(w));
    if (!row) {
      solution.independent.push_back(w);
      continue;
    }
    Dependent dep;
    dep.component = w;
    dep.denominator = Narrow((*row)[column(w)]);
    for (int p = 0; p < w; ++p) {
      const Wide v = (*row)[column(p)];
      if (v != 0) dep.terms.emplace_back(p, Narrow(-v));
    }
    for (int p = w + 1; p < n; ++p)
      if ((*row)[column(p)] != 0)
        throw std::runtime_error("a dependent component refers to a later one");
    if (!dep.terms.empty()) solution.dependents.push_back(std::move(dep));
  }
  return solution;
}

std::string RelationText(const KindSymmetry& kind, const InvariantSolution& solution) {
  std::map<int, std::vector<const Dependent*>> hostedBy;
  for (const Dependent& d : solution.dependents) hostedBy[d.terms.back().first].push_back(&d);
  std::string text;
  for (int x : solution.independent) {
    const std::vector<std::string> terms = RelationTerms(kind, x, hostedBy[x]);
    if (static_cast<int>(terms.size()) > kMaxTableTerms)
      throw std::runtime_error("relation of " + IndexDigits(kind, kind.walk[x]) + " has " +
                               std::to_string(terms.size()) + " terms");
    if (!text.empty()) text += ",";
    for (std::size_t t = 0; t < terms.size(); ++t) text += (t ? "=" : "") + terms[t];
  }
  return text;
}

namespace {

std::string EntryText(const KindSymmetry& kind, const std::vector<Operation>& generators,
                      bool axial) {
  const InvariantSolution s = SolveInvariants(kind, generators, axial);
  if (s.independent.empty()) return "%";
  if (static_cast<int>(s.independent.size()) > kMaxTableIndependent) return "?";
  return RelationText(kind, s);
}

}  // namespace

std::string TableEntryText(int pointGroup, int kindCode, bool axial) {
  return EntryText(MakeKindSymmetry(kindCode), PointGroupGenerators(pointGroup), axial);
}

std::string TableText() {
  std::vector<int> codes;
  for (const TensorKindInfo& k : TensorKinds()) codes.push_back(k.code);
  std::sort(codes.begin(), codes.end());
  std::vector<KindSymmetry> kinds;
  for (int code : codes) kinds.push_back(MakeKindSymmetry(code));
  std::string out;
  for (int g = 1; g <= kPointGroupCount; ++g) {
    const std::vector<Operation> generators = PointGroupGenerators(g);
    for (const KindSymmetry& kind : kinds)
      for (int axial = 0; axial <= 1; ++axial)
        out += std::to_string(g) + " " + std::to_string(kind.code) + " " + std::to_string(axial) +
               " " + EntryText(kind, generators, axial == 1) + "\r\n";
  }
  return out;
}

}  // namespace quillmere::group_theory
