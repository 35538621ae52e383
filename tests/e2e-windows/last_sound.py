#!/usr/bin/env python3
"""Prints the time in milliseconds at which a raw recording (interleaved float32 little-endian, 48 kHz
stereo) last rises above -60 dBFS on its first channel, or -1 when it never does.

The exit checks look for a click only around that moment, where the program's own fade-out happens:
wine's bridge to the sound server may drop a few milliseconds elsewhere when the machine is busy."""
import array
import sys

RATE = 48000
CHANNELS = 2
THRESHOLD = 10 ** (-60 / 20)


TAIL_SECONDS = 20  # only the end of a long recording is read


def main():
    frame_bytes = 4 * CHANNELS
    with open(sys.argv[1], "rb") as f:
        f.seek(0, 2)
        frames = f.tell() // frame_bytes
        start = max(0, frames - TAIL_SECONDS * RATE)
        f.seek(start * frame_bytes)
        data = f.read((frames - start) * frame_bytes)
    samples = array.array("f")
    samples.frombytes(data)
    if sys.byteorder != "little":
        samples.byteswap()
    first = samples[0::CHANNELS]
    for i in range(len(first) - 1, -1, -1):
        if abs(first[i]) > THRESHOLD:
            print((start + i) * 1000 // RATE)
            return
    print(-1)


if __name__ == "__main__":
    main()
