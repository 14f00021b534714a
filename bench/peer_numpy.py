#!/usr/bin/python3
"""The numpy peer of the benchmarks: the same work in numpy, timed on the same machine in the
same go, so that the C++ figures can be read as ratios.

  scene_r2, scene_r5   the surface polynomial at the 41 760 corner directions of a resolution-8
                       build (rank 2 and 5)
  map_r5               the rank-5 polynomial at the 512 x 512 cell centres of an equal-area map
  fit_1m               a million thermal-expansion measurements (calcite, -3m): loadtxt, then the
                       weighted least squares with its standard deviations

Prints one line per figure: "name median_ms". With --make-fit-data PATH it only writes the
million-line measurement file the fit figures read (also used by the C++ fit benchmark); with
--fit-once PATH it only fits that file once and prints the components and their deviations, the
whole process being the peer of one run of the command-line tool (bench/fit_process.py)."""
import sys
import time

import numpy as np

CALCITE = [(1, 0, 0, -5.62, 0.05), (0, 1, 0, -5.55, 0.05), (0, 0, 1, 25.04, 0.05),
           (1, 0, 1, 9.68, 0.05), (1, 1, 1, 4.63, 0.05), (0, 1, 2, 18.85, 0.05)]


def make_fit_data(path, rows=1_000_000):
    lines = ["u1,u2,u3,y,dy\n"]
    for k in range(rows):
        lines.append("%g,%g,%g,%g,%g\n" % CALCITE[k % len(CALCITE)])
    with open(path, "w") as f:
        f.writelines(lines)


def median_ms(work, repeats):
    times = []
    for _ in range(repeats):
        start = time.process_time()
        work()
        times.append((time.process_time() - start) * 1000)
    return float(np.median(times))


def corner_directions(resolution=8):
    n = 9 * resolution
    s = 0.3492 / resolution
    theta = np.arange(n) * np.pi / n + 0.01
    phi = np.arange(-n, n + 1) * np.pi / n
    th = np.concatenate([theta, theta + s])[:, None]
    ph = np.concatenate([phi, phi + s])[None, :]
    # Four corners per patch: every (theta or theta + s, phi or phi + s) pair.
    x = (-np.sin(th) * np.sin(ph)).ravel()
    y = (-np.sin(th) * np.cos(ph)).ravel()
    z = np.broadcast_to(-np.cos(th), (2 * n, 2 * (2 * n + 1))).ravel()
    return -x, y, z


def coefficients(rank, seed):
    rng = np.random.default_rng(seed)
    return [(a, b, rng.uniform(-1, 1)) for a in range(rank + 1) for b in range(rank + 1 - a)]


def evaluate(terms, rank, x, y, z):
    px = [np.ones_like(x)]
    py = [np.ones_like(y)]
    pz = [np.ones_like(z)]
    for _ in range(rank):
        px.append(px[-1] * x)
        py.append(py[-1] * y)
        pz.append(pz[-1] * z)
    total = np.zeros_like(x)
    for a, b, c in terms:
        total += c * px[a] * py[b] * pz[rank - a - b]
    return total


def map_directions(size=512):
    c = -1 + (2 * np.arange(size) + 1) / size
    x, y = np.meshgrid(c, -c)
    r2 = x * x + y * y
    f = np.sqrt(np.maximum(2 - r2, 0))
    return x * f, y * f, 1 - r2


def fit(path):
    data = np.loadtxt(path, delimiter=",", skiprows=1)
    u = data[:, :3] / np.linalg.norm(data[:, :3], axis=1)[:, None]
    design = np.stack([u[:, 0] ** 2 + u[:, 1] ** 2, u[:, 2] ** 2], axis=1)
    w = 1 / data[:, 4] ** 2
    a = design.T @ (design * w[:, None])
    b = design.T @ (data[:, 3] * w)
    c = np.linalg.inv(a)
    x = c @ b
    r = data[:, 3] - design @ x
    chi2 = float(np.sum(w * r * r))
    return x, np.sqrt(chi2 * np.diag(c) / (len(data) - 2))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--make-fit-data":
        make_fit_data(sys.argv[2])
        return
    if len(sys.argv) == 3 and sys.argv[1] == "--fit-once":
        x, sd = fit(sys.argv[2])
        print(" ".join("%.17g %.17g" % pair for pair in zip(x, sd)))
        return
    fit_path = sys.argv[1] if len(sys.argv) > 1 else None
    x, y, z = corner_directions()
    for rank in (2, 5):
        terms = coefficients(rank, rank)
        print("scene_r%d %.4f" % (rank, median_ms(lambda: evaluate(terms, rank, x, y, z), 41)))
    mx, my, mz = map_directions()
    terms = coefficients(5, 5)
    print("map_r5 %.4f" % median_ms(lambda: evaluate(terms, 5, mx, my, mz), 15))
    if fit_path:
        print("fit_1m %.4f" % median_ms(lambda: fit(fit_path), 3))


if __name__ == "__main__":
    main()
