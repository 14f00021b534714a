#!/usr/bin/python3
"""Runs the C++ benchmarks and the numpy peer in one go and prints both, with the ratios the
surface and fit figures are judged by. CPU times (medians), so that a busy machine shifts both
sides alike.

  bench/compare.py BUILD_DIR [--fit-data PATH]

The fit figure of the peer reads a million-line measurement file, made once at PATH (default
BUILD_DIR/fit-1m.csv) by bench/peer_numpy.py."""
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def run_bench(binary, pattern, repetitions=5):
    out = subprocess.run(
        [binary, "--benchmark_filter=" + pattern, "--benchmark_format=json",
         "--benchmark_repetitions=%d" % repetitions, "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True,
        env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") in ("median", None):
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            figures[b["run_name"]] = b["cpu_time"] * scale
    return figures


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    fit_data = os.path.join(build, "fit-1m.csv")
    if "--fit-data" in sys.argv:
        fit_data = sys.argv[sys.argv.index("--fit-data") + 1]
    peer = os.path.join(HERE, "peer_numpy.py")
    if not os.path.exists(fit_data):
        subprocess.run(["/usr/bin/python3", peer, "--make-fit-data", fit_data], check=True)
    bin_dir = os.path.join(build, "bin")
    ours = {}
    ours.update(run_bench(os.path.join(bin_dir, "surface_bench"), "BuildScene|ProjectAndSort"))
    ours.update(run_bench(os.path.join(bin_dir, "map_bench"), "Extremes|MapGrid|MapCsv"))
    ours.update(run_bench(os.path.join(bin_dir, "view_drag_bench"), "DragFrames/1280/800/2|Frame", 3))
    ours.update(run_bench(os.path.join(bin_dir, "fit_bench"), "Million", 1))
    theirs = {}
    for line in subprocess.run(["/usr/bin/python3", peer, fit_data], check=True,
                               capture_output=True, text=True).stdout.splitlines():
        name, value = line.split()
        theirs[name] = float(value)

    def ratio(name, peer_name, target):
        mine = next((v for k, v in ours.items() if k.startswith(name)), None)
        other = theirs.get(peer_name)
        if mine is None or other is None:
            return
        print("%-44s %9.3f ms  numpy %9.3f ms  ratio %.3f (target <= %s)"
              % (name, mine, other, mine / other, target))

    print("CPU time, medians")
    for name, value in sorted(ours.items()):
        print("  %-56s %9.3f ms" % (name, value))
    for name, value in sorted(theirs.items()):
        print("  numpy %-50s %9.3f ms" % (name, value))
    print()
    ratio("BM_BuildScene/2", "scene_r2", "0.4")
    ratio("BM_BuildScene/5", "scene_r5", "0.05")
    ratio("BM_MapGrid/512", "map_r5", "0.25")
    ratio("BM_FitOfAMillionMeasurementsFromText", "fit_1m", "0.3")


if __name__ == "__main__":
    main()
