#include "tensor/tensor_state.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

constexpr std::array<TensorKindInfo, kKindCount> kKinds = {{
    {0, "(i)", 1, 3, 1},
    {7, "ij", 2, 3, 3},
    {1, "(ij)", 2, 6, 1},
    {8, "ijk", 3, 9, 3},
    {2, "(ij)k", 3, 3, 6},
    {5, "i(jk)", 3, 6, 3},
    {12, "[ij]k", 3, 0, 0},
    {9, "ijkl", 4, 9, 9},
    {4, "(ij)kl", 4, 9, 6},
    {6, "(ij)(kl)", 4, 6, 6},
    {3, "((ij)(kl))", 4, 6, 6},
    {10, "ijklm", 5, 27, 9},
}};

constexpr std::array<PointGroupInfo, kPointGroupCount> kGroups = {{
    {1, "1b", "triclinic", "-1"},       {2, "1", "triclinic", "1"},
    {3, "2/m", "monoclinic", "2/m"},    {4, "2", "monoclinic", "2"},
    {5, "m", "monoclinic", "m"},        {6, "2/mm", "orthorhombic", "mmm"},
    {7, "mm2", "orthorhombic", "mm2"},  {8, "22", "orthorhombic", "222"},
    {9, "3bm", "trigonal", "-3m"},      {10, "3m", "trigonal", "3m"},
    {11, "3b", "trigonal", "-3"},       {12, "32", "trigonal", "32"},
    {13, "3", "trigonal", "3"},         {14, "4/mm", "tetragonal", "4/mmm"},
    {15, "4m", "tetragonal", "4mm"},    {16, "4/m", "tetragonal", "4/m"},
    {17, "42", "tetragonal", "422"},    {18, "4b2", "tetragonal", "-42m"},
    {19, "4", "tetragonal", "4"},       {20, "4b", "tetragonal", "-4"},
    {21, "6/mm", "hexagonal", "6/mmm"}, {22, "6m", "hexagonal", "6mm"},
    {23, "6/m", "hexagonal", "6/m"},    {24, "62", "hexagonal", "622"},
    {25, "6b2", "hexagonal", "-62m"},   {26, "6", "hexagonal", "6"},
    {27, "6b", "hexagonal", "-6"},      {28, "4/m3", "cubic", "m-3m"},
    {29, "m3", "cubic", "m-3"},         {30, "43", "cubic", "432"},
    {31, "4b3", "cubic", "-43m"},       {32, "23", "cubic", "23"},
}};

std::string Digits(int a) {
  return std::string(1, static_cast<char>('0' + a));
}
std::string Digits(int a, int b) {
  return Digits(a) + Digits(b);
}
std::string Digits(int a, int b, int c) {
  return Digits(a) + Digits(b) + Digits(c);
}

}  // namespace

const std::array<TensorKindInfo, kKindCount>& TensorKinds() {
  return kKinds;
}

const TensorKindInfo* FindKind(int code) {
  for (const TensorKindInfo& k : kKinds)
    if (k.code == code) return &k;
  return nullptr;
}

int KindListIndex(int code) {
  for (int i = 0; i < kKindCount; ++i)
    if (kKinds[i].code == code) return i;
  return -1;
}

int RankOfKind(int code) {
  const TensorKindInfo* k = FindKind(code);
  return k ? k->rank : 0;
}

void SetKind(TensorState& t, int code) {
  t.kind = code;
  t.rank = RankOfKind(code);
}

const std::array<PointGroupInfo, kPointGroupCount>& PointGroups() {
  return kGroups;
}

std::string PointGroupName(int number) {
  if (number < 1 || number > kPointGroupCount) return " ";
  return kGroups[number - 1].storedName;
}

std::string DisplayedGroupName(const std::string& storedName, bool* barred) {
  const bool bar = storedName.size() >= 2 && storedName[1] == 'b';
  if (barred) *barred = bar;
  if (!bar) return storedName;
  return storedName.substr(0, 1) + storedName.substr(2);
}

