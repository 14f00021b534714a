#include "fit/fit_engine.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/user_messages.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

using Direction = std::array<Real, 3>;

/// Index tuples of the largest rank, 3^5.
constexpr std::size_t kMaxTuples = 243;

std::string TooManyComponentsMessage(int count) {
  return "The fit takes at most " + std::to_string(kMaxFitComponents) +
         " independent components; this tensor has " + std::to_string(count) +
         " in the selected point group";
}

}  // namespace

int DirectionCount(const IndexDirectionFlags& flags) {
  // Position 1 has no position before it whose direction it could share.
  int d = 0;
  for (std::size_t p = 0; p < flags.size(); ++p)
    if (flags[p] == 0 || p == 0) ++d;
  return d;
}

namespace {

/// The index tuple q (0 .. 3^rank - 1, the last index running fastest) as indices 1..3, the
/// positions beyond the rank at 1.
TensorIndices Tuple(int q, int rank) {
  TensorIndices x;
  for (int p = 0; p < 5; ++p) x.i[p] = 1;
  for (int p = rank - 1; p >= 0; --p) {
    x.i[p] = q % 3 + 1;
    q /= 3;
  }
  return x;
}

/// The coefficient row's linear map (FitWorkspace::rowMap): each component in turn at 1, the
/// others at 0, through the entry's coefficient sums. A measurement's row is then the map
/// applied to the products of its cosines, without walking the entry again.
void MakeRowMap(FitWorkspace& w, TensorState& t, const CoreServices& services) {
  w.rowMap.clear();
  w.reached.clear();
  w.terms.clear();
  w.termStart.assign(1, 0);
  if (w.n <= 0) return;
  const int rank = t.rank < 1 ? 1 : (t.rank > 5 ? 5 : t.rank);
  int tuples = 1;
  for (int p = 0; p < rank; ++p) tuples *= 3;
  w.rowMap.assign(static_cast<std::size_t>(tuples), {});
  for (int q = 0; q < tuples; ++q) {
    ResetComponents(t);
    ApplySymmetryEntry(t, SymmetryMode::UnitValues, w.entry, services);
    for (Real& c : t.components) c = 0;
    t.At(Tuple(q, rank)) = 1;
    ApplySymmetryEntry(t, SymmetryMode::CoefficientSums, w.entry, services);
    bool reached = false;
    for (int c = 1; c <= w.n; ++c) {
      w.rowMap[static_cast<std::size_t>(q)][c - 1] = t.coefficientSums[c];
      reached = reached || t.coefficientSums[c] != 0;
    }
    if (reached) {
      FitWorkspace::ReachedTuple tuple;
      tuple.q = static_cast<std::uint32_t>(q);
      const TensorIndices x = Tuple(q, rank);
      for (int p = 0; p < 5; ++p) tuple.index[p] = static_cast<std::uint8_t>(x.i[p] - 1);
      w.reached.push_back(tuple);
    }
  }
  // Each row entry's terms in the order of the tuples, the order in which a row is summed.
  for (int c = 0; c < w.n; ++c) {
    for (std::size_t r = 0; r < w.reached.size(); ++r) {
      const Real coefficient = w.rowMap[w.reached[r].q][static_cast<std::size_t>(c)];
      if (coefficient != 0) w.terms.push_back({static_cast<int>(r), coefficient});
    }
    w.termStart.push_back(static_cast<int>(w.terms.size()));
  }
  ResetComponents(t);
  ApplySymmetryEntry(t, SymmetryMode::UnitValues, w.entry, services);
}

/// ResetFit on the entry already in the workspace.
int ResetWithEntry(FitWorkspace& w, TensorState& t, const CoreServices& services) {
  ResetComponents(t);
  w.n = ApplySymmetryEntry(t, SymmetryMode::UnitValues, w.entry, services);
  MakeRowMap(w, t, services);
  const int n = w.n < 0 ? 0 : w.n;
  w.syy = 0;
  for (int i = 1; i <= kMaxFitComponents; ++i) {
    w.b[i] = 0;
    w.x[i] = 0;
    w.sd[i] = 0;
  }
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) w.a[i][j] = 0;
  w.y = 0;
  w.dy = 1;
  w.m = 0;
  w.dof = 0;
  w.chi2 = 0;
  w.ok = true;
  return w.n;
}

}  // namespace

