#!/usr/bin/env python3
"""The regression test of the PDF corpus: every file must open in brindle with the page count
pdfinfo gives it, and its first, last and a few pages between must have pdfinfo's MediaBox and
CropBox (within a point of pdfinfo's rounded values; brindle reports whole points); where
brindle reports them, the rotation of those pages and whether the file is linearized and
encrypted must be pdfinfo's too. Its last and first pages, extracted, must make a file that
qpdf finds sound, and its outline must be the one mutool lists (levels and pages).

    tests/corpus/corpus_test.py --brindle build/bin/brindle --corpus build/corpus
    tests/corpus/corpus_test.py ... --update            # rewrite the expected failures
    tests/corpus/corpus_test.py ... ctex.pdf made--     # only the files whose names hold these

The corpus is fetched (scripts/fetch-corpus.sh, through its cache) when files are missing,
and its made files are written anew each run (scripts/make-corpus-files.py); with --as-is the
folder is taken as it is, as CTest runs the corpus tests after one step that does both
(tests/corpus/corpus_files.py CORPUS_DIR).

Files known not to match yet are listed with a reason in expected_failures.txt beside this
script. The test fails on a mismatch of an unlisted file, and on a listed file that now
matches or no longer exists, so that the list stays true. --update rewrites the list from
this run: files that now match leave it, failures enter or stay with the mismatch found, and
a listed file that still fails keeps a reason written for it by hand (--fresh-reasons replaces
those too). Exit status: 0 passed, 1 failed, 2 bad usage, 77 the corpus could not be fetched.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from corpus_files import (HERE, check_each, check_parser, corpus_names, finish,
                          parse_check_arguments, prepare_corpus)

EXPECTED = os.path.join(HERE, 'expected_failures.txt')
SECONDS = 120  # a run longer than this is taken for a hang


class Run:
    def __init__(self, status, out):
        self.status, self.out = status, out


def run(command):
    """The exit status (None after a hang) and standard output of a command."""
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=SECONDS)
    except subprocess.TimeoutExpired:
        return Run(None, '')
    return Run(done.returncode, done.stdout.decode('utf-8', 'replace'))


def pages_to_check(count):
    """The first page, the last, and a few between."""
    picks = {1, 2, count // 3, count // 2, (2 * count) // 3, count - 1, count}
    return sorted(p for p in picks if 1 <= p <= count)


def reference(path):
    """pdfinfo's page count, the boxes of the pages to check and the file's flags, or None if it
    cannot read the file; boxes maps page to {'media_box': [...], 'crop_box': [...],
    'rotate': n}, flags maps 'linearized' and 'encrypted' to booleans."""
    info = run(['pdfinfo', path])
    found = re.search(r'^Pages:\s+(\d+)', info.out, re.M)
    if info.status != 0 or not found:
        return None
    count = int(found.group(1))
    flags = {key: bool(re.search(r'^%s:\s+yes' % word, info.out, re.M))
             for key, word in (('linearized', 'Optimized'), ('encrypted', 'Encrypted'))}
    boxes = {}
    picks = pages_to_check(count)
    if picks:
        # One run for the whole range: one per page costs a parse of the file each.
        listing = run(['pdfinfo', '-box', '-f', str(picks[0]), '-l', str(picks[-1]), path]).out
        for page, kind, values in re.findall(r'^Page\s+(\d+)\s+(MediaBox|CropBox|rot):(.*)$',
                                             listing, re.M):
            page = int(page)
            if page not in picks:
                continue
            entry = boxes.setdefault(page, {})
            if kind == 'rot':
                entry['rotate'] = int(values.split()[0]) % 360
            else:
                key = 'media_box' if kind == 'MediaBox' else 'crop_box'
                entry[key] = [float(v) for v in values.split()]
    return count, boxes, flags


def xref_form(path):
    """How the file's last cross-reference section is written, as its startxref finds it."""
    with open(path, 'rb') as f:
        data = f.read()
    offsets = re.findall(rb'startxref\s+(-?\d+)', data[-4096:])
    if not offsets:
        return 'no startxref'
    at = int(offsets[-1])
    if at < 0:
        return 'startxref %d' % at
    if data[at:at + 4] == b'xref':
        hybrid = b'/XRefStm' in data[at:at + 65536].split(b'startxref')[0]
        return 'hybrid table and stream' if hybrid else 'classic table'
    if re.match(rb'\d+\s+\d+\s+obj', data[at:at + 40]):
        return 'xref stream'
    return 'startxref off the mark'


def brindle_info(brindle, path, page=None):
    """(json result, problem): problem names a crash, a hang or unreadable output."""
    command = [brindle, '--json', 'info', path] + (['--page', str(page)] if page else [])
    done = run(command)
    if done.status is None:
        return None, 'no answer in %d s' % SECONDS
    if done.status not in (0, 1):
        return None, 'exit status %d%s' % (done.status, ' (crash)' if done.status < 0 else '')
    try:
        return json.loads(done.out), None
    except ValueError:
        return None, 'output is not JSON: %r' % done.out[:80]


def show(box):
    return '[%s]' % ' '.join('%g' % v for v in box)


def box_matches(ours, theirs):
    return (isinstance(ours, list) and len(ours) == 4
            and all(abs(o - round(t)) <= 1 for o, t in zip(ours, theirs)))


def where(pages):
    if len(pages) == 1:
        return 'page %d' % pages[0]
    if len(pages) <= 3:
        return 'pages %s' % ','.join(map(str, pages))
    return '%d pages (%s,...)' % (len(pages), ','.join(map(str, pages[:2])))


