#!/usr/bin/env python3
"""Writes the made files of the regression corpus into CORPUS_DIR, beside the real documents
that scripts/fetch-corpus.sh put there: a few small PDFs written here by hand, and variants of
them and of two real documents, one for each feature a reader must handle. qpdf makes the
object-stream, linearized, QDF and encrypted (empty user password) forms; this script makes the
damaged ones from a classic-table copy.

    scripts/make-corpus-files.py CORPUS_DIR

Every made file is named made--*.pdf or SOURCE--VARIANT.pdf, and is written anew on each run.
"""
import os
import re
import subprocess
import sys

# Real documents that get every variant: Ghostscript's groff manual page and a Chinese card.
REAL_SOURCES = ['graphviz-doc--dot.1.pdf', 'debian-refcard--refcard-zh_CN-a4.pdf']
OWNER_PASSWORD = 'corpus-owner'

QPDF_VARIANTS = {
    'objstm': ['--object-streams=generate'],
    'linearized': ['--linearize'],
    'qdf': ['--qdf'],
    'rc4-40': ['--allow-weak-crypto', '--encrypt', '', OWNER_PASSWORD, '40', '--'],
    'rc4-128': ['--allow-weak-crypto', '--encrypt', '', OWNER_PASSWORD, '128', '--use-aes=n', '--'],
    'aes-128': ['--encrypt', '', OWNER_PASSWORD, '128', '--use-aes=y', '--'],
    'aes-256': ['--encrypt', '', OWNER_PASSWORD, '256', '--'],
}


def pdf_file(objects, root=1, trailer_extra=b'', pad=0, eol=b'\n'):
    """A PDF with a classic table; objects maps number to body bytes (between obj and endobj),
    lines ending in `eol`."""
    out = bytearray(b'%PDF-1.4' + eol + b'%\xe2\xe3\xcf\xd3' + eol)
    if pad:
        out += b'%' + b'x' * pad + eol
    offsets = {}
    for number in sorted(objects):
        offsets[number] = len(out)
        body = objects[number].replace(b'\n', eol)
        if eol == b'\r':
            # A lone CR may not end the "stream" line: CR LF there, as such producers wrote.
            body = body.replace(b'stream\r', b'stream\r\n')
        out += b'%d 0 obj' % number + eol + body + eol + b'endobj' + eol
    size = max(objects) + 1
    out += table_and_trailer(offsets, size, root, trailer_extra, len(out), eol=eol)
    return bytes(out)


def table_and_trailer(offsets, size, root, extra, at, first=0, eol=b'\n'):
    # Table entries are 20 bytes whatever the line ends: a space pads a one-byte end.
    end = eol if len(eol) == 2 else b' ' + eol
    out = bytearray(b'xref' + eol)
    if first == 0:
        out += b'0 %d' % size + eol + b'0000000000 65535 f' + end
        numbers = range(1, size)
    else:
        numbers = sorted(offsets)
    for number in numbers:
        if first:
            out += b'%d 1' % number + eol
        out += (b'%010d 00000 n' % offsets[number] if number in offsets
                else b'0000000000 65535 f') + end
    out += (b'trailer' + eol + b'<< /Size %d /Root %d 0 R %s>>' % (size, root, extra) + eol +
            b'startxref' + eol + b'%d' % at + eol + b'%%EOF' + eol)
    return out


def content(text):
    data = b'BT /F1 18 Tf 72 700 Td (%s) Tj ET' % text
    return b'<< /Length %d >>\nstream\n%s\nendstream' % (len(data), data)


FONT = b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>'


def tree_objects():
    """Five pages under two levels of /Pages: boxes, resources and /Rotate inherited, a page of
    its own size, a rotated one, one without /Contents; dictionaries written without spaces."""
    return {
        1: b'<</Type/Catalog/Pages 2 0 R>>',
        2: b'<</Type/Pages/Kids[3 0 R 4 0 R 5 0 R]/Count 5/MediaBox[0 0 595 842]'
           b'/Resources<</Font<</F1 20 0 R>>>>>>',
        3: b'<</Type/Page/Parent 2 0 R/Contents 10 0 R>>',
        4: b'<</Type/Pages/Parent 2 0 R/Kids[6 0 R 7 0 R 8 0 R]/Count 3/CropBox[20 30 500 800]'
           b'/Rotate 90>>',
        5: b'<</Type/Page/Parent 2 0 R/MediaBox[0 0 300 400]/Contents 11 0 R>>',
        6: b'<</Type/Page/Parent 4 0 R/Contents 12 0 R>>',
        7: b'<</Type/Page/Parent 4 0 R/Rotate 0/MediaBox[-10 -10 612 792]/Contents 13 0 R>>',
        8: b'<</Type/Page/Parent 4 0 R>>',
        10: content(b'page 1'),
        11: content(b'page 5, 300 by 400'),
        12: content(b'page 2, cropped and rotated'),
        13: content(b'page 3, its own box'),
        20: FONT,
    }


