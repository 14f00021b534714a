#!/usr/bin/env bash
# scripts/check-layers accepts the source tree as it is, and names the file, the line and the
# include when a copy of the tree gets an include that points up a layer or Qt below the Qt rooms.
# Usage: check_layers_test.sh SOURCE-FOLDER
set -u
root=$1
check="$root/scripts/check-layers"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

"$check" "$root/src" >"$dir/out" 2>&1 || fail "the tree itself: $(cat "$dir/out")"

cp -r "$root/src" "$dir/src"
printf '#include "fit/fit_engine.h"\n' >>"$dir/src/tensor/tensor_state.h"
if "$check" "$dir/src" >"$dir/out" 2>&1; then
  fail "an upward include passed"
fi
grep -q 'src/tensor/tensor_state.h:[0-9]*: includes "fit/fit_engine.h"' "$dir/out" ||
  fail "the upward include is not named: $(cat "$dir/out")"

cp -r "$root/src/." "$dir/src/"
printf '#include <QString>\n' >>"$dir/src/surface/scene.h"
printf '#include "surface/gui/drawing_utilities_panel.h"\n' >>"$dir/src/platform/dialogs.h"
"$check" "$dir/src" >"$dir/out" 2>&1 && fail "Qt in the domain and a window below the platform passed"
grep -q 'src/surface/scene.h:[0-9]*: includes <QString>' "$dir/out" || fail "Qt: $(cat "$dir/out")"
grep -q 'src/platform/dialogs.h:[0-9]*: includes "surface/gui/' "$dir/out" ||
  fail "platform: $(cat "$dir/out")"

exit $status
