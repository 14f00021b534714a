#!/usr/bin/env bash
# The export and transform commands of quillmere-cli, end to end on files.
# Usage: export_cli_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {  # expect_status WANT command...
  local want=$1; shift
  "$@" >"$dir/out" 2>"$dir/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "exit $got, not $want: $* ($(cat "$dir/err"))"
}

# A tetragonal second-rank tensor (4/mmm): T11 = T22 = 3.5, T33 = -0.25, in units of 1e-6.
printf 'Quillmere-Datafile\r\n1 14 0  1.00000000000000E-0006 2 1/K\r\n 3.50000000000000E+0000\r\n-2.50000000000000E-0001\r\n' >"$dir/tet.ten"

expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/screen.wrl"
head -1 "$dir/screen.wrl" | grep -q $'^#VRML V2.0 utf8\r$' || fail "VRML header"
grep -q '^DEF AXIS Shape {' "$dir/screen.wrl" || fail "screen scene without axes"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/bare.wrl" --no-axes --resolution 1
grep -q 'DEF AXIS' "$dir/bare.wrl" && fail "--no-axes wrote axes"
[ "$(grep -c ',.$' "$dir/bare.wrl")" -eq $((2 * 231 + 1)) ] || fail "points and colours at resolution 1"
expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/print.WRL" --printable
grep -q 'DEF AXIS' "$dir/print.WRL" && fail "printable scene with axes"

expect_status 0 "$cli" export "$dir/tet.ten" -o "$dir/mesh.stl" --resolution 3
head -1 "$dir/mesh.stl" | grep -q $'^solid Quillmere STL\r$' || fail "STL header"
if command -v admesh >/dev/null 2>&1; then
  admesh "$dir/mesh.stl" >"$dir/admesh" 2>&1 || fail "admesh failed"
  for label in 'Degenerate facets' 'Edges fixed' 'Facets removed' 'Facets added' \
    'Facets reversed' 'Backwards edges' 'Normals fixed'; do
    grep -Eq "^$label +: +0\b" "$dir/admesh" || fail "admesh: $label"
  done
else
  echo "admesh not installed: the STL was not checked by a third-party reader"
fi

expect_status 2 "$cli" export "$dir/tet.ten" -o "$dir/x.obj"
expect_status 2 "$cli" export "$dir/tet.ten" -o "$dir/x.wrl" --resolution 0
expect_status 2 "$cli" export "$dir/tet.ten"
expect_status 1 "$cli" export "$dir/missing.ten" -o "$dir/x.wrl"
printf 'earlier\r\n' >"$dir/keep.wrl"
chmod a-w "$dir"
if [ ! -w "$dir" ]; then  # root may write anyway; then the check says nothing
  expect_status 1 "$cli" export "$dir/tet.ten" -o "$dir/keep.wrl"
  [ "$(cat "$dir/keep.wrl")" = $'earlier\r' ] || fail "a failed export changed the earlier file"
fi
chmod u+w "$dir"

# A quarter turn about z keeps the tetragonal symmetry and the values.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate z:90 -o "$dir/z90.ten"
cmp -s <(tail -n +2 "$dir/tet.ten") <(tail -n +2 "$dir/z90.ten") || fail "z:90 changed the tensor"
# 30 degrees about x breaks it: the tensor is written with point group 1. By hand,
# T'22 = c^2 T22 + s^2 T33 = 2.5625, T'23 = c s (T22 - T33) = 1.62379763209582,
# T'33 = s^2 T22 + c^2 T33 = 0.6875.
expect_status 0 "$cli" transform "$dir/tet.ten" --rotate x:30 -o "$dir/x30.ten"
grep -q 'point group 1' "$dir/err" || fail "no notice about the lost symmetry"
sed -n 2p "$dir/x30.ten" | grep -q '^1 1 0 ' || fail "x:30 not written in point group 1"
"$cli" info "$dir/x30.ten" >"$dir/info"
grep -Eq '^ +0 +2\.5625 +1\.62379763209582$' "$dir/info" || fail "x:30 row 2: $(cat "$dir/info")"
grep -Eq '^ +0 +1\.62379763209582 +0\.6875$' "$dir/info" || fail "x:30 row 3"
expect_status 2 "$cli" transform "$dir/tet.ten" --matrix "1 0; 0 1 0; 0 0 1" -o "$dir/y.ten"
expect_status 2 "$cli" transform "$dir/tet.ten" --rotate q:10 -o "$dir/y.ten"
expect_status 2 "$cli" transform "$dir/tet.ten" -o "$dir/y.ten"

[ "$failures" -eq 0 ] && echo "all export and transform command checks passed"
exit $((failures > 0))
