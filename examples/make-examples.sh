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
# Millimetres; X runs along the shafts, Y up, Z towards the viewer; the model origin lies
# at the middle of the set, so that it turns about its centre.
pump="$out/pump.qvr"
tmp="$out/pump.qvr.part"
rm -f "$tmp"
box() { "$qvrtool" add-box "$tmp" "$tmp" "$@" >/dev/null; }
cylinder() { "$qvrtool" add-cylinder "$tmp" "$tmp" "$@" >/dev/null; }

# Base frame: two side rails and three cross members.
box --p1 -600,-150,-250 --p2 600,-50,-170
box --p1 -600,-150,170 --p2 600,-50,250
box --p1 -600,-150,-170 --p2 -520,-50,170
box --p1 -40,-150,-170 --p2 40,-50,170
box --p1 520,-150,-170 --p2 600,-50,170
# Motor feet and pump pedestal.
box --p1 -500,-50,-130 --p2 -100,-10,130
box --p1 200,-50,-100 --p2 450,40,100
# Motor body, drive shaft with the coupling, pump casing.
cylinder --centre -480,150,0 --axis x --radius 160 --corners 12 --length 360 --centre-line
cylinder --centre -120,150,0 --axis x --radius 20 --corners 8 --length 120 --centre-line
cylinder --centre 0,150,0 --axis x --radius 60 --corners 8 --length 80
cylinder --centre 80,150,0 --axis x --radius 20 --corners 8 --length 140 --centre-line
cylinder --centre 220,150,0 --axis x --radius 110 --corners 12 --length 210 --centre-line
# Pump suction and discharge branches.
cylinder --centre 430,150,0 --axis x --radius 50 --corners 8 --length 120
cylinder --centre 325,260,0 --axis y --radius 40 --corners 8 --length 140

# Directions on every point and two measurement series, with the matching instrument file.
python3 "$here/make_pump_measurements.py" "$qvrtool" "$tmp" "$out/pump_measurements.KTL" >/dev/null

mv "$tmp" "$pump"
echo "wrote $pump and $out/pump_measurements.KTL"
