#!/usr/bin/env python3
"""Draws the provider's pictures: the progress window's clip (progress.avi) and the settings
tree's 16x16 icons (*.ico). The files are kept beside this script; run it again after a
change here (python3 resources/make-resources.py) and commit what it writes.

The clip is what the system's animation control plays without a codec: uncompressed 8-bit
frames with a palette, no sound. Its top-left pixel is the background the control makes
transparent. Icons are 32-bit colour with a mask, one image each."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, body):
    return kind + struct.pack("<I", len(body) + 4) + fourcc + body


# --- The clip: a document travelling from a folder to a drum (the repository) and back,
# over a dotted track; 12 frames of 48x32 at 10 frames a second.
CLIP_W, CLIP_H, FRAMES = 48, 32, 12
PALETTE = [
    (255, 0, 255),   # 0 background (transparent)
    (0, 0, 0),       # 1 outline
    (255, 255, 255), # 2 paper
    (230, 190, 80),  # 3 folder
    (70, 110, 190),  # 4 drum
    (150, 180, 230), # 5 drum top
    (120, 120, 120), # 6 track
    (40, 40, 40),    # 7 text lines
]


def clip_frame(n):
    px = [[0] * CLIP_W for _ in range(CLIP_H)]

    def rect(x0, y0, x1, y1, c, outline=1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                px[y][x] = outline if edge and outline is not None else c

    # The folder on the left.
    rect(1, 12, 5, 14, 3)
    rect(1, 14, 13, 25, 3)
    # The drum on the right.
    rect(35, 13, 46, 26, 4)
    rect(35, 11, 46, 14, 5)
    # The dotted track between them.
    for x in range(15, 34, 3):
        px[28][x] = 6
    # The document: forth in the first half, back in the second, arched over the track.
    t = n / (FRAMES / 2) if n < FRAMES // 2 else (FRAMES - n) / (FRAMES / 2)
    x0 = int(round(8 + t * 28))
    y0 = int(round(9 - math.sin(t * math.pi) * 7))
    rect(x0, y0, x0 + 7, y0 + 9, 2)
    for line in (y0 + 3, y0 + 5, y0 + 7):
        for x in range(x0 + 2, x0 + 6):
            px[line][x] = 7
    return px


def make_avi():
    row = (CLIP_W + 3) & ~3
    size = row * CLIP_H
    usec = 100000
    frames = []
    for n in range(FRAMES):
        px = clip_frame(n)
        data = b"".join(bytes(px[y]) + b"\0" * (row - CLIP_W) for y in reversed(range(CLIP_H)))
        frames.append(data)
    avih = struct.pack("<IIIIIIIIII4I", usec, size * 10, 0, 0x10, FRAMES, 0, 1, size,
                       CLIP_W, CLIP_H, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, 10, 0,
                       FRAMES, size, 0xFFFFFFFF, 0, 0, 0, CLIP_W, CLIP_H)
    bih = struct.pack("<IiiHHIIiiII", 40, CLIP_W, CLIP_H, 1, 8, 0, size, 0, 0,
                      len(PALETTE), len(PALETTE))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + pal))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strl)
    movi_body = b""
    index = b""
    for data in frames:
        # Offsets count from the 'movi' type, as readers of the index expect.
        index += struct.pack("<4sIII", b"00db", 0x10, 4 + len(movi_body), len(data))
        movi_body += chunk(b"00db", data)
    movi = riff_list(b"LIST", b"movi", movi_body)
    return riff_list(b"RIFF", b"AVI ", hdrl + movi + chunk(b"idx1", index))


# --- The icons: a glyph per topic, drawn from a 16x16 character map.
ICONS = {
    # Source Control Options: the repository drum with a check mark.
    "settings-cvs": ("""
      ................
      ...bbbbbbbbbb...
      ..BBBBBBBBBBBB..
      ..kBBBBBBBBBBk..
      ..kbbbbbbbbbbk..
      ..kbbbbbbbbbbk..
      ..kBBBBBBBBBBk..
      ..kbbbbbbbbbbk..
      ..kbbbbbbbbbgg..
      ..kBBBBBBBBggk..
      ..kbbbgbbbggbk..
      ..kbbbggbggbbk..
      ..kbbbbgggbbbk..
      ...kbbbbgbbbk...
      ....kkkkkkkk....
      ................
    """, {"b": (70, 110, 190), "B": (150, 180, 230), "k": (30, 40, 80), "g": (40, 160, 60)}),
    # External Tools: two documents side by side, told apart by their lines.
    "settings-tools": ("""
      ................
      kkkkkkk..kkkkkk.
      kwwwwwk..kwwwwk.
      kwrrrwk..kwbbwk.
      kwwwwwk..kwwwwk.
      kwrrwwk..kwbbbk.
      kwwwwwk..kwwwwk.
      kwrrrwkkkkwbbwk.
      kwwwwwk..kwwwwk.
      kwrrrwk..kwbbwk.
      kwwwwwk..kwwwwk.
      kwrrwwk..kwbbbk.
      kwwwwwk..kwwwwk.
      kkkkkkk..kkkkkk.
      ................
      ................
    """, {"k": (40, 40, 40), "w": (255, 255, 255), "r": (200, 50, 50), "b": (50, 90, 200)}),
    # Comment Templates: a speech bubble with lines of text.
    "settings-comments": ("""
      ................
      ..kkkkkkkkkkkk..
      .kyyyyyyyyyyyyk.
      .kyllllllllllyk.
      .kyyyyyyyyyyyyk.
      .kyllllllllyyyk.
      .kyyyyyyyyyyyyk.
      .kylllllllllyyk.
      .kyyyyyyyyyyyyk.
      ..kkkyykkkkkkk..
      ....kyyk........
      ....kyk.........
      ....kk..........
      ................
      ................
      ................
    """, {"k": (90, 70, 20), "y": (255, 235, 140), "l": (90, 90, 90)}),
    # About Morvek: the information sign.
    "settings-about": ("""
      ................
      .....kkkkkk.....
      ...kkbbbbbbkk...
      ..kbbbbwwbbbbk..
      ..kbbbbwwbbbbk..
      .kbbbbbbbbbbbbk.
      .kbbbbwwwbbbbbk.
      .kbbbbbwwbbbbbk.
      .kbbbbbwwbbbbbk.
      .kbbbbbwwbbbbbk.
      ..kbbbbwwbbbbk..
      ..kbbbwwwwbbbk..
      ...kkbbbbbbkk...
      .....kkkkkk.....
      ................
      ................
    """, {"k": (20, 50, 120), "b": (40, 100, 210), "w": (255, 255, 255)}),
}


def make_ico(art, colours):
    rows = [line.strip() for line in art.strip().splitlines()]
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), rows
    pixels = b""
    mask = b""
    for r in reversed(rows):
        bits = 0
        for x, ch in enumerate(r):
            if ch == ".":
                pixels += b"\0\0\0\0"
                bits |= 1 << (15 - x)
            else:
                red, green, blue = colours[ch]
                pixels += bytes((blue, green, red, 255))
        mask += struct.pack(">H", bits) + b"\0\0"
    bih = struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = bih + pixels + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32,
                                                      len(image), 22) + image


def main():
    with open(os.path.join(HERE, "progress.avi"), "wb") as f:
        f.write(make_avi())
    for name, (art, colours) in ICONS.items():
        with open(os.path.join(HERE, name + ".ico"), "wb") as f:
            f.write(make_ico(art, colours))


if __name__ == "__main__":
    main()
