#!/usr/bin/python3
"""The Python module's speed and memory against the usual NumPy and pandas readers and
against kestavor-cli, each in a process of its own, the programs compared interleaved.

    PYTHONPATH=build bench/python_module.py --cli build/cli/kestavor-cli \
        --gen build/bench/bench_orbit_file [--dir /tmp/kv-python-bench] [--runs 3]

1. Reading a 10,000,000-record orbit file (made once with bench_orbit_file): the whole
   call of kestavor.read, np.loadtxt(skiprows=2) and pandas.read_csv (C engine, blank
   separated, two header rows skipped); the peak memory the call added to its process
   (VmHWM after the call less VmRSS before it) against the bytes of the arrays returned.
2. simulate(orbit=1000000): the whole python3 process that imports kestavor and calls it,
   against the whole kestavor-cli simulate process writing the same points.
Prints Markdown tables of medians (elapsed s, CPU s of the process).
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import time

CHILD = r"""
import json, sys, time
def status(key):
    for line in open("/proc/self/status"):
        if line.startswith(key):
            return int(line.split()[1]) * 1024
how, path = sys.argv[1], sys.argv[2]
import numpy as np
if how == "kestavor":
    import kestavor
elif how == "pandas":
    import pandas as pd
before = status("VmRSS:")
t0 = time.perf_counter()
if how == "kestavor":
    d = kestavor.read(path)
    arrays = [d.time, d.phase, d.velocity, d.revolutions]
elif how == "loadtxt":
    arrays = [np.loadtxt(path, skiprows=2)]
else:
    arrays = [pd.read_csv(path, sep=" ", header=None, skiprows=2, engine="c").to_numpy()]
elapsed = time.perf_counter() - t0
print(json.dumps({"s": elapsed, "added": status("VmHWM:") - before,
                  "arrays": sum(a.nbytes for a in arrays), "records": len(arrays[0])}))
"""


def run(cmd, env=None):
    """Elapsed and CPU seconds of the whole process, and its standard output."""
    t0 = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, env=env)
    out = p.stdout.read()
    _, status, ru = os.wait4(p.pid, 0)
    if status != 0:
        sys.exit(f"{cmd[0]} failed ({status})")
    return time.perf_counter() - t0, ru.ru_utime + ru.ru_stime, out


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--cli", required=True)
    a.add_argument("--gen", required=True)
    a.add_argument("--dir", default="/tmp/kv-python-bench")
    a.add_argument("--runs", type=int, default=3)
    a.add_argument("--records", type=int, default=10000000)
    args = a.parse_args()
    os.makedirs(args.dir, exist_ok=True)
    orbit = os.path.join(args.dir, f"orbit-{args.records}.pha")
    if not os.path.exists(orbit):
        subprocess.run([args.gen, str(args.records), orbit], check=True)
    py = "/usr/bin/python3"

    # 1. Reading.
    results = {k: [] for k in ("kestavor", "loadtxt", "pandas")}
    for _ in range(args.runs):
        for how in results:
            _, cpu, out = run([py, "-c", CHILD, how, orbit])
            r = json.loads(out)
            r["cpu"] = cpu
            results[how].append(r)
    print(f"Reading {orbit} ({os.path.getsize(orbit) / 1e6:.0f} MB), median of {args.runs}:\n")
    print("| Reader | Call s | Process CPU s | Peak added MB | Arrays MB |")
    print("|---|---|---|---|---|")
    med = {}
    for how, rs in results.items():
        med[how] = statistics.median(r["s"] for r in rs)
        print(f"| {how} | {med[how]:.2f} | {statistics.median(r['cpu'] for r in rs):.2f} | "
              f"{statistics.median(r['added'] for r in rs) / 1e6:.0f} | "
              f"{rs[0]['arrays'] / 1e6:.0f} |")
    print(f"\nloadtxt / kestavor {med['loadtxt'] / med['kestavor']:.1f}x, "
          f"pandas / kestavor {med['pandas'] / med['kestavor']:.1f}x\n")

    # 2. Simulating 1,000,000 orbit points.
    out = os.path.join(args.dir, "sim.pha")
    cli = [args.cli, "simulate", "--orbit", "1000000", "-o", out, "--quiet"]
    mod = [py, "-c", "import kestavor; kestavor.simulate(orbit=1000000)"]
    mod_file = [py, "-c", f"import kestavor; kestavor.simulate(orbit=1000000, path={out!r})"]
    pairs = {"kestavor-cli simulate": cli, "kestavor.simulate": mod,
             "kestavor.simulate(path=)": mod_file}
    times = {k: [] for k in pairs}
    for _ in range(args.runs):
        for k, cmd in pairs.items():
            elapsed, cpu, _ = run(cmd)
            times[k].append((elapsed, cpu))
    print(f"Simulating 1,000,000 orbit points, whole processes, median of {args.runs}:\n")
    print("| Process | Elapsed s | CPU s |")
    print("|---|---|---|")
    for k, ts in times.items():
        print(f"| {k} | {statistics.median(t[0] for t in ts):.2f} | "
              f"{statistics.median(t[1] for t in ts):.2f} |")


if __name__ == "__main__":
    main()
