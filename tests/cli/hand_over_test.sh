#!/usr/bin/env bash
# quillmere-cli starts without Qt and libcurl and hands render, map and check-update to the full
# tool beside it: a command it hands over keeps the full tool's output and exit status, and
# without the full tool it says which program it could not start and exits 1.
# Usage: hand_over_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cli_test_lib.sh"
examples="$here/../../examples"

if command -v readelf >/dev/null; then
  readelf -d "$cli" | grep -E 'NEEDED.*(libQt|libcurl)' && fail "quillmere-cli loads Qt or libcurl"
fi
# Handed over: the full tool's usage error and its exit status 2.
expect_status 2 "$cli" map "$examples/quartz-piezoelectric.ten" --no-such-option
grep -q "^quillmere-cli map: " "$dir/err" || fail "map's usage error: $(cat "$dir/err")"

# The tool alone, with the table beside it: its own commands work, the handed-over ones fail
# with the path they could not start.
mkdir "$dir/alone"
cp "$cli" "$(dirname "$cli")/tensor.tab" "$dir/alone/"
expect_status 0 "$dir/alone/quillmere-cli" components "(ij)" "4/mm"
for command in "render $examples/quartz-piezoelectric.ten -o $dir/q.png" "check-update --help"; do
  set -- $command
  expect_status 1 "$dir/alone/quillmere-cli" "$@"
  grep -qF "quillmere-cli $1: cannot start $dir/alone/quillmere-cli-full" "$dir/err" ||
    fail "$1 without the full tool: $(cat "$dir/err")"
done
[ -e "$dir/q.png" ] && fail "a picture was written without the full tool"
echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
[ "$failures" -eq 0 ]
