#!/usr/bin/python3
"""Whole-process time and peak memory of kestavor-cli commands, side by side with the
NumPy pipeline of bench/numpy_spectrum.py and, optionally, with another build of
kestavor-cli (an earlier commit), measured with /usr/bin/time over the same files.

Usage: cli_pairs.py --cli build/cli/kestavor-cli [--before OTHER/kestavor-cli]
                    [--gen build/bench/bench_orbit_file] [--dir /tmp/kv-cli-pairs] [--runs 5]
                    [--readers]

With --readers it measures the readers' bounded memory instead: dimension of a
5,000,000-point Poincare file (target: under 40 MB peak) and print of a 4,000,000-record
orbit file to PNG (target: under 64 MB peak), and fails when a target is missed.

The orbit files (1e5, 1e6 and 1e7 records of the simulated default pendulum) are made
once with bench_orbit_file and kept in --dir. Runs of the programs compared are
interleaved, so a busy machine slows them alike; the figures are medians of --runs runs
of the elapsed time, the CPU time (user + system: what the process itself used, less
disturbed by other work on the machine) and the peak resident memory. Prints a Markdown
table.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = [("1e5", 100000), ("1e6", 1000000), ("1e7", 10000000)]


def timed(cmd):
    """Elapsed seconds, CPU seconds (user + system) and peak RSS in MB of one run of cmd.
    The command runs under /usr/bin/time, which reports its peak memory; the CPU time is
    the resource usage of /usr/bin/time and the command it waited for."""
    t0 = time.perf_counter()
    p = subprocess.Popen(["/usr/bin/time", "-f", "%M"] + cmd, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE)
    err = p.stderr.read().decode(errors="replace")
    _, status, ru = os.wait4(p.pid, 0)
    p.returncode = status
    elapsed = time.perf_counter() - t0
    peak_kb = int(err.strip().splitlines()[-1])
    return elapsed, ru.ru_utime + ru.ru_stime, peak_kb / 1024.0, status


def numpy_cmd(path):
    code = ("import sys; sys.path.insert(0, %r); import numpy_spectrum as m; "
            "m.numpy_spectrum(%r, 'hanning', None)" % (HERE, path))
    return ["/usr/bin/python3", "-c", code]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--cli", required=True)
    ap.add_argument("--before")
    ap.add_argument("--gen", default=None)
    ap.add_argument("--dir", default="/tmp/kv-cli-pairs")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--no-numpy", action="store_true")
    ap.add_argument("--readers", action="store_true")
    a = ap.parse_args()
    if a.readers:
        return readers(a)
    gen = a.gen or os.path.join(os.path.dirname(os.path.dirname(a.cli)), "bench", "bench_orbit_file")
    os.makedirs(a.dir, exist_ok=True)
    files = {}
    for name, n in SIZES:
        path = os.path.join(a.dir, "orbit-%s.pha" % name)
        if not os.path.exists(path):
            print("making %s" % path, file=sys.stderr)
            subprocess.run([gen, str(n), path], check=True)
        files[name] = path
    tiny = os.path.join(a.dir, "tiny.pha")
    with open(tiny, "w") as f:
        f.write(" 3 \r\nPHASE\r\n.002 .5 1 0\r\n.004 .5 2 0\r\n.006 .5 3 0\r\n")
    out = os.path.join(a.dir, "out.fft")

    rows = [("kestavor-cli --version", lambda cli: [cli, "--version"], False),
            ("kestavor-cli lyapunov tiny.pha (3 records)", lambda cli: [cli, "lyapunov", tiny], False)]
    for name, _ in SIZES:
        rows.append(("kestavor-cli lyapunov orbit-%s.pha" % name,
                     (lambda p: lambda cli: [cli, "lyapunov", p])(files[name]), False))
    for name in ("1e6", "1e7"):
        rows.append(("kestavor-cli spectrum orbit-%s.pha --window Hanning -o out.fft" % name,
                     (lambda p: lambda cli: [cli, "spectrum", p, "--window", "Hanning", "-o", out])(
                         files[name]), name))

    programs = [("after", a.cli)]
    if a.before:
        programs.insert(0, ("before", a.before))
    cols = [p for p, _ in programs] + ([] if a.no_numpy else ["NumPy"])
    print("| Command | " + " | ".join("%s: elapsed s / CPU s / peak MB" % c for c in cols) + " |")
    print("|---" * (1 + len(cols)) + "|")
    for label, make, numpy_size in rows:
        results = {p: [] for p, _ in programs}
        np_results = []
        for _ in range(a.runs):
            for p, cli in programs:
                results[p].append(timed(make(cli)))
            if numpy_size and not a.no_numpy:
                np_results.append(timed(numpy_cmd(files[numpy_size])))
        def cell(rs):
            return "%.3f / %.3f / %.1f" % tuple(statistics.median(r[k] for r in rs)
                                               for k in range(3))
        cells = [cell(results[p]) for p, _ in programs]
        if not a.no_numpy:
            cells.append(cell(np_results) if np_results else "")
        print("| `%s` | %s |" % (label, " | ".join(cells)), flush=True)


def readers(a):
    """Peak memory of the readers that stream their files (dimension, print)."""
    os.makedirs(a.dir, exist_ok=True)
    poi = os.path.join(a.dir, "poincare-5e6.poi")
    if not os.path.exists(poi):
        print("making %s" % poi, file=sys.stderr)
        with open(poi, "w", newline="") as f:
            subprocess.run(["awk", r'BEGIN { printf " 5000000 \r\nPOINCARE\r\n"; '
                            r'for (i = 0; i < 5000000; i++) printf "%.4f %.4f\r\n", '
                            r'sin(i * 0.7) * 3.1, cos(i * 1.3) * 20 }'], stdout=f, check=True)
    gen = a.gen or os.path.join(os.path.dirname(os.path.dirname(a.cli)), "bench", "bench_orbit_file")
    pha = os.path.join(a.dir, "orbit-4e6.pha")
    if not os.path.exists(pha):
        print("making %s" % pha, file=sys.stderr)
        subprocess.run([gen, "4000000", pha], check=True)
    png = os.path.join(a.dir, "page.png")
    rows = [("kestavor-cli dimension poincare-5e6.poi", lambda cli: [cli, "dimension", poi], 40),
            ("kestavor-cli print orbit-4e6.pha -o page.png",
             lambda cli: [cli, "print", pha, "-o", png], 64)]
    programs = [("after", a.cli)] + ([("before", a.before)] if a.before else [])
    print("| Command | " + " | ".join("%s: elapsed s / CPU s / peak MB" % p for p, _ in programs)
          + " | target |")
    print("|---" * (2 + len(programs)) + "|")
    missed = False
    for label, make, target in rows:
        cells = []
        for p, cli in programs:
            rs = [timed(make(cli)) for _ in range(a.runs)]
            med = [statistics.median(r[k] for r in rs) for k in range(3)]
            cells.append("%.3f / %.3f / %.1f" % tuple(med))
            if p == "after" and med[2] >= target:
                missed = True
        print("| `%s` | %s | < %d MB |" % (label, " | ".join(cells), target), flush=True)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
