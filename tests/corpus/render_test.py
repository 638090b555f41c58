#!/usr/bin/env python3
"""The drawing check of the PDF corpus: page 1 and up to two later pages (the middle one and the
last) of every corpus file, drawn at 72 dpi by `brindle render` and by `pdftoppm -r 72
-cropbox` (the page's visible box, as a reader shows it), must look alike: after a 3x3 box
blur of both in grey, few pixels may differ by much, and the sizes may differ by a pixel at most
(the common part is compared).

    tests/corpus/render_test.py --brindle build/bin/brindle --corpus build/corpus
    tests/corpus/render_test.py ... --diff /tmp/diffs     # pictures of the pages that differ
    tests/corpus/render_test.py ... --update              # rewrite the expected failures
    tests/corpus/render_test.py ... ctex.pdf made--       # only the files whose names hold these

A difference is put down to text when nearly all of its pixels lie within the words pdftotext
finds on the page, and to the drawing otherwise. The corpus is fetched and made as for
corpus_test.py. Files whose pages do not match yet are listed with a reason in
render_expected_failures.txt beside this script, which works as corpus_test.py's list does
(--update and --fresh-reasons alike), with one difference: a page that crashes brindle or gets
no answer in time fails the test whether its file is listed or not.

A --diff picture shows brindle's page, pdftoppm's, and the reference faded with the differing
pixels in red (outside words) and blue (within words), side by side; the third is left out when
the sizes differ.

Needs poppler-utils (pdfinfo, pdftoppm, pdftotext) and Python's imaging library
(python3-pil). Exit status: 0 passed, 1 failed, 2 bad usage, 77 the corpus could not be fetched.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from corpus_files import (HERE, check_each, check_parser, corpus_names, finish,
                          parse_check_arguments, prepare_corpus)

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter
except ImportError:
    sys.exit('corpus: the drawing check needs Python\'s imaging library (Debian package '
             'python3-pil) for %s' % sys.executable)

EXPECTED = os.path.join(HERE, 'render_expected_failures.txt')
DPI = 72
SECONDS = 60  # a page drawn for longer than this is taken for a hang
# A pixel differs when the blurred drawings are more than LEVELS grey levels apart there; a
# page matches with at most MOST_DIFFERING of its pixels differing. Two maintained renderers
# drawing the same page of text and line art stay well within it (0.1% to 0.3% here).
LEVELS = 48
MOST_DIFFERING = 0.01
IN_WORDS = 0.9  # share of the differing pixels within words that makes a difference text's
WORD_MARGIN = 2  # pixels round each word's box that count as the word's


class Run:
    def __init__(self, status, err=''):
        self.status, self.err = status, err


def run(command):
    """The exit status (None after a hang) and first line of standard error of a command."""
    try:
        done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              timeout=SECONDS)
    except subprocess.TimeoutExpired:
        return Run(None)
    lines = done.stderr.decode('utf-8', 'replace').strip().splitlines()
    # Qt's notes on the environment come first; the program's own message is last.
    return Run(done.returncode, lines[-1] if lines else '')


def page_count(path):
    """pdfinfo's page count, or None when it cannot read the file."""
    try:
        out = subprocess.run(['pdfinfo', path], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=SECONDS).stdout
    except subprocess.TimeoutExpired:
        return None
    found = re.search(rb'^Pages:\s+(\d+)', out, re.M)
    return int(found.group(1)) if found else None


