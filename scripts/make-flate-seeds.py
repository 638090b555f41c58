#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_flate into fuzz/corpus/flate/: small valid streams for every
decoder, two under row predictors. The first byte of a seed chooses the decoder (bits 0-2),
the predictor (bits 3-5) and the row layout (bits 6-7), as fuzz/fuzz_flate.cpp reads them.
zlib serves only to deflate the samples."""
import os
import random
import zlib

OUT = os.path.join(os.path.dirname(__file__), "..", "fuzz", "corpus", "flate")
WORDS = b"the of and journal volume reader stream decode section figure table results".split()


def text(size, seed):
    rng = random.Random(seed)
    out = bytearray()
    while len(out) < size:
        out += rng.choice(WORDS) + (b"\n" if rng.random() < 0.1 else b" ")
    return bytes(out[:size])


def deflate(data, level=6, strategy=zlib.Z_DEFAULT_STRATEGY):
    c = zlib.compressobj(level, zlib.DEFLATED, 15, 8, strategy)
    return c.compress(data) + c.flush()


def lzw(data, early):
    """Variable-width LZW with a leading clear code; clears before the table would fill."""
    out, acc, nbits = bytearray(), 0, 0
    table, next_code, width = {}, 258, 9

    def put(code):
        nonlocal acc, nbits
        acc, nbits = acc << width | code, nbits + width
        while nbits >= 8:
            nbits -= 8
            out.append(acc >> nbits & 0xFF)

    def widen():
        nonlocal width
        width = 9
        while width < 12 and next_code - 1 + early >= 1 << width:
            width += 1

    put(256)
    w = b""
    for byte in data:
        wc = w + bytes([byte])
        if len(wc) == 1 or wc in table:
            w = wc
            continue
        put(table[w] if len(w) > 1 else w[0])
        if next_code == 4000:
            put(256)
            table, next_code, width = {}, 258, 9
        else:
            table[wc] = next_code
            next_code += 1
            widen()
        w = bytes([byte])
    if w:
        put(table[w] if len(w) > 1 else w[0])
    put(257)
    if nbits:
        out.append(acc << (8 - nbits) & 0xFF)
    return bytes(out)


def base85(data):
    out = bytearray()
    for i in range(0, len(data), 4):
        group = data[i:i + 4]
        value = int.from_bytes(group.ljust(4, b"\0"), "big")
        if len(group) == 4 and value == 0:
            out += b"z"
            continue
        digits = bytearray()
        for _ in range(5):
            digits.insert(0, 33 + value % 85)
            value //= 85
        out += digits[:len(group) + 1]
    return bytes(out) + b"~>"


def run_length(data):
    out, i = bytearray(), 0
    while i < len(data):
        run = 1
        while i + run < len(data) and run < 128 and data[i + run] == data[i]:
            run += 1
        if run > 1:
            out += bytes([257 - run, data[i]])
        else:
            out += bytes([0, data[i]])
        i += run
    return bytes(out) + b"\x80"


def png_up(rows):
    """Predictor 15 rows of 42 bytes, each tagged Up."""
    out, above = bytearray(), bytes(len(rows[0]))
    for row in rows:
        out.append(2)
        out += bytes((a - b) & 0xFF for a, b in zip(row, above))
        above = row
    return bytes(out)


def tiff_8bit(rows):
    out = bytearray()
    for row in rows:
        out += bytes([row[0]]) + bytes((row[i] - row[i - 1]) & 0xFF for i in range(1, len(row)))
    return bytes(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    sample = text(3000, 1)
    image = [text(42, r) for r in range(6)]  # 7 columns of 3 16-bit colours
    grey = [text(5, r) for r in range(8)]  # 5 columns of one 8-bit colour
    seeds = {
        "inflate_text": bytes([0]) + deflate(sample),
        "inflate_fixed": bytes([0]) + deflate(sample, 6, zlib.Z_FIXED),
        "inflate_stored": bytes([0]) + deflate(sample[:300], 0),
        "inflate_png15": bytes([0 | 7 << 3 | 1 << 6]) + deflate(png_up(image)),
        "inflate_tiff": bytes([0 | 1 << 3]) + deflate(tiff_8bit(grey)),
        "lzw_early": bytes([1]) + lzw(sample, 1),
        "lzw_late": bytes([2]) + lzw(sample, 0),
        "base85": bytes([3]) + base85(sample[:400] + bytes(8)),
        "hex": bytes([4]) + sample[:200].hex().encode() + b">",
        "run_length": bytes([5]) + run_length(b"aaaaabcdddddddddde" * 10),
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
