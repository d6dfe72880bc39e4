#!/usr/bin/env python3
"""The lines of white text in a screenshot, for the tests of the reader's screens (ImageMagick's convert
reads the images).
usage: bands.py SHOT [BASE]
    prints "TOP BOTTOM" (BOTTOM past the last) for each line of white text, top to bottom: a run of
    scanlines that hold a white pixel, gaps of up to GAP scanlines (inside a line's glyphs) bridged. White
    is the screens' text, and their text's edges on their panels; never their bluish titles and hints, nor
    the dimmed story. With BASE, a shot of the same size, only the white pixels that BASE has not count:
    the text of a screen opened over another, without what shows of the one beneath."""
import subprocess
import sys


def pixels(path):
    """The image's width and its bytes, three a pixel, row by row."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:  # P6, width, height, maximum, each ended by one blank
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    return int(fields[1]), data[at + 1:]


GAP = 2


def white(rgb, i):
    r, g, b = rgb[i], rgb[i + 1], rgb[i + 2]
    return min(r, g, b) >= 160 and abs(g - r) <= 12 and b - r <= 12


width, shot = pixels(sys.argv[1])
base = pixels(sys.argv[2])[1] if len(sys.argv) > 2 else bytes(len(shot))
if len(base) != len(shot):
    sys.exit("bands.py: the shots differ in size")
row = 3 * width
lit = [any(white(shot, i) and not white(base, i) for i in range(y * row, (y + 1) * row, 3))
       for y in range(len(shot) // row)]
bands = []
for y, on in enumerate(lit):
    if on and bands and y - bands[-1][1] <= GAP:
        bands[-1][1] = y + 1
    elif on:
        bands.append([y, y + 1])
for top, bottom in bands:
    print(top, bottom)
