#!/usr/bin/env python3
"""Writes the seed corpora of fuzz_pdf_page, fuzz_jbig2 and fuzz_jpx into fuzz/corpus/:

- pdf_page: small PDFs with uncompressed content, one page of each kind of drawing (clips,
  dashes, colour spaces, a form in a form, an image and an inline image, axial and radial
  shadings, transparency, optional content, a rotated page), and, from CORPUS_DIR when it is
  given, a few made files of the corpus and its three smallest real documents (a plot, a
  barcode, a table);
- jbig2: pages of one generic region, coded with MMR (from the facsimile fixture) and with the
  arithmetic coder, the first byte saying how many bytes of global segments follow it;
- jpx: the JPEG 2000 fixtures of the tests, a JP2 file and a codestream.

    scripts/make-page-seeds.py [CORPUS_DIR]
"""
import os
import shutil
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
FUZZ = os.path.join(ROOT, 'fuzz', 'corpus')
FIXTURES = os.path.join(ROOT, 'tests', 'fixtures')


def pdf(objects):
    """A PDF with a classic table; objects maps number to the body between obj and endobj."""
    out = bytearray(b'%PDF-1.7\n')
    offsets = {}
    for number in sorted(objects):
        offsets[number] = len(out)
        out += b'%d 0 obj\n%s\nendobj\n' % (number, objects[number])
    size = max(objects) + 1
    at = len(out)
    out += b'xref\n0 %d\n0000000000 65535 f \n' % size
    for number in range(1, size):
        out += (b'%010d 00000 n \n' % offsets[number] if number in offsets
                else b'0000000000 65535 f \n')
    out += b'trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n' % (size, at)
    return bytes(out)


def stream(dictionary, data):
    return b'<< %s /Length %d >>\nstream\n%s\nendstream' % (dictionary, len(data), data)


def one_page(content, resources=b'<< >>', page_extra=b'', more=None):
    objects = {
        1: b'<< /Type /Catalog /Pages 2 0 R >>',
        2: b'<< /Type /Pages /Kids [3 0 R] /Count 1 /MediaBox [0 0 300 200] >>',
        3: b'<< /Type /Page /Parent 2 0 R /Resources %s /Contents 4 0 R %s >>'
           % (resources, page_extra),
        4: stream(b'', content),
    }
    objects.update(more or {})
    return pdf(objects)


FUNCTION = b'<< /FunctionType 2 /Domain [0 1] /C0 [1 0 0] /C1 [0 0 1] /N 1 >>'

PAGES = {
    'paths': one_page(
        b'q 10 10 280 180 re W n 0.2 0.4 0.9 rg 0 0 300 200 re f Q '
        b'q 4 w 1 J 2 j [6 3] 1 d 0.8 0.1 0.1 RG 20 20 m 150 180 l 280 20 l h S Q '
        b'q 0 0 1 0 k 50 50 m 100 150 150 50 200 150 c 250 50 260 60 v 120 30 140 40 y f* Q '
        b'q 0.5 G 0 w 30 30 240 140 re s 10 M 0 j 1 i 40 40 m 60 60 l b B* Q'),
    'colours': one_page(
        b'/CS0 cs 0.3 0.5 0.7 sc 10 10 50 50 re f /CS1 cs 50 20 -30 scn 70 10 50 50 re f '
        b'/CS2 cs 2 sc 130 10 50 50 re f /CS3 CS 0.4 SCN 4 w 10 100 m 290 100 l S '
        b'/DeviceGray cs 0.5 sc 190 10 50 50 re f',
        resources=b'<< /ColorSpace << /CS0 [/CalRGB << /WhitePoint [0.95 1 1.09] /Gamma '
                  b'[2.2 2.2 2.2] >>] /CS1 [/Lab << /WhitePoint [0.95 1 1.09] /Range '
                  b'[-100 100 -100 100] >>] '
                  b'/CS2 [/Indexed /DeviceRGB 3 <ff000000ff000000ff808080>] '
                  b'/CS3 [/Separation /Spot /DeviceCMYK << /FunctionType 2 /Domain [0 1] '
                  b'/C0 [0 0 0 0] /C1 [0 1 1 0] /N 1 >>] >> >>'),
    'forms': one_page(
        b'q 1 0 0 1 20 20 cm /Fm0 Do Q q 0.5 0 0 0.5 150 20 cm /Fm0 Do Q',
        resources=b'<< /XObject << /Fm0 5 0 R >> >>',
        more={5: stream(b'/Type /XObject /Subtype /Form /BBox [0 0 200 150] /Matrix [1 0 0 1 0 0] '
                        b'/Resources << /XObject << /Fm1 6 0 R >> >>',
                        b'0.9 0.6 0 rg 0 0 250 250 re f /Fm1 Do'),
              6: stream(b'/Type /XObject /Subtype /Form /BBox [0 0 50 50] '
                        b'/Group << /S /Transparency /I true >>',
                        b'0 0 1 rg 10 10 30 30 re f')}),
    'images': one_page(
        b'q 100 0 0 80 20 20 cm /Im0 Do Q q 0 60 -60 0 250 100 cm /Im1 Do Q '
        b'q 40 0 0 40 150 150 cm '
        b'BI /W 4 /H 2 /CS /G /BPC 8 ID \x00\x40\x80\xff\xff\x80\x40\x00 EI Q '
        b'q 1 0 0 rg 50 0 0 50 150 20 cm /Im2 Do Q',
        resources=b'<< /XObject << /Im0 5 0 R /Im1 6 0 R /Im2 7 0 R >> >>',
        more={5: stream(b'/Type /XObject /Subtype /Image /Width 3 /Height 2 /BitsPerComponent 8 '
                        b'/ColorSpace /DeviceRGB /Decode [1 0 0 1 0 1]',
                        bytes(range(0, 216, 12))),
              6: stream(b'/Type /XObject /Subtype /Image /Width 4 /Height 4 /BitsPerComponent 4 '
                        b'/ColorSpace /DeviceGray /SMask 8 0 R', bytes(range(0, 128, 16))),
              7: stream(b'/Type /XObject /Subtype /Image /Width 8 /Height 2 /ImageMask true',
                        b'\x5a\xa5'),
              8: stream(b'/Type /XObject /Subtype /Image /Width 2 /Height 2 /BitsPerComponent 8 '
                        b'/ColorSpace /DeviceGray', b'\x00\x80\xc0\xff')}),
    'shadings': one_page(
        b'q 10 10 130 180 re W n /Sh0 sh Q q 160 10 130 180 re W n /Sh1 sh Q',
        resources=b'<< /Shading << /Sh0 << /ShadingType 2 /ColorSpace /DeviceRGB /Coords '
                  b'[10 10 140 190] /Function %s /Extend [true false] >> /Sh1 << /ShadingType 3 '
                  b'/ColorSpace /DeviceRGB /Coords [225 100 5 225 100 60] /Function << '
                  b'/FunctionType 3 /Domain [0 1] /Functions [%s %s] /Bounds [0.5] /Encode '
                  b'[0 1 1 0] >> /Extend [false true] >> >> >>' % (FUNCTION, FUNCTION, FUNCTION)),
    'transparency': one_page(
        b'/GS0 gs 0 0 1 rg 20 20 150 100 re f /GS1 gs 1 0 0 rg 100 60 150 100 re f',
        resources=b'<< /ExtGState << /GS0 << /ca 0.5 /CA 0.3 /LW 3 /LC 1 /LJ 1 /ML 4 /D [[4 2] 0] '
                  b'>> /GS1 << /BM /Multiply /ca 0.7 /SMask /None >> >> >>'),
    'optional': one_page(
        b'/OC /Off BDC 1 0 0 rg 0 0 300 200 re f EMC /OC /On BDC 0 1 0 rg 50 50 100 100 re f EMC',
        resources=b'<< /Properties << /Off 5 0 R /On 6 0 R >> >>',
        more={1: b'<< /Type /Catalog /Pages 2 0 R /OCProperties << /OCGs [5 0 R 6 0 R] '
                 b'/D << /OFF [5 0 R] >> >> >>',
              5: b'<< /Type /OCG /Name (hidden) >>', 6: b'<< /Type /OCG /Name (shown) >>'}),
    'rotated': one_page(b'0 0 1 RG 5 w 10 10 m 290 190 l S', page_extra=b'/Rotate 90 '
                        b'/CropBox [10 10 290 190] /UserUnit 2'),
}


