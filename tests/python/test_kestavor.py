"""The Python module against kestavor-cli: the same bytes written, the same values read,
the same reasons given; interruption, the progress callback and the GIL. The engines
themselves are tested in C++."""

import json
import os
import signal
import subprocess
import threading
import time

import numpy as np
import pytest

import kestavor

CLI = os.environ.get("KESTAVOR_CLI", "kestavor-cli")


def cli(*args, check=True):
    r = subprocess.run([CLI, *map(str, args)], capture_output=True, text=True)
    if check:
        assert r.returncode == 0, r.stderr
    return r


@pytest.fixture(scope="module")
def files(tmp_path_factory):
    """Files written by kestavor-cli: a long orbit (for the spectrum), a Poincare section."""
    d = tmp_path_factory.mktemp("cli")
    cli("simulate", "--orbit", 40000, "--drive-amplitude", "0.0006", "-o", d / "o.pha", "--quiet")
    cli("simulate", "--poincare", 300, "-o", d / "p.poi", "--quiet")
    cli("spectrum", d / "o.pha", "--window", "Welch", "-o", d / "s.fft", "--quiet")
    return d


@pytest.mark.parametrize("kind,n,name", [("orbit", 40000, "o.pha"), ("poincare", 300, "p.poi")])
def test_simulate_writes_and_returns_what_the_cli_writes(files, tmp_path, capfd, kind, n, name):
    panel = {"drive_amplitude": 0.0006} if kind == "orbit" else {}
    out = tmp_path / name
    data = kestavor.simulate(**{kind: n}, path=out, **panel)
    assert out.read_bytes() == (files / name).read_bytes()
    assert capfd.readouterr() == ("", "")
    read = kestavor.read(files / name)
    assert (read.kind, read.points, len(read)) == (kind, n, n)
    # The values of the file, by an independent parser, and to the bit those simulate gave.
    expected = np.loadtxt(files / name, skiprows=2, ndmin=2)
    for i, column in enumerate(type(read)._columns):
        np.testing.assert_array_equal(getattr(read, column), expected[:, i])
        np.testing.assert_array_equal(getattr(data, column), getattr(read, column))
    # Written back, the file is the same bytes.
    kestavor.write(tmp_path / ("again." + name), read, simulated=True)
    assert (tmp_path / ("again." + name)).read_bytes() == (files / name).read_bytes()


def test_spectrum_and_estimates_equal_the_cli(files, tmp_path):
    s = kestavor.spectrum(files / "o.pha", "welch", path=tmp_path / "s.fft")
    assert (tmp_path / "s.fft").read_bytes() == (files / "s.fft").read_bytes()
    f = kestavor.read(files / "s.fft")
    assert (f.kind, f.window, s.window, len(f)) == ("spectrum", "Welch", "Welch", 512)
    np.testing.assert_array_equal(f.frequency, np.loadtxt(files / "s.fft", skiprows=3)[:, 0])
    # The estimates, from the path and from the arrays read.
    lyap = json.loads(cli("lyapunov", files / "o.pha", "--json", "--quiet").stdout)
    dim = json.loads(cli("dimension", files / "p.poi", "--json").stdout)
    for orbit, poincare in [(files / "o.pha", files / "p.poi"),
                            (kestavor.read(files / "o.pha"), kestavor.read(files / "p.poi"))]:
        ly = kestavor.lyapunov(orbit)
        assert (ly.exponent, ly.steps) == (lyap["lyapunov_exponent"], lyap["steps"])
        assert s.lyapunov == lyap["lyapunov_exponent"]
        d = kestavor.dimension(poincare)
        assert (d.value, d.points, d.box_totals) == (dim["capacity_dimension"], dim["points"],
                                                     dim["box_totals"])


def test_decode_writes_and_returns_what_the_cli_decodes(tmp_path):
    raw = np.random.default_rng(7).integers(0, 256, 6 * 3000, dtype=np.uint8).tobytes()
    (tmp_path / "r.raw").write_bytes(raw)
    cli("decode", tmp_path / "r.raw", "--orbit", 200, "-o", tmp_path / "cli.pha")
    data = kestavor.decode(raw, orbit=200, path=tmp_path / "py.pha")
    assert (tmp_path / "py.pha").read_bytes() == (tmp_path / "cli.pha").read_bytes()
    np.testing.assert_array_equal(data.velocity, kestavor.read(tmp_path / "cli.pha").velocity)


