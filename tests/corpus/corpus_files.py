"""What the corpus tests share: the corpus fetched and made into its folder, and the lists of
files expected to fail, each a file name and a reason, with a leading comment."""
import argparse
import concurrent.futures
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = os.path.join(HERE, '..', '..', 'scripts')
SKIPPED = 77  # the exit status of a test that could not get its corpus


def read_expected(path):
    """(leading comment lines, {file: reason})."""
    header, listed = [], {}
    if not os.path.exists(path):
        return header, listed
    with open(path, encoding='utf-8') as lines:
        for line in lines:
            line = line.rstrip('\n')
            if not line.strip() or line.lstrip().startswith('#'):
                if not listed:
                    header.append(line)
                continue
            name, _, reason = line.strip().partition(' ')
            listed[name] = reason.strip()
    return header, listed


def write_expected(path, header, failures):
    width = max((len(name) for name in failures), default=0)
    with open(path, 'w', encoding='utf-8') as out:
        for line in header:
            out.write(line + '\n')
        for name in sorted(failures):
            out.write('%-*s  %s\n' % (width, name, failures[name]))


def report(label, names, results, listed, only):
    """Prints each file's verdict, `results` giving (problems, faults) by file name: a file
    with problems that is listed is an expected failure, and a file that matches while listed, a
    listed file the corpus lacks (unless only some files were checked) or any fault is
    unexpected. Returns the unexpected lines."""
    matched, expected_failures, unexpected = [], [], []
    for name in names:
        problems, faults = results[name]
        if faults:
            unexpected.append('%s: %s' % (name, '; '.join(faults + problems)))
        elif not problems:
            if name in listed:
                unexpected.append('%s: listed as failing (%s) but now matches'
                                  % (name, listed[name]))
            else:
                matched.append(name)
        elif name in listed:
            expected_failures.append(name)
        else:
            unexpected.append('%s: %s' % (name, '; '.join(problems)))
    if not only:
        unexpected += ['%s: listed as failing but not in the corpus' % name
                       for name in sorted(set(listed) - set(names))]
    for name in expected_failures:
        print('expected failure  %s: %s' % (name, '; '.join(results[name][0])))
    for line in unexpected:
        print('UNEXPECTED        %s' % line)
    print('%s: %d files: %d matched, %d expected failures, %d unexpected'
          % (label, len(names), len(matched), len(expected_failures), len(unexpected)))
    return unexpected


def updated_failures(names, results, listed, fresh_reasons, measured):
    """The expected failures of this run: a listed file keeps a reason written by hand (one
    `measured` does not match) unless `fresh_reasons`."""
    failures = {}
    for name in names:
        problems, faults = results[name]
        if problems or faults:
            keep = name in listed and not fresh_reasons and not measured.match(listed[name])
            failures[name] = listed[name] if keep else '; '.join(faults + problems)
    return failures


def ensure_corpus(corpus):
    """Fetches the real documents into `corpus` when missing (through the cache) and writes
    the made files anew; exits with SKIPPED when the documents cannot be had."""
    os.makedirs(corpus, exist_ok=True)
    fetched = subprocess.run(['bash', os.path.join(SCRIPTS, 'fetch-corpus.sh'), corpus])
    if fetched.returncode != 0:
        print('corpus: the Debian documents could not be fetched into %s' % corpus)
        sys.exit(SKIPPED)
    subprocess.run([sys.executable, os.path.join(SCRIPTS, 'make-corpus-files.py'), corpus],
                   check=True)


def corpus_names(corpus, only):
    """The PDF files of the corpus, sorted; those whose names hold one of `only` when given."""
    names = sorted(n for n in os.listdir(corpus) if n.endswith('.pdf'))
    if only:
        names = [n for n in names if any(part in n for part in only)]
    return names


def add_corpus_arguments(parser):
    """The options every corpus test takes for where its corpus is."""
    parser.add_argument('--corpus', required=True, help='the corpus folder (fetched if needed)')
    parser.add_argument('--as-is', action='store_true',
                        help='take the corpus folder as it is: neither fetch nor make files '
                             '(when another step has done so)')


def check_parser(description, expected):
    """The options every corpus check takes: brindle, the corpus, the list of expected failures
    (`expected` by default), --update, --fresh-reasons, --jobs and the files to check."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument('--brindle', required=True)
    add_corpus_arguments(parser)
    parser.add_argument('--expected', default=expected)
    parser.add_argument('--update', action='store_true', help='rewrite the expected failures')
    parser.add_argument('--fresh-reasons', action='store_true',
                        help='with --update, the reasons of this run for every listed file')
    parser.add_argument('--jobs', type=int, default=os.cpu_count() or 2)
    parser.add_argument('only', nargs='*', help='check only files whose names hold one of these')
    return parser


def parse_check_arguments(parser):
    args = parser.parse_args()
    if args.update and args.only:
        parser.error('--update rewrites the whole list: give no file names with it')
    return args


def check_each(names, jobs, check):
    """{name: check(name)} over the files, `jobs` at a time."""
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, jobs)) as pool:
        return dict(zip(names, pool.map(check, names)))


def finish(label, names, results, args, measured):
    """Reports the verdicts (see report) and with --update rewrites the expected failures;
    returns the exit status: with --update 1 only for crashes and hangs, which are listed to be
    seen but still fail."""
    header, listed = read_expected(args.expected)
    unexpected = report(label, names, results, listed, args.only)
    if args.update:
        failures = updated_failures(names, results, listed, args.fresh_reasons, measured)
        write_expected(args.expected, header, failures)
        print('%s: wrote %d expected failures to %s' % (label, len(failures), args.expected))
        return 1 if any(results[name][1] for name in names) else 0
    return 1 if unexpected else 0


def prepare_corpus(args):
    """Readies the corpus folder the arguments name; exits with SKIPPED when it has no files."""
    if not args.as_is:
        ensure_corpus(args.corpus)
    elif not os.path.isdir(args.corpus) or not corpus_names(args.corpus, []):
        print('corpus: no files in %s' % args.corpus)
        sys.exit(SKIPPED)


if __name__ == '__main__':
    # Fetches and makes the corpus once for the tests that then take it as it is.
    if len(sys.argv) != 2:
        sys.exit('usage: corpus_files.py CORPUS_DIR')
    ensure_corpus(sys.argv[1])
