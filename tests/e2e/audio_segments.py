#!/usr/bin/env python3
"""Where a recording of SDL's disk audio driver (16-bit stereo, 44.1 kHz) sounds, checked against what
sound_test.sh plays. usage: audio_segments.py RAW_FILE
Prints "START END PEAK_RMS" in seconds for each stretch of sound, then "total SECONDS"; exits 1 with
the reason on stderr when the stretches are not as played. A window of 0.02 s sounds when its RMS
reaches 300 of 32767; stretches closer than 0.25 s are one."""
import array
import math
import sys

RATE, FLOOR, JOIN, WINDOW = 44100, 300.0, 0.25, 0.02
# what sounded: bell, MP3, theme, beat, beat again, each the shortest and longest it may last: the
# bell once, the MP3 and the theme until their stops 3 s on (a piece that did not stop would run
# into the next), the beat's note with its release, and again
LASTS = [(0.3, 2.0), (2.0, 5.0), (2.0, 5.0), (0.6, 2.0), (0.6, 2.0)]
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
total = len(samples) / 2 / RATE
print(f"total {total:.2f}")
if len(stretches) != len(LASTS):
    sys.exit(f"heard {len(stretches)} stretches of sound, not {len(LASTS)}")
for i, ((start, end, _), (shortest, longest)) in enumerate(zip(stretches, LASTS)):
    if not shortest <= end - start <= longest:
        sys.exit(f"stretch {i + 1} lasts {end - start:.2f} s")
    if i > 0 and start - stretches[i - 1][1] < 0.4:
        sys.exit(f"no silence before stretch {i + 1}")
if not 2.6 <= stretches[4][0] - stretches[3][0] <= 5.0:
    sys.exit(f"the beat came again {stretches[4][0] - stretches[3][0]:.2f} s after it began, not 3 s")
if total - stretches[4][1] < 1.5:
    sys.exit(f"only {total - stretches[4][1]:.2f} s of silence after stop_midi")
