"""The Kestavor chaotic pendulum from Python: its files as NumPy arrays, its engines as functions.

    >>> import kestavor
    >>> orbit = kestavor.simulate(orbit=100000)          # as `kestavor-cli simulate --orbit 100000`
    >>> orbit.phase, orbit.velocity                        # NumPy arrays, the file's values
    >>> s = kestavor.spectrum(orbit, window="Hanning")      # averaged power spectrum
    >>> kestavor.lyapunov(orbit).exponent
    >>> kestavor.dimension(kestavor.simulate(poincare=5000)).value
    >>> data = kestavor.read("run.pha")                    # any *.pha, *.poi or *.fft file

The functions run the same engines as the window and `kestavor-cli`, so files written with
`path=` are byte for byte those the program writes. Long calls release the GIL, stop with
KeyboardInterrupt on Ctrl+C (nothing is then written), and report how far they are to an
optional `progress(done, total)` callback. A file that cannot be read or written raises
`FileError`, which names the file and the line.
"""

import math
import numbers
import os
import tempfile

import numpy as np

from ._kestavor import FileError
from . import _kestavor

__all__ = [
    "FileError", "Orbit", "Poincare", "Spectrum", "Lyapunov", "Dimension", "read", "write",
    "simulate", "spectrum", "lyapunov", "dimension", "decode", "sweep", "OrbitDiagram",
    "LyapunovMap",
]

WINDOWS = ("Parzen", "Hanning", "Welch", "Square")
PANEL_DEFAULTS = dict(_kestavor._panel_defaults)


class _Data:
    """What the data classes share: a readable repr."""

    _columns = ()

    def __repr__(self):
        fields = ", ".join(f"{k}={getattr(self, k)!r}" for k in self._header)
        shapes = ", ".join(f"{c}[{len(getattr(self, c))}]" for c in self._columns)
        return f"{type(self).__name__}({fields}; {shapes})"

    def __len__(self):
        return len(getattr(self, self._columns[0]))


class Orbit(_Data):
    """An orbit (*.pha): one record per sample.

    time (s), phase (radian), velocity (rad/s) and revolutions are float64 arrays holding
    the values the program's readers take from the file; `points` is the count in the
    file's header (the records asked for), `path` the file read (None for a simulation
    without a file)."""

    kind = "orbit"
    _header = ("points", "path")
    _columns = ("time", "phase", "velocity", "revolutions")

    def __init__(self, time, phase, velocity, revolutions, points=None, path=None):
        self.time, self.phase, self.velocity, self.revolutions = time, phase, velocity, revolutions
        self.points = len(time) if points is None else points
        self.path = path


class Poincare(_Data):
    """A Poincare section (*.poi): one point per drive period.

    phase (radian) and velocity (rad/s) are float64 arrays. `simulated` tells which line
    format `write` uses: a simulation's (phase in 15 digits) or a recording's."""

    kind = "poincare"
    _header = ("points", "path", "simulated")
    _columns = ("phase", "velocity")

    def __init__(self, phase, velocity, points=None, path=None, simulated=False):
        self.phase, self.velocity = phase, velocity
        self.points = len(phase) if points is None else points
        self.path = path
        self.simulated = simulated


class Spectrum(_Data):
    """An averaged power spectrum (*.fft).

    frequency (Hz, float64) and power (float32, as the program keeps it) of each spectrum
    line, the FFT window's name, and for a computed spectrum the number of segments
    averaged and the Lyapunov exponent of the same orbit (None when there is none)."""

    kind = "spectrum"
    _header = ("window", "segments", "lyapunov", "path")
    _columns = ("frequency", "power")

    def __init__(self, frequency, power, window, points=None, segments=None, lyapunov=None,
                 path=None):
        self.frequency, self.power, self.window = frequency, power, window
        self.points = len(frequency) if points is None else points
        self.segments, self.lyapunov, self.path = segments, lyapunov, path


class Lyapunov:
    """The largest Lyapunov exponent of an orbit: `exponent` (1/s; None when no neighbour at
    a nonzero distance was found), the evolution `steps` counted, and the status `text`
    the window shows."""

    def __init__(self, exponent, steps, text):
        self.exponent, self.steps, self.text = exponent, steps, text

    def __repr__(self):
        return f"Lyapunov(exponent={self.exponent!r}, steps={self.steps})"


class Dimension:
    """The capacity dimension of a Poincare section: `value` (None when undefined: a box
    size has no occupied box), the `points` used (at most 5000), the occupied `box_totals`
    for 2, 4, ..., 512 boxes per side, and the status `text` the window shows."""

    def __init__(self, value, points, box_totals, text):
        self.value, self.points, self.box_totals, self.text = value, points, box_totals, text

    def __repr__(self):
        return f"Dimension(value={self.value!r}, points={self.points}, box_totals={self.box_totals})"


