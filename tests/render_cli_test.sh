#!/usr/bin/env bash
# quillmere-cli render, end to end on files.
# Usage: render_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"
# Width and height from a PNG's header chunk (big-endian at bytes 16 and 20).
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }

ten=$examples/quartz-piezoelectric.ten
expect_status 0 "$cli" render "$ten" -o "$dir/default.png"
[ "$(head -c 8 "$dir/default.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
  fail "default.png is not a PNG"
[ "$(png_size "$dir/default.png")" = 800x600 ] || fail "default size $(png_size "$dir/default.png")"
grep -q "672 records at resolution 2" "$dir/out" || fail "default scene: $(cat "$dir/out")"

expect_status 0 "$cli" render "$ten" -o "$dir/wide.PNG" --width 1200 --height 400 --stereo \
  --resolution 12 --alpha 10 --beta -40 --gamma 30.5 --zoom 1.1 --perspective 3 --no-axes \
  --no-fill --light 1,1,1 --positive-line 008000 --negative-line '#800000' --background 255,255,255
[ "$(png_size "$dir/wide.PNG")" = 1200x400 ] || fail "wide size"
grep -q "resolution 12" "$dir/out" || fail "resolution 12 not used"

expect_status 0 "$cli" render "$ten" -o "$dir/section.bmp" --section z --legend --caption abc
[ "$(head -c 2 "$dir/section.bmp")" = BM ] || fail "section.bmp is not a BMP"
grep -q "907 records at resolution 50" "$dir/out" || fail "section build: $(cat "$dir/out")"

expect_status 0 "$cli" render "$examples/quartz-elastic.ten" -o "$dir/vector.svg" --legend \
  --font "DejaVu Sans" --font-size 20
grep -q '<svg' "$dir/vector.svg" || fail "vector.svg is not SVG"
grep -q '>GPa<' "$dir/vector.svg" || fail "unit text missing from the SVG legend"

for args in "-o $dir/x.jpg" "-o $dir/x.png --resolution 44" "-o $dir/x.png --no-grid --no-fill" \
  "-o $dir/x.png --section w" "-o $dir/x.png --beta 100" "-o $dir/x.png --background red" \
  "-o $dir/x.png --width 0" "-o $dir/x.png --light 0,0,0" "-o $dir/x.png --frobnicate" ""; do
  expect_status 2 "$cli" render "$ten" $args
done
[ -e "$dir/x.png" ] && fail "a refused command wrote a picture"

# A fixed direction reaches the drawing; a zero one is refused with the panel's message.
expect_status 0 "$cli" render "$ten" -o "$dir/free.svg"
expect_status 0 "$cli" render "$ten" -o "$dir/fixed.svg" --fix i=1,0,0
cmp -s "$dir/free.svg" "$dir/fixed.svg" && fail "--fix i=1,0,0 drew the free surface"
expect_status 2 "$cli" render "$ten" -o "$dir/x.png" --fix 3=0,0,0
grep -q 'the direction for index3 is undefined' "$dir/err" || fail "zero --fix: $(cat "$dir/err")"
"$cli" render --help | grep -q -- '--fix POSITION=U1,U2,U3' || fail "render --help without --fix"

# A tensor file that cannot be read fails without touching an existing picture.
cp "$dir/default.png" "$dir/kept.png"
expect_status 1 "$cli" render "$dir/missing.ten" -o "$dir/kept.png"
cmp -s "$dir/default.png" "$dir/kept.png" || fail "a failed render changed the picture"
expect_status 1 "$cli" render "$ten" -o "$dir/no/such/folder/x.png"

# A disk that fills up while the picture is written: the old picture stays and the command
# fails. The file-size limit stands in for the full disk (the tool ignores SIGXFSZ itself, so a
# write beyond it fails as on a full disk); as root a small tmpfs is the real thing.
limited() { (ulimit -f 8; exec "$@"); }
for ext in svg png bmp; do
  echo "good old picture" >"$dir/full.$ext"
  expect_status 1 limited "$cli" render "$examples/quartz-elastic.ten" -o "$dir/full.$ext" \
    --width 900 --height 900
  [ "$(cat "$dir/full.$ext")" = "good old picture" ] || fail "full.$ext was replaced"
  grep -q "Disk full or write error" "$dir/err" || fail "full.$ext: $(cat "$dir/err")"
done
if [ "$(id -u)" = 0 ] && mkdir "$dir/small" && mount -t tmpfs -o size=64k tmpfs "$dir/small" \
  2>/dev/null; then
  echo "good old picture" >"$dir/small/out.svg"
  head -c 40000 /dev/zero >"$dir/small/filler" 2>/dev/null
  expect_status 1 "$cli" render "$examples/quartz-elastic.ten" -o "$dir/small/out.svg"
  [ "$(cat "$dir/small/out.svg")" = "good old picture" ] || fail "out.svg on a full tmpfs replaced"
  [ "$(ls -A "$dir/small" | wc -l)" = 2 ] || fail "debris on the full tmpfs: $(ls -A "$dir/small")"
  umount "$dir/small"
else
  echo "skipped: the full-tmpfs check needs root and mount"
fi
[ -z "$(ls -A "$dir" | grep '^\.')" ] || fail "temporary files left: $(ls -A "$dir")"

# Components beyond the range of double precision (valid in the file's extended precision) are
# refused where they would be narrowed, not written as "inf" or drawn black.
printf 'Quillmere-Datafile\r\n1 14 0 1 2 K\r\n1e999\r\n2e999\r\n' >"$dir/huge.ten"
expect_status 1 "$cli" render "$dir/huge.ten" -o "$dir/huge.png"
grep -q "beyond the range of double precision" "$dir/err" || fail "huge.ten: $(cat "$dir/err")"
[ -e "$dir/huge.png" ] && fail "huge.png was written"

[ "$failures" -eq 0 ] && echo "all render command checks passed"
exit $((failures > 0))
