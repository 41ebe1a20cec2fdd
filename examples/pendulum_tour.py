#!/usr/bin/env python3
"""A notebook-style tour of the kestavor module: read a recording, draw its phase plane and
a Poincare section, compute the spectrum and the Lyapunov exponent, and run a small sweep of
the drive amplitude. Runs headless (matplotlib's Agg backend) and writes its pictures into
the folder given (default: kestavor-tour/).

    PYTHONPATH=build python3 examples/pendulum_tour.py [OUT_DIR] [RECORDING.pha]

Without a recording, a simulated one is made first (as `kestavor-cli simulate` would).
"""

import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import kestavor  # noqa: E402

out = sys.argv[1] if len(sys.argv) > 1 else "kestavor-tour"
os.makedirs(out, exist_ok=True)

# 1. A recording: the file given, or a chaotic simulated run of 40000 records (80 s).
recording = sys.argv[2] if len(sys.argv) > 2 else os.path.join(out, "chaotic.pha")
if len(sys.argv) <= 2:
    kestavor.simulate(orbit=40000, drive_amplitude=0.0006, path=recording)
orbit = kestavor.read(recording)
print(orbit)

# 2. The phase plane (phase folded to -pi..pi as the program's plot shows it) and the
#    Poincare section of the same pendulum.
section = kestavor.simulate(poincare=3000, drive_amplitude=0.0006)
fig, (left, right) = plt.subplots(1, 2, figsize=(11, 4.5))
left.plot(orbit.phase, orbit.velocity, ",", color="tab:blue")
left.set(title="Phase plane", xlabel="phase (rad)", ylabel="velocity (rad/s)")
right.plot(section.phase, section.velocity, ".", markersize=1.5, color="tab:red")
right.set(title="Poincare section", xlabel="phase (rad)", ylabel="velocity (rad/s)")
fig.tight_layout()
fig.savefig(os.path.join(out, "phase_and_poincare.png"), dpi=120)

# 3. The averaged power spectrum of the velocity and the Lyapunov exponent.
spectrum = kestavor.spectrum(orbit, window="Hanning")
lyap = kestavor.lyapunov(orbit)
dim = kestavor.dimension(section)
print(f"{spectrum.segments} segment(s), {spectrum.window} window; "
      f"Lyapunov exponent {lyap.exponent:.3f} /s; capacity dimension {dim.value}")
fig, ax = plt.subplots(figsize=(8, 4))
ax.semilogy(spectrum.frequency, spectrum.power)
ax.set(title=f"Power spectrum ({spectrum.window})", xlabel="frequency (Hz)", ylabel="power")
fig.tight_layout()
fig.savefig(os.path.join(out, "spectrum.png"), dpi=120)

# 4. A small sweep: an orbit (bifurcation) diagram over the drive amplitude, the same
#    values kestavor-cli sweep writes, computed on every core.
diagram = kestavor.sweep("drive_amplitude", 0.0002, 0.0008, 120, transient=100, points=60)
print(diagram)
fig, ax = plt.subplots(figsize=(8, 4.5))
ax.plot(diagram.parameter, diagram.velocity, ",k")
ax.set(title="Orbit diagram: Poincare velocity against drive amplitude",
       xlabel="drive amplitude (Nm)", ylabel="velocity (rad/s)")
fig.tight_layout()
fig.savefig(os.path.join(out, "sweep.png"), dpi=120)
print("pictures in", out)
