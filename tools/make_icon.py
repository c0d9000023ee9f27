#!/usr/bin/env python3
"""Draws the program icon and writes it as resources/zev.ico and resources/icons/zev-N.png.

The picture is a cream sheet of paper on a dark red tile, with rows of dark "^" marks. The
.ico holds five images: 16x16 and 32x32 in 16 and in 256 colours, and 48x48 in 256 colours;
the PNGs (16, 32, 48) are the 256-colour images, so every picture of the program matches.
Standard library only; run it again after changing the design and commit what it writes.
"""
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
TRANSPARENT = None

# The 16 colours every 4-bit display knows; the 4-bit images use only these.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Design colours: (true colour for 256-colour images, nearest VGA colour for 16-colour ones).
TILE = ((150, 28, 36), (128, 0, 0))
TILE_EDGE = ((96, 14, 22), (0, 0, 0))
PAPER = ((250, 240, 214), (255, 255, 255))
PAPER_EDGE = ((196, 178, 140), (128, 128, 128))
INK = ((40, 34, 30), (0, 0, 0))
GOLD = ((214, 160, 40), (255, 255, 0))


# The 16x16 design, one character a pixel; larger sizes scale it up pixel for pixel, so the
# marks stay crisp at every size.
DESIGN = [
    " EEEEEEEEEEEEEE ",
    "ETTTTTTTTTTTTTTE",
    "ETppppppppppppTE",
    "ETpPPPPPPPPPPpTE",
    "ETpPPiPPPiPPPpTE",
    "ETpPiPiPiPiPPpTE",
    "ETpPPPPPPPPPPpTE",
    "ETpPPiPPPPPPPpTE",
    "ETpPiPiPPPPPPpTE",
    "ETpPPPPPPPPPPpTE",
    "ETpPPiPPPiPPPpTE",
    "ETpPiPiPiPiPPpTE",
    "ETpPPPPPPPPGGpTE",
    "ETppppppppppppTE",
    "ETTTTTTTTTTTTTTE",
    " EEEEEEEEEEEEEE ",
]
COLOURS = {"E": TILE_EDGE, "T": TILE, "p": PAPER_EDGE, "P": PAPER, "i": INK, "G": GOLD,
           " ": TRANSPARENT}


def picture(size):
    """Returns rows of design colours (or TRANSPARENT) for a square icon of the given size."""
    scale = size // len(DESIGN)
    return [[COLOURS[DESIGN[y // scale][x // scale]] for x in range(size)] for y in range(size)]


def indexed(pixels, depth):
    """Palette and per-pixel indexes (None = transparent) for a 4- or 8-bit image."""
    if depth == 4:
        palette = list(VGA16)
        pick = lambda colour: palette.index(colour[1])
    else:
        palette = []
        for row in pixels:
            for colour in row:
                if colour is not TRANSPARENT and colour[0] not in palette:
                    palette.append(colour[0])
        palette += [(0, 0, 0)] * (256 - len(palette))
        pick = lambda colour: palette.index(colour[0])
    rows = [[None if c is TRANSPARENT else pick(c) for c in row] for row in pixels]
    return palette, rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def bmp_image(size, depth):
    palette, rows = indexed(picture(size), depth)
    colour_rows, mask_rows = [], []
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indexes = [0 if i is None else i for i in row]
        if depth == 4:
            packed = bytes((indexes[x] << 4) | indexes[x + 1] for x in range(0, size, 2))
        else:
            packed = bytes(indexes)
        colour_rows.append(padded(packed))
        bits = 0
        mask = bytearray()
        for x, i in enumerate(row):
            bits = (bits << 1) | (1 if i is None else 0)
            if x % 8 == 7:
                mask.append(bits)
                bits = 0
        mask_rows.append(padded(bytes(mask)))
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0, len(pixels), 0, 0,
                         len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + colours + pixels


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, depth in images:
        blob = bmp_image(size, depth)
        colour_count = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, depth, len(blob),
                               offset)
        blobs += blob
        offset += len(blob)
    return directory + entries + blobs


def png(size):
    rows = b""
    for row in picture(size):
        rows += b"\0" + b"".join(bytes(c[0]) + b"\xff" if c else b"\0\0\0\0" for c in row)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def main():
    resources = ROOT / "resources"
    (resources / "zev.ico").write_bytes(ico([(16, 4), (16, 8), (32, 4), (32, 8), (48, 8)]))
    for size in (16, 32, 48):
        (resources / "icons").mkdir(exist_ok=True)
        (resources / "icons" / f"zev-{size}.png").write_bytes(png(size))


if __name__ == "__main__":
    main()
