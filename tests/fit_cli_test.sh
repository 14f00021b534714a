#!/usr/bin/env bash
# quillmere-cli fit, end to end on measurement files.
# Usage: fit_cli_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
source "$(dirname "$0")/cli/cli_test_lib.sh"
has() { grep -qE -- "$2" "$dir/$1" || fail "$1 lacks '$2': $(cat "$dir/$1")"; }

# Calcite, point group -3m: thermal expansion 25.0 along the triad axis and -5.6 across it, in
# 10^-6 /K (Nye, Physical Properties of Crystals, ch. VI). Exact values along x, z, [101] and
# [111] (unnormalised): y = a11 (u1^2 + u2^2) + a33 u3^2.
cat >"$dir/calcite.csv" <<'CSV'
# calcite
u1, u2, u3, y, dy
1, 0, 0, -5.6, 0.1
0, 0, 1, 25.0, 0.1
1, 0, 1, 9.7, 0.1
1, 1, 1, 4.6, 0.1
CSV
expect_status 0 "$cli" fit thermal-expansion --group -3m "$dir/calcite.csv" -o "$dir/calcite.ten"
has out '^Thermal Expansion in point group 3̅m \(trigonal\): 4 measurements, 2 independent'
has out '^1/K +10\^-6 +dy$'
has out '^t11=t22 +-5\.60000 '
has out '^t33 +25\.00000 '
has out '^Eigenvalues // eij +ei1 +ei2 +ei3$'
has out '^25\.00000 +0\.00000 +0\.00000 +1\.00000$'
head -2 "$dir/calcite.ten" | grep -q '^1 ' || fail "the written file is no header-layout tensor file"
grep -q '^-5.60000000000000E+0000' "$dir/calcite.ten" || fail "written value of t11"

# The same with semicolons and decimal commas, by the menu caption.
printf '1;0;0;-5,6;0,1\n0;0;1;25;0,1\n1;1;0;-5,6;0,1\n' >"$dir/semi.csv"
expect_status 0 "$cli" fit "Thermal Expansion" --group "-3m" "$dir/semi.csv"
has out '^t33 +25\.00000 '

# A spreadsheet's "CSV UTF-8": byte-order mark before the column names.
printf '\xef\xbb\xbfu1,u2,u3,y,dy\r\n1,0,0,-5.6,0.1\r\n0,0,1,25,0.1\r\n1,1,0,-5.6,0.1\r\n' >"$dir/bom.csv"
expect_status 0 "$cli" fit thermal-expansion --group -3m "$dir/bom.csv"
has out '^t33 +25\.00000 '

# Bad lines are all reported, and nothing is written.
printf '1,0,0,-5.6,0.1\n1,0,0,1\n0,0,x,25,0.1\n0,0,0,1,1\n' >"$dir/bad.csv"
expect_status 1 "$cli" fit thermal-expansion --group -3m "$dir/bad.csv" -o "$dir/bad.ten"
has err '^line 2: expected 5 numbers'
has err "^line 3: 'x' is not a valid floating point value"
has err '^line 4: direction 1 has three zero cosines'
[ -e "$dir/bad.ten" ] && fail "a file was written from bad data"

# A refusal of the fit itself: one measurement for two components.
printf '1,0,0,-5.6,0.1\n' >"$dir/short.csv"
expect_status 1 "$cli" fit thermal-expansion --group -3m "$dir/short.csv" -o "$dir/short.ten"
has err '^Number of data less than independent tensor components$'
[ -e "$dir/short.ten" ] && fail "a file was written from a refused fit"

# Piezoelectric geometry: two directions a line (u, then v along which the field is measured).
# Alpha-quartz (32): only T111 = -T122 = -T212 and T123 = -T213 (Nye, ch. VII). u = v = x
# gives T111; u = x, v = (0, 1, 1)/sqrt 2 gives (T122 + 2 T123)/2 = -1.15 + T123.
printf '1,0,0, 1,0,0, 2.3,0.01\n0,1,0, 0,1,0, 0,0.01\n1,0,0, 0,1,1, -1.485,0.01\n0,1,0, 1,0,0, 0,0.01\n' \
  >"$dir/quartz.csv"
expect_status 0 "$cli" fit piezoelectric --group 32 "$dir/quartz.csv"
has out '^t111=-t122=-t212 +2\.30000 '
has out '^t123=-t213 +-0\.33500 '
grep -q Eigenvalues "$dir/out" && fail "eigen table for a third-rank tensor"

expect_status 0 "$cli" fit --help
has out '^  hall +3  y = T_ijk u_i v_j w_k, 10\^-12 m³/C$'
expect_status 2 "$cli" fit piezo --group 32 "$dir/quartz.csv"
expect_status 2 "$cli" fit piezoelectric "$dir/quartz.csv"
expect_status 2 "$cli" fit piezoelectric --group 5mm "$dir/quartz.csv"
expect_status 1 "$cli" fit piezoelectric --group 32 "$dir/missing.csv"

[ "$failures" -eq 0 ] && echo "fit_cli: all passed"
exit $((failures > 0))
