#!/usr/bin/env python3
"""Writes a folder of 24-bit BMPs for trying the window's batch by hand or from a script.

  bench/make-batch-folder.py FOLDER COUNT WIDTH HEIGHT [noise]

Small pictures are gradients; "noise" fills them with random bytes, which deflate cannot
shrink, so each conversion to PNG takes as long as a picture of that size can.
"""
import os
import struct
import sys


def bmp(width, height, pixels):
    stride = (width * 3 + 3) & ~3
    size = 54 + stride * height
    header = b"BM" + struct.pack("<IHHI", size, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 2835, 2835, 0, 0)
    return header + info + pixels


def main():
    folder, count, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    noise = len(sys.argv) > 5 and sys.argv[5] == "noise"
    os.makedirs(folder, exist_ok=True)
    stride = (width * 3 + 3) & ~3
    for i in range(count):
        if noise:
            pixels = os.urandom(stride * height)
        else:
            row = bytes((x * 4 + i) & 0xFF for x in range(stride))
            pixels = b"".join(row[y % 3:] + row[: y % 3] for y in range(height))
        with open(os.path.join(folder, "p%05d.bmp" % i), "wb") as f:
            f.write(bmp(width, height, pixels))


if __name__ == "__main__":
    main()
