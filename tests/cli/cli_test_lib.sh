# Sourced by the end-to-end tests of quillmere-cli: a temporary folder $dir removed at exit, a
# failure counter, and expect_status WANT command... which runs a command with its output in
# $dir/out and $dir/err and counts a failure when its exit status is not WANT.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_status() {
  local want=$1; shift
  "$@" >"$dir/out" 2>"$dir/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "exit $got, not $want: $* ($(cat "$dir/err"))"
}