def check(brindle, path):
    """The mismatches between brindle and pdfinfo for one file, as short phrases."""
    expected = reference(path)
    result, problem = brindle_info(brindle, path)
    if problem:
        return [problem]
    if expected is None:
        # pdfinfo cannot read it either: the file must be refused, with an error.
        return [] if 'error_code' in result else ['pdfinfo cannot read it, brindle opens it']
    count, boxes, flags = expected
    if 'error_code' in result:
        return ['%s: error %s: %s' % (xref_form(path), result['error_code'],
                                      result.get('error_message', ''))]
    problems = []
    if result.get('pages') != count:
        problems.append('page count %s vs %d' % (result.get('pages'), count))
    # The file's flags are compared where brindle reports them.
    for key, value in flags.items():
        if key in result and bool(result[key]) != value:
            problems.append('%s %s vs %s' % (key, str(result[key]).lower(), str(value).lower()))
    found = {}  # (what, ours, theirs) -> pages
    for page in sorted(boxes):
        if isinstance(result.get('pages'), int) and page > result['pages']:
            continue
        answer, problem = brindle_info(brindle, path, page)
        if problem:
            problems.append('page %d: %s' % (page, problem))
            continue
        if 'error_code' in answer:
            found.setdefault(('page error', answer['error_code'], answer.get('error_message')),
                             []).append(page)
            continue
        for key, name in (('media_box', 'media box'), ('crop_box', 'crop box')):
            theirs = boxes[page].get(key)
            if theirs is None:
                continue
            if not box_matches(answer.get(key), theirs):
                ours = answer.get(key)
                ours = show(ours) if isinstance(ours, list) else str(ours)
                found.setdefault((name, ours, show(theirs)), []).append(page)
        # Rotation is compared once brindle reports it.
        if 'rotate' in answer and answer['rotate'] % 360 != boxes[page].get('rotate', 0):
            found.setdefault(('rotate', answer['rotate'], boxes[page].get('rotate')),
                             []).append(page)
    for (what, ours, theirs), pages in found.items():
        if what == 'page error':
            problems.append('%s: error %s: %s' % (where(pages), ours, theirs))
        else:
            problems.append('%s: %s %s vs %s' % (where(pages), what, ours, theirs))
    problems += check_extraction(brindle, path, result.get('pages'))
    problems += check_outline(brindle, path)
    return problems


def check_outline(brindle, path):
    """brindle toc must list the outline mutool lists: each entry's level and page."""
    if shutil.which('mutool') is None:
        return []
    listing = run(['mutool', 'show', path, 'outline'])
    if listing.status != 0:
        return []
    theirs = []
    for line in listing.out.splitlines():
        found = re.match(r'^[|+-](\t+)".*"\t(?:#page=(\d+))?', line)
        if found:
            theirs.append((len(found.group(1)), int(found.group(2) or 0)))
    done = run([brindle, '--json', 'toc', path])
    try:
        ours = [(item.get('level'), item.get('page')) for item in json.loads(done.out)['items']]
    except (ValueError, KeyError, TypeError):
        return ['toc: no outline in its output (status %s)' % done.status] if theirs else []
    if len(ours) != len(theirs):
        return ['toc: %d outline entries vs %d' % (len(ours), len(theirs))]
    wrong = [i for i, (a, b) in enumerate(zip(ours, theirs)) if a != b]
    if wrong:
        i = wrong[0]
        return ['toc: %d entries differ, first entry %d: level/page %s vs %s'
                % (len(wrong), i + 1, ours[i], theirs[i])]
    return []


def check_extraction(brindle, path, count):
    """The last page and the first, extracted, must make a file qpdf finds sound and pdfinfo
    counts two pages in (one for a file of one page)."""
    if not isinstance(count, int) or count < 1:
        return []
    pages = '%d,1' % count if count > 1 else '1'
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, 'extract.pdf')
        done = run([brindle, 'extract', path, '-p', pages, '-o', out])
        if done.status != 0:
            return ['extract: exit status %s' % done.status]
        checked = run(['qpdf', '--check', out])
        if checked.status != 0:
            return ['extract: qpdf --check status %s' % checked.status]
        found = re.search(r'^Pages:\s+(\d+)', run(['pdfinfo', out]).out, re.M)
        want = 2 if count > 1 else 1
        if not found or int(found.group(1)) != want:
            return ['extract: %s pages vs %d' % (found.group(1) if found else 'no', want)]
    return []


# A reason as check() words it; any other was written by hand.
MEASURED = re.compile(r'^([a-z -]+(-?\d+)?: error \d+|page count |pages? \d|\d+ pages \(|exit status '
                      r'|no answer |output is not JSON|pdfinfo cannot|linearized |encrypted |extract: |toc: )')


def main():
    args = parse_check_arguments(check_parser(__doc__.split('\n')[0], EXPECTED))
    for tool, package in (('pdfinfo', 'poppler-utils'), ('qpdf', 'qpdf')):
        if shutil.which(tool) is None:
            sys.exit('corpus: %s is needed (Debian package %s)' % (tool, package))
    prepare_corpus(args)
    names = corpus_names(args.corpus, args.only)
    os.environ.setdefault('QT_QPA_PLATFORM', 'offscreen')
    results = check_each(names, args.jobs,
                         lambda name: (check(args.brindle, os.path.join(args.corpus, name)), []))
    return finish('corpus', names, results, args, MEASURED)


if __name__ == '__main__':
    sys.exit(main())
