#!/usr/bin/env bash
# quillmere-cli render to .emf, .wmf and .pdf, each read by a program that is not ours.
# Usage: metafile_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"
for tool in emf2svg-conv wmf2svg pdftoppm python3; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
ten=$examples/quartz-piezoelectric.ten
# Positive and negative outlines, exact: red and green.
colours="--positive-line FF0000 --negative-line 00FF00"

expect_status 0 "$cli" render "$ten" -o "$dir/q.emf" --legend $colours
grep -q "enhanced metafile, 672 records" "$dir/out" || fail "emf: $(cat "$dir/out")"
expect_status 0 "$cli" render "$ten" -o "$dir/q.WMF" --legend $colours
expect_status 0 "$cli" render "$ten" -o "$dir/q.pdf" --legend $colours

emf2svg-conv -i "$dir/q.emf" -o "$dir/emf.svg" || fail "emf2svg-conv could not read q.emf"
wmf2svg -o "$dir/wmf.svg" "$dir/q.WMF" 2>"$dir/wmf.err" || fail "wmf2svg could not read q.WMF"

# Both readers see the same polygons: one per painted record.
emf_polygons=$(grep -c '<path d=' "$dir/emf.svg")
wmf_polygons=$(grep -c '<polygon' "$dir/wmf.svg")
[ "$emf_polygons" -gt 300 ] || fail "only $emf_polygons polygons in the EMF"
[ "$emf_polygons" -eq "$wmf_polygons" ] ||
  fail "EMF has $emf_polygons polygons, WMF $wmf_polygons"
grep -q 'stroke="#FF0000"' "$dir/emf.svg" && grep -q 'stroke="#00FF00"' "$dir/emf.svg" ||
  fail "the EMF lacks a sign colour"
grep -q 'stroke:red' "$dir/wmf.svg" && grep -q 'stroke:lime' "$dir/wmf.svg" ||
  fail "the WMF lacks a sign colour"
# The legend's texts: tick values, the "10" and the unit.
for text in '0.10' '[10]' '[-11]' 'C/N'; do
  grep -qF -- "$text" "$dir/emf.svg" || fail "EMF text $text missing"
done
for text in '0.10' '>10<' '>-11<' 'C/N'; do
  grep -q -- "$text" "$dir/wmf.svg" || fail "WMF text $text missing"
done

# The PDF page shows both fill colours (reddish and greenish shades).
pdftoppm -r 72 "$dir/q.pdf" "$dir/page" || fail "pdftoppm could not read q.pdf"
python3 - "$dir"/page*.ppm <<'PY' || fail "the PDF page lacks a sign colour"
import sys
data = open(sys.argv[1], 'rb').read()
parts = data.split(maxsplit=4)
w, h, pixels = int(parts[1]), int(parts[2]), parts[4]
red = green = 0
for i in range(0, w * h * 3, 3):
    r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
    red += r > g + 80 and r > b + 80
    green += g > r + 80 and g > b + 80
sys.exit(0 if red > 500 and green > 500 else 1)
PY

# Units with "²" and "°": UTF-16 in the EMF, Windows-1252 in the WMF.
sed '2s/ C\/N\r$/ m²\/°C\r/' "$ten" >"$dir/units.ten"
if grep -q '°' "$dir/units.ten"; then
  expect_status 0 "$cli" render "$dir/units.ten" -o "$dir/u.emf" --legend
  expect_status 0 "$cli" render "$dir/units.ten" -o "$dir/u.wmf" --legend
  emf2svg-conv -i "$dir/u.emf" -o "$dir/u_emf.svg" && grep -q 'm²/°C' "$dir/u_emf.svg" ||
    fail "the EMF unit text is not m²/°C"
  wmf2svg -o "$dir/u_wmf.svg" "$dir/u.wmf" 2>/dev/null
  iconv -f latin1 -t utf-8 "$dir/u_wmf.svg" 2>/dev/null | grep -q 'm²/°C' ||
    grep -q 'm²/°C\|m&#178;/&#176;C\|m&#xb2;/&#xb0;C' "$dir/u_wmf.svg" ||
    fail "the WMF unit text is not m²/°C"
else
  fail "could not make the unit test file"
fi

# A stereo pair: twice the polygons, no legend.
expect_status 0 "$cli" render "$ten" -o "$dir/s.emf" --legend --stereo $colours
emf2svg-conv -i "$dir/s.emf" -o "$dir/s.svg" || fail "emf2svg-conv could not read s.emf"
stereo_polygons=$(grep -c '<path d=' "$dir/s.svg")
[ "$stereo_polygons" -gt $((emf_polygons * 3 / 2)) ] ||
  fail "stereo EMF has $stereo_polygons polygons, mono $emf_polygons"
grep -q 'C/N' "$dir/s.svg" && fail "stereo EMF carries the legend"

# A file that cannot be replaced is reported; nothing is left behind.
mkdir "$dir/taken.emf"
expect_status 1 "$cli" render "$ten" -o "$dir/taken.emf"
[ -n "$(ls -A "$dir/taken.emf")" ] && fail "something was written into the folder"
ls -a "$dir" | grep -q '\.tmp' && fail "a temporary file was left behind"
cp "$dir/q.emf" "$dir/kept.emf"
expect_status 1 "$cli" render "$dir/missing.ten" -o "$dir/kept.emf"
cmp -s "$dir/q.emf" "$dir/kept.emf" || fail "a failed render changed the metafile"

[ "$failures" -eq 0 ] && echo "all metafile render checks passed"
exit $((failures > 0))
