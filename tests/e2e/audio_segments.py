#!/usr/bin/env python3
"""Where a recording of SDL's disk audio driver (16-bit stereo, 44.1 kHz) sounds.

usage: audio_segments.py RAW_FILE [FLOOR [JOIN [WINDOW]]]
Prints one line per stretch of sound, "START END PEAK_RMS" in seconds from the start of the file,
then "total SECONDS". A window of WINDOW seconds (default 0.02) sounds when its RMS reaches FLOOR
(default 300 of 32767); stretches closer than JOIN seconds (default 0.25) are one."""
import array
import math
import sys

RATE = 44100


def main():
    floor = float(sys.argv[2]) if len(sys.argv) > 2 else 300.0
    join = float(sys.argv[3]) if len(sys.argv) > 3 else 0.25
    window = float(sys.argv[4]) if len(sys.argv) > 4 else 0.02
    samples = array.array("h")
    with open(sys.argv[1], "rb") as f:
        samples.frombytes(f.read())
    step = int(RATE * window) * 2  # both channels
    stretches = []
    for at in range(0, len(samples) - step + 1, step):
        chunk = samples[at:at + step]
        rms = math.sqrt(sum(v * v for v in chunk) / len(chunk))
        t = at / 2 / RATE
        if rms < floor:
            continue
        if stretches and t - stretches[-1][1] <= join:
            stretches[-1][1] = t + window
            stretches[-1][2] = max(stretches[-1][2], rms)
        else:
            stretches.append([t, t + window, rms])
    for start, end, peak in stretches:
        print(f"{start:.2f} {end:.2f} {peak:.0f}")
    print(f"total {len(samples) / 2 / RATE:.2f}")


main()