def segment(number, kind, data, page=1):
    """A JBIG2 segment of the embedded organisation without referred-to segments."""
    return struct.pack('>IBBBI', number, kind, 0, page, len(data)) + data


def generic_page(width, height, flags, coded, at_pixels=b''):
    """A page of width x height holding one immediate lossless generic region."""
    info = struct.pack('>IIIIBH', width, height, 0, 0, 0, 0)
    region = struct.pack('>IIIIB', width, height, 0, 0, 0) + bytes([flags]) + at_pixels + coded
    return segment(0, 48, info) + segment(1, 38, region) + segment(2, 49, b'')


def jbig2_seeds():
    with open(os.path.join(FIXTURES, 'fax', 'g4_text.fax'), 'rb') as f:
        mmr = f.read()
    with open(os.path.join(FIXTURES, 'fax', 'g4_text.bits'), 'rb') as f:
        height = len(f.read()) // 10
    # The arithmetic decoder takes any bytes; these give a varied picture. Template 0 has four
    # adaptive pixels, templates 1 to 3 one.
    arithmetic = bytes((i * 37 + 11) % 256 for i in range(400)) + b'\xff\xac'
    at4 = bytes([3, 0xff, 0xfd, 0xff, 2, 0xfe, 0xfe, 0xfe])
    return {
        'mmr': b'\x00' + generic_page(75, height, 1, mmr),
        'template0': b'\x00' + generic_page(64, 32, 0, arithmetic, at4),
        'template2_tpgdon': b'\x00' + generic_page(40, 24, 4 | 8, arithmetic, bytes([2, 0xff])),
        # The same page after a global segment: an extension, of no page.
        'globals': b'\x0f' + segment(9, 62, struct.pack('>I', 0), page=0)
                   + generic_page(64, 32, 0, arithmetic, at4),
    }


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)


def main():
    if len(sys.argv) > 2:
        sys.exit('usage: make-page-seeds.py [CORPUS_DIR]')
    for name, data in PAGES.items():
        write(os.path.join(FUZZ, 'pdf_page'), name + '.pdf', data)
    if len(sys.argv) == 2:
        for name in ('made--tree.pdf', 'made--tree--objstm.pdf', 'made--update.pdf',
                     'made--tree--rc4-128.pdf', 'gretl-doc--tau-sequence.pdf',
                     'gretl-doc--weibull.pdf', 'texlive-luatex--8006194056290.pdf'):
            shutil.copy(os.path.join(sys.argv[1], name), os.path.join(FUZZ, 'pdf_page', name))
    for name, data in jbig2_seeds().items():
        write(os.path.join(FUZZ, 'jbig2'), name, data)
    for name in ('rgb.jp2', 'grey.j2k'):
        os.makedirs(os.path.join(FUZZ, 'jpx'), exist_ok=True)
        shutil.copy(os.path.join(FIXTURES, 'jpx', name), os.path.join(FUZZ, 'jpx', name))


if __name__ == '__main__':
    main()