def pages_to_draw(count):
    """Page 1, the middle page and the last."""
    return sorted({p for p in (1, (count + 1) // 2, count) if 1 <= p <= count})


class Fault(Exception):
    """A crash or a hang: never an expected failure."""


def draw_ours(brindle, path, page, out):
    """None when brindle drew the page into `out`, else why not; raises Fault on a crash or
    hang."""
    done = run([brindle, 'render', path, '-p', str(page), '-o', out, '--dpi', str(DPI)])
    if done.status is None:
        raise Fault('page %d: no answer in %d s' % (page, SECONDS))
    if done.status < 0:
        raise Fault('page %d: crash (signal %d)' % (page, -done.status))
    if done.status != 0 or not os.path.exists(out):
        return 'page %d: brindle exit status %d: %s' % (page, done.status, done.err[:100])
    return None


def draw_reference(path, page, prefix):
    """pdftoppm's drawing of the page's crop box in grey, or None when it cannot draw it."""
    done = run(['pdftoppm', '-r', str(DPI), '-cropbox', '-gray', '-png', '-singlefile',
                '-f', str(page), '-l', str(page), path, prefix])
    return prefix + '.png' if done.status == 0 and os.path.exists(prefix + '.png') else None


def word_mask(path, page, size, folder):
    """A picture of `size` white where pdftotext finds the page's words, black elsewhere."""
    mask = Image.new('L', size, 0)
    out = os.path.join(folder, 'words.html')
    if run(['pdftotext', '-cropbox', '-bbox', '-f', str(page), '-l', str(page), path,
            out]).status != 0:
        return mask
    scale = DPI / 72.0
    draw = ImageDraw.Draw(mask)
    with open(out, encoding='utf-8', errors='replace') as html:
        for box in re.findall(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" '
                              r'yMax="([-\d.]+)"', html.read()):
            x0, y0, x1, y1 = (float(v) * scale for v in box)
            draw.rectangle([x0 - WORD_MARGIN, y0 - WORD_MARGIN, x1 + WORD_MARGIN,
                            y1 + WORD_MARGIN], fill=255)
    return mask


def differing(ours, theirs):
    """The picture of the pixels (255) by which the two blurred drawings differ much."""
    blur = ImageFilter.BoxBlur(1)
    difference = ImageChops.difference(ours.filter(blur), theirs.filter(blur))
    return difference.point(lambda v: 255 if v > LEVELS else 0)


def count_set(picture):
    return picture.histogram()[255]


def write_diff(diff_dir, name, page, ours, theirs, changed=None, words=None):
    """Brindle's drawing, the reference and, when their sizes allow, their differences side by
    side."""
    width, height = max(ours.width, theirs.width), max(ours.height, theirs.height)
    panels = 2 if changed is None else 3
    sheet = Image.new('RGB', (panels * width, height), 'white')
    sheet.paste(ours.convert('RGB'), (0, 0))
    sheet.paste(theirs.convert('RGB'), (width, 0))
    if changed is not None:
        faded = theirs.point(lambda v: 192 + v // 4).convert('RGB')
        faded.paste((220, 0, 0), mask=ImageChops.subtract(changed, words))
        faded.paste((0, 60, 220), mask=ImageChops.multiply(changed, words))
        sheet.paste(faded, (2 * width, 0))
    sheet.save(os.path.join(diff_dir, '%s-p%d.png' % (name[:-len('.pdf')], page)))


def compare_page(brindle, path, page, folder, diff_dir):
    """None when the page matches, else the mismatch as a short phrase."""
    ours_file = os.path.join(folder, 'ours.png')
    for stale in (ours_file, os.path.join(folder, 'reference.png')):
        if os.path.exists(stale):
            os.remove(stale)
    problem = draw_ours(brindle, path, page, ours_file)
    reference = draw_reference(path, page, os.path.join(folder, 'reference'))
    if reference is None:
        return None  # nothing to compare with; that brindle did not crash is all there is
    if problem:
        return problem
    with Image.open(ours_file) as ours_image, Image.open(reference) as theirs_image:
        ours, theirs = ours_image.convert('L'), theirs_image.convert('L')
    if abs(ours.width - theirs.width) > 1 or abs(ours.height - theirs.height) > 1:
        if diff_dir:
            write_diff(diff_dir, os.path.basename(path), page, ours, theirs)
        return 'page %d: size %dx%d vs %dx%d' % (page, ours.width, ours.height, theirs.width,
                                                  theirs.height)
    common = (0, 0, min(ours.width, theirs.width), min(ours.height, theirs.height))
    ours, theirs = ours.crop(common), theirs.crop(common)
    changed = differing(ours, theirs)
    share = count_set(changed) / float(ours.width * ours.height)
    if share <= MOST_DIFFERING:
        return None
    words = word_mask(path, page, ours.size, folder)
    within = count_set(ImageChops.multiply(changed, words)) / float(count_set(changed))
    if diff_dir:
        write_diff(diff_dir, os.path.basename(path), page, ours, theirs, changed, words)
    what = 'text differs' if within >= IN_WORDS else 'drawing differs'
    return 'page %d: %s (%.1f%% of pixels, %d%% of them in words)' % (
        page, what, 100 * share, round(100 * within))


def check(brindle, path, diff_dir):
    """(mismatches as short phrases, faults: crashes and hangs) for one file."""
    count = page_count(path)
    # A file pdfinfo cannot read is still drawn, to see that brindle does not crash on it.
    pages = pages_to_draw(count) if count else [1]
    problems, faults = [], []
    with tempfile.TemporaryDirectory() as folder:
        for page in pages:
            try:
                problem = compare_page(brindle, path, page, folder, diff_dir)
            except Fault as fault:
                faults.append(str(fault))
                continue
            if problem:
                problems.append(problem)
    return problems, faults


# A reason as check() words it; any other was written by hand.
MEASURED = re.compile(r'^page \d+: ')


def main():
    parser = check_parser(__doc__.split('\n')[0], EXPECTED)
    parser.add_argument('--diff', metavar='DIR', help='write pictures of the pages that differ')
    args = parse_check_arguments(parser)
    for tool in ('pdfinfo', 'pdftoppm', 'pdftotext'):
        if shutil.which(tool) is None:
            sys.exit('corpus: %s is needed (Debian package poppler-utils)' % tool)
    prepare_corpus(args)
    names = corpus_names(args.corpus, args.only)
    if args.diff:
        os.makedirs(args.diff, exist_ok=True)
    os.environ.setdefault('QT_QPA_PLATFORM', 'offscreen')
    results = check_each(names, args.jobs, lambda name: check(
        args.brindle, os.path.join(args.corpus, name), args.diff))
    status = finish('corpus drawing', names, results, args, MEASURED)
    if args.diff:
        print('corpus drawing: pictures of the differences in %s' % args.diff)
    return status


if __name__ == '__main__':
    sys.exit(main())
