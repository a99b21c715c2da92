#!/usr/bin/env python3
"""Writes Click.wav, the program's click sound: 1,079 samples of 16-bit mono
PCM at 22,050 samples per second (2,202 bytes with its RIFF header). The click
is a short decaying mix of a 1.9 kHz tone and noise; the noise comes from a
fixed linear congruential sequence, so the file is the same on every run.

    python3 resources/make-click-wav.py [output]   (default: next to this script)
"""
import math
import os
import struct
import sys

RATE = 22050
SAMPLES = 1079
PEAK = 0.45 * 32767


def samples():
    state = 20160101
    for n in range(SAMPLES):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        noise = state / 0x3FFFFFFF - 1.0
        t = n / RATE
        attack = min(1.0, n / 22.0)
        decay = math.exp(-t / 0.006)
        tone = math.sin(2 * math.pi * 1900 * t)
        fade = min(1.0, (SAMPLES - 1 - n) / 64.0)
        yield round(PEAK * attack * decay * fade * (0.7 * tone + 0.3 * noise))


def wave_file():
    data = b"".join(struct.pack("<h", s) for s in samples())
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "Click.wav")
    content = wave_file()
    assert len(content) == 2202, len(content)
    with open(path, "wb") as out:
        out.write(content)


if __name__ == "__main__":
    main()
