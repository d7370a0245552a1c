#!/usr/bin/env python3
"""Adds measurement directions and two measurement series to examples/pump.qvr (made by
make-examples.sh), and writes examples/pump_measurements.KTL holding the same values as an
instrument would store them, so that "R4 import" + "Copy All >>" fills a new series with them.

The values describe a plausible operating deflection shape of a motor-pump set on a base frame:
- series 0, running speed (1485 RPM, 24.75 Hz): the set rolls about the shaft line, the top
  moving sideways more than the feet, the pump lagging the motor;
- series 1, twice running speed (49.5 Hz): the set pitches about the coupling, motor end and
  pump end moving up and down in opposite phase.

usage: make_pump_measurements.py QVRTOOL SCENE.qvr KTL
"""
import cmath
import json
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                "simulator"))
from make_example_ktl import header, record  # noqa: E402

SPEED_HZ = 24.75


def run(qvrtool, *args, stdin=None):
    return subprocess.run([qvrtool, *args], input=stdin, check=True, capture_output=True,
                          text=True).stdout


def motion(p, series):
    """Complex (y, z) motion of a point at (x, y, z) in mm/s."""
    x, y, z = p["x"], p["y"], p["z"]
    on_base = z <= 100.0
    scale = 0.25 if on_base else 1.0
    if series == 0:
        lag = math.radians(10.0 + 35.0 * x / 1200.0)  # the pump end lags
        uy = 4.0 * scale * (0.2 + z / 400.0) * cmath.exp(1j * lag)
        uz = 1.5 * scale * ((y - 250.0) / 250.0) * cmath.exp(1j * (lag + math.radians(90)))
    else:
        uy = 0.3 * scale * cmath.exp(1j * math.radians(60))
        uz = 2.5 * scale * ((x - 620.0) / 620.0) * cmath.exp(1j * math.radians(20))
    return uy, uz


def polar(c):
    amplitude = abs(c)
    phase = math.degrees(cmath.phase(c)) % 360.0 if amplitude > 0 else 0.0
    return round(amplitude, 3), round(phase, 1)


def main():
    qvrtool, scene, ktl = sys.argv[1:4]
    points = json.loads(run(qvrtool, "dump", scene))["points"]
    numbers = ",".join(str(p["number"]) for p in points)
    ys = run(qvrtool, "add-direction", scene, scene, "--point", numbers, "--code", "Y").split()[1:]
    zs = run(qvrtool, "add-direction", scene, scene, "--point", numbers, "--code", "Z").split()[1:]
    run(qvrtool, "add-series", scene, scene, "--name", "Running speed 1x", "--frequency", "1485",
        "--rpm", "--frames", "24", "--amplification", "6")
    run(qvrtool, "add-series", scene, scene, "--name", "Twice running speed 2x", "--frequency",
        str(2 * SPEED_HZ), "--frames", "24", "--amplification", "8")
    records = []
    for series in (0, 1):
        table = []
        for p, dy, dz in zip(points, ys, zs):
            uy, uz = motion(p, series)
            for number, c in ((int(dy), uy), (int(dz), uz)):
                amplitude, phase = polar(c)
                table.append(f"{number} {amplitude} {phase}")
                records.append(record(number, amplitude, phase, SPEED_HZ * (series + 1),
                                      float(series + 1)))
        run(qvrtool, "set-values", scene, scene, "--series", str(series),
            stdin="\n".join(table) + "\n")
    with open(ktl, "wb") as f:
        f.write(header(len(records)))
        f.write(b"".join(records))
    print(f"wrote {scene} ({len(ys) + len(zs)} directions, 2 series) and {ktl}")


if __name__ == "__main__":
    main()