int ResetFit(FitWorkspace& w, TensorState& t, const CoreServices& services) {
  w.entry = ReadSymmetryEntry(services, t.pointGroup, t.kind, t.axial);
  return ResetWithEntry(w, t, services);
}

namespace {

/// The row f[0..n-1] (w.f[1..n] for one measurement at a time, or a row of a batch) from the
/// measuring directions: `direction(d, u)` gives direction d (1..D) as read,
/// as a pointer to its three cosines (written into u, or held elsewhere for as long as the
/// call), asked for in order and only as far as the positions need it. Clears w.ok, with its
/// notice, at a direction whose three cosines are all 0.
template <typename DirectionOf>
void RowFromDirections(FitWorkspace& w, TensorState& t, const DirectionOf& direction, Real* f,
                       const CoreServices& services) {
  if (w.rowMap.empty()) MakeRowMap(w, t, services);

  // Each direction is normalised once, as it is read; a position that shares the direction of
  // the one before it takes the normalised cosines. Only the positions within the rank are read
  // below (a rank below 1 counts as 1, its one position at index 1).
  static constexpr Direction kIndexOne = {1, 0, 0};
  std::array<Direction, 5> read;
  std::array<const Real*, 5> slot;
  slot[0] = kIndexOne.data();
  int d = 0;
  for (int p = 0; p < t.rank && p < 5; ++p) {
    if (w.flags[p] != 0 && p != 0) {
      slot[p] = slot[p - 1];
      continue;
    }
    Direction& u = read[static_cast<std::size_t>(d)];
    const Real* v = direction(++d, u);
    slot[p] = v;
    const Real sum = std::fabs(v[0]) + std::fabs(v[1]) + std::fabs(v[2]);
    if (sum == 0) {
      services.Tell(kMsgDirectionMissing);
      w.ok = false;
      return;
    }
    // A unit vector as typed (an axis, say) stays as it is: its length is exactly 1.
    const Real squared = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    if (squared == 1) continue;
    const Real length = std::sqrt(squared);
    for (int i = 0; i < 3; ++i) u[i] = v[i] / length;
    slot[p] = u.data();
  }

  // Every component holds the product of the measuring cosines of its indices; the row is the
  // run's linear map applied to those products. Components that no independent one reaches
  // would add exact zeros: only the reached ones are visited. (The positions beyond the rank
  // contribute factors of exactly 1, left out.) Each entry is summed in the order of the
  // components, in a register.
  const int rank = t.rank < 1 ? 1 : (t.rank > 5 ? 5 : t.rank);
  std::array<Real, kMaxTuples> products;
  for (std::size_t r = 0; r < w.reached.size(); ++r) {
    const FitWorkspace::ReachedTuple& tuple = w.reached[r];
    Real product = slot[0][tuple.index[0]];
    for (int p = 1; p < rank; ++p) product *= slot[p][tuple.index[p]];
    products[r] = product;
  }
  const FitWorkspace::Term* term = w.terms.data();
  for (int c = 0; c < w.n; ++c) {
    const FitWorkspace::Term* const end = w.terms.data() + w.termStart[c + 1];
    Real sum = 0;
    for (; term < end; ++term)
      sum += products[static_cast<std::size_t>(term->tuple)] * term->coefficient;
    f[c] = sum;
  }
}

/// dy, or 1 with its notice when it is not > 0.
Real CheckedError(Real dy, const CoreServices& services) {
  if (dy > 0) return dy;
  services.Tell(kMsgBadErrors);
  return 1;
}

/// y and dy of the current measurement, the error checked.
void SetValue(FitWorkspace& w, Real y, Real dy, const CoreServices& services) {
  w.y = y;
  w.dy = CheckedError(dy, services);
}

/// The weight 1 / dy^2 of a measurement's error.
Real WeightOf(FitWorkspace& w, Real dy) {
  // Measurements mostly share their error: its weight is worked out again only when it changes.
  if (!(dy == w.weightedDy)) {
    w.weightedDy = dy;
    w.weight = 1 / dy / dy;
  }
  return w.weight;
}

/// Adds the measurement with row w.f, value y and error dy to the normal equations.
void AddToSums(FitWorkspace& w, Real y, Real dy) {
  const Real weight = WeightOf(w, dy);
  for (int i = 1; i <= w.n; ++i) w.b[i] += y * w.f[i] * weight;
  // The normal matrix is symmetric, f[i] f[j] and f[j] f[i] being the same product: its upper
  // triangle is summed here and mirrored when the sums are complete.
  for (int i = 1; i <= w.n; ++i)
    for (int j = i; j <= w.n; ++j) w.a[i][j] += w.f[i] * w.f[j] * weight;
  w.syy += y * y * weight;
  ++w.m;
}

/// AddToSums for a batch of `count` rows, each f[0..n-1], y and the weight one after the other:
/// the same sums in the same order, but each sum stays in a register over the whole batch
/// instead of going to memory and back for every measurement.
template <int N>
void AddSmallRowsToSums(FitWorkspace& w, const Real* rows, int count);

void AddRowsToSums(FitWorkspace& w, const Real* rows, int count) {
  // Rows of one to three entries (the second-rank properties of every crystal system with a
  // symmetry axis or three mirror planes) are summed with their sums known at compile time.
  if (w.n == 1) return AddSmallRowsToSums<1>(w, rows, count);
  if (w.n == 2) return AddSmallRowsToSums<2>(w, rows, count);
  if (w.n == 3) return AddSmallRowsToSums<3>(w, rows, count);
  const int n = w.n;
  const std::ptrdiff_t stride = n + 2;
  const Real* const end = rows + count * stride;
  for (int i = 0; i < n; ++i) {
    Real b = w.b[i + 1];
    for (const Real* r = rows; r < end; r += stride) b += r[n] * r[i] * r[n + 1];
    w.b[i + 1] = b;
  }
  // Two sums at a time, so that the additions of one wait less for those of the other.
  for (int i = 0; i < n; ++i) {
    int j = i;
    for (; j + 1 < n; j += 2) {
      Real a0 = w.a[i + 1][j + 1], a1 = w.a[i + 1][j + 2];
      for (const Real* r = rows; r < end; r += stride) {
        a0 += r[i] * r[j] * r[n + 1];
        a1 += r[i] * r[j + 1] * r[n + 1];
      }
      w.a[i + 1][j + 1] = a0;
      w.a[i + 1][j + 2] = a1;
    }
    if (j < n) {
      Real a = w.a[i + 1][j + 1];
      for (const Real* r = rows; r < end; r += stride) a += r[i] * r[j] * r[n + 1];
      w.a[i + 1][j + 1] = a;
    }
  }
  Real syy = w.syy;
  for (const Real* r = rows; r < end; r += stride) syy += r[n] * r[n] * r[n + 1];
  w.syy = syy;
  w.m += count;
}

/// AddRowsToSums for rows of N entries: the right sides and syy in one pass over the rows, the
/// normal matrix in another, each row's numbers loaded once per pass.
template <int N>
void AddSmallRowsToSums(FitWorkspace& w, const Real* rows, int count) {
  constexpr int kStride = N + 2;
  const Real* const end = rows + count * kStride;
  std::array<Real, N> b;
  for (int i = 0; i < N; ++i) b[i] = w.b[i + 1];
  Real syy = w.syy;
  for (const Real* r = rows; r < end; r += kStride) {
    const Real y = r[N], weight = r[N + 1];
    for (int i = 0; i < N; ++i) b[i] += y * r[i] * weight;
    syy += y * y * weight;
  }
  for (int i = 0; i < N; ++i) w.b[i + 1] = b[i];
  w.syy = syy;
  std::array<Real, N*(N + 1) / 2> a;
  for (int i = 0, k = 0; i < N; ++i)
    for (int j = i; j < N; ++j) a[k++] = w.a[i + 1][j + 1];
  for (const Real* r = rows; r < end; r += kStride) {
    const Real weight = r[N + 1];
    for (int i = 0, k = 0; i < N; ++i)
      for (int j = i; j < N; ++j) a[k++] += r[i] * r[j] * weight;
  }
  for (int i = 0, k = 0; i < N; ++i)
    for (int j = i; j < N; ++j) w.a[i + 1][j + 1] = a[k++];
  w.m += count;
}

/// The lower triangle of the normal matrix from its upper one.
void MirrorNormalMatrix(FitWorkspace& w) {
  for (int i = 1; i <= w.n; ++i)
    for (int j = 1; j < i; ++j) w.a[i][j] = w.a[j][i];
}

}  // namespace

