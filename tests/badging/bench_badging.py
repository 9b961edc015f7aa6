#!/usr/bin/env python3
"""Times `pt dump badging` against `aapt dump badging` in the same run: median whole-process wall
time over several runs and peak resident memory (from /usr/bin/time), per package, with ratios.
Not a test: the figures depend on the machine; the ratios are what to read.

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


def measure(tool, apk, rss_file):
    start = time.perf_counter()
    done = subprocess.run([TIME, '-f', '%M', '-o', rss_file, tool, 'dump', 'badging', apk],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    with open(rss_file) as f:
        rss_kb = int(f.read().split()[-1])
    return wall, rss_kb, done.returncode


def bench(tools, apk, runs, rss_file):
    walls = {name: [] for name in tools}
    rss = {name: 0 for name in tools}
    codes = {}
    for name, tool in tools.items():   # warm the page cache and the loader
        codes[name] = measure(tool, apk, rss_file)[2]
    for _ in range(runs):
        for name, tool in tools.items():  # interleaved, so drifting load hits both alike
            wall, kb, _ = measure(tool, apk, rss_file)
            walls[name].append(wall)
            rss[name] = max(rss[name], kb)
    return {name: (statistics.median(walls[name]), rss[name], codes[name]) for name in tools}


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
        print('fixtures: geometric mean ratio pt/aapt: time %.2f, peak RSS %.2f (%d packages, median of %d runs)' % (
            statistics.geometric_mean(t for t, _ in fixture_ratio),
            statistics.geometric_mean(m for _, m in fixture_ratio), len(fixture_ratio), args.runs))


if __name__ == '__main__':
    main()
