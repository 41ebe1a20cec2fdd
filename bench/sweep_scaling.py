#!/usr/bin/python3
"""Whole-process figures of sweeps, measured side by side in one run:

  * kestavor-cli sweep on 1 and on 2 threads (wall time; the target is 1.8 times faster),
  * kestavor-mpi sweep under mpirun -np 1 and -np 2, when --mpi is given (the same target),
    192 values for both: Open MPI's start costs each run about 0.45 s, which a smaller sweep
    would let hide the scaling,
  * an orbit diagram of the same values, T and K made by NumPy/SciPy (solve_ivp per value,
    RK45, sampled at the drive's period) against kestavor-cli sweep on one thread (CPU time
    per value; the aim is at least 20 times faster).

  bench/sweep_scaling.py --cli build/cli/kestavor-cli [--mpi build-mpi/mpi/kestavor-mpi]
"""
import argparse
import math
import os
import resource
import subprocess
import sys
import tempfile
import time


def run(cmd):
    """Wall and CPU seconds (user + system, children) of one command."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def best(cmd, runs):
    results = [run(cmd) for _ in range(runs)]
    return min(r[0] for r in results), min(r[1] for r in results)


def scipy_orbit(amplitudes, transient, kept):
    """The orbit diagram with solve_ivp; CPU seconds per value."""
    import numpy as np
    from scipy.integrate import solve_ivp

    mgr, inertia, damping, omega_d = 0.000798, 0.000009876, 0.000017754, 5.8119
    omega0 = (mgr / inertia) ** 0.5
    q = omega0 * inertia / damping
    big_omega = omega_d / omega0
    period = 2 * math.pi / big_omega
    start = time.process_time()
    for amplitude in amplitudes:
        g = amplitude / inertia / omega0 / omega0

        def f(t, y):
            return [y[1], -y[1] / q - math.sin(y[0]) + g * math.sin(big_omega * t)]

        times = np.arange(1, transient + kept + 1) * period
        sol = solve_ivp(f, (0, times[-1]), [1.0, 1.0 / omega0], method="RK45", t_eval=times,
                        rtol=1e-9, atol=1e-9)
        assert sol.success and sol.y.shape[1] == transient + kept
    return (time.process_time() - start) / len(amplitudes)


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--cli", required=True)
    p.add_argument("--mpi")
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--no-scaling", action="store_true", help="only the SciPy comparison")
    a = p.parse_args()
    out = tempfile.mkdtemp()
    sweep = ["sweep", "--param", "drive-amplitude", "--from", "0.0004", "--to", "0.0008",
             "--steps", "192", "--transient", "200", "--points", "100", "--quiet", "-o",
             os.path.join(out, "s.csv")]
    if not a.no_scaling:
        one = best([a.cli] + sweep + ["--threads", "1"], a.runs)
        two = best([a.cli] + sweep + ["--threads", "2"], a.runs)
        print(f"kestavor-cli sweep, 192 values: 1 thread {one[0]:.2f} s, 2 threads {two[0]:.2f} s "
              f"wall: {one[0] / two[0]:.2f}x")
    if a.mpi and not a.no_scaling:
        mpirun = ["mpirun", "--oversubscribe"] + (["--allow-run-as-root"] if os.getuid() == 0 else [])
        r1 = best(mpirun + ["-np", "1", a.mpi] + sweep, a.runs)
        r2 = best(mpirun + ["-np", "2", a.mpi] + sweep, a.runs)
        print(f"kestavor-mpi sweep, 192 values: 1 rank {r1[0]:.2f} s, 2 ranks {r2[0]:.2f} s "
              f"wall: {r1[0] / r2[0]:.2f}x")
    values = 6
    amplitudes = [0.0004 + 0.0004 * i / (values - 1) for i in range(values)]
    try:
        scipy_cpu = scipy_orbit(amplitudes, 200, 100)
    except ImportError as e:
        print(f"NumPy/SciPy not available ({e}): no comparison")
        return 0
    small = list(sweep)
    small[small.index("--steps") + 1] = str(values)
    small += ["--threads", "1"]
    cli_cpu = best([a.cli] + small, a.runs)[1] / values
    print(f"orbit diagram, T 200, K 100, per value on one core: SciPy solve_ivp "
          f"{scipy_cpu * 1000:.0f} ms, kestavor-cli sweep {cli_cpu * 1000:.1f} ms (whole "
          f"process): {scipy_cpu / cli_cpu:.0f}x")
    return 0


if __name__ == "__main__":
    sys.exit(main())
