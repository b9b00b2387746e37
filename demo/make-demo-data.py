#!/usr/bin/env python3
"""Writes the three demo data sets, each a folder tree that qvs-pack turns
into one data package: small PNG pictures and WAV sounds, computed here so
that every run gives the same bytes and nothing beyond Python is needed.

Set 1 brings the first landscape and a horn; set 2 a castle, a sword sound
and a note; set 3 a dragon, a fanfare and a new landscape that replaces the
one of set 1 (later sets overwrite files of earlier ones).

Usage: make-demo-data.py OUT_DIR   (creates OUT_DIR/set1 .. OUT_DIR/set3)
"""
import math
import os
import struct
import sys
import wave
import zlib

WIDTH, HEIGHT = 240, 160
RATE = 22050


def write_png(path, pixel):
    rows = bytearray()
    for y in range(HEIGHT):
        rows.append(0)  # filter: none
        for x in range(WIDTH):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)  # 8-bit RGB
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def blend(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def landscape(sky_top, sky_bottom, hills):
    def pixel(x, y):
        ridge = HEIGHT * 0.6 + 14 * math.sin(x / 23.0) + 6 * math.sin(x / 7.0)
        if y > ridge:
            return blend(hills, (20, 40, 20), (y - ridge) / (HEIGHT - ridge + 1))
        return blend(sky_top, sky_bottom, y / ridge)
    return pixel


def castle(x, y):
    ground = HEIGHT - 30
    towers = [(30, 70, 40), (100, 140, 60), (170, 210, 40)]
    for left, right, top in towers:
        merlon = (x // 8) % 2 == 0 and top - 8 <= y < top
        if left <= x < right and (y >= top or merlon) and y < ground:
            return (120, 120, 130) if (x + y // 12) % 24 else (90, 90, 100)
    if 70 <= x < 170 and 90 <= y < ground:
        return (110, 110, 120) if not (110 <= x < 130 and y > 115) else (50, 30, 20)
    if y >= ground:
        return (60, 110, 50)
    return blend((90, 140, 210), (200, 220, 240), y / ground)


def dragon(x, y):
    cx, cy = WIDTH / 2, HEIGHT / 2
    dx, dy = (x - cx) / 70.0, (y - cy) / 35.0
    body = dx * dx + dy * dy < 1.0
    wing = abs(x - cx) < 90 and y < cy and y > cy - 60 + abs(x - cx) * 0.6
    if body or wing:
        return (170 - int(40 * abs(dy)), 30, 30) if body else (120, 20, 40)
    return blend((40, 10, 10), (230, 120, 40), y / HEIGHT)


def write_wav(path, sample, seconds):
    count = int(RATE * seconds)
    frames = bytearray()
    for i in range(count):
        t = i / RATE
        value = max(-1.0, min(1.0, sample(t, t / seconds)))
        frames.extend(struct.pack("<h", int(value * 28000)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


def horn(t, p):
    envelope = min(1.0, t * 20) * (1 - p)
    return envelope * 0.5 * (math.sin(2 * math.pi * 220 * t) + 0.5 * math.sin(2 * math.pi * 330 * t))


def sword():
    state = [12345]

    def noise(t, p):
        state[0] = (state[0] * 1103515245 + 12345) % 2147483648
        ring = math.sin(2 * math.pi * 2400 * t) * 0.4
        return (state[0] / 1073741824.0 - 1.0) * 0.6 * (1 - p) ** 4 + ring * (1 - p) ** 2
    return noise


def fanfare(t, p):
    notes = [392.0, 523.25, 659.25, 783.99]
    index = min(int(p * len(notes)), len(notes) - 1)
    local = p * len(notes) - index
    envelope = min(1.0, local * 30) * (1 - local * 0.7)
    f = notes[index]
    return envelope * 0.6 * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t))


def make_set(root, number):
    base = os.path.join(root, "set%d" % number)
    for sub in ("pictures", "sounds"):
        os.makedirs(os.path.join(base, sub), exist_ok=True)
    pictures = os.path.join(base, "pictures")
    sounds = os.path.join(base, "sounds")
    if number == 1:
        write_png(os.path.join(pictures, "landscape.png"),
                  landscape((70, 120, 200), (180, 210, 240), (70, 140, 60)))
        write_wav(os.path.join(sounds, "horn.wav"), horn, 0.6)
    elif number == 2:
        write_png(os.path.join(pictures, "castle.png"), castle)
        write_wav(os.path.join(sounds, "sword.wav"), sword(), 0.3)
        with open(os.path.join(base, "notes.txt"), "w", newline="\n") as out:
            out.write("Data set 2: the castle of Ostrel and the sound of its guards.\n")
    else:
        write_png(os.path.join(pictures, "dragon.png"), dragon)
        write_png(os.path.join(pictures, "landscape.png"),
                  landscape((60, 30, 90), (240, 150, 80), (50, 90, 40)))
        write_wav(os.path.join(sounds, "fanfare.wav"), fanfare, 0.8)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-demo-data.py OUT_DIR")
    for number in (1, 2, 3):
        make_set(sys.argv[1], number)


if __name__ == "__main__":
    main()