def read(path):
    """Reads an orbit (*.pha), Poincare (*.poi) or spectrum (*.fft) file.

    The kind is told by the file's second line (PHASE, POINCARE or FFT), as "Plot file"
    tells it. Returns an Orbit, a Poincare or a Spectrum whose arrays hold the values the
    program's readers take. A file that cannot be read, is of no known kind or has an item
    that is not a number raises FileError (its `filename` and `line` name the place)."""
    path = os.fspath(path)
    kind, count, window, columns = _kestavor._read(path)
    if kind == "orbit":
        return Orbit(*columns, points=count, path=path)
    if kind == "poincare":
        return Poincare(*columns, points=count, path=path)
    return Spectrum(*columns, window=window, points=count, path=path)


def _column(data, name):
    value = data.get(name) if isinstance(data, dict) else getattr(data, name, None)
    if value is None:
        raise TypeError(f"the data has no {name} column")
    return value


def _kind(data):
    kind = data.get("kind") if isinstance(data, dict) else getattr(data, "kind", None)
    if kind not in ("orbit", "poincare", "spectrum"):
        raise TypeError("write() needs an Orbit, a Poincare or a Spectrum (or a dict with "
                        "'kind' and its columns)")
    return kind


def _get(data, name, default=None):
    return data.get(name, default) if isinstance(data, dict) else getattr(data, name, default)


def write(path, data, *, simulated=None):
    """Writes `data` (an Orbit, Poincare or Spectrum, or a dict with 'kind' and the columns)
    as the program writes that kind of file, CR LF lines and number formats included.

    The header's count is data.points (by default the number of records). A Poincare file
    takes a simulation's line format when `simulated` (by default data.simulated) is true,
    else a recording's. A spectrum file holds 512 power values; its frequencies are those
    of the lines. The file is written beside `path` and moved over it only when complete,
    so a failed write (FileError) leaves an older file as it was."""
    path = os.fspath(path)
    kind = _kind(data)
    points = _get(data, "points")
    if kind == "orbit":
        _kestavor._write_orbit(path, points, *(_column(data, c) for c in Orbit._columns))
    elif kind == "poincare":
        if simulated is None:
            simulated = bool(_get(data, "simulated", False))
        _kestavor._write_poincare(path, points, _column(data, "phase"), _column(data, "velocity"),
                                  simulated)
    else:
        _kestavor._write_spectrum(path, _column(data, "power"), str(_get(data, "window", "")))


def _panel_text(name, value):
    if isinstance(value, str):
        return value
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name} takes a number or its text, not {value!r}")
    if isinstance(value, numbers.Integral):
        return str(int(value))
    if not math.isfinite(value):
        raise ValueError(f"{name} must be a finite number, not {value!r}")
    return repr(float(value))


def _count(orbit, poincare):
    if (orbit is None) == (poincare is None):
        raise TypeError("give one of orbit=N and poincare=N")
    n = orbit if poincare is None else poincare
    if isinstance(n, bool) or not isinstance(n, numbers.Integral):
        raise TypeError(f"the number of points must be a whole number, not {n!r}")
    return poincare is None, int(n)


def simulate(*, orbit=None, poincare=None, path=None, real_time=False, progress=None, **panel):
    """Simulates the pendulum ("Continue") and returns its N orbit or Poincare points.

    Give orbit=N (0 to 1000000) for an Orbit of N records, or poincare=N for a Poincare
    section of N points. The parameters are keywords named as the options of
    `kestavor-cli simulate` (--drive-amplitude becomes drive_amplitude), as numbers or as
    the texts typed into the panel; those not given keep the panel's start-up values:

        mgr=0.000798 (Nm), inertia (Kgmm), damping (Nms), drive_amplitude (Nm),
        drive_frequency (rad/s), drive_phase (radian), initial_angle (radian),
        initial_velocity (rad/s), time_out (s)

    (kestavor.PANEL_DEFAULTS lists the start-up texts). The arrays hold, to the bit, the
    values of the file `kestavor-cli simulate` writes with the same options; path= writes
    that file too, byte for byte. real_time=True paces the run by the wall clock, as the
    window's "Real time" does. progress(done, total) is told how many points are done.

    Refused parameters raise ValueError (the window's message), a file that cannot be
    written FileError, a run the model cannot continue RuntimeError; Ctrl+C stops the run
    with KeyboardInterrupt and writes nothing."""
    is_orbit, n = _count(orbit, poincare)
    texts = {name: _panel_text(name, value) for name, value in panel.items()}
    unknown = sorted(set(texts) - set(PANEL_DEFAULTS))
    if unknown:
        raise TypeError(f"simulate() got an unexpected keyword argument {unknown[0]!r} "
                        f"(the parameters are {', '.join(PANEL_DEFAULTS)})")
    out = "" if path is None else os.fspath(path)
    count, columns = _kestavor._simulate(is_orbit, n, texts, out, bool(real_time), progress)
    if is_orbit:
        return Orbit(*columns, points=count, path=path)
    return Poincare(*columns, points=count, path=path, simulated=True)