@pytest.mark.parametrize("text,line,reason", [
    (" 2 \r\nPHASE\r\n.1 0.5 1.2x 0\r\n", 3, '"1.2x" is not a number'),
    (" 2 \r\nPOINCARE\r\n0.1 0.2\r\n0.3\r\n", 4, "the file ends before line 4 has all its fields"),
    (" 2 \r\nORBIT\r\n", 2, 'its second line reads "ORBIT", not PHASE, POINCARE or FFT'),
    (" x \r\nPHASE\r\n", 1, '"x" is not a number'),
    (" 512 \r\nFFT\r\nHanning\r\n1 2\r\n", None, "it holds 1 spectrum lines, fewer than 465"),
])
def test_a_malformed_file_raises_file_error_naming_file_and_line(tmp_path, text, line, reason):
    path = tmp_path / "bad.pha"
    path.write_bytes(text.encode())
    with pytest.raises(kestavor.FileError) as e:
        kestavor.read(path)
    assert (e.value.filename, e.value.line) == (str(path), line)
    assert reason in str(e.value)
    if line == 3:  # the CLI gives the same reason for the same file
        assert reason in cli("lyapunov", path, check=False).stderr


def test_errors_are_exceptions_and_nothing_half_written(tmp_path):
    with pytest.raises(kestavor.FileError, match="missing.pha"):
        kestavor.read(tmp_path / "missing.pha")
    with pytest.raises(ValueError, match="Inertia=\" must be a number greater than 0"):
        kestavor.simulate(orbit=10, inertia=0)
    with pytest.raises(TypeError, match="drive_amplitde"):
        kestavor.simulate(orbit=10, drive_amplitde=1)
    with pytest.raises(kestavor.FileError):
        kestavor.simulate(orbit=10, path=tmp_path / "no" / "such" / "folder.pha")
    # A callback's exception stops the run; the file is not kept.
    def progress(done, total):
        raise ZeroDivisionError("stop")
    with pytest.raises(ZeroDivisionError):
        kestavor.simulate(orbit=1000000, path=tmp_path / "x.pha", progress=progress)
    assert not (tmp_path / "x.pha").exists()


def test_ctrl_c_interrupts_a_long_call_and_other_threads_run_meanwhile(tmp_path):
    ticks = []
    stop = threading.Event()

    def count():
        while not stop.is_set():
            ticks.append(1)
            time.sleep(0.005)
            if len(ticks) == 20:  # the ticker ran during the call: now press Ctrl+C
                os.kill(os.getpid(), signal.SIGINT)

    ticker = threading.Thread(target=count)
    ticker.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            kestavor.simulate(orbit=20000, real_time=True, path=tmp_path / "rt.pha")
    finally:
        stop.set()
        ticker.join()
    assert len(ticks) >= 20
    assert not (tmp_path / "rt.pha").exists()


@pytest.mark.parametrize("lyapunov", [False, True])
def test_sweep_gives_the_values_of_the_cli_file(tmp_path, lyapunov):
    args = ["--param", "drive-amplitude", "--from", "0.0004", "--to", "0.0007", "--steps", 3,
            "--transient", 20, "--points", 8, "--quiet"] + (["--map", "lyapunov"] if lyapunov else [])
    cli("sweep", *args, "-o", tmp_path / "s.csv")
    lines = [l.split(",") for l in (tmp_path / "s.csv").read_text().splitlines() if l[:1] != "#"]
    rows = {name: np.array([r[i] for r in lines[1:]]) for i, name in enumerate(lines[0])}
    s = kestavor.sweep("drive-amplitude", 0.0004, 0.0007, 3, transient=20, points=8,
                       lyapunov=lyapunov, threads=2)
    if lyapunov:
        np.testing.assert_array_equal(s.exponent, rows["exponent"].astype(float))
        np.testing.assert_array_equal(s.x, rows["x"].astype(float))
    else:
        for name in ("parameter", "phase", "velocity"):
            np.testing.assert_array_equal(getattr(s, name), rows[name].astype(float))


@pytest.mark.skipif(not hasattr(kestavor, "print_page"), reason="no page module in this build")
@pytest.mark.parametrize("name,arrays,page", [("o.pha", False, "phase"), ("s.fft", True, "spectrum"),
                                              ("p.poi", True, "phase")])
def test_print_page_writes_the_picture_the_cli_prints(files, tmp_path, name, arrays, page):
    cli("print", files / name, "--range", 4, "-o", tmp_path / "cli.png")
    data = kestavor.read(files / name) if arrays else files / name
    assert kestavor.print_page(data, tmp_path / "py.png", range=4) == page
    assert (tmp_path / "py.png").read_bytes() == (tmp_path / "cli.png").read_bytes()
