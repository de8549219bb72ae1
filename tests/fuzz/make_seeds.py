#!/usr/bin/python3
"""make_seeds.py: writes the fuzzers' seed corpora (corpus/png, corpus/font).

The seeds are small files made here rather than taken from elsewhere: valid
PNGs of several colour types, the PNG whose zTXt chunk claims 1.6 GB, a tiny
TrueType face, the same face with a 16-unit em (glyphs of dozens of ems), a
face cut short, and a BDF bitmap face. Needs python3-fonttools for the faces.
Run from anywhere: python3 tests/fuzz/make_seeds.py
"""
import os
import struct
import zlib

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

HERE = os.path.dirname(os.path.abspath(__file__))
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, bit_depth, colour_type, rows, extra=b"", interlace=0):
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, interlace)
    raw = b"".join(b"\0" + row for row in rows)
    return (PNG_SIGNATURE + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def png_seeds():
    rgb = png(8, 8, 8, 2, [bytes(v for x in range(8) for v in (x * 32, y * 32, 128))
                           for y in range(8)])
    palette = png(4, 4, 4, 3, [bytes([0x01, 0x23])] * 4,
                  chunk(b"PLTE", bytes(range(48))) + chunk(b"tRNS", bytes([0, 255, 128])))
    grey_alpha = png(3, 2, 16, 4, [bytes(range(12)), bytes(range(12, 24))])
    text = png(2, 2, 8, 0, [b"\x10\x20", b"\x30\x40"],
               chunk(b"tEXt", b"Comment\0seed") +
               chunk(b"zTXt", b"Comment\0\0" + zlib.compress(b"x" * 64)))
    claims = (PNG_SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)) +
              struct.pack(">I", 0x60000000) + b"zTXtComment\0\0" + b"x" * 16)
    return {"rgb.png": rgb, "palette_trns.png": palette, "grey_alpha16.png": grey_alpha,
            "text_chunks.png": text, "ztxt_claims_1_6gb.png": claims,
            "rgb_cut_short.png": rgb[: len(rgb) // 2]}


def rectangle(pen, x0, y0, x1, y1):
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def truetype(units_per_em):
    """A face of three boxed letters drawn for a 1000-unit em; a smaller em
    leaves them that many times larger."""
    names = [".notdef", "A", "a", "eacute"]
    builder = FontBuilder(units_per_em, isTTF=True)
    builder.setupGlyphOrder(names)
    builder.setupCharacterMap({ord("A"): "A", ord("a"): "a", 0xE9: "eacute"})
    glyphs = {}
    for name, box in zip(names, [(50, 0, 450, 700), (50, 0, 550, 700), (50, 0, 450, 500),
                                 (50, 0, 450, 750)]):
        pen = TTGlyphPen(None)
        rectangle(pen, *box)
        glyphs[name] = pen.glyph()
    builder.setupGlyf(glyphs)
    builder.setupHorizontalMetrics({n: (600, 50) for n in names})
    builder.setupHorizontalHeader(ascent=800, descent=-200)
    builder.setupNameTable({"familyName": "Seed", "styleName": "Regular"})
    builder.setupOS2()
    builder.setupPost()
    path = os.path.join(HERE, "seed.tmp")
    builder.save(path)
    with open(path, "rb") as f:
        data = f.read()
    os.remove(path)
    return data


def bdf():
    lines = ["STARTFONT 2.1", "FONT -seed-bitmap-medium-r-normal--16-120-96-96-c-80-iso10646-1",
             "SIZE 16 72 72", "FONTBOUNDINGBOX 8 16 0 0", "STARTPROPERTIES 4", "FONT_ASCENT 16",
             "FONT_DESCENT 0", 'CHARSET_REGISTRY "ISO10646"', 'CHARSET_ENCODING "1"',
             "ENDPROPERTIES", "CHARS 2"]
    for code in (ord("A"), 0xE9):
        lines += [f"STARTCHAR c{code}", f"ENCODING {code}", "SWIDTH 500 0", "DWIDTH 8 0",
                  "BBX 8 4 0 0", "BITMAP", "18", "24", "7E", "81", "ENDCHAR"]
    return ("\n".join(lines + ["ENDFONT"]) + "\n").encode()


def font_seeds():
    face = truetype(1000)
    return {"tiny.ttf": face, "tiny_em16.ttf": truetype(16),
            "tiny_cut_short.ttf": face[: len(face) // 2], "bitmap.bdf": bdf()}


def write(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write(os.path.join(HERE, "corpus", "png"), png_seeds())
    write(os.path.join(HERE, "corpus", "font"), font_seeds())
