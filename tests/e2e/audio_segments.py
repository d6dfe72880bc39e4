#!/usr/bin/env python3
"""Where a recording of SDL's disk audio driver (16-bit stereo, 44.1 kHz) sounds.
usage: audio_segments.py RAW_FILE
Prints "START END PEAK_RMS" in seconds for each stretch of sound, then "total SECONDS". A window of
0.02 s sounds when its RMS reaches 300 of 32767; stretches closer than 0.25 s are one."""
import array
import math
import sys

RATE, FLOOR, JOIN, WINDOW = 44100, 300.0, 0.25, 0.02
samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
step = int(RATE * WINDOW) * 2  # both channels
stretches = []
for at in range(0, len(samples) - step + 1, step):
    chunk = samples[at:at + step]
    rms = math.sqrt(sum(v * v for v in chunk) / len(chunk))
    t = at / 2 / RATE
    if rms < FLOOR:
        continue
    if stretches and t - stretches[-1][1] <= JOIN:
        stretches[-1][1] = t + WINDOW
        stretches[-1][2] = max(stretches[-1][2], rms)
    else:
        stretches.append([t, t + WINDOW, rms])
for start, end, peak in stretches:
    print(f"{start:.2f} {end:.2f} {peak:.0f}")
print(f"total {len(samples) / 2 / RATE:.2f}")