void BuildCoefficientRow(FitWorkspace& w, TensorState& t, const FitCells& cells, int k,
                         const CoreServices& services) {
  RowFromDirections(
      w, t,
      [&](int d, Direction& u) {
        for (int c = 0; c < 3; ++c)
          u[c] = ParseReal(cells.Cosine(k, d, c), services.decimalSeparator);
        return u.data();
      },
      w.f.data() + 1, services);
}

void ReadMeasurement(FitWorkspace& w, TensorState& t, const FitCells& cells, int k,
                     const CoreServices& services) {
  BuildCoefficientRow(w, t, cells, k, services);
  if (!w.ok) return;
  const Real y = ParseReal(cells.Value(k, 0), services.decimalSeparator);
  const Real dy = ParseReal(cells.Value(k, 1), services.decimalSeparator);
  SetValue(w, y, dy, services);
}

void AccumulateNormalEquations(FitWorkspace& w, TensorState& t, const FitCells& cells,
                               const CoreServices& services) {
  // The window always keeps one measurement; a source without any still gets one read, which
  // then fails on its empty cells rather than looping.
  const int count = cells.MeasurementCount() < 1 ? 1 : cells.MeasurementCount();
  w.m = 0;
  do {
    ReadMeasurement(w, t, cells, w.m, services);
    if (!w.ok) return;
    AddToSums(w, w.y, w.dy);
  } while (w.m < count);
  MirrorNormalMatrix(w);
}

