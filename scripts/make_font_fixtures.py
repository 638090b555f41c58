#!/usr/bin/python3
"""Makes the small font programs of tests/fixtures/fonts from Debian's free fonts with
python3-fonttools: a TrueType subset of DejaVu Sans (and two copies with only a symbol or
only a Mac Roman cmap), a bare CFF (Type1C) subset of Nimbus Sans from fonts-urw-base35, and
a bare CID-keyed CFF subset of Noto Sans CJK SC.

Run it from the repository's root with Debian's python3 when the fixtures need to change.
"""
import io

from fontTools import subset
from fontTools.ttLib import TTFont

OUT = "tests/fixtures/fonts/"
LATIN = "".join(chr(c) for c in range(0x20, 0x7F))
CJK = "中文字体测试竖排"


def subsetted(path, text, index=0, **flags):
    font = TTFont(path, fontNumber=index)
    options = subset.Options()
    options.name_IDs = []
    options.notdef_outline = True
    options.glyph_names = True
    options.layout_features = []
    for key, value in flags.items():
        setattr(options, key, value)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    return font


def bare_cff(font, out):
    data = io.BytesIO()
    font["CFF "].cff.compile(data, font)
    with open(out, "wb") as f:
        f.write(data.getvalue())


def write_metrics(font, out):
    """Each character's code, glyph index and advance in thousandths of the em, as the
    test's strings and /Widths need them."""
    cmap = font.getBestCmap()
    order = font.getGlyphOrder()
    em = font["head"].unitsPerEm
    with open(out, "w") as f:
        for ch in LATIN:
            name = cmap[ord(ch)]
            f.write("%d %d %d\n" % (ord(ch), order.index(name),
                                    round(font["hmtx"][name][0] * 1000 / em)))


def with_only_cmap(font, platform, encoding, offset, out):
    """The font with one cmap: (3,0) with its codes at 0xF000 on as symbolic fonts keep
    them, or (1,0) with the Mac Roman codes."""
    from fontTools.ttLib.tables._c_m_a_p import cmap_format_4, cmap_format_6
    best = font.getBestCmap()
    table = cmap_format_4(4) if platform == 3 else cmap_format_6(6)
    table.platformID, table.platEncID, table.language = platform, encoding, 0
    table.cmap = {offset + code: name for code, name in best.items() if code < 0x80}
    font["cmap"].tables = [table]
    font.save(out)


def main():
    ttf = subsetted("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", LATIN, hinting=False)
    ttf.save(OUT + "latin-subset.ttf")
    write_metrics(ttf, OUT + "latin-subset-ttf.txt")
    with_only_cmap(TTFont(OUT + "latin-subset.ttf"), 3, 0, 0xF000, OUT + "latin-symbol.ttf")
    with_only_cmap(TTFont(OUT + "latin-subset.ttf"), 1, 0, 0, OUT + "latin-mac.ttf")
    cff = subsetted("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", LATIN,
                    hinting=False, desubroutinize=True)
    bare_cff(cff, OUT + "latin-subset.cff")
    write_metrics(cff, OUT + "latin-subset-cff.txt")
    cjk = subsetted("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", CJK, index=2,
                    hinting=False, desubroutinize=True)
    bare_cff(cjk, OUT + "cjk-subset-cid.cff")
    # The CID of each character, as the test's strings need them.
    cmap = cjk.getBestCmap()
    with open(OUT + "cjk-subset-cid.txt", "w") as f:
        for ch in CJK:
            f.write("%04X %d\n" % (ord(ch), int(cmap[ord(ch)][3:])))


if __name__ == "__main__":
    main()
