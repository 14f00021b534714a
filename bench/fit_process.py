#!/usr/bin/python3
"""A million measurements fitted by the whole command-line tool, beside the whole numpy peer
process doing the same fit, run alternately in one go: wall and CPU times (medians) and the
peak memory of each, as /usr/bin/time -v reports them, and the ratios.

  bench/fit_process.py BUILD_DIR [--runs N] [--fit-data PATH] [--other-tool PATH]

The measurement file (default BUILD_DIR/fit-1m.csv) is made once by bench/peer_numpy.py. The
tool's start alone is shown too (its `components` command, which reads the symmetry table).
--other-tool times another build's quillmere-cli in the same go (the one before a change, say)."""
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def timed(command):
    """Wall milliseconds, CPU milliseconds and peak resident megabytes of one run."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as report:
        start = time.perf_counter()
        subprocess.run(["/usr/bin/time", "-v", "-o", report.name] + command, check=True,
                       stdout=subprocess.DEVNULL)
        wall = (time.perf_counter() - start) * 1000
        fields = dict(line.strip().rsplit(": ", 1) for line in report if ": " in line)
    cpu = (float(fields["User time (seconds)"]) + float(fields["System time (seconds)"])) * 1000
    return wall, cpu, int(fields["Maximum resident set size (kbytes)"]) / 1024


def main():
    args = sys.argv[1:]
    build = args[0] if args and not args[0].startswith("--") else "build"
    runs = int(args[args.index("--runs") + 1]) if "--runs" in args else 7
    data = args[args.index("--fit-data") + 1] if "--fit-data" in args else \
        os.path.join(build, "fit-1m.csv")
    peer = os.path.join(HERE, "peer_numpy.py")
    if not os.path.exists(data):
        subprocess.run(["/usr/bin/python3", peer, "--make-fit-data", data], check=True)
    tool = os.path.join(build, "bin", "quillmere-cli")
    commands = {
        "quillmere-cli fit": [tool, "fit", "thermal-expansion", "--group", "-3m", data],
        "numpy peer": ["/usr/bin/python3", peer, "--fit-once", data],
        "quillmere-cli start": [tool, "components", "(ij)", "4/mm"],
    }
    if "--other-tool" in args:
        other = args[args.index("--other-tool") + 1]
        commands["other tool fit"] = [other] + commands["quillmere-cli fit"][1:]
        commands["other tool start"] = [other] + commands["quillmere-cli start"][1:]
    figures = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            figures[name].append(timed(command))

    def median(name, column):
        return statistics.median(f[column] for f in figures[name])

    print("%d runs each, alternating; medians" % runs)
    print("  %-22s %10s %10s %10s" % ("", "wall ms", "CPU ms", "peak MB"))
    for name in commands:
        print("  %-22s %10.1f %10.1f %10.1f" % (name, median(name, 0), median(name, 1),
                                                median(name, 2)))
    ours, theirs = "quillmere-cli fit", "numpy peer"
    for name in (ours, "other tool fit"):
        if name in commands:
            print("%s / numpy peer: wall %.3f, CPU %.3f (target <= 0.3); peak %.1f MB "
                  "(target <= 100)" % (name, median(name, 0) / median(theirs, 0),
                                       median(name, 1) / median(theirs, 1), median(name, 2)))


if __name__ == "__main__":
    main()
