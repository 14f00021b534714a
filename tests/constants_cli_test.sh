#!/usr/bin/env bash
# The symmetry, import and matrix commands of quillmere-cli, end to end on files.
# Usage: constants_cli_test.sh PATH/TO/quillmere-cli EXAMPLES-FOLDER
set -u
cli=$1
examples=$2
source "$(dirname "$0")/cli/cli_test_lib.sh"

# The shipped copper and quartz files: highest group first, each with its deviation.
expect_status 0 "$cli" symmetry "$examples/copper-elastic.ten"
sed -n 2p "$dir/out" | grep -q '^  28  m3̅m .*deviation' || fail "copper: m3̅m first ($(cat "$dir/out"))"
expect_status 0 "$cli" symmetry "$examples/quartz-piezoelectric.ten"
sed -n 2p "$dir/out" | grep -q ' 32 ' || fail "quartz d: 32 first ($(cat "$dir/out"))"
grep -q ' 6/mmm ' "$dir/out" && fail "quartz d obeys 6/mmm"
expect_status 2 "$cli" symmetry "$examples/copper-elastic.ten" --tolerance x
expect_status 1 "$cli" symmetry "$dir/missing.ten"

# Copper's matrix (GPa) as ELATE takes it, imported with the group found from the numbers and
# written back as the same matrix; as compliance-type the shear terms are four times c44.
printf '168.4 121.4 121.4 0 0 0\n121.4 168.4 121.4 0 0 0\n121.4 121.4 168.4 0 0 0\n0 0 0 75.4 0 0\n0 0 0 0 75.4 0\n0 0 0 0 0 75.4\n' >"$dir/cu.txt"
expect_status 0 "$cli" import "$dir/cu.txt" -o "$dir/cu.ten" --unit GPa --group auto
grep -q '^Point group: m3̅m' "$dir/out" || fail "import --group auto ($(cat "$dir/out"))"
expect_status 0 "$cli" matrix "$dir/cu.ten" --format csv
[ "$(head -1 "$dir/out")" = "# stiffness-type (no factors: c, e), unit GPa x 10^2" ] || fail "matrix first line: $(head -1 "$dir/out")"
sed -n 5p "$dir/out" | grep -q '^0,0,0,0.754,0,0$' || fail "matrix row 4: $(sed -n 5p "$dir/out")"
expect_status 0 "$cli" matrix "$dir/cu.ten" --convention compliance --format json
grep -q '"power_of_ten": 2' "$dir/out" && grep -q '\[0, 0, 0, 3.016, 0, 0\]' "$dir/out" || fail "json matrix"
/usr/bin/python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$dir/out" || fail "json not readable"
# A group the numbers break is refused with the component named.
expect_status 1 "$cli" import "$dir/cu.txt" -o "$dir/hex.ten" --group 6/mmm
grep -q 't1212 is 75.4 but the group gives' "$dir/err" || fail "violation not named: $(cat "$dir/err")"
[ -e "$dir/hex.ten" ] && fail "a refused import wrote its file"

# pymatgen writes the serialised tensor and reads back the file written here (independent check
# of the factor convention: pymatgen's compliance of copper against ours).
if /usr/bin/python3 -c 'import pymatgen.analysis.elasticity' 2>/dev/null; then
  /usr/bin/python3 - "$dir" <<'PY'
import json, sys, numpy as np
from pymatgen.analysis.elasticity import ElasticTensor
c = np.array([[168.4,121.4,121.4,0,0,0],[121.4,168.4,121.4,0,0,0],[121.4,121.4,168.4,0,0,0],
              [0,0,0,75.4,0,0],[0,0,0,0,75.4,0],[0,0,0,0,0,75.4]])
et = ElasticTensor.from_voigt(c)
json.dump(et.as_dict(), open(sys.argv[1] + "/cu.json", "w"))
np.savetxt(sys.argv[1] + "/cu-s.txt", et.compliance_tensor.voigt)
PY
  expect_status 0 "$cli" import "$dir/cu.json" -o "$dir/cu-pmg.ten" --group auto
  grep -q '^Read pymatgen ElasticTensor' "$dir/out" || fail "pymatgen format not detected"
  expect_status 0 "$cli" import "$dir/cu-s.txt" -o "$dir/cu-s.ten" --convention compliance --unit 1/GPa
  expect_status 0 "$cli" matrix "$dir/cu-s.ten" --format json
  /usr/bin/python3 - "$dir/out" <<'PY' || fail "compliance read back differs from pymatgen's"
import json, sys, numpy as np
from pymatgen.analysis.elasticity import ElasticTensor
from pymatgen.core.tensors import Tensor
d = json.load(open(sys.argv[1]))
# Stiffness-type matrix of the compliance tensor: s_ijkl itself; pymatgen's full tensor agrees.
m = np.array(d["matrix"]) * 10.0 ** d["power_of_ten"]
s = ElasticTensor.from_voigt(np.array([[168.4,121.4,121.4,0,0,0],[121.4,168.4,121.4,0,0,0],
    [121.4,121.4,168.4,0,0,0],[0,0,0,75.4,0,0],[0,0,0,0,75.4,0],[0,0,0,0,0,75.4]])).compliance_tensor
full = np.array(s)
assert abs(m[3][3] - full[1][2][1][2]) < 1e-9 * abs(full[1][2][1][2]), (m[3][3], full[1][2][1][2])
assert abs(m[0][1] - full[0][0][1][1]) < 1e-9 * abs(full[0][0][1][1])
PY
fi

# Damaged files are refused with the line or key named, and no file is written.
printf '1 2 3\n' >"$dir/short.txt"
expect_status 1 "$cli" import "$dir/short.txt" -o "$dir/x.ten"
grep -q 'short.txt.: line 1: 6 numbers expected, found 3' "$dir/err" || fail "short matrix: $(cat "$dir/err")"
printf '{"elastic_tensor": {"raw": [[1, 2]]}}' >"$dir/mp.json"
expect_status 1 "$cli" import "$dir/mp.json" -o "$dir/x.ten"
grep -q 'key elastic_tensor.raw' "$dir/err" || fail "damaged MP JSON: $(cat "$dir/err")"
printf ' TOTAL ELASTIC MODULI (kBar)\n Direction XX YY ZZ XY YZ ZX\n ---\n XX 1 2 3 4 5 6\n' >"$dir/OUTCAR"
expect_status 1 "$cli" import "$dir/OUTCAR" -o "$dir/x.ten"
grep -q 'line 5: the file ends before row YY' "$dir/err" || fail "cut OUTCAR: $(cat "$dir/err")"
[ -e "$dir/x.ten" ] && fail "a refused import wrote a file"
expect_status 2 "$cli" import "$dir/cu.txt" -o "$dir/x.ten" --format xml
expect_status 2 "$cli" matrix "$dir/cu.ten" --convention voigt

exit $((failures > 0))