std::string GroupNameWithOverline(int number) {
  bool barred = false;
  std::string shown = DisplayedGroupName(PointGroupName(number), &barred);
  if (barred) shown.insert(1, "\xCC\x85");  // U+0305 COMBINING OVERLINE after the first character
  return shown;
}

Real Sign(Real x) {
  return x >= 0 ? 1.0L : -1.0L;
}

Real Log10(Real x) {
  return std::log(x) / std::log(10.0L);
}

long long RoundHalfEven(Real x) {
  if (!std::isfinite(x)) return 0;
  return static_cast<long long>(std::nearbyint(x));  // default rounding mode: halves to even
}

Real Power(Real b, Real e) {
  if (e == 0) return 1.0L;
  if (e == 1) return b;
  if (b > 0) return std::pow(b, e);
  if (b < 0) {
    Real magnitude = std::pow(-b, e);
    return (RoundHalfEven(e) % 2 != 0) ? -magnitude : magnitude;
  }
  return 0.0L;
}

int DecadeExponent(Real x) {
  if (x == 0 || !std::isfinite(x)) return 0;
  // The magnitude decides: a negative argument has the decade of its absolute value.
  long long e = RoundHalfEven(Log10(std::fabs(x)));
  return static_cast<int>(std::clamp<long long>(e, -4900, 4900));
}

Real DecadeOf(TensorState& t, Real x) {
  t.exponent = DecadeExponent(x);
  if (t.exponent == 0) return 1.0L;
  return std::pow(10.0L, static_cast<Real>(t.exponent));
}

void VoigtPair(int n, int& i, int& j) {
  static constexpr int kI[6] = {1, 2, 3, 2, 1, 1};
  static constexpr int kJ[6] = {1, 2, 3, 3, 3, 2};
  if (n < 1 || n > 6) {
    i = j = 1;
    return;
  }
  i = kI[n - 1];
  j = kJ[n - 1];
}

void IndexPair(int n, int& i, int& j) {
  if (n < 1 || n > 9) {
    i = j = 1;
    return;
  }
  i = (n - 1) / 3 + 1;
  j = (n - 1) % 3 + 1;
}

void IndexTriple(int n, int& i, int& j, int& k) {
  if (n < 1 || n > 27) {
    i = j = k = 1;
    return;
  }
  k = (n - 1) / 9 + 1;
  IndexPair(n - 9 * (k - 1), i, j);
}

void ComponentGridShape(TensorState& t, int kind) {
  const TensorKindInfo* k = FindKind(kind);
  if (!k || k->gridColumns == 0) return;
  t.gridColumns = k->gridColumns;
  t.gridRows = k->gridRows;
}

GridCell ComponentGridCell(int kind, int row, int column) {
  GridCell cell;
  int* x = cell.indices.i;
  int a = 1, b = 1, c = 1, d = 1, e = 1;
  switch (kind) {
    case 0:
      x[0] = (column >= 1 && column <= 3) ? column : 1;
      cell.columnLabel = Digits(x[0]);
      break;
    case 1:
      VoigtPair(column, x[0], x[1]);
      cell.columnLabel = Digits(x[0], x[1]);
      break;
    case 7:
      x[0] = (row >= 1 && row <= 3) ? row : 1;
      x[1] = (column >= 1 && column <= 3) ? column : 1;
      cell.columnLabel = Digits(x[1]);
      cell.rowLabel = Digits(x[0]);
      break;
    case 2:
      VoigtPair(row, x[0], x[1]);
      x[2] = (column >= 1 && column <= 3) ? column : 1;
      cell.columnLabel = Digits(x[2]);
      cell.rowLabel = Digits(x[0], x[1]);
      break;
    case 5:
    case 8:
      x[0] = (row >= 1 && row <= 3) ? row : 1;
      if (kind == 5)
        VoigtPair(column, x[1], x[2]);
      else
        IndexPair(column, x[1], x[2]);
      cell.columnLabel = Digits(x[1], x[2]);
      cell.rowLabel = Digits(x[0]);
      break;
    case 3:
    case 6:
    case 4:
    case 9:
      if (kind == 9)
        IndexPair(row, a, b);
      else
        VoigtPair(row, a, b);
      if (kind == 3 || kind == 6)
        VoigtPair(column, c, d);
      else
        IndexPair(column, c, d);
      x[0] = a, x[1] = b, x[2] = c, x[3] = d;
      cell.columnLabel = Digits(c, d);
      cell.rowLabel = Digits(a, b);
      break;
    case 10:
      IndexPair(row, a, b);
      IndexTriple(column, c, d, e);
      x[0] = a, x[1] = b, x[2] = c, x[3] = d, x[4] = e;
      cell.columnLabel = Digits(c, d, e);
      cell.rowLabel = Digits(a, b);
      break;
    default:
      break;
  }
  return cell;
}

