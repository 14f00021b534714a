#!/usr/bin/env bash
# quillmere-cli given files that are no regular files, damaged files and a file-size limit: every
# command answers at once (each run has a time limit), says what is wrong and exits 1.
# Usage: nonregular_files_test.sh PATH/TO/quillmere-cli
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/cli_test_lib.sh"
examples="$here/../../examples"
quick() { timeout 20 "$@"; }
mkfifo "$dir/fifo.ten"
for input in "$dir/fifo.ten" /dev/zero; do
  for command in info "export $input -o $dir/out.wrl" "render $input -o $dir/out.png"; do
    set -- $command
    [ "$1" = info ] && set -- info "$input"
    expect_status 1 quick "$cli" "$@"
    grep -qF "'$input' is not a regular file" "$dir/err" || fail "$*: $(cat "$dir/err")"
  done
done
mkfifo "$dir/fifo.csv"
expect_status 1 quick "$cli" fit thermal-expansion --group 32 "$dir/fifo.csv"
grep -qF "is not a regular file" "$dir/err" || fail "fit fifo: $(cat "$dir/err")"
expect_status 1 quick "$cli" fit thermal-expansion --group 32 /dev/zero
grep -qF "'/dev/zero' is not a regular file" "$dir/err" || fail "fit: $(cat "$dir/err")"

# A header-layout file cut short is refused, not read with zeros; a byte-order mark is fine.
printf 'Quillmere-Datafile\r\n5 32 0 1 2 pm/V\r\n 2.3E+0000\r\n' >"$dir/short.ten"
expect_status 1 quick "$cli" info "$dir/short.ten"
grep -qF "The file ends after 1 of 2 values" "$dir/err" || fail "short: $(cat "$dir/err")"
{ printf '\xef\xbb\xbf'; cat "$examples/quartz-elastic.ten"; } >"$dir/bom.ten"
expect_status 0 quick "$cli" info "$dir/bom.ten"

# Over the file-size limit (SIGXFSZ at its default): a message, exit 1, the old file kept and no
# temporary file beside it.
mkdir "$dir/limited"
for ext in wrl stl; do
  echo "good old file" >"$dir/limited/out.$ext"
  (ulimit -f 4; exec "$cli" export "$examples/quartz-elastic.ten" -o "$dir/limited/out.$ext") \
    >"$dir/out" 2>"$dir/err"
  [ $? -eq 1 ] || fail "export .$ext over the limit: $(cat "$dir/err")"
  [ "$(cat "$dir/limited/out.$ext")" = "good old file" ] || fail "out.$ext was replaced"
done
[ "$(ls -A "$dir/limited")" = "$(printf 'out.stl\nout.wrl')" ] ||
  fail "left behind: $(ls -A "$dir/limited")"
exit $((failures > 0))
