#!/usr/bin/env bash
# The export and transform commands of quillmere-cli, end to end on files.
# Usage: export_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
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

# Fixed directions: the cosines are normalised, so (0, 0, 2) fixes what (0, 0, 1) fixes; a
# position beyond the rank changes nothing; a fixed position changes the surface.
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/fix1.wrl" --fix i=0,0,1 --fix 2=0,0,1
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/fix2.wrl" --fix 1=0,0,2 --fix j=0,0,0.5
cmp -s "$dir/fix1.wrl" "$dir/fix2.wrl" || fail "--fix cosines not normalised"
cmp -s "$dir/fix1.wrl" "$dir/screen.wrl" && fail "--fix changed nothing"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/fix3.wrl" --fix k=1,0,0 --fix m=0,1,0
cmp -s "$dir/fix3.wrl" "$dir/screen.wrl" || fail "--fix beyond the rank changed the scene"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/fix4.stl" --fix i=1,0,0 --resolution 3
cmp -s "$dir/fix4.stl" "$dir/mesh.stl" && fail "--fix not applied to the STL mesh"
expect_status 2 "$cli" export "$dir/tet.ten" -o "$dir/zero.wrl" --fix j=0,0,0
grep -qx 'quillmere-cli export: the direction for index2 is undefined' "$dir/err" ||
  fail "zero direction: $(cat "$dir/err")"
[ -e "$dir/zero.wrl" ] && fail "a refused --fix wrote a file"
for bad in "q=1,0,0" "6=1,0,0" "i=1,0" "i=1,0,0,0" "i=1,x,0" "i:1,0,0"; do
  expect_status 2 "$cli" export "$dir/tet.ten" -o "$dir/bad.wrl" --fix "$bad"
done
"$cli" export --help | grep -q -- '--fix POSITION=U1,U2,U3' || fail "export --help without --fix"

# A quarter turn about z keeps the tetragonal symmetry and the values.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate z:90 -o "$dir/z90.ten"
cmp -s "$dir/tet.ten" "$dir/z90.ten" || fail "z:90 changed the tensor"
# 30 degrees about x breaks it: point group 1 keeps every component. By hand (c, s = cos, sin
# 30), T'22 = c^2 T22 + s^2 T33 = 2.5625, T'23 = c s (T22 - T33) = 1.62379763209582.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate x:30 -o "$dir/x30.ten"
grep -q 'written with point group 1' "$dir/err" || fail "no notice about the lost symmetry"
# Point group "1" is number 2 in the file (number 1 is "1b", the centrosymmetric group).
sed -n 2p "$dir/x30.ten" | grep -q '^1 2 0 ' || fail "x:30 not written in point group 1"
"$cli" info "$dir/x30.ten" | grep -Eq '^ +0 +2\.5625 +1\.62379763209582$' || fail "x:30 values"
# Quartz (32) turned by 30 degrees about z: the 18 piezoelectric moduli of group 1, header layout.
expect_status 0 "$cli" transform "$examples/quartz-piezoelectric.ten" --rotate z:30 -o "$dir/q30.ten"
head -1 "$dir/q30.ten" | grep -q '^Quillmere-Datafile' || fail "z:30 quartz not in the header layout"
"$cli" info "$dir/q30.ten" >"$dir/info"
grep -q 'Independent components (18)' "$dir/info" || fail "z:30 quartz: $(cat "$dir/info")"
grep -q 'does not exist' "$dir/info" && fail "z:30 quartz written in a group without the tensor"
for args in '--matrix "1 0; 0 1 0; 0 0 1"' "--rotate q:10" ""; do
  eval expect_status 2 "$cli" transform "$dir/tet.ten" "$args" -o "$dir/y.ten"
done

# Components beyond the range of double precision (valid in the file's extended precision) are
# refused where they would be narrowed, not written as "inf" or drawn black.
printf 'Quillmere-Datafile\r\n1 14 0 1 2 K\r\n1e999\r\n2e999\r\n' >"$dir/huge.ten"
expect_status 1 "$cli" export "$dir/huge.ten" -o "$dir/huge.wrl"
grep -q "beyond the range of double precision" "$dir/err" || fail "huge.ten: $(cat "$dir/err")"
[ -e "$dir/huge.wrl" ] && fail "huge.wrl was written"

[ "$failures" -eq 0 ] && echo "all export and transform command checks passed"
exit $((failures > 0))
