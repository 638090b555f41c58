#!/usr/bin/env python3
"""Damages the sample documents at random and runs each damaged file through `brindle info`,
`toc`, `render` and `text`, as a reliability run does. A run that crashes (a status other than
0, 1 or 2), takes longer than the time limit or holds more than the memory limit is reported,
and its file is kept in the output folder; files that pass are removed.

    scripts/damaged-files.py --count 1500 --seed 1 --out /tmp/damaged

It expects a build of the tree in build/ (the brindle tool and the samples); --brindle and
--samples point elsewhere, for instance at a sanitizer build.
"""
import argparse
import os
import random
import subprocess
import sys
import time

SAMPLES = ['demo.vyn', 'demo.qd', 'scan.vyn', 'demo.pdf', 'demo.zor']
# Integers that make lengths, counts and offsets overflow or point far past the end.
HOSTILE_INTEGERS = [b'\xff\xff\xff\x7f', b'\x00\x00\x00\x80', b'\xff\xff\xff\xff', b'\x00\x80\x00\x00']


def damage(data, rng):
    kind = rng.choice(['bytes', 'truncate', 'block', 'integers'])
    if kind == 'bytes':
        for _ in range(rng.randint(1, 40)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    elif kind == 'truncate':
        del data[rng.randrange(len(data)):]
    elif kind == 'block':
        at = rng.randrange(len(data))
        length = min(rng.randint(1, 4096), len(data) - at)
        data[at:at + length] = bytes(rng.randrange(256) for _ in range(length))
    else:
        for _ in range(rng.randint(1, 8)):
            at = rng.randrange(max(1, len(data) - 4))
            data[at:at + 4] = rng.choice(HOSTILE_INTEGERS)
    return kind


def run(command, seconds, env):
    """Returns (status, seconds taken, peak resident MiB); status None when it ran out of time."""
    started = time.monotonic()
    child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while True:
        pid, status, usage = os.wait4(child.pid, os.WNOHANG)
        if pid:
            child.returncode = os.waitstatus_to_exitcode(status)
            return child.returncode, time.monotonic() - started, usage.ru_maxrss / 1024
        if time.monotonic() - started > seconds:
            child.kill()
            _, _, usage = os.wait4(child.pid, 0)
            return None, seconds, usage.ru_maxrss / 1024
        time.sleep(0.01)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--count', type=int, default=300)
    parser.add_argument('--seed', type=int, default=1)
    parser.add_argument('--out', default='/tmp/damaged')
    parser.add_argument('--brindle', default=os.path.join(root, 'build/bin/brindle'))
    parser.add_argument('--samples', default=os.path.join(root, 'build/samples'))
    parser.add_argument('--seconds', type=float, default=20)
    parser.add_argument('--megabytes', type=float, default=1024)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
    sources = {name: open(os.path.join(args.samples, name), 'rb').read() for name in SAMPLES}
    picture = os.path.join(args.out, 'page.png')
    faults = 0
    for i in range(args.count):
        name = rng.choice(SAMPLES)
        data = bytearray(sources[name])
        kind = damage(data, rng)
        path = os.path.join(args.out, 'f%05d%s' % (i, os.path.splitext(name)[1]))
        with open(path, 'wb') as f:
            f.write(data)
        fault = None
        for command in (['info', path], ['toc', path], ['render', path, '-p', '1', '-o', picture],
                        ['text', path, '-p', '1']):
            status, seconds, megabytes = run([args.brindle] + command, args.seconds, env)
            if status is None:
                fault = 'more than %gs' % args.seconds
            elif status not in (0, 1, 2):
                fault = 'status %d' % status
            elif megabytes > args.megabytes:
                fault = '%.0f MiB' % megabytes
            if fault:
                print('%s (%s of %s): brindle %s: %s' % (path, kind, name, command[0], fault), flush=True)
                break
        if fault:
            faults += 1
        else:
            os.remove(path)
    if os.path.exists(picture):
        os.remove(picture)
    print('%d damaged files, %d faults' % (args.count, faults))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
