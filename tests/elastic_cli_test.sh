#!/usr/bin/env bash
# quillmere-cli elastic and the --quantity option of render, export and map, end to end.
# Usage: elastic_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"
copper=$examples/copper-elastic.ten

# Copper: E from 66.7 GPa along <100> to 191.1 GPa along <111>.
expect_status 0 "$cli" elastic "$copper"
grep -q "min *66.6888 GPa *along \[1.0000, 0.0000, 0.0000\]" "$dir/out" || fail "E min: $(cat "$dir/out")"
grep -q "max *191.15 GPa *along \[0.5774, 0.5774, 0.5774\]" "$dir/out" || fail "E max"
grep -q "mechanically stable" "$dir/out" || fail "stability line"
grep -q "Sound velocities" "$dir/out" && fail "velocities without a density"

expect_status 0 "$cli" elastic "$copper" --json --density 8960 -o "$dir/copper.json"
for key in stiffness_voigt compliance_voigt eigenvalues stable averages voigt reuss hill bulk \
  shear youngs poisson universal_anisotropy youngs_modulus linear_compressibility \
  shear_modulus poisson_ratio velocities '"p"' s1 s2 perpendicular polarisation anisotropy; do
  grep -q "${key//\"/}\"" "$dir/copper.json" || fail "JSON key $key missing"
done
if command -v jq >/dev/null; then
  jq -e '.youngs_modulus.min.value > 66.68 and .youngs_modulus.max.value < 191.16 and .stable' \
    "$dir/copper.json" >/dev/null || fail "jq cannot read the JSON or finds wrong values"
fi

# A unit the program does not know fails without its size; with its size and the role it works.
# (The example files end their lines with CR LF.)
sed 's/ GPa\r$/ eV\/A^3\r/' "$copper" >"$dir/ev.ten"
expect_status 1 "$cli" elastic "$dir/ev.ten"
grep -q "GPa, TPa, bar" "$dir/err" || fail "the unknown unit's message lists no known units"
expect_status 0 "$cli" elastic "$dir/ev.ten" --stiffness --unit-size 1.602e11
grep -q "max *30622" "$dir/out" || fail "unit size not applied: $(grep -A2 "^Young" "$dir/out")"
expect_status 1 "$cli" elastic "$examples/quartz-piezoelectric.ten"
for args in "--density -3" "--density x" "--stiffness --compliance" "--unit-size 0" "--quantity young"; do
  expect_status 2 "$cli" elastic "$copper" $args
done

# Drawn quantities: a picture, a map whose text names the quantity's extremes, a VRML scene.
expect_status 0 "$cli" map "$copper" --quantity young -o "$dir/young.csv" --width 10
awk -F, '/^[-0-9]/ && ($6 < 66.68 || $6 > 191.16) { bad = 1 } END { exit bad }' "$dir/young.csv" ||
  fail "the Young's modulus map leaves 66.7..191.1 GPa"
expect_status 0 "$cli" map "$copper" --quantity poisson-min -o "$dir/nu.pdf"
pdftotext "$dir/nu.pdf" - | grep -q "Smallest value: *-0.1356" || fail "the map misses nu's minimum"
expect_status 0 "$cli" render "$copper" --quantity shear-min -o "$dir/g.png"
expect_status 0 "$cli" export "$copper" --quantity vs2 --density 8960 -o "$dir/vs2.wrl"
grep -q "^#VRML V2.0" "$dir/vs2.wrl" || fail "no VRML scene"
expect_status 2 "$cli" export "$copper" --quantity vp -o "$dir/vp.wrl"
expect_status 2 "$cli" render "$copper" --quantity bulk -o "$dir/x.png"
expect_status 1 "$cli" render "$examples/quartz-piezoelectric.ten" --quantity young -o "$dir/x.png"
[ -e "$dir/x.png" ] && fail "a refused command wrote a picture"

[ "$failures" -eq 0 ] || exit 1
echo "elastic_cli: all checks passed"
