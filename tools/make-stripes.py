#!/usr/bin/env python3
"""Writes resources/textures/stripes.raw, the teapot's texture.

The file is headerless 40 x 40 RGB, 3 bytes a pixel, rows in order of
increasing texture coordinate t: exactly 4,800 bytes. The pattern is bold
diagonal bands, red, gold, blue, gold, each 10 pixels wide along x + y. Their
period of 40 divides the image size, so the bands run on seamlessly where the
texture repeats.

Usage: tools/make-stripes.py [OUTPUT]   (default: the path above, in this
repository). The output is the same byte for byte on every run.
"""

import pathlib
import sys

SIZE = 40
BAND_WIDTH = 10
RED = (200, 30, 40)
GOLD = (245, 195, 40)
BLUE = (30, 70, 190)
BANDS = (RED, GOLD, BLUE, GOLD)


def pixel(x, y):
    return BANDS[(x + y) // BAND_WIDTH % len(BANDS)]


def stripes():
    return bytes(channel
                 for y in range(SIZE)
                 for x in range(SIZE)
                 for channel in pixel(x, y))


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "resources/textures/stripes.raw"
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    data = stripes()
    assert len(data) == SIZE * SIZE * 3
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_bytes(data)


if __name__ == "__main__":
    main()
