#!/usr/bin/env bash
# quillmere-cli map, end to end on files, each read back by a third-party reader.
# Usage: map_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }

ten=$examples/quartz-piezoelectric.ten
expect_status 0 "$cli" map "$ten" -o "$dir/quartz.png"
[ "$(png_size "$dir/quartz.png")" = 800x720 ] || fail "default size $(png_size "$dir/quartz.png")"
grep -q "equal-area, upper hemisphere" "$dir/out" || fail "default map: $(cat "$dir/out")"

expect_status 0 "$cli" map "$ten" -o "$dir/both.svg" --hemisphere both --projection stereographic \
  --width 600 --caption e123
rsvg-convert "$dir/both.svg" -o "$dir/both-svg.png" 2>"$dir/rsvg" || fail "rsvg-convert: $(cat "$dir/rsvg")"
# The SVG states its size in millimetres; the reader may round it up by a pixel.
case "$(png_size "$dir/both-svg.png")" in 600x450 | 600x451 | 601x450 | 601x451) ;;
  *) fail "SVG size $(png_size "$dir/both-svg.png")" ;; esac
grep -q '<path\|<polyline' "$dir/both.svg" || fail "no vector paths in the SVG"
grep -q '>[^<]*C/N<' "$dir/both.svg" || fail "the unit is missing from the SVG"

expect_status 0 "$cli" map "$examples/copper-elastic.ten" -o "$dir/copper.pdf" --hemisphere lower
pdfinfo "$dir/copper.pdf" >"$dir/info" 2>&1 || fail "pdfinfo: $(cat "$dir/info")"
# 800 x 720 pixels at 96 to the inch, as the surface's pictures are placed.
grep -q "Page size: *600 x 540 pts" "$dir/info" || fail "PDF page: $(cat "$dir/info")"
pdftoppm -png -r 18 "$dir/copper.pdf" "$dir/copper" || fail "pdftoppm could not render the PDF"
pdftotext "$dir/copper.pdf" - | grep -q "Largest value: *237.6 GPa along \[0.577, 0.577" ||
  fail "the PDF does not state copper's largest modulus"

# CSV: quartz's longitudinal modulus is d11 l1 (l1^2 - 3 l2^2) (Nye, Physical Properties of
# Crystals, ch. VII, class 32), at every row's stated direction.
expect_status 0 "$cli" map "$ten" -o "$dir/quartz-stamped.csv" --width 20 --hemisphere both
# The first line is the comment saying what the map shows; the rows follow it.
head -1 "$dir/quartz-stamped.csv" | grep -q '^# Quillmere tensor i(jk), point group 32, polar, unit C/N x 10^-12' ||
  fail "CSV stamp: $(head -1 "$dir/quartz-stamped.csv")"
grep -v '^#' "$dir/quartz-stamped.csv" >"$dir/quartz.csv"
[ "$(head -1 "$dir/quartz.csv")" = "x,y,nx,ny,nz,value" ] || fail "CSV header"
[ "$(wc -l <"$dir/quartz.csv")" -eq 633 ] || fail "CSV rows: $(wc -l <"$dir/quartz.csv")"
awk -F, 'NR > 1 {
  want = 2.3e-12 * $3 * ($3 * $3 - 3 * $4 * $4)
  if ((want - $6) > 1e-20 || ($6 - want) > 1e-20) { print "row " NR ": " $0; bad = 1 }
  if ((NR <= 317 && $5 < 0) || (NR > 317 && $5 > 0)) { print "hemisphere of row " NR; bad = 1 }
} END { exit bad }' "$dir/quartz.csv" || fail "CSV values differ from d11 l1 (l1^2 - 3 l2^2)"

# With the first index held along x the value is d1jk n_j n_k = d11 (nx^2 - ny^2) + d14 ny nz,
# d14 = 2 d123 = -0.67e-12 C/N.
expect_status 0 "$cli" map "$ten" -o "$dir/fixed.csv" --width 12 --fix i=1,0,0
awk -F, 'NR > 1 {
  want = 2.3e-12 * ($3 * $3 - $4 * $4) - 0.67e-12 * $4 * $5
  if ((want - $6) > 1e-18 || ($6 - want) > 1e-18) { print "row " NR ": " $0 " not " want; bad = 1 }
} END { exit bad }' "$dir/fixed.csv" || fail "CSV values with --fix i=1,0,0"

# The metafiles, each read by its own third-party reader: the caption, the six colour bands of
# quartz's d11 (three each side of zero) as filled shapes, and the stamp after the map's name.
expect_status 0 "$cli" map "$ten" -o "$dir/quartz.emf"
grep -q "800 x 720 enhanced metafile" "$dir/out" || fail "emf map: $(cat "$dir/out")"
expect_status 0 "$cli" map "$ten" -o "$dir/quartz.WMF" --hemisphere both
grep -q "800 x 600 standard metafile" "$dir/out" || fail "wmf map: $(cat "$dir/out")"
emf2svg-conv -i "$dir/quartz.emf" -o "$dir/emf.svg" || fail "emf2svg-conv could not read the map"
wmf2svg -o "$dir/wmf.svg" "$dir/quartz.WMF" 2>/dev/null || fail "wmf2svg could not read the map"
grep -q 'Upper hemisphere, equal-area projection' "$dir/emf.svg" || fail "EMF map caption"
grep -q '>Lower hemisphere<' "$dir/wmf.svg" || fail "WMF map disc caption"
bands() { grep -o "$1" "$2" | grep -viE 'none|white|black|#000000|#FFFFFF|#141414' | sort -u | wc -l; }
[ "$(bands 'fill="#[0-9A-F]*"' "$dir/emf.svg")" -ge 6 ] || fail "EMF map colour bands"
[ "$(bands 'fill:[a-z]*' "$dir/wmf.svg")" -ge 6 ] || fail "WMF map colour bands"
[ "$(grep -c '<path' "$dir/emf.svg")" -gt 500 ] || fail "few shapes in the EMF map"
[ "$(grep -c '<polygon' "$dir/wmf.svg")" -gt 500 ] || fail "few shapes in the WMF map"
/usr/bin/python3 - "$dir/quartz.emf" "$dir/quartz.WMF" <<'PY' || fail "metafile map stamps"
import struct, sys
emf, wmf = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
n, offset = struct.unpack_from("<II", emf, 60)
text = emf[offset:offset + 2 * n].decode("utf-16-le")
assert text.startswith("Quillmere\0Projection map: Quillmere tensor i(jk), point group 32"), text
assert b"Quillmere projection map: Quillmere tensor i(jk), point group 32" in wmf
PY

for args in "-o $dir/x.png --fix i=0,0,0" "-o $dir/x.png --fix q=1,0,0" "-o $dir/x.jpg" "-o $dir/x.png --width 100" "-o $dir/x.csv --width 3000" \
  "-o $dir/x.png --projection mercator" "-o $dir/x.png --hemisphere left" "-o $dir/x.png --bad" ""; do
  expect_status 2 "$cli" map "$ten" $args
done
[ -e "$dir/x.png" ] && fail "a refused command wrote a picture"

# A tensor file that cannot be read fails without touching an existing map.
cp "$dir/quartz.png" "$dir/kept.png"
expect_status 1 "$cli" map "$dir/missing.ten" -o "$dir/kept.png"
cmp -s "$dir/quartz.png" "$dir/kept.png" || fail "a failed map changed the picture"
expect_status 1 "$cli" map "$ten" -o "$dir/no/such/folder/x.pdf"

[ "$failures" -eq 0 ] && echo "all map command checks passed"
exit $((failures > 0))