void AccumulateNormalEquations(FitWorkspace& w, TensorState& t, const MeasurementFeed& feed,
                               const CoreServices& services) {
  w.m = 0;
  // The rows are made as the measurements come and summed in batches (AddRowsToSums).
  const int n = w.n < 0 ? 0 : w.n;
  const int width = 3 * w.directions + 2;
  const std::ptrdiff_t stride = n + 2;
  constexpr int kBatch = 256;
  std::vector<Real> rows(static_cast<std::size_t>(kBatch * stride));
  int count = 0;
  feed([&](const Real* numbers) {
    if (!w.ok) return;  // stopped at a missing direction: the rest is read but not used
    // The feed's numbers are used where they stand.
    Real* row = rows.data() + count * stride;
    RowFromDirections(
        w, t, [&](int d, Direction&) { return numbers + 3 * d - 3; }, row, services);
    if (!w.ok) return;
    row[n] = numbers[width - 2];
    row[n + 1] = WeightOf(w, CheckedError(numbers[width - 1], services));
    if (++count == kBatch) {
      AddRowsToSums(w, rows.data(), count);
      count = 0;
    }
  });
  AddRowsToSums(w, rows.data(), count);
  MirrorNormalMatrix(w);
}

void InvertInPlace(FitMatrix& a, int n, bool& ok) {
  std::array<int, kFitSize> rowOfColumn{};  // the row whose pivot was in this column, 0 = none
  std::array<int, kFitSize> pivotColumn{};
  FitVector h{};
  for (int i = 1; i <= n; ++i) {
    Real pivot = 0;
    int col = 0;
    for (int j = 1; j <= n; ++j)
      if (rowOfColumn[j] == 0 && std::fabs(a[i][j]) > std::fabs(pivot)) {
        pivot = a[i][j];
        col = j;
      }
    if (pivot == 0) {
      ok = false;
      return;
    }
    rowOfColumn[col] = i;
    pivotColumn[i] = col;
    for (int j = 1; j <= n; ++j)
      if (j != col) {
        h[j] = -a[i][j] / pivot;
        a[i][j] = h[j];
      }
    a[i][col] = 1 / pivot;
    for (int k = 1; k <= n; ++k) {
      if (k == i) continue;
      for (int j = 1; j <= n; ++j)
        if (j != col) a[k][j] = a[k][j] + a[k][col] * h[j];
    }
    for (int k = 1; k <= n; ++k)
      if (k != i) a[k][col] = a[k][col] / pivot;
  }
  // Each exchange step swapped the roles of one unknown and one right side; putting rows and
  // columns back in order gives the inverse.
  FitMatrix result{};
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= n; ++q) result[p][q] = a[rowOfColumn[p]][pivotColumn[q]];
  for (int p = 1; p <= n; ++p)
    for (int q = 1; q <= n; ++q) a[p][q] = result[p][q];
}