void ResetComponents(TensorState& t) {
  t.components.fill(0.0L);
}

namespace {

bool ValidIndex(int i) {
  return i >= 1 && i <= 3;
}

/// The distinct index orders of the symmetry class of (i, j, k, l) under kind 3's eight
/// permutations, the given order first.
int ElasticOrders(int i, int j, int k, int l, int orders[8][4]) {
  const int all[8][4] = {{i, j, k, l}, {j, i, k, l}, {i, j, l, k}, {j, i, l, k},
                         {k, l, i, j}, {l, k, i, j}, {k, l, j, i}, {l, k, j, i}};
  int n = 0;
  for (const auto& o : all) {
    bool seen = false;
    for (int m = 0; m < n && !seen; ++m) seen = std::equal(o, o + 4, orders[m]);
    if (!seen) std::copy(o, o + 4, orders[n++]);
  }
  return n;
}

}  // namespace

void CopyToPartners(TensorState& t, int i, int j, int k, int l) {
  if (!ValidIndex(i) || !ValidIndex(j) || !ValidIndex(k) || !ValidIndex(l)) return;
  const Real v = t.At(i, j, k, l, 1);
  switch (t.kind) {
    case 1:
    case 2:
    case 4:
      t.At(j, i, k, l, 1) = v;
      break;
    case 5:
      t.At(i, k, j, l, 1) = v;
      break;
    case 6:
      t.At(j, i, k, l, 1) = v;
      t.At(i, j, l, k, 1) = v;
      t.At(j, i, l, k, 1) = v;
      break;
    case 3:
      t.At(j, i, k, l, 1) = v;
      t.At(i, j, l, k, 1) = v;
      t.At(j, i, l, k, 1) = v;
      t.At(k, l, i, j, 1) = v;
      t.At(l, k, i, j, 1) = v;
      t.At(k, l, j, i, 1) = v;
      t.At(l, k, j, i, 1) = v;
      break;
    case 12:
      t.At(j, i, k, l, 1) = -v;
      break;
    default:
      break;
  }
}

void AddPartners(const TensorState& t, int i, int j, int k, int l, Real& accumulator) {
  if (!ValidIndex(i) || !ValidIndex(j) || !ValidIndex(k) || !ValidIndex(l)) return;
  switch (t.kind) {
    case 1:
    case 2:
    case 4:
      if (i != j) accumulator += t.At(j, i, k, l, 1);
      break;
    case 5:
      if (j != k) accumulator += t.At(i, k, j, l, 1);
      break;
    case 6:
      if (i != j) accumulator += t.At(j, i, k, l, 1);
      if (k != l) accumulator += t.At(i, j, l, k, 1);
      if (i != j && k != l) accumulator += t.At(j, i, l, k, 1);
      break;
    case 3: {
      int orders[8][4];
      const int n = ElasticOrders(i, j, k, l, orders);
      for (int m = 1; m < n; ++m)
        accumulator += t.At(orders[m][0], orders[m][1], orders[m][2], orders[m][3], 1);
      break;
    }
    default:
      break;
  }
}

Real LargestAbsoluteComponent(const TensorState& t) {
  Real largest = 0;
  for (Real v : t.components) largest = std::max(largest, std::fabs(v));
  return largest;
}

}  // namespace quillmere
