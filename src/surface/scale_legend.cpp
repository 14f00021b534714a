#include "surface/scale_legend.h"

#include "core/utf8_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quillmere {

namespace {

/// 10^e by exact integer powers, so that 10^-2 is the correctly rounded 0.01.
Real PowerOfTen(long long e) {
  Real p = 1;
  for (long long i = 0; i < (e < 0 ? -e : e); ++i) p *= 10;
  return e < 0 ? 1 / p : p;
}

std::string FixedTwo(Real value, char separator) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2Lf", value);
  std::string s = buffer;
  if (separator != '.')
    for (char& c : s)
      if (c == '.') c = separator;
  return s;
}

}  // namespace

NiceStepResult NiceStep(Real lo, Real hi) {
  NiceStepResult r;
  const Real range = hi - lo;
  const long long e = RoundHalfEven(std::log10(range));
  const Real g = PowerOfTen(e);
  const Real c = range / g;
  Real factor = 10;
  if (c < 1)
    factor = 0.1L;
  else if (c < 2)
    factor = 0.2L;
  else if (c < 5)
    factor = 0.5L;
  else if (c < 10)
    factor = 1;
  else if (c < 20)
    factor = 2;
  else if (c < 50)
    factor = 5;
  r.step = factor * g;
  const Real larger = std::fmax(std::fabs(lo), std::fabs(hi));
  r.exponent = static_cast<int>(std::trunc(std::log10(larger)));
  return r;
}

std::vector<ScaleTick> MakeScaleTicks(int lo, int hi, Real scale, const std::string& unitText,
                                      char decimalSeparator) {
  std::vector<ScaleTick> ticks;
  if (!(scale > 0) || !std::isfinite(scale)) return ticks;
  const NiceStepResult ns = NiceStep(0, 3 * scale);
  if (!(ns.step > 0) || !std::isfinite(ns.step)) return ticks;
  const Real unit = PowerOfTen(ns.exponent);
  // The n-th tick is n steps, not a running sum of steps, so that a scale that is a whole
  // number of steps keeps its last tick whatever the rounding of the sum.
  for (int n = 0; ticks.size() + 2 < kMaxScaleTicks; ++n) {
    const Real c = n * ns.step;
    if (c > scale * (1 + 1e-15L)) break;
    ScaleTick t;
    t.position = static_cast<int>(RoundHalfEven((hi - lo) * c / scale + lo));
    t.text = "\"" + FixedTwo(c / unit, decimalSeparator);
    ticks.push_back(t);
  }
  ScaleTick exponent;
  exponent.position = ticks.back().position;
  exponent.text = "^" + std::to_string(ns.exponent);
  ticks.push_back(exponent);
  ScaleTick unitEntry = exponent;
  unitEntry.text = unitText;
  ticks.push_back(unitEntry);
  return ticks;
}

void BuildLegend(SceneList& scene, const Projection& projection, const ViewSettings& v, Real scale,
                 const std::string& unitText, char decimalSeparator) {
  scene.records.resize(scene.count);
  scene.legendCount = 0;
  if (!v.showScale || v.stereo) return;
  const int a = projection.a();
  const std::vector<ScaleTick> ticks =
      MakeScaleTicks(static_cast<int>(RoundHalfEven(0.3L * a)),
                     static_cast<int>(RoundHalfEven(1.3L * a)), scale, unitText, decimalSeparator);
  const std::size_t n = ticks.size();
  for (std::size_t r = 0; r < n; ++r) {
    const Real p = ticks[r].position;
    Real xy[4][2];
    if (r + 2 < n) {  // a tick: a short vertical stroke
      const Real c[4][2] = {{p, 1.3L * a}, {p, 1.35L * a}, {p, 1.35L * a}, {p, 1.3L * a}};
      std::copy(&c[0][0], &c[0][0] + 8, &xy[0][0]);
    } else if (r + 2 == n) {  // the base line, reaching 0.5a beyond the last tick
      const Real c[4][2] = {{0.3L * a, 1.3L * a},
                            {p + 0.5L * a, 1.3L * a},
                            {p + 0.5L * a, 1.3L * a},
                            {0.3L * a, 1.3L * a}};
      std::copy(&c[0][0], &c[0][0] + 8, &xy[0][0]);
    } else {  // the unit text's anchor, an invisible stroke
      const Real c[4][2] = {{0.3L * a, 1.42L * a},
                            {0.4L * a, 1.42L * a},
                            {0.4L * a, 1.42L * a},
                            {0.3L * a, 1.42L * a}};
      std::copy(&c[0][0], &c[0][0] + 8, &xy[0][0]);
    }
    ScenePolygon& rec = scene.records.emplace_back();
    for (int c = 0; c < 4; ++c) {
      rec.corners[c][0] = xy[c][0];
      rec.corners[c][1] = xy[c][1];
      rec.corners[c][2] = 0;
      rec.corners[c][3] = 1;
      rec.screen[c] = projection.ToScreen(xy[c][0], xy[c][1]);
    }
    rec.lineColour = r + 1 == n ? v.background : v.axesColour;
    rec.fillColour = rec.lineColour;
    rec.baseColour[0] = rec.lineColour.red;
    rec.baseColour[1] = rec.lineColour.green;
    rec.baseColour[2] = rec.lineColour.blue;
    rec.label = CutLabel(ticks[r].text, kLabelLength);
    rec.depthKey = kLegendKey;
  }
  scene.legendCount = n;
}

}  // namespace quillmere
