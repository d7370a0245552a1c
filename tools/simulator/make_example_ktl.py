#!/usr/bin/env python3
"""Writes examples/box_measurements.KTL: instrument records for directions 1..8 of the example
box scene, at the running speed (multiple 1) and at twice the running speed (multiple 2).

Independent of the program's code on purpose, so that the program's reader is checked against a
second implementation of the file's checksums.

usage: make_example_ktl.py [OUT.KTL]
"""
import os
import struct
import sys


def instrument_crc16(data: bytes) -> int:
    if not data:
        return 0

    def swap(v):
        return ((v & 0xFF) << 8) | ((v >> 8) & 0xFF)

    state = 0xFFFF
    for b in data:
        s = swap(state) ^ (b << 8)
        t = s ^ ((s & 0xFF00) << 4)
        state = (t ^ ((t >> 5) & 0x07F8)) & 0xFFFF
    return ~swap(state) & 0xFFFF


assert instrument_crc16(b"abc") == 0xF76D and instrument_crc16(b"123456789") == 0x4777

HZ = 13          # speed-unit byte for Hz
FILE_MM_S = 3    # file unit code for mm/s


def record(number, amplitude, phase, speed, multiple):
    rec = bytearray(44)
    struct.pack_into("<H", rec, 2, number)
    struct.pack_into("<ffff", rec, 8, amplitude, phase, speed, multiple)
    rec[24] = HZ
    rec[25] = FILE_MM_S
    struct.pack_into("<I", rec, 40, 1 + sum(rec[:40]))
    return bytes(rec)


def header(count, version=112):
    h = bytearray(368)
    h[0:8] = b"R4 DATA\0"
    struct.pack_into("<I", h, 8, version)
    struct.pack_into("<H", h, 296, count)
    h[300] = 0x02  # the count says how many records follow
    struct.pack_into("<I", h, 364, instrument_crc16(bytes(h[:364])))
    return bytes(h)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "..", "examples", "box_measurements.KTL")
    speed = 24.75  # Hz, a machine at 1485 RPM
    records = []
    # Running speed: the box rocks, the bottom four corners against the top four.
    for n in range(1, 9):
        amplitude = 1.0 + 0.25 * ((n - 1) % 4)
        phase = 0.0 if n <= 4 else 180.0
        records.append(record(n, amplitude, phase, speed, 1.0))
    # Twice the running speed: smaller, with the phase walking round the box.
    for n in range(1, 9):
        records.append(record(n, 0.5 - 0.05 * (n - 1), 45.0 * (n - 1), 2 * speed, 2.0))
    with open(out, "wb") as f:
        f.write(header(len(records)))
        f.write(b"".join(records))


if __name__ == "__main__":
    main()
