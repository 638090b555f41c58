#!/usr/bin/env python3
"""The text check of the PDF corpus: page 1 of every corpus file read by `brindle text -p 1
--layout` must hold the text `pdftotext -layout` reads there: with white space left out, the two
texts are at least 95% alike, and at least 95% of the reference's Chinese, Japanese and Korean
characters are found.

    tests/corpus/text_test.py --brindle build/bin/brindle --corpus build/corpus
    tests/corpus/text_test.py ... --update            # rewrite the expected failures
    tests/corpus/text_test.py ... --show DIR          # both texts of the pages that differ
    tests/corpus/text_test.py ... ctex.pdf made--     # only the files whose names hold these

The corpus is fetched and made as for corpus_test.py. Files whose text does not match yet are
listed with a reason in text_expected_failures.txt beside this script, which works as the other
corpus tests' lists do (--update and --fresh-reasons alike); a crash or a hang fails the test
whether its file is listed or not.

Needs poppler-utils (pdftotext). Exit status: 0 passed, 1 failed, 2 bad usage, 77 the corpus
could not be fetched.
"""
import collections
import difflib
import os
import re
import shutil
import subprocess
import sys

from corpus_files import (HERE, check_each, check_parser, corpus_names, finish,
                          parse_check_arguments, prepare_corpus)

EXPECTED = os.path.join(HERE, 'text_expected_failures.txt')
SECONDS = 60  # a page read for longer than this is taken for a hang
LEAST_ALIKE = 0.95
LEAST_RECOVERED = 0.95
SPACE = re.compile(r'\s+')
CLOSE_SET = re.compile('[\u2e80-\u9fff\uac00-\ud7af\uf900-\ufaff\U00020000-\U0003ffff]')


def read(command):
    """(exit status or None after a hang, standard output as text)."""
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=SECONDS)
    except subprocess.TimeoutExpired:
        return None, ''
    return done.returncode, done.stdout.decode('utf-8', 'replace')


def squeezed(text):
    return SPACE.sub('', text)


def recovered(ours, theirs):
    """The share of the reference's close-set characters found in ours, or None for none."""
    wanted = collections.Counter(CLOSE_SET.findall(theirs))
    if not wanted:
        return None
    found = collections.Counter(CLOSE_SET.findall(ours))
    return sum(min(n, found[c]) for c, n in wanted.items()) / float(sum(wanted.values()))


def check(brindle, path, show_dir):
    """(mismatches as short phrases, faults: crashes and hangs) for one file."""
    reference_status, theirs = read(['pdftotext', '-layout', '-f', '1', '-l', '1', path, '-'])
    if reference_status != 0:
        theirs = None  # nothing to compare with; brindle must still not crash
    status, ours = read([brindle, 'text', path, '-p', '1', '--layout'])
    if status is None:
        return [], ['page 1: no answer in %d s' % SECONDS]
    if status < 0:
        return [], ['page 1: crash (signal %d)' % -status]
    if theirs is None:
        return [], []
    if status != 0:
        return ['page 1: brindle exit status %d' % status], []
    a, b = squeezed(ours), squeezed(theirs)
    alike = difflib.SequenceMatcher(None, a, b, autojunk=False).ratio() if a or b else 1.0
    share = recovered(a, b)
    problems = []
    if alike < LEAST_ALIKE:
        problems.append('page 1: %d%% alike' % int(100 * alike))
    if share is not None and share < LEAST_RECOVERED:
        problems.append('page 1: %d%% of CJK characters found' % int(100 * share))
    if problems and show_dir:
        stem = os.path.join(show_dir, os.path.basename(path)[:-len('.pdf')])
        for suffix, text in (('-ours.txt', ours), ('-reference.txt', theirs)):
            with open(stem + suffix, 'w', encoding='utf-8') as out:
                out.write(text)
    return problems, []


MEASURED = re.compile(r'^page \d+: ')


def main():
    parser = check_parser(__doc__.split('\n')[0], EXPECTED)
    parser.add_argument('--show', metavar='DIR', help='write both texts of the pages that differ')
    args = parse_check_arguments(parser)
    if shutil.which('pdftotext') is None:
        sys.exit('corpus: pdftotext is needed (Debian package poppler-utils)')
    prepare_corpus(args)
    names = corpus_names(args.corpus, args.only)
    if args.show:
        os.makedirs(args.show, exist_ok=True)
    os.environ.setdefault('QT_QPA_PLATFORM', 'offscreen')
    results = check_each(names, args.jobs, lambda name: check(
        args.brindle, os.path.join(args.corpus, name), args.show))
    return finish('corpus text', names, results, args, MEASURED)


if __name__ == '__main__':
    sys.exit(main())
