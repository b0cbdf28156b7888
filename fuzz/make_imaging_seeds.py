#!/usr/bin/env python3
"""Writes the seed corpora of the BMP and PNG reader fuzz targets (fuzz/corpus/bmp and
fuzz/corpus/png). Every seed is a small picture made here from code; run again after changing
this script and commit the result."""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def pattern(width, height, channels, seed=0):
    return [bytes((x * 37 + y * 11 + c * 71 + seed) & 0xFF for x in range(width)
                  for c in range(channels)) for y in range(height)]


# --- BMP ---------------------------------------------------------------------------------------

def bmp(width, height, bits=24, compression=0, header=40, second=b"M", top_down=False, gap=0,
        truncate=0):
    row_bytes = ((width * bits + 31) // 32) * 4
    rows = [r[:row_bytes].ljust(row_bytes, b"\0")
            for r in pattern(width * bits // 8 + 4, height, 1)]
    pixels = b"".join(rows)
    offset = 14 + header + gap
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1,
                           bits, compression, len(pixels), 2835, 2835, 0, 0)
        info = info.ljust(header, b"\0")
    data = b"B" + second + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    data += info + b"\0" * gap + pixels
    return data[:len(data) - truncate] if truncate else data


def bmp_seeds():
    return {
        "rgb24_bottom_up.bmp": bmp(7, 5),
        "rgb24_top_down.bmp": bmp(7, 5, top_down=True),
        "rgb24_core.bmp": bmp(5, 3, header=12),
        "rgb24_ba.bmp": bmp(4, 4, second=b"A"),
        "rgb24_v5_header.bmp": bmp(3, 3, header=124),
        "rgb24_bitfields.bmp": bmp(6, 2, compression=3),
        "rgb24_gap.bmp": bmp(2, 2, gap=9),
        "rgb24_one_pixel.bmp": bmp(1, 1),
        "rgb24_truncated.bmp": bmp(9, 9, truncate=5),
        "indexed8.bmp": bmp(8, 4, bits=8),
        "rle8.bmp": bmp(8, 4, bits=8, compression=1),
        "rgb32.bmp": bmp(4, 4, bits=32),
    }


# --- PNG ---------------------------------------------------------------------------------------

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def png(width, height, colour_type, depth=8, interlace=False, palette=None, trns=None,
        gamma=None, srgb=False, extra=b""):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    bytes_per_sample = 2 if depth == 16 else 1
    top = (1 << depth) - 1 if depth < 8 else 255
    # pixels[y][x] is a tuple of samples
    pixels = [[tuple(((x * 5 + y * 3 + c * 7) % (top + 1)) for c in range(channels))
               for x in range(width)] for y in range(height)]

    def scanline(row):
        if depth < 8:
            return pack_row([p[0] for p in row], depth)
        return b"".join(struct.pack(">H" if depth == 16 else "B", s * (257 if depth == 16 else 1))
                        for p in row for s in p)

    raw = b""
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            row = [pixels[y][x] for x in range(x0, width, dx)]
            if row:
                raw += b"\0" + scanline(row)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0,
                                       1 if interlace else 0))
    if gamma is not None:
        data += chunk(b"gAMA", struct.pack(">I", int(gamma * 100000)))
    if srgb:
        data += chunk(b"sRGB", b"\0")
    if palette is not None:
        data += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if trns is not None:
        data += chunk(b"tRNS", trns)
    data += extra
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    del bytes_per_sample
    return data


def png_seeds():
    palette16 = [(i * 16, 255 - i * 16, i * 7) for i in range(16)]
    seeds = {
        "grey1.png": png(9, 5, 0, 1),
        "grey2_trns.png": png(7, 3, 0, 2, trns=struct.pack(">H", 1)),
        "grey4_interlaced.png": png(11, 9, 0, 4, interlace=True),
        "grey8.png": png(5, 5, 0, 8),
        "grey_alpha8.png": png(4, 3, 4, 8),
        "palette1.png": png(10, 2, 3, 1, palette=palette16[:2]),
        "palette2_interlaced.png": png(9, 9, 3, 2, interlace=True, palette=palette16[:4]),
        "palette4_trns.png": png(6, 4, 3, 4, palette=palette16, trns=b"\x00\x80"),
        "palette8_short.png": png(8, 8, 3, 8, palette=palette16[:5]),
        "rgb8.png": png(6, 4, 2, 8, srgb=True),
        "rgb8_gamma1.png": png(6, 4, 2, 8, gamma=1.0),
        "rgb8_interlaced.png": png(13, 11, 2, 8, interlace=True),
        "rgba8.png": png(5, 5, 6, 8, extra=chunk(b"tEXt", b"Comment\0seed")),
        "rgba8_interlaced.png": png(3, 17, 6, 8, interlace=True),
        "rgb16.png": png(3, 3, 2, 16),
        "one_pixel.png": png(1, 1, 2, 8),
    }
    seeds["truncated.png"] = seeds["rgb8_interlaced.png"][:-30]
    return seeds


def write_all(folder, seeds):
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(path, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write_all("bmp", bmp_seeds())
    write_all("png", png_seeds())
