// Weighted linear least-squares fit of the independent tensor components to measured values.
//
// Each measurement is a value y with its error dy, observed along one to three measuring
// directions; the tensor contracted with those directions predicts y. The symmetry table ties
// every component to the independent ones, so each prediction is linear in them and the fit is
// solved through its normal equations (the "Hesse matrix" of the messages).
//
// Errors: the table's input/output errors and the conversion error of a cell that is not a
// number are thrown (std::runtime_error with the user's text); everything the user is told
// otherwise goes through CoreServices::messages. A run that does not finish leaves the tensor as
// it was before the run.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tensor/symmetry_table.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

// The program's notices of a fit run.
inline constexpr const char* kMsgDirectionMissing = "at least one direction not specified";
inline constexpr const char* kMsgBadErrors = "one or more errors dy where <=0 and set to 1";
inline constexpr const char* kMsgTooFewData =
    "Number of data less than independent tensor components";
inline constexpr const char* kMsgNotDerivable = "One or more tensor components are not derivable";
inline constexpr const char* kMsgNotInvertible = "Could not invert Hesse matrix";
inline constexpr const char* kMsgNoDeviations = "Not able to derive standard deviations";

/// Index direction flags, one per index position 1..5 (array element 0 is position 1): 0 means
/// the position takes a new measuring direction, 1 that it uses the direction of the position
/// before it.
using IndexDirectionFlags = std::array<int, 5>;

/// Number of measuring directions per measurement: the zero flags among all five positions
/// (position 1 always starts a direction).
int DirectionCount(const IndexDirectionFlags& flags);

/// Where the fit finds its measurements as texts: the fit window's grids, or a file read by the
/// command-line tool. Measurements count from 0, their directions from 1; a measurement beyond
/// the count reads as empty texts.
class FitCells {
 public:
  virtual ~FitCells() = default;
  /// The number of measurements.
  virtual int MeasurementCount() const = 0;
  /// Cosine `axis` (0..2) of direction d (1..D) of measurement k.
  virtual std::string Cosine(int k, int d, int axis) const = 0;
  /// y (`column` 0) or dy (`column` 1) of measurement k.
  virtual std::string Value(int k, int column) const = 0;
};

constexpr int kFitSize = kMaxFitComponents + 1;  ///< arrays numbered 1..21, element 0 unused
using FitVector = std::array<Real, kFitSize>;
using FitMatrix = std::array<FitVector, kFitSize>;

/// The working arrays of one fit window. Only the leading n entries (numbered from 1) are used.
struct FitWorkspace {
  explicit FitWorkspace(const IndexDirectionFlags& f) : flags(f), directions(DirectionCount(f)) {}

  IndexDirectionFlags flags;  ///< the measuring geometry, fixed when the window is created
  int directions;             ///< D, counted once at creation

  int n = 0;    ///< independent components
  int m = 0;    ///< measurements read in the current run
  int dof = 0;  ///< m - n
  FitVector f{};
  Real y = 0, dy = 1;
  Real weightedDy = 0, weight = 0;  ///< the last dy summed and its weight 1 / dy^2
  FitMatrix a{};                    ///< normal matrix: sum of f[i] f[j] / dy^2
  FitVector b{};                    ///< sum of y f[i] / dy^2
  Real syy = 0;                     ///< sum of y^2 / dy^2
  FitMatrix c{};                    ///< copy of a, inverted in place
  FitVector x{};  ///< fitted components in the display unit (10^exponent times unitText)
  FitVector sd{};
  Real chi2 = 0;
  bool ok = true;
  /// The table entry of the run, read once at its start: a run is one use of the table.
  SymmetryEntry entry;
  /// The coefficient row as a linear map, worked out from the entry once per run:
  /// rowMap[q][c - 1] is the coefficient of independent component c that a unit value of
  /// component q (of the 3^rank index tuples, the last index running fastest) gives.
  std::vector<std::array<Real, kMaxFitComponents>> rowMap;
  /// The tuples q of rowMap that reach some independent component, in increasing order, with
  /// the index (0..2) each position takes: a measurement's row sums over these alone.
  struct ReachedTuple {
    std::uint32_t q = 0;
    std::array<std::uint8_t, 5> index{};
  };
  std::vector<ReachedTuple> reached;
  /// Row entry c (0-based) is the sum of the products of the measuring cosines of the reached
  /// tuples terms[k].tuple (places in `reached`, increasing) times terms[k].coefficient, for k
  /// from termStart[c] to termStart[c + 1] - 1.
  struct Term {
    int tuple = 0;
    Real coefficient = 0;
  };
  std::vector<Term> terms;
  std::vector<int> termStart;
};

