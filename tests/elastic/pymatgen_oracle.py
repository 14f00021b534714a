#!/usr/bin/python3
"""The elastic report of quillmere-cli against pymatgen's ElasticTensor, an independent
implementation: averages, compliance, and every reported extreme recomputed at its direction and
compared with a random sample over the sphere. Exits 77 (skipped) where pymatgen is missing.
Usage: pymatgen_oracle.py PATH/TO/quillmere-cli EXAMPLES-FOLDER"""
import json
import os
import subprocess
import sys
import tempfile

try:
    import numpy as np
    from pymatgen.analysis.elasticity.elastic import ElasticTensor
except ImportError:
    print("pymatgen is not installed: skipped")
    sys.exit(77)

cli, examples = sys.argv[1], sys.argv[2]
failures = []


def check(what, got, want, tolerance):
    if not abs(got - want) <= tolerance * max(1.0, abs(want)):
        failures.append(f"{what}: {got} != {want}")


def report(path, density):
    out = subprocess.run([cli, "elastic", path, "--density", str(density), "--json"],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def unit_sample(count, rng):
    v = rng.normal(size=(count, 3))
    return v / np.linalg.norm(v, axis=1)[:, None]


def compare(name, path, density):
    r = report(path, density)
    c = ElasticTensor.from_voigt(np.array(r["stiffness_voigt"]))
    s = c.compliance_tensor  # 1/GPa, s_ijkl
    check(name + " compliance", 0, np.abs(np.array(r["compliance_voigt"]) / 1000
                                          - s.voigt).max(), 1e-12)
    av = r["averages"]
    check(name + " K_V", av["voigt"]["bulk"], c.k_voigt, 1e-10)
    check(name + " K_R", av["reuss"]["bulk"], c.k_reuss, 1e-10)
    check(name + " G_V", av["voigt"]["shear"], c.g_voigt, 1e-10)
    check(name + " G_R", av["reuss"]["shear"], c.g_reuss, 1e-10)
    check(name + " nu_H", av["hill"]["poisson"], c.homogeneous_poisson, 1e-10)
    check(name + " E_H", av["hill"]["youngs"], c.y_mod / 1e9, 1e-10)
    check(name + " A^U", r["universal_anisotropy"], c.universal_anisotropy, 1e-10)

    S = np.array(s)
    young = lambda n: 1 / np.einsum("ijkl,...i,...j,...k,...l->...", S, n, n, n, n)
    shear = lambda n, m: 1 / (4 * np.einsum("ijkl,...i,...j,...k,...l->...", S, n, m, n, m))
    beta = lambda n: np.einsum("ijkk,...i,...j->...", S, n, n) * 1000

    def speeds(n):
        g = np.array(c.green_kristoffel(n)) / density * 1e9
        return np.sqrt(np.sort(np.linalg.eigvalsh(g))[::-1]) / 1000

    rng = np.random.default_rng(11)
    n = unit_sample(20000, rng)
    m = np.cross(n, unit_sample(20000, rng))
    m /= np.linalg.norm(m, axis=1)[:, None]
    samples = {
        "youngs_modulus": young(n),
        "linear_compressibility": beta(n),
        "shear_modulus": shear(n, m),
        "poisson_ratio": -np.einsum("ijkl,...i,...j,...k,...l->...", S, n, n, m, m)
        / np.einsum("ijkl,...i,...j,...k,...l->...", S, n, n, n, n),
    }
    for key, sample in samples.items():
        for end in ("min", "max"):
            x = r[key][end]
            d = np.array(x["direction"])
            if key == "youngs_modulus":
                value = young(d)
            elif key == "linear_compressibility":
                value = beta(d)
            elif key == "shear_modulus":
                value = shear(d, np.array(x["perpendicular"]))
            else:
                value = c.directional_poisson_ratio(d, np.array(x["perpendicular"]))
            check(f"{name} {key} {end} at its direction", x["value"], value, 1e-9)
            # No sampled direction passes the reported extreme.
            beyond = sample.min() < x["value"] - 1e-9 * abs(x["value"]) if end == "min" else \
                sample.max() > x["value"] + 1e-9 * abs(x["value"])
            if beyond:
                failures.append(f"{name} {key} {end} {x['value']} passed by a sample")
    for k, mode in enumerate(("p", "s1", "s2")):
        for end in ("min", "max"):
            x = r["velocities"][mode][end]
            check(f"{name} v{mode} {end}", x["value"], speeds(np.array(x["direction"]))[k], 1e-9)
        sampled = np.array([speeds(d)[k] for d in n[:2000]])
        if sampled.min() < r["velocities"][mode]["min"]["value"] - 1e-9 or \
                sampled.max() > r["velocities"][mode]["max"]["value"] + 1e-9:
            failures.append(f"{name} v{mode} extremes passed by a sample")


with tempfile.TemporaryDirectory() as folder:
    turned = os.path.join(folder, "quartz-turned.ten")
    subprocess.run([cli, "transform", os.path.join(examples, "quartz-elastic.ten"), "--rotate",
                    "x:23", "--rotate", "z:41", "--rotate", "y:-17", "-o", turned], check=True,
                   capture_output=True)
    compare("copper", os.path.join(examples, "copper-elastic.ten"), 8960)
    compare("quartz", os.path.join(examples, "quartz-elastic.ten"), 2648)
    compare("turned quartz", turned, 2648)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
