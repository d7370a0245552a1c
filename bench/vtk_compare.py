#!/usr/bin/python3
"""Draws render_bench's scene with VTK and prints VTK's frame time beside ours.

    bench/vtk_compare.py [build/bench/render_bench] [frames] [rounds] [lines ...]

The same lines and points (render_bench --dump), 1280x800, off screen, no multisampling, camera
turning one degree a frame and the shape swinging as in render_bench. Each frame is rendered and
read back, as ours are copied out. Our figures come from render_bench, run by turns with VTK's
frames (`rounds` times, 2 by default, the median of each figure kept) so that a machine whose
load changes shifts both alike.
Needs python3-vtk9 (and an X server, or xvfb-run to start one); without it it says so and exits
0: nothing in the build depends on it.
"""
import math
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 1280, 800
FRAMES_PER_PERIOD = 24


def skip(why):
    print(f"vtk_compare: {why}; no comparison made")
    sys.exit(0)


try:
    import vtk
except ImportError:
    skip("python3-vtk9 is not installed")
try:
    import numpy
    from vtk.util import numpy_support
except ImportError:
    numpy = None

if not os.environ.get("DISPLAY") and not os.environ.get("VTK_COMPARE_XVFB"):
    # Debian's VTK draws through GLX even off screen: give it a virtual display.
    if not shutil.which("xvfb-run"):
        skip("no X display and no xvfb-run")
    env = dict(os.environ, VTK_COMPARE_XVFB="1")
    cmd = ["xvfb-run", "-a", "-s", f"-screen 0 {WIDTH + 64}x{HEIGHT + 64}x24",
           sys.executable] + sys.argv
    sys.exit(subprocess.call(cmd, env=env))


def load(path):
    with open(path) as f:
        n = int(f.readline().split()[1])
        pts = [f.readline().split() for _ in range(n)]
        m = int(f.readline().split()[1])
        lines = [tuple(map(int, f.readline().split())) for _ in range(m)]
    xyz = [(float(p[0]), float(p[1]), float(p[2])) for p in pts]
    swing = [(int(p[3]), float(p[4]), math.radians(float(p[5]))) for p in pts]
    return xyz, swing, lines


def poly(points, lines=None, verts=False):
    pd = vtk.vtkPolyData()
    pd.SetPoints(points)
    cells = vtk.vtkCellArray()
    if lines is not None:
        for a, b in lines:
            cells.InsertNextCell(2)
            cells.InsertCellPoint(a)
            cells.InsertCellPoint(b)
        pd.SetLines(cells)
    if verts:
        for i in range(points.GetNumberOfPoints()):
            cells.InsertNextCell(1)
            cells.InsertCellPoint(i)
        pd.SetVerts(cells)
    return pd


def actor(pd, rgb, point_size=0):
    mapper = vtk.vtkPolyDataMapper()
    mapper.SetInputData(pd)
    a = vtk.vtkActor()
    a.SetMapper(mapper)
    a.GetProperty().SetColor(*rgb)
    a.GetProperty().SetLineWidth(1)
    if point_size:
        a.GetProperty().SetPointSize(point_size)
        a.GetProperty().SetRenderPointsAsSpheres(True)
    return a