def plain_objects():
    """Three pages written with spaces everywhere, for the files that differ only in line ends."""
    return {
        1: b'<< /Type /Catalog /Pages 2 0 R >>',
        2: b'<< /Type /Pages /Kids [ 3 0 R 4 0 R 5 0 R ] /Count 3 /MediaBox [ 0 0 612 792 ] >>',
        3: b'<< /Type /Page /Parent 2 0 R /Contents 10 0 R >>',
        4: b'<< /Type /Page /Parent 2 0 R /CropBox [ 36 36 576 756 ] /Contents 11 0 R >>',
        5: b'<< /Type /Page /Parent 2 0 R /MediaBox [ 0 0 842 595 ] /Contents 12 0 R >>',
        10: content(b'page 1'),
        11: content(b'page 2, cropped'),
        12: content(b'page 3, landscape'),
    }


def short_objects():
    return {
        1: b'<< /Type /Catalog /Pages 2 0 R >>',
        2: b'<< /Type /Pages /Kids [3 0 R] /Count 1 >>',
        3: b'<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] >>',
    }


def updated_file():
    """The plain file with an incremental update: page 1 gets its own box, a new page is added
    after the last one, and the page tree counts four pages."""
    base = pdf_file(plain_objects(), pad=1100)
    previous = int(re.findall(rb'startxref\s+(\d+)', base)[-1])
    changes = {
        2: b'<< /Type /Pages /Kids [ 3 0 R 4 0 R 5 0 R 30 0 R ] /Count 4 /MediaBox [ 0 0 612 792 ] >>',
        3: b'<< /Type /Page /Parent 2 0 R /MediaBox [ 0 0 420 595 ] /Contents 10 0 R >>',
        30: b'<< /Type /Page /Parent 2 0 R /MediaBox [ 0 0 1000 500 ] /Contents 31 0 R >>',
        31: content(b'page 4, added by an update'),
    }
    out = bytearray(base)
    offsets = {}
    for number in sorted(changes):
        offsets[number] = len(out)
        out += b'%d 0 obj\n' % number + changes[number] + b'\nendobj\n'
    out += table_and_trailer(offsets, 32, 1, b'/Prev %d ' % previous, len(out), first=1)
    return bytes(out)


def classic_copy(source, target):
    qpdf(['--object-streams=disable', '--decode-level=none'], source, target)


def qpdf(options, source, target):
    # Status 3 means written with warnings, which damaged inputs give.
    done = subprocess.run(['qpdf', *options, source, target], capture_output=True)
    if done.returncode not in (0, 3):
        raise RuntimeError('qpdf %s %s: %s' % (' '.join(options), source, done.stderr.decode()))


def last_table(data):
    """The offset of the last classic table's "xref" keyword and of its "trailer"."""
    at = int(re.findall(rb'startxref\s+(\d+)', data)[-1])
    if data[at:at + 4] != b'xref':
        raise RuntimeError('no classic table at startxref')
    return at, data.index(b'trailer', at)


def truncated(data):
    """The file cut short in its last line but one: no startxref offset, no %%EOF."""
    return data[:data.rindex(b'startxref') + 5]


def shifted_offsets(data):
    """Every in-use entry of the table pointing three bytes past its object."""
    at, trailer = last_table(data)
    table = re.sub(rb'(\d{10}) (\d{5}) n',
                   lambda m: b'%010d %s n' % (int(m.group(1)) + 3, m.group(2)), data[at:trailer])
    return data[:at] + table + data[trailer:]


def table_removed(data):
    """The table gone; startxref points at the trailer that stays."""
    at, trailer = last_table(data)
    rest = data[trailer:]
    rest = re.sub(rb'startxref\s+\d+', b'startxref\n%d' % at, rest)
    return data[:at] + rest


def wrong_startxref(data):
    """startxref pointing 50 bytes before the table, into the last object."""
    at, _ = last_table(data)
    head, tail = data.rsplit(b'startxref', 1)
    return head + b'startxref' + re.sub(rb'\s+\d+', b'\n%d' % max(0, at - 50), tail, count=1)


DAMAGES = {
    'truncated': truncated,
    'shifted-offsets': shifted_offsets,
    'no-xref': table_removed,
    'wrong-startxref': wrong_startxref,
}


def write(path, data):
    with open(path, 'wb') as out:
        out.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make-corpus-files.py CORPUS_DIR')
    corpus = sys.argv[1]
    made = {
        'made--tree.pdf': pdf_file(tree_objects(), pad=1100),
        'made--short.pdf': pdf_file(short_objects()),
        'made--update.pdf': updated_file(),
        'made--lf.pdf': pdf_file(plain_objects(), pad=1100),
        'made--crlf.pdf': pdf_file(plain_objects(), pad=1100, eol=b'\r\n'),
        'made--cr.pdf': pdf_file(plain_objects(), pad=1100, eol=b'\r'),
    }
    for name, data in made.items():
        write(os.path.join(corpus, name), data)

    sources = ['made--tree.pdf'] + [s for s in REAL_SOURCES if os.path.exists(os.path.join(corpus, s))]
    for source in sources:
        stem = os.path.join(corpus, source[:-len('.pdf')])
        path = os.path.join(corpus, source)
        for variant, options in QPDF_VARIANTS.items():
            qpdf(options, path, '%s--%s.pdf' % (stem, variant))
        classic = stem + '--classic.tmp'
        classic_copy(path, classic)
        with open(classic, 'rb') as src:
            data = src.read()
        os.remove(classic)
        for variant, damage in DAMAGES.items():
            write('%s--%s.pdf' % (stem, variant), damage(data))


if __name__ == '__main__':
    main()
