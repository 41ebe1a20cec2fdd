from os import PathLike
from typing import Callable, Mapping, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

_Path = Union[str, PathLike[str]]
_Progress = Optional[Callable[[int, int], object]]
_Number = Union[float, int, str]

WINDOWS: tuple[str, ...]
PANEL_DEFAULTS: dict[str, str]

class FileError(Exception):
    filename: str
    line: Optional[int]

class Orbit:
    kind: str
    time: npt.NDArray[np.float64]
    phase: npt.NDArray[np.float64]
    velocity: npt.NDArray[np.float64]
    revolutions: npt.NDArray[np.float64]
    points: int
    path: Optional[_Path]
    def __init__(self, time: npt.ArrayLike, phase: npt.ArrayLike, velocity: npt.ArrayLike,
                 revolutions: npt.ArrayLike, points: Optional[int] = ...,
                 path: Optional[_Path] = ...) -> None: ...
    def __len__(self) -> int: ...

class Poincare:
    kind: str
    phase: npt.NDArray[np.float64]
    velocity: npt.NDArray[np.float64]
    points: int
    path: Optional[_Path]
    simulated: bool
    def __init__(self, phase: npt.ArrayLike, velocity: npt.ArrayLike, points: Optional[int] = ...,
                 path: Optional[_Path] = ..., simulated: bool = ...) -> None: ...
    def __len__(self) -> int: ...

class Spectrum:
    kind: str
    frequency: npt.NDArray[np.float64]
    power: npt.NDArray[np.float32]
    window: str
    points: int
    segments: Optional[int]
    lyapunov: Optional[float]
    path: Optional[_Path]
    def __len__(self) -> int: ...

class Lyapunov:
    exponent: Optional[float]
    steps: int
    text: str

class Dimension:
    value: Optional[float]
    points: int
    box_totals: list[int]
    text: str

_Data = Union[Orbit, Poincare, Spectrum, Mapping[str, object]]

def read(path: _Path) -> Union[Orbit, Poincare, Spectrum]: ...
def write(path: _Path, data: _Data, *, simulated: Optional[bool] = ...) -> None: ...
def simulate(*, orbit: Optional[int] = ..., poincare: Optional[int] = ...,
             path: Optional[_Path] = ..., real_time: bool = ..., progress: _Progress = ...,
             mgr: _Number = ..., inertia: _Number = ..., damping: _Number = ...,
             drive_amplitude: _Number = ..., drive_frequency: _Number = ...,
             drive_phase: _Number = ..., initial_angle: _Number = ...,
             initial_velocity: _Number = ..., time_out: _Number = ...) -> Union[Orbit, Poincare]: ...
def spectrum(orbit: Union[_Path, Orbit, Mapping[str, object]], window: str = ...,
             segments: Optional[int] = ..., *, path: Optional[_Path] = ...,
             progress: _Progress = ...) -> Spectrum: ...
def lyapunov(orbit: Union[_Path, Orbit, Mapping[str, object]], *,
             progress: _Progress = ...) -> Lyapunov: ...
def dimension(poincare: Union[_Path, Poincare, Mapping[str, object]], *,
              progress: _Progress = ...) -> Dimension: ...
def decode(raw: bytes, *, orbit: Optional[int] = ..., poincare: Optional[int] = ...,
           path: Optional[_Path] = ...) -> Union[Orbit, Poincare]: ...

class OrbitDiagram:
    x: npt.NDArray[np.float64]
    parameter: npt.NDArray[np.float64]
    phase: npt.NDArray[np.float64]
    velocity: npt.NDArray[np.float64]
    unstable: int

class LyapunovMap:
    x: npt.NDArray[np.float64]
    y: npt.NDArray[np.float64]
    exponent: npt.NDArray[np.float64]
    period: npt.NDArray[np.int64]
    unstable: int

def sweep(param: str, from_: float, to: float, steps: int, *, param2: Optional[str] = ...,
          from2: Optional[float] = ..., to2: Optional[float] = ..., steps2: Optional[int] = ...,
          transient: int = ..., points: int = ..., lyapunov: bool = ..., follow: bool = ...,
          threads: int = ..., progress: _Progress = ..., mgr: _Number = ...,
          inertia: _Number = ..., damping: _Number = ..., drive_amplitude: _Number = ...,
          drive_frequency: _Number = ..., drive_phase: _Number = ..., initial_angle: _Number = ...,
          initial_velocity: _Number = ..., time_out: _Number = ...) -> Union[OrbitDiagram, LyapunovMap]: ...
def print_page(data: Union[_Path, _Data], path: _Path, *, range: int = ...) -> str: ...
