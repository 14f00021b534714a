#!/usr/bin/env bash
# The export and transform commands of quillmere-cli, end to end on files.
# Usage: export_cli_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
source "$(dirname "$0")/cli/cli_test_lib.sh"

# A tetragonal second-rank tensor (4/mmm): T11 = T22 = 3.5, T33 = -0.25, in units of 1e-6.
printf 'Quillmere-Datafile\r\n1 14 0  1.00000000000000E-0006 2 1/K\r\n 3.50000000000000E+0000\r\n-2.50000000000000E-0001\r\n' >"$dir/tet.ten"

expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/screen.wrl"
grep -q '^DEF AXIS Shape {' "$dir/screen.wrl" || fail "screen scene without axes"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/bare.WRL" --no-axes --resolution 1
grep -q 'AXIS' "$dir/bare.WRL" && fail "--no-axes wrote axes"
[ "$(grep -c ',.$' "$dir/bare.WRL")" -eq $((2 * 231 + 1)) ] || fail "points and colours at resolution 1"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/print.wrl" --printable
grep -q 'AXIS' "$dir/print.wrl" && fail "printable scene with axes"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/mesh.stl" --resolution 3
head -1 "$dir/mesh.stl" | grep -q $'^solid Quillmere STL\r$' || fail "STL header"
for args in "-o $dir/x.obj" "-o $dir/x.wrl --resolution 0" ""; do
  expect_status 2 "$cli" export "$dir/tet.ten" $args
done
expect_status 1 "$cli" export "$dir/missing.ten" -o "$dir/x.wrl"

# A quarter turn about z keeps the tetragonal symmetry and the values.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate z:90 -o "$dir/z90.ten"
cmp -s "$dir/tet.ten" "$dir/z90.ten" || fail "z:90 changed the tensor"
# 30 degrees about x breaks it: point group 1 keeps every component. By hand (c, s = cos, sin
# 30), T'22 = c^2 T22 + s^2 T33 = 2.5625, T'23 = c s (T22 - T33) = 1.62379763209582.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate x:30 -o "$dir/x30.ten"
grep -q 'written with point group 1' "$dir/err" || fail "no notice about the lost symmetry"
sed -n 2p "$dir/x30.ten" | grep -q '^1 1 0 ' || fail "x:30 not written in point group 1"
"$cli" info "$dir/x30.ten" | grep -Eq '^ +0 +2\.5625 +1\.62379763209582$' || fail "x:30 values"
for args in '--matrix "1 0; 0 1 0; 0 0 1"' "--rotate q:10" ""; do
  eval expect_status 2 "$cli" transform "$dir/tet.ten" "$args" -o "$dir/y.ten"
done

[ "$failures" -eq 0 ] && echo "all export and transform command checks passed"
exit $((failures > 0))