/// How a run ended.
enum class FitOutcome {
  Done,            ///< results in the workspace (deviations may be 0, with their message)
  Stopped,         ///< a notice was shown; the window stays as it is
  CloseRequested,  ///< a notice was shown and the window is asked to close (with confirmation)
};

/// The whole run: ResetFit, the normal equations, the checks, the inversion and the solution.
/// Leaves x in the workspace and in t.independentInput; the tensor itself is changed only by
/// ApplyFitResult. On any other outcome, and when a cell or the table throws, the tensor is put
/// back as it was at the start.
FitOutcome RunFit(FitWorkspace& w, TensorState& t, const FitCells& cells,
                  const CoreServices& services);

/// Reads the table entry into w.entry, zeroes the components, learns n from the entry (returned;
/// 0 or -1 with the table's own notice) and clears the sums.
int ResetFit(FitWorkspace& w, TensorState& t, const CoreServices& services);

/// Fills w.f[1..n] for measurement k: the coefficient of each independent component in the
/// predicted value, walking w.entry (the table is not read again). Directions are normalised; a
/// direction whose three cosines are all 0 shows its notice, clears w.ok and leaves f untouched.
void BuildCoefficientRow(FitWorkspace& w, TensorState& t, const FitCells& cells, int k,
                         const CoreServices& services);

/// BuildCoefficientRow, then y and dy of measurement k; a dy that is not > 0 becomes 1 with its
/// notice (once per such measurement).
void ReadMeasurement(FitWorkspace& w, TensorState& t, const FitCells& cells, int k,
                     const CoreServices& services);

/// Reads every measurement (at least one) and sums the normal equations; w.m ends as the number
/// of measurements read. Stops early, with w.ok clear, at a missing direction.
void AccumulateNormalEquations(FitWorkspace& w, TensorState& t, const FitCells& cells,
                               const CoreServices& services);

/// Measurements handed over one at a time, in order, each as 3 D + 2 numbers: the D measuring
/// directions' cosines (direction 1 first), then y and dy. The feed calls `add` once per
/// measurement; a file read this way is never held whole.
using MeasurementFeed = std::function<void(const std::function<void(const Real* numbers)>& add)>;

/// AccumulateNormalEquations on a feed: the same rows and sums, in the same order, as on cells
/// holding the same measurements. A feed without any measurement leaves w.m at 0.
void AccumulateNormalEquations(FitWorkspace& w, TensorState& t, const MeasurementFeed& feed,
                               const CoreServices& services);

/// RunFit on a feed (a measurement file of any length, read once as the run goes).
FitOutcome RunFit(FitWorkspace& w, TensorState& t, const MeasurementFeed& feed,
                  const CoreServices& services);

/// Gauss-Jordan inversion of the leading n x n block (numbered from 1) with pivot search along
/// each row; the first of equal magnitudes wins. An exactly zero pivot clears `ok` and leaves
/// the matrix partly transformed; no tolerance is applied.
void InvertInPlace(FitMatrix& a, int n, bool& ok);

/// x = C b, chi2, dof and the deviations sd = sqrt(chi2 C[c][c] / dof). Clears w.ok when
/// chi2 C[c][c] > 0 does not hold for some c, or when m = n.
void SolveAndDeriveDeviations(FitWorkspace& w);

}  // namespace quillmere