class _Source:
    """A path for the engines: the path given, or a temporary file holding the arrays
    given exactly (removed afterwards)."""

    def __init__(self, data, kind):
        self.data, self.kind, self.tmp = data, kind, None

    def __enter__(self):
        if isinstance(self.data, (str, os.PathLike)):
            return os.fspath(self.data)
        if isinstance(self.data, (bytes, bytearray)):
            raise TypeError("give a path as str or os.PathLike, or the arrays read() returns")
        self.tmp = tempfile.TemporaryDirectory(prefix="kestavor-")
        names = Orbit._columns if self.kind == "orbit" else Poincare._columns
        velocity = np.asarray(_column(self.data, "velocity"), dtype=np.float64)
        columns = []
        for name in names:
            value = _get(self.data, name)
            columns.append(np.zeros_like(velocity) if value is None
                           else np.asarray(value, dtype=np.float64))
        path = os.path.join(self.tmp.name, "arrays.pha" if self.kind == "orbit" else "arrays.poi")
        word = "PHASE" if self.kind == "orbit" else "POINCARE"
        _kestavor._write_exact(path, word, _get(self.data, "points"), columns)
        return path

    def __exit__(self, *exc):
        if self.tmp is not None:
            self.tmp.cleanup()


def spectrum(orbit, window="Hanning", segments=None, *, path=None, progress=None):
    """The averaged power spectrum of an orbit's velocity ("FFT").

    `orbit` is a *.pha path or an Orbit (arrays with at least a velocity column). The
    window is one of Parzen, Hanning, Welch, Square; `segments` is the number of 36882-record
    segments averaged (by default all the header's count offers). The Lyapunov exponent of
    the same orbit comes with it, as in the window. path= writes the *.fft file as
    `kestavor-cli spectrum` does (only when the whole command ran). progress(done, total)
    counts segments. Returns a Spectrum."""
    if segments is not None and (isinstance(segments, bool) or not isinstance(segments, numbers.Integral)
                                 or segments < 1):
        raise ValueError(f"segments must be a whole number of 1 or more, not {segments!r}")
    out = "" if path is None else os.fspath(path)
    with _Source(orbit, "orbit") as source:
        name, used, count, frequency, power, exponent = _kestavor._spectrum(
            source, str(window), int(segments or 0), out, progress)
    return Spectrum(frequency, power, name, points=len(power), segments=used, lyapunov=exponent,
                    path=path)


def lyapunov(orbit, *, progress=None):
    """The largest Lyapunov exponent of an orbit (its first 12000 records' velocities).

    `orbit` is a *.pha path or an Orbit. Returns a Lyapunov; an orbit that is too short or
    unreadable raises FileError. progress(done, total) counts the estimate's steps."""
    with _Source(orbit, "orbit") as source:
        return Lyapunov(*_kestavor._lyapunov(source, progress))


def dimension(poincare, *, progress=None):
    """The capacity dimension of a Poincare section (its first 5000 points) by box counting.

    `poincare` is a *.poi path or a Poincare. Returns a Dimension whose value is None when
    the dimension is undefined; an orbit file or an unreadable one raises FileError."""
    with _Source(poincare, "poincare") as source:
        return Dimension(*_kestavor._dimension(source, progress))


def decode(raw, *, orbit=None, poincare=None, path=None):
    """The orbit or Poincare points a recording of N points makes from raw 6-byte box
    records (bytes, as `kestavor-cli record --raw` keeps them).

    Give orbit=N or poincare=N as for simulate(); path= keeps the file
    `kestavor-cli decode` writes. When the records run out first, the result holds the
    points decoded so far. Returns an Orbit or a Poincare."""
    is_orbit, n = _count(orbit, poincare)
    raw = bytes(raw)
    with tempfile.TemporaryDirectory(prefix="kestavor-") as tmp:
        out = os.fspath(path) if path is not None else os.path.join(tmp, "decoded.pha")
        _kestavor._decode(raw, is_orbit, n, out)
        data = read(out)
    data.path = path
    return data


