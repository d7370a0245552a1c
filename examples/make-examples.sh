#!/bin/sh
# Builds the example scenes from nothing with qvrtool.
#   examples/make-examples.sh [QVRTOOL] [OUTDIR]
# QVRTOOL defaults to build/tools/qvrtool/qvrtool, OUTDIR to this folder.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
qvrtool=${1:-"$here/../build/tools/qvrtool/qvrtool"}
out=${2:-"$here"}
mkdir -p "$out"

# pump.qvr: an electric motor driving a pump through a coupling, both on a welded base frame.
# Millimetres; X runs along the shafts, Z up.
pump="$out/pump.qvr"
tmp="$out/pump.qvr.part"
rm -f "$tmp"
box() { "$qvrtool" add-box "$tmp" "$tmp" "$@" >/dev/null; }
cylinder() { "$qvrtool" add-cylinder "$tmp" "$tmp" "$@" >/dev/null; }

# Base frame: two side rails and three cross members.
box --p1 0,0,0 --p2 1200,80,100
box --p1 0,420,0 --p2 1200,500,100
box --p1 0,80,0 --p2 80,420,100
box --p1 560,80,0 --p2 640,420,100
box --p1 1120,80,0 --p2 1200,420,100
# Motor feet and pump pedestal.
box --p1 100,120,100 --p2 500,380,140
box --p1 800,150,100 --p2 1050,350,190
# Motor body, drive shaft with the coupling, pump casing.
cylinder --centre 120,250,300 --axis x --radius 160 --corners 12 --length 360 --centre-line
cylinder --centre 480,250,300 --axis x --radius 20 --corners 8 --length 120 --centre-line
cylinder --centre 600,250,300 --axis x --radius 60 --corners 8 --length 80
cylinder --centre 680,250,300 --axis x --radius 20 --corners 8 --length 140 --centre-line
cylinder --centre 820,250,300 --axis x --radius 110 --corners 12 --length 210 --centre-line
# Pump suction and discharge branches.
cylinder --centre 1030,250,300 --axis x --radius 50 --corners 8 --length 120
cylinder --centre 925,250,410 --axis z --radius 40 --corners 8 --length 140

# Directions on every point and two measurement series, with the matching instrument file.
python3 "$here/make_pump_measurements.py" "$qvrtool" "$tmp" "$out/pump_measurements.KTL" >/dev/null

mv "$tmp" "$pump"
echo "wrote $pump and $out/pump_measurements.KTL"
