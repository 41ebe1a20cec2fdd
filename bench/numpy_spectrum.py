#!/usr/bin/python3
"""The averaged spectrum of an orbit file as a plain NumPy pipeline, timed side by side
with kestavor-cli over the same file.

NumPy: np.loadtxt of the velocity column, every 18th record as a sample, 2049 samples
read per segment, the window on samples 1..2047, a 2048-point FFT per segment, the
one-sided power with the 1/N^2 factor, and the sum with the weight 10/(S+1).

Usage: numpy_spectrum.py [ORBIT.pha] [--bench PATH/bench_spectrum] [--cli PATH/kestavor-cli]
                         [--window NAME] [--segments S]
With --bench, bench_spectrum runs first and writes its simulated 1,000,000-record orbit
file into a temporary folder; that file is then used here (ORBIT.pha is not needed), and
the C++ figures of the spectrum from the file (read, parse, 27 segments) are set beside
NumPy's. With --cli, the same spectrum is made by `kestavor-cli spectrum` (the whole "FFT"
command as a process: reading, averaging, plot, Lyapunov estimate, *.fft file), and the
two spectra are compared line by line.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

N = 2048
DECIMATION = 18
RECORDS_PER_SEGMENT = (N + 1) * DECIMATION


def window_weights(name):
    j = np.arange(N, dtype=np.float64)
    centred = (j - 0.5 * (N - 1)) / (0.5 * (N + 1))
    if name == "parzen":
        w = 1 - np.abs(centred)
    elif name == "hanning":
        w = (1 - np.cos(np.float64(np.float32(6.2831855)) * j / N)) * 0.5
    elif name == "welch":
        x = centred.astype(np.float32).astype(np.float64)
        w = 1 - x * x
    else:
        w = np.ones(N)
    w = w.astype(np.float32).astype(np.float64)
    w[0] = 1.0  # sample 0 is never weighted
    return w


def numpy_spectrum(path, window, segments):
    velocity = np.loadtxt(path, skiprows=2, usecols=2, dtype=np.float32)
    if segments is None:
        header = int(open(path).readline())
        segments = int(np.round(header / 18 / 2048 - 0.5))  # rounds half to even
    w = window_weights(window)
    spectrum = np.zeros(N // 2 + 1)
    for s in range(segments):
        start = s * RECORDS_PER_SEGMENT + DECIMATION - 1
        samples = velocity[start:start + RECORDS_PER_SEGMENT:DECIMATION][:N]
        if len(samples) < N:
            sys.exit("the file ends before %d segments" % segments)
        x = samples.astype(np.float64) / 0.1569673 * w
        X = np.fft.fft(x)
        p = np.abs(X) ** 2 / N / N
        power = np.empty(N // 2 + 1)
        power[0] = p[0]
        power[1:N // 2] = p[1:N // 2] + p[N - 1:N // 2:-1]
        power[N // 2] = p[N // 2]
        spectrum += 10 * power / (segments + 1)
    return spectrum, segments


def best_of(runs, fn):
    best = None
    for _ in range(runs):
        t0 = time.perf_counter()
        result = fn()
        t = time.perf_counter() - t0
        best = t if best is None or t < best else best
    return best, result


def run_bench(bench, orbit):
    """Runs the C++ spectrum benchmark; returns seconds per spectrum of the file."""
    env = dict(os.environ, KV_BENCH_ORBIT=orbit)
    r = subprocess.run([bench, "--benchmark_filter=BM_Spectrum27SegmentsFromFile",
                        "--benchmark_format=json", "--benchmark_repetitions=3"],
                       env=env, check=True, capture_output=True, text=True)
    runs = json.loads(r.stdout)["benchmarks"]
    times = [b["real_time"] for b in runs if b.get("run_type") == "iteration"]
    unit = {"ms": 1e-3, "us": 1e-6, "ns": 1e-9, "s": 1.0}[runs[0]["time_unit"]]
    return min(times) * unit


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("orbit", nargs="?")
    ap.add_argument("--bench")
    ap.add_argument("--cli")
    ap.add_argument("--window", default="hanning")
    ap.add_argument("--segments", type=int)
    ap.add_argument("--runs", type=int, default=3)
    a = ap.parse_args()
    window = a.window.lower()
    with tempfile.TemporaryDirectory() as tmp:
        t_bench = None
        if a.bench:
            a.orbit = os.path.join(tmp, "orbit-1m.pha")
            t_bench = run_bench(a.bench, a.orbit)
        if not a.orbit:
            ap.error("give an orbit file or --bench")
        compare(a, window, t_bench)


def compare(a, window, t_bench):
    t_np, (spectrum, segments) = best_of(a.runs, lambda: numpy_spectrum(a.orbit, window, a.segments))
    size = os.path.getsize(a.orbit)
    print("file: %s, %.1f MB, %d segments, window %s" % (a.orbit, size / 1e6, segments, window))
    print("NumPy (loadtxt + %d FFTs):              %8.3f s" % (segments, t_np))
    if t_bench is not None:
        print("C++ (read + parse + %d segments):       %8.3f s   ratio NumPy / C++: %.1f x"
              % (segments, t_bench, t_np / t_bench))
    if not a.cli:
        return
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "s.fft")
        cmd = [a.cli, "spectrum", a.orbit, "--window", window, "--segments", str(segments), "-o", out]
        t_cli, _ = best_of(a.runs, lambda: subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL))
        lines = open(out).read().splitlines()
    power = np.array([float(line.split()[1]) if line.split()[1] != "." else 0.0
                      for line in lines[3:]])
    ref = spectrum[1:len(power) + 1]
    rel = np.max(np.abs(power - ref) / np.maximum(np.abs(ref), 1e-30))
    print("kestavor-cli spectrum (whole command):  %8.3f s   ratio NumPy / CLI: %.1f x"
          % (t_cli, t_np / t_cli))
    print("largest relative difference of the %d spectrum lines: %.2e" % (len(power), rel))


if __name__ == "__main__":
    main()