class OrbitDiagram:
    """An orbit (bifurcation) diagram: for every swept value, the kept Poincare points.

    `x` holds the swept values; `parameter`, `phase` (radian) and `velocity` (rad/s) one
    entry per kept point (plot velocity against parameter); `unstable` counts the values
    whose simulation blew up (they have no points)."""

    def __init__(self, x, parameter, phase, velocity, unstable):
        self.x, self.parameter, self.phase, self.velocity = x, parameter, phase, velocity
        self.unstable = unstable

    def __repr__(self):
        return (f"OrbitDiagram(values={len(self.x)}, points={len(self.phase)}, "
                f"unstable={self.unstable})")


class LyapunovMap:
    """A map of the largest Lyapunov exponent (1/s) over one or two swept parameters.

    `x` (and `y`) hold the swept values; `exponent` and `period` have one entry per cell,
    shaped (len(y), len(x)) for two parameters. A period is the number of distinct kept
    points, 0 for chaotic; a cell whose simulation blew up has exponent NaN and period -1."""

    def __init__(self, x, y, exponent, period, unstable):
        self.x, self.y, self.exponent, self.period, self.unstable = x, y, exponent, period, unstable

    def __repr__(self):
        return f"LyapunovMap(shape={self.exponent.shape}, unstable={self.unstable})"


def _keyword(name):
    return str(name).replace("-", "_")


def sweep(param, from_, to, steps, *, param2=None, from2=None, to2=None, steps2=None,
          transient=200, points=100, lyapunov=False, follow=False, threads=0, progress=None,
          **panel):
    """A parameter sweep of the simulation, as `kestavor-cli sweep` runs it, on every core.

    `param` names the swept panel parameter as simulate()'s keywords do (drive_amplitude;
    the CLI's drive-amplitude is taken too), swept over `steps` values from `from_` to
    `to`. For each value the first `transient` Poincare points are discarded and the next
    `points` kept: an OrbitDiagram. With lyapunov=True, or a second parameter (param2,
    from2, to2, steps2), each cell gives the largest Lyapunov exponent and the period: a
    LyapunovMap. follow=True starts each value from the previous value's end state. The
    other panel parameters are keywords as for simulate(). The values equal those of the
    CSV file kestavor-cli sweep writes, for any number of threads. progress(done, total)
    counts cells; Ctrl+C stops the sweep with KeyboardInterrupt. A request the sweep
    refuses raises ValueError."""
    texts = {name: _panel_text(name, value) for name, value in panel.items()}
    for name in texts:
        if name not in PANEL_DEFAULTS:
            raise TypeError(f"sweep() got an unexpected keyword argument {name!r}")
    if param2 is not None and None in (from2, to2, steps2):
        raise TypeError("a second parameter needs from2, to2 and steps2")
    result = _kestavor._sweep(texts, _keyword(param), float(from_), float(to), int(steps),
                              "" if param2 is None else _keyword(param2),
                              float(from2 or 0), float(to2 or 0), int(steps2 or 1),
                              int(transient), int(points), bool(lyapunov), bool(follow),
                              int(threads), progress)
    if param2 is None and not lyapunov:
        return OrbitDiagram(*result)
    return LyapunovMap(*result)


if hasattr(_kestavor, "_print_page"):
    __all__.append("print_page")

    def print_page(data, path, *, range=0):
        """Draws `data` as "Plot file" does and writes the page "Print" makes of it to `path`,
        as `kestavor-cli print` does: a PDF file (path ending in .pdf) or a PNG picture at
        150 dpi (.png).

        `data` is a *.pha, *.poi or *.fft path, or an Orbit, Poincare or Spectrum (the arrays
        read() returns). `range` is the phase plot's range R of an orbit (0, 2, 4, 8, 16 or
        32, as --range). Returns "phase" or "spectrum", the page written. Needs the page module
        of the kestavor package (RuntimeError without it); a file that cannot be plotted or a
        page that cannot be written raises FileError, and an older file at `path` is then left
        as it was."""
        out = os.fspath(path)
        ext = os.path.splitext(out)[1].lower()
        if ext not in (".pdf", ".png"):
            raise ValueError(f"the page is written as .pdf or .png, not {out}")
        if isinstance(range, bool) or not isinstance(range, numbers.Integral):
            raise TypeError(f"range must be a whole number, not {range!r}")
        kind = "orbit" if isinstance(data, (str, os.PathLike)) else _kind(data)
        if kind != "spectrum":
            with _Source(data, kind) as source:
                return _kestavor._print_page(source, int(range), ext == ".pdf", out)
        with tempfile.TemporaryDirectory(prefix="kestavor-") as tmp:
            source = os.path.join(tmp, "arrays.fft")
            write(source, data)
            return _kestavor._print_page(source, int(range), ext == ".pdf", out)
