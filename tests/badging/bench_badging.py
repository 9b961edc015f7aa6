#!/usr/bin/env python3
"""Times `pt dump badging` against `aapt dump badging` in the same run: median whole-process wall
time over several runs (from the spawn to the reaped exit, no wrapper process) and peak resident
memory (from /usr/bin/time in separate runs: a child's own rusage would count the forked copy of
this script), per package, with ratios. An empty process (/bin/true) timed the same
way is printed first: what any process costs on this machine. Not a test: the figures depend on the
machine; the ratios are what to read.

  bench_badging.py --pt PT [--aapt AAPT] [--runs 7] [--fixtures DIR --table fixtures.json] [APK...]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fixtures'))
import fixturelib  # noqa: E402

TIME = '/usr/bin/time'


def command(tool, apk):
    return [tool] if apk is None else [tool, 'dump', 'badging', apk]


def measure(tool, apk):
    """Wall seconds and exit code of one run."""
    start = time.perf_counter()
    done = subprocess.run(command(tool, apk), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start, done.returncode


def peak_rss_kb(tool, apk, rss_file, runs=3):
    peak = 0
    for _ in range(runs):
        subprocess.run([TIME, '-f', '%M', '-o', rss_file, *command(tool, apk)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(rss_file) as f:
            peak = max(peak, int(f.read().split()[-1]))
    return peak


def bench(tools, apk, runs, rss_file, rounds=3):
    """Each tool runs in blocks of `runs`, the blocks alternating over `rounds`: drifting load hits
    both alike, and neither is timed just after the other has filled the caches with its own data
    (run right after aapt, pt on the 237 MB package takes almost twice its time alone)."""
    walls = {name: [] for name in tools}
    codes = {}
    for name, tool in tools.items():   # warm the page cache and the loader
        codes[name] = measure(tool, apk)[1]
    for _ in range(rounds):
        for name, tool in tools.items():
            measure(tool, apk)  # the block's own warm-up
            walls[name] += [measure(tool, apk)[0] for _ in range(runs)]
    return {name: (statistics.median(walls[name]), peak_rss_kb(tool, apk, rss_file), codes[name])
            for name, tool in tools.items()}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--pt', required=True)
    ap.add_argument('--aapt', default='aapt')
    ap.add_argument('--runs', type=int, default=7)
    ap.add_argument('--fixtures')
    ap.add_argument('--table')
    ap.add_argument('apks', nargs='*')
    args = ap.parse_args()
    if not os.access(TIME, os.X_OK):
        sys.exit('%s is missing: run scripts/setup.sh (Debian package time)' % TIME)

    apks = []
    if args.fixtures:
        for fx in fixturelib.load_fixtures(args.table):
            if fx['kind'] == 'good':
                apks.append(os.path.join(args.fixtures, fx['file']))
    apks += args.apks
    tools = {'aapt': args.aapt, 'pt': args.pt}

    header = '%-28s %9s %10s %10s %7s %10s %10s %7s' % (
        'package', 'MB', 'aapt ms', 'pt ms', 'ratio', 'aapt KB', 'pt KB', 'ratio')
    print(header)
    print('-' * len(header))
    fixture_ratio = []
    empty = statistics.median(measure('/bin/true', None)[0] for _ in range(max(args.runs, 15)))
    print('%-28s %9s %10.2f %10.2f' % ('(empty process /bin/true)', '', empty * 1e3, empty * 1e3))
    with tempfile.NamedTemporaryFile() as rss_file:
        for apk in apks:
            r = bench(tools, apk, args.runs, rss_file.name)
            (aw, ak, ac), (pw, pk, pc) = r['aapt'], r['pt']
            note = '' if ac == pc == 0 else '  exit aapt %d pt %d' % (ac, pc)
            print('%-28s %9.1f %10.2f %10.2f %7.2f %10d %10d %7.2f%s' % (
                os.path.basename(apk)[:28], os.path.getsize(apk) / 1e6, aw * 1e3, pw * 1e3, pw / aw,
                ak, pk, pk / ak, note))
            if args.fixtures and apk not in args.apks:
                fixture_ratio.append((pw / aw, pk / ak))
    if fixture_ratio:
        print('fixtures: geometric mean ratio pt/aapt: time %.2f, peak RSS %.2f (%d packages, median of 3 x %d runs)' % (
            statistics.geometric_mean(t for t, _ in fixture_ratio),
            statistics.geometric_mean(m for _, m in fixture_ratio), len(fixture_ratio), args.runs))


if __name__ == '__main__':
    main()
