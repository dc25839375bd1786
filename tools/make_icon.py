#!/usr/bin/env python3
"""Draws the program icon: a 32 x 32, 16-colour ruler corner with a plumb line.

Run once when the design changes; the .ico it writes is kept in res/.
"""
import struct
import sys

# The standard 16-colour palette (index: (r, g, b)).
PAL = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREY, YELLOW, BLUE, RED, WHITE, SILVER = 0, 4, 8, 11, 12, 9, 15, 7
T = None  # transparent

def draw():
    px = [[T] * 32 for _ in range(32)]
    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c
    # Horizontal ruler along the top, vertical along the left: white bodies, black frames.
    rect(0, 0, 31, 8, BLACK); rect(1, 1, 30, 7, YELLOW)
    rect(0, 0, 8, 31, BLACK); rect(1, 1, 7, 30, YELLOW)
    for i in range(9, 31, 3):
        rect(i, 1, i, 4 if i % 6 == 0 else 3, BLACK)
        rect(1, i, 4 if i % 6 == 0 else 3, i, BLACK)
    # Plumb line and bob.
    rect(20, 9, 20, 20, NAVY)
    for y, (a, b) in enumerate([(19, 21), (18, 22), (17, 23), (17, 23), (18, 22), (19, 21), (20, 20)], start=21):
        rect(a, y, b, y, BLUE)
    rect(19, 22, 19, 22, WHITE)
    return px

def ico(px):
    xor = bytearray()
    andm = bytearray()
    for y in range(31, -1, -1):  # rows bottom-up
        row = px[y]
        for x in range(0, 32, 2):
            a = row[x] if row[x] is not None else 0
            b = row[x + 1] if row[x + 1] is not None else 0
            xor.append((a << 4) | b)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        andm += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PAL)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(andm), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(andm)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22) + image

if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "plumbo.ico"
    with open(out, "wb") as f:
        f.write(ico(draw()))