void SolveAndDeriveDeviations(FitWorkspace& w) {
  const int n = w.n;
  for (int i = 1; i <= n; ++i) {
    Real sum = 0;
    for (int j = 1; j <= n; ++j) sum += w.c[i][j] * w.b[j];
    w.x[i] = sum;
  }
  Real s = 0, q = 0;
  for (int i = 1; i <= n; ++i) {
    s += w.x[i] * w.b[i];
    for (int j = 1; j <= n; ++j) q += w.x[i] * w.a[i][j] * w.x[j];
  }
  w.dof = w.m - n;
  w.chi2 = q + w.syy - 2 * s;
  for (int c = 1; c <= n; ++c) {
    const Real v = w.chi2 * w.c[c][c];
    if (!(v > 0) || w.m == n) {
      w.ok = false;
      return;
    }
    w.sd[c] = std::sqrt(v / w.dof);
  }
}

namespace {

/// The steps of a run after the size check; the tensor serves as scratch space throughout.
/// `accumulate` sums the normal equations from the measurements.
template <typename Accumulate>
FitOutcome RunSteps(FitWorkspace& w, TensorState& t, const Accumulate& accumulate,
                    const CoreServices& services) {
  if (ResetWithEntry(w, t, services) <= 0) return FitOutcome::CloseRequested;

  accumulate();
  if (!w.ok) return FitOutcome::Stopped;
  if (w.m < w.n) {
    services.Tell(kMsgTooFewData);
    return FitOutcome::CloseRequested;
  }
  for (int c = 1; c <= w.n; ++c) {
    if (w.a[c][c] == 0) {
      services.Tell(kMsgNotDerivable);
      return FitOutcome::CloseRequested;
    }
    w.c[c] = w.a[c];
  }
  w.ok = true;
  InvertInPlace(w.c, w.n, w.ok);
  if (!w.ok) {
    services.Tell(kMsgNotInvertible);
    return FitOutcome::CloseRequested;
  }
  SolveAndDeriveDeviations(w);
  if (!w.ok) {
    services.Tell(kMsgNoDeviations);
    w.ok = true;
    for (int c = 1; c <= w.n; ++c) w.sd[c] = 0;
  }
  return FitOutcome::Done;
}

}  // namespace

namespace {

/// RunFit with the normal equations summed by `accumulate`.
template <typename Accumulate>
FitOutcome RunChecked(FitWorkspace& w, TensorState& t, const Accumulate& accumulate,
                      const CoreServices& services) {
  // An entry beyond the fit's arrays is refused before anything changes.
  w.entry = ReadSymmetryEntry(services, t.pointGroup, t.kind, t.axial);
  std::vector<std::string> relationTexts;
  const int relations = SplitRelations(w.entry.text, relationTexts);
  if (relations > kMaxFitComponents) {
    services.Tell(TooManyComponentsMessage(relations));
    return FitOutcome::Stopped;
  }

  // The run uses the components and the label and value texts as scratch space. They are put
  // back however the run ends, so that a stopped run leaves no intermediate products behind;
  // a finished run's result reaches the tensor through ApplyFitResult.
  const TensorState saved = t;
  FitOutcome outcome;
  try {
    outcome = RunSteps(w, t, accumulate, services);
  } catch (...) {
    t = saved;
    throw;
  }
  t = saved;
  if (outcome == FitOutcome::Done)
    for (int c = 1; c <= w.n; ++c) t.independentInput[c] = w.x[c];
  return outcome;
}

}  // namespace

FitOutcome RunFit(FitWorkspace& w, TensorState& t, const FitCells& cells,
                  const CoreServices& services) {
  return RunChecked(
      w, t, [&] { AccumulateNormalEquations(w, t, cells, services); }, services);
}

FitOutcome RunFit(FitWorkspace& w, TensorState& t, const MeasurementFeed& feed,
                  const CoreServices& services) {
  return RunChecked(
      w, t, [&] { AccumulateNormalEquations(w, t, feed, services); }, services);
}

}  // namespace quillmere