def vtk_case(xyz, swing, lines, animating, turning, frames):
    rest = vtk.vtkPoints()
    rest.SetDataTypeToDouble()
    for p in xyz:
        rest.InsertNextPoint(p)
    ren = vtk.vtkRenderer()
    ren.SetBackground(1, 1, 1)
    win = vtk.vtkRenderWindow()
    win.SetOffScreenRendering(1)
    win.SetMultiSamples(0)
    win.SetSize(WIDTH, HEIGHT)
    win.AddRenderer(ren)
    moving = None
    if animating:
        # The model at rest behind the moving shape, as ours is drawn.
        ren.AddActor(actor(poly(rest, lines), (0.8, 0.6, 0.9)))
        moving = vtk.vtkPoints()
        moving.DeepCopy(rest)
        ren.AddActor(actor(poly(moving, lines), (0, 0, 0)))
        base = numpy_support.vtk_to_numpy(rest.GetData()).copy()
        axis = numpy.array([s[0] for s in swing])
        amp = numpy.array([s[1] for s in swing])
        phase = numpy.array([s[2] for s in swing])
        rows = numpy.arange(len(swing))
    else:
        ren.AddActor(actor(poly(rest, lines), (0, 0, 0)))
        ren.AddActor(actor(poly(rest, verts=True), (1, 0, 0), point_size=3))
    ren.ResetCamera()
    cam = ren.GetActiveCamera()
    cam.Elevation(25)
    cam.Azimuth(10)
    pixels = vtk.vtkUnsignedCharArray()
    times = []
    for i in range(frames + 1):
        t0 = time.perf_counter()
        if turning:
            cam.Azimuth(1.0)
        if animating:
            shifted = base.copy()
            w = numpy.sin(phase + 2 * math.pi * (i % FRAMES_PER_PERIOD) / FRAMES_PER_PERIOD)
            shifted[rows, axis] += w * amp
            moving.SetData(numpy_support.numpy_to_vtk(shifted, deep=1))
            moving.Modified()
        win.Render()
        win.GetRGBACharPixelData(0, 0, WIDTH - 1, HEIGHT - 1, 0, pixels)
        if i:  # the first frame builds the buffers
            times.append((time.perf_counter() - t0) * 1000.0)
    win.Finalize()
    return statistics.median(times)


def ours(bench, frames, n):
    out = subprocess.run([bench, str(frames), str(n)], capture_output=True, text=True,
                         check=True).stdout
    figures = {}
    for line in out.splitlines():
        # "   lines  name (38 wide)  render copy total ratio" (the yardstick: ms ms ratio)
        if line[:8].strip() != str(n):
            continue
        name, rest = line[10:48].strip(), line[48:].split()
        ratio = next((i for i, f in enumerate(rest) if f.endswith("x")), None)
        if name.startswith("goal") or " vs " in line or not ratio:
            continue
        try:
            figures[name] = float(rest[ratio - 1])
        except ValueError:  # a line of ratios only
            continue
    return figures


def main():
    bench = sys.argv[1] if len(sys.argv) > 1 else os.path.join("build", "bench", "render_bench")
    frames = int(sys.argv[2]) if len(sys.argv) > 2 else 8
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    sizes = [int(a) for a in sys.argv[4:]] or [1000, 10000, 100000]
    if not os.access(bench, os.X_OK):
        sys.exit(f"vtk_compare: {bench} not found (build render_bench first)")
    print(f"VTK {vtk.vtkVersion.GetVTKVersion()} against render_bench, median ms per frame at "
          f"{WIDTH}x{HEIGHT}, {frames} frames per case")
    cases = [("at rest, camera turning", False, True),
             ("animating, camera still", True, False),
             ("animating, camera turning", True, True)]
    print(f"{'lines':>8}  {'case':<27} {'VTK':>8} {'ours full':>10} {'ours moving':>12} "
          f"{'moving/VTK':>11}  faster than VTK")
    for n in sizes:
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "scene.txt")
            subprocess.run([bench, "--dump", str(n), path], check=True)
            xyz, swing, lines = load(path)
        runs, vtk_ms = [], {name: [] for name, _, _ in cases}
        for _ in range(rounds):
            runs.append(ours(bench, frames, n))
            for name, animating, turning in cases:
                if not animating or numpy is not None:
                    vtk_ms[name].append(vtk_case(xyz, swing, lines, animating, turning, frames))

        def figure(key):
            values = [r[key] for r in runs if key in r]
            return statistics.median(values) if values else float("nan")

        for name, _, _ in cases:
            if not vtk_ms[name]:
                print(f"{n:>8}  {name:<27} (needs python3-numpy)")
                continue
            v = statistics.median(vtk_ms[name])
            full, moving = figure("full: " + name), figure("moving: " + name)
            print(f"{n:>8}  {name:<27} {v:8.2f} {full:10.2f} {moving:12.2f} {moving / v:10.2f}x  "
                  f"{'met' if moving < v else 'not met'}")
        print(f"{n:>8}  {'(yardstick, same rounds)':<27} "
              f"{figure('reference: lines + smooth points'):8.2f}")
        sys.stdout.flush()


main()
