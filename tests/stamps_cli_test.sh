#!/usr/bin/env bash
# The conventions stamp in every export format, each file read by a program that is not ours.
# Usage: stamps_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"
for tool in tovrmlx3d admesh emf2svg-conv wmf2svg rsvg-convert pdftoppm pdfinfo; do
  command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
ten=$examples/copper-elastic.ten
stamp='Quillmere tensor ((ij)(kl)), point group m-3m, polar, unit GPa x 10^2, components in index notation (no Voigt factors)'

expect_status 0 "$cli" export "$ten" -o "$dir/s.wrl" --resolution 1
[ "$(sed -n 2p "$dir/s.wrl" | tr -d '\r')" = "# $stamp" ] || fail "VRML comment: $(sed -n 2p "$dir/s.wrl")"
tovrmlx3d "$dir/s.wrl" >"$dir/s.x3d" 2>"$dir/vrml.err" || fail "tovrmlx3d: $(cat "$dir/vrml.err")"
expect_status 0 "$cli" export "$ten" -o "$dir/s.stl" --resolution 1
admesh "$dir/s.stl" >"$dir/admesh.out" 2>&1 || fail "admesh could not read the STL"

# A fixed index position makes a derived quantity, which the stamp names.
expect_status 0 "$cli" export "$ten" -o "$dir/fixed.wrl" --resolution 1 --fix i=0,0,1
sed -n 2p "$dir/fixed.wrl" | grep -q '; quantity: the tensor with i along \[0 0 1\] fixed' ||
  fail "derived quantity: $(sed -n 2p "$dir/fixed.wrl")"

expect_status 0 "$cli" render "$ten" -o "$dir/s.svg" --width 200 --height 200
grep -qF "<desc>Drawn by Quillmere. $stamp</desc>" "$dir/s.svg" || fail "SVG description"
rsvg-convert "$dir/s.svg" -o "$dir/svg.png" || fail "rsvg-convert could not read the SVG"
expect_status 0 "$cli" render "$ten" -o "$dir/s.pdf" --width 200 --height 200
pdfinfo "$dir/s.pdf" | sed -n "s/^Title: *//p" | grep -qxF "Representation surface: $stamp" ||
  fail "PDF title: $(pdfinfo "$dir/s.pdf" | grep Title)"
pdftoppm -r 20 "$dir/s.pdf" "$dir/page" || fail "pdftoppm could not read the PDF"
expect_status 0 "$cli" render "$ten" -o "$dir/s.emf" --width 200 --height 200
emf2svg-conv -i "$dir/s.emf" -o "$dir/emf.svg" || fail "emf2svg-conv could not read the EMF"
expect_status 0 "$cli" render "$ten" -o "$dir/s.wmf" --width 200 --height 200
wmf2svg -o "$dir/wmf.svg" "$dir/s.wmf" >/dev/null 2>&1 && [ -s "$dir/wmf.svg" ] ||
  fail "wmf2svg could not read the WMF"
expect_status 0 "$cli" render "$ten" -o "$dir/s.png" --width 200 --height 200
/usr/bin/python3 - "$dir/s.emf" "$dir/s.png" "$stamp" "$dir/s.wmf" <<'PY' ||
import struct, sys, zlib
emf, png, stamp = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read(), sys.argv[3]
n, offset = struct.unpack_from("<II", emf, 60)
text = emf[offset:offset + 2 * n].decode("utf-16-le")
assert text == "Quillmere\0Representation surface: " + stamp + "\0\0", text
# The WMF's comment: an escape record (function 0x0626) of kind MFCOMMENT (15) after the
# placeable header (22 bytes) and the standard header (18 bytes).
wmf, p, comments = open(sys.argv[4], "rb").read(), 40, []
while p + 6 <= len(wmf):
    words, function = struct.unpack_from("<IH", wmf, p)
    if function == 0x0626:
        escape, count = struct.unpack_from("<HH", wmf, p + 6)
        if escape == 15:
            comments.append(wmf[p + 10:p + 10 + count].rstrip(b"\0").decode("ascii"))
    if words < 3:
        break
    p += 2 * words
assert comments == ["Quillmere representation surface: " + stamp], comments
chunks, p = {}, 8
while p < len(png):
    length, kind = struct.unpack_from(">I4s", png, p)
    body = png[p + 8:p + 8 + length]
    if kind in (b"tEXt", b"zTXt", b"iTXt"):
        key, _, value = body.partition(b"\0")
        if kind == b"zTXt":
            value = zlib.decompress(value[1:])
        chunks[key] = value
    p += 12 + length
assert chunks.get(b"Description") == stamp.encode(), chunks
PY
  fail "EMF description, WMF comment or PNG text chunk"

# An elastic quantity drawn in the tensor's place is named in every export's stamp.
named="; quantity: Young's modulus"
expect_status 0 "$cli" export "$ten" -o "$dir/young.wrl" --resolution 1 --quantity young
sed -n 2p "$dir/young.wrl" | grep -qF "$named" || fail "VRML quantity: $(sed -n 2p "$dir/young.wrl")"
expect_status 0 "$cli" render "$ten" -o "$dir/young.svg" --width 100 --height 100 --quantity young
grep -qF "$named" "$dir/young.svg" || fail "SVG quantity"
expect_status 0 "$cli" map "$ten" -o "$dir/young.csv" --width 10 --quantity young
head -1 "$dir/young.csv" | grep -qF "$named" || fail "map CSV quantity: $(head -1 "$dir/young.csv")"

expect_status 0 "$cli" map "$ten" -o "$dir/m.csv" --width 10
[ "$(head -1 "$dir/m.csv")" = "# $stamp" ] || fail "map CSV comment: $(head -1 "$dir/m.csv")"
[ "$(sed -n 2p "$dir/m.csv")" = "x,y,nx,ny,nz,value" ] || fail "map CSV header after the comment"
expect_status 0 "$cli" map "$ten" -o "$dir/m.svg" --width 300
grep -qF "$stamp" "$dir/m.svg" && rsvg-convert "$dir/m.svg" -o "$dir/m.png" || fail "map SVG"

exit $((failures > 0))
